#include "crypt/decrypt_strings.h"

namespace reader::pdf {

namespace {

Dict decryptDict(const Dict& dict, const SecurityHandler& handler, Ref ref) {
    Dict out;
    for (const auto& [key, value] : dict.entries()) {
        out.set(key, decryptStrings(value, handler, ref));
    }
    return out;
}

}  // namespace

Object decryptStrings(const Object& object, const SecurityHandler& handler, Ref ref) {
    switch (object.kind()) {
        case Object::Kind::kString: {
            const String& s = *object.asString();
            return Object::string(handler.decryptString(ref, s.bytes), s.hex);
        }
        case Object::Kind::kArray: {
            Array items;
            items.reserve(object.asArray()->size());
            for (const Object& item : *object.asArray()) {
                items.push_back(decryptStrings(item, handler, ref));
            }
            return Object::array(std::move(items));
        }
        case Object::Kind::kDict: return Object::dict(decryptDict(*object.asDict(), handler, ref));
        case Object::Kind::kStream: {
            Stream stream = *object.asStream();
            stream.dict = decryptDict(stream.dict, handler, ref);
            return Object::stream(std::move(stream));
        }
        default: return object;
    }
}

}  // namespace reader::pdf
