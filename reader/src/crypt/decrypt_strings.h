// An object read from an encrypted file with its strings decrypted.
#pragma once

#include "crypt/security_handler.h"

namespace reader::pdf {

/// `object`, the indirect object `ref` (or a stream's dictionary) as the file stores it, with
/// every string inside it decrypted under that object's key.
Object decryptStrings(const Object& object, const SecurityHandler& handler, Ref ref);

}  // namespace reader::pdf
