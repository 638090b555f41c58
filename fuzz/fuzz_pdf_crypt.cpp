// Opens arbitrary bytes as an encrypted PDF: the first byte chooses the password tried, the
// rest is the file. Every object is fetched (its strings decrypted) and every stream decrypted
// and decoded.
#include <array>
#include <cstdint>
#include <string_view>

#include "xref/document.h"

namespace {

// The seeds' passwords, user and owner, and none.
constexpr std::array<std::string_view, 13> kPasswords = {
    "",      "owner40", "user128", "owner128", "owner4", "usr4", "own4",
    "own4m", "own5",    "user6",   "owner6",   "own6o",  "wrong"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view password = kPasswords[data[0] % kPasswords.size()];
    reader::pdf::OpenError error = reader::pdf::OpenError::kNone;
    const auto document = reader::pdf::Document::open({data + 1, size - 1}, password, &error);
    if (document == nullptr) {
        return 0;
    }
    if (const reader::pdf::SecurityHandler* security = document->security()) {
        (void)security->method();
    }
    const int32_t objects = int32_t(std::min<size_t>(document->objectCount() + 8, 4096));
    for (int32_t number = 0; number < objects; ++number) {
        const reader::pdf::Object object = document->fetch({number, 0});
        if (const reader::pdf::Stream* stream = object.asStream()) {
            (void)document->decodeStream(*stream);
        }
    }
    return 0;
}
