// Why a PDF file did not open.
#pragma once

#include <cstdint>

namespace reader::pdf {

enum class OpenError : uint8_t {
    kNone,
    kDamaged,                ///< not a PDF file, or damaged past repair
    kPassword,               ///< encrypted, and the password is needed or wrong
    kUnsupportedEncryption,  ///< a security handler, revision or cipher the reader lacks
};

}  // namespace reader::pdf
