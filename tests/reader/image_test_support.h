// Small helpers for the image tests: stream objects as text and bitmap rows by position.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "images/image_context.h"
#include "images/image_record.h"
#include "object/parser.h"
#include "pdf_builder.h"
#include "xref/stream_data.h"

namespace reader::fixtures {

/// "n 0 obj", a stream of `entries` and `data`, "endobj".
inline std::string streamObject(int number, std::string_view entries, std::string_view data) {
    return std::to_string(number) + " 0 obj\n" + streamBody(entries, data) + "\nendobj\n";
}

/// Objects parsed from their text ("n 0 obj ... endobj"), numbered as a document would give
/// them, and an image context that resolves references to them and decodes their streams.
class ObjectTexts {
  public:
    explicit ObjectTexts(surface::ColorRef fillColour = 0) {
        context_.fillColour = fillColour;
        context_.resolve = [state = state_](const pdf::Object& value) {
            const std::optional<pdf::Ref> ref = value.asRef();
            if (!ref) {
                return value;
            }
            const auto found = state->objects.find(ref->num);
            return found != state->objects.end() ? found->second : pdf::Object();
        };
        context_.decode = [state = state_, resolve = context_.resolve](const pdf::Stream& stream,
                                                                       size_t limit) {
            const auto bytes =
                std::span(reinterpret_cast<const uint8_t*>(state->text.data()), state->text.size());
            const size_t start = std::min(stream.offset, bytes.size());
            return pdf::decodeStreamData(
                bytes.subspan(start, std::min(stream.length, bytes.size() - start)), stream.dict,
                resolve, limit);
        };
    }

    /// The object of `text`, kept under its number for the references of later ones.
    pdf::Object add(std::string_view text) {
        const size_t at = state_->text.size();
        state_->text += text;
        state_->text += '\n';
        const auto bytes =
            std::span(reinterpret_cast<const uint8_t*>(state_->text.data()), state_->text.size());
        pdf::Parser parser(bytes, at);
        std::optional<pdf::IndirectObject> object = parser.parseIndirect(
            [this](pdf::Ref ref) { return context_.resolve(pdf::Object::ref(ref)).asInt(); });
        if (!object) {
            return {};
        }
        state_->objects[object->ref.num] = object->object;
        return object->object;
    }

    const ImageContext& context() const { return context_; }

  private:
    struct State {
        std::string text;
        std::map<int32_t, pdf::Object> objects;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    ImageContext context_;
};

inline std::string bytesOf(std::initializer_list<uint8_t> values) {
    return std::string(values.begin(), values.end());
}

/// Row `fromTop` of the bitmap, padding included.
inline std::vector<uint8_t> rowFromTop(const ImageRecord& image, int32_t fromTop) {
    const std::span<const uint8_t> row = image.rows().subspan(
        size_t(image.height - 1 - fromTop) * image.rowBytes(), image.rowBytes());
    return {row.begin(), row.end()};
}

}  // namespace reader::fixtures
