#include "xref/stream_data.h"

#include <algorithm>

#include "filters/decode_stream.h"

namespace reader::pdf {

namespace {

int32_t intOr(const Dict& dict, std::string_view key, int32_t fallback) {
    const std::optional<int64_t> v = dict.get(key).asInt();
    return v && *v >= INT32_MIN && *v <= INT32_MAX ? int32_t(*v) : fallback;
}

DecodeParam paramsOf(const Object& parms) {
    DecodeParam param;
    const Dict* dict = parms.asDict();
    if (const Array* list = parms.asArray()) {
        for (const Object& item : *list) {
            if ((dict = item.asDict()) != nullptr) {
                break;
            }
        }
    }
    if (dict != nullptr) {
        param.predictor = intOr(*dict, "Predictor", param.predictor);
        param.columns = intOr(*dict, "Columns", param.columns);
        param.colors = intOr(*dict, "Colors", param.colors);
        param.bitsPerComponent = intOr(*dict, "BitsPerComponent", param.bitsPerComponent);
        param.earlyChange = intOr(*dict, "EarlyChange", param.earlyChange);
    }
    return param;
}

}  // namespace

std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> file,
                                                     const Stream& stream) {
    const size_t start = std::min(stream.offset, file.size());
    const std::span<const uint8_t> raw =
        file.subspan(start, std::min(stream.length, file.size() - start));
    const Object& filter = stream.dict.get("Filter");
    std::vector<int> codes;
    const auto addCode = [&](const Object& name) {
        const std::optional<std::string_view> text = name.asName();
        codes.push_back(text ? FilterCodeOf(*text) : -1);
    };
    if (const Array* list = filter.asArray()) {
        std::for_each(list->begin(), list->end(), addCode);
    } else if (!filter.isNull()) {
        addCode(filter);
    }
    if (std::find(codes.begin(), codes.end(), -1) != codes.end() ||
        codes.size() > size_t(kMaxFilters)) {
        return std::nullopt;
    }
    if (codes.empty()) {
        return std::vector<uint8_t>(raw.begin(), raw.end());
    }
    return DecodeStream(raw, paramsOf(stream.dict.get("DecodeParms")), codes);
}

}  // namespace reader::pdf
