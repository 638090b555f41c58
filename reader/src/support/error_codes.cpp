#include "support/error_codes.h"

#include <array>
#include <cstddef>

namespace reader {

const char* ErrorMessage(int code) {
    static constexpr std::array<const char*, 27> kMessages = {
        "No Error.",
        "Not Input File.",
        "Open File Error.",
        "Write File Error.",
        "Read File Error.",
        "Handle is Null.",
        "Alloc Memory Error.",
        "CReader is wrong! Please restart the application!",
        "Input File is Not PDF or ZOR.",
        "Move File Pointer Error.",
        "Not Find Trailer.",
        "Not Get Start Cross-reference.",
        "Not Get Cross-reference Table Size.",
        "Not Get Root.",
        "Read Cross-reference Error.",
        "Not Support Encrypt.",
        "Not Find Pages.",
        "Not Find Catalog.",
        "Not Find Object ID.",
        "Not Find String.",
        "Not Find Kids.",
        "Pages Count Error.",
        "Stack Overflow.",
        "Error Page Range.",
        "Image Data Not Found.",
        "Not Support This Type!",
        "Password Needed or Wrong.",
    };
    return code >= 0 && std::size_t(code) < kMessages.size() ? kMessages[std::size_t(code)]
                                                             : "Not this error msg!";
}

}  // namespace reader
