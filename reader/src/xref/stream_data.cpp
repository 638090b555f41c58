#include "xref/stream_data.h"

#include <algorithm>
#include <array>
#include <new>

#include "filters/decode_stream.h"

namespace reader::pdf {

namespace {

class Values {
  public:
    Values(const Dict* dict, const ValueResolver& resolve) : dict_(dict), resolve_(resolve) {}

    void number(std::string_view key, int32_t& field) const {
        if (const std::optional<int64_t> v = value(key).asInt();
            v && *v >= INT32_MIN && *v <= INT32_MAX) {
            field = int32_t(*v);
        }
    }
    void flag(std::string_view key, uint8_t& field) const {
        if (const std::optional<bool> v = value(key).asBool()) {
            field = *v ? 1 : 0;
        }
    }

  private:
    Object value(std::string_view key) const {
        return dict_ != nullptr ? resolve_(dict_->get(key)) : Object();
    }
    const Dict* dict_;
    const ValueResolver& resolve_;
};

// The parameters in `parms`; a stream they name is decoded into `held`, which the decoder
// reads from.
DecodeParam paramsOf(const Object& parms, const ValueResolver& resolve,
                     const StreamDecoder& decodeOther, std::vector<uint8_t>& held) {
    DecodeParam param;
    const Values values(parms.asDict(), resolve);
    values.number("Predictor", param.predictor);
    values.number("Columns", param.columns);
    values.number("Colors", param.colors);
    values.number("BitsPerComponent", param.bitsPerComponent);
    values.number("EarlyChange", param.earlyChange);
    values.number("K", param.k);
    values.flag("EndOfLine", param.endOfLine);
    values.flag("EncodedByteAlign", param.encodedByteAlign);
    values.number("Rows", param.rows);
    values.flag("EndOfBlock", param.endOfBlock);
    values.flag("BlackIs1", param.blackIs1);
    values.number("DamagedRowsBeforeError", param.damagedRowsBeforeError);
    if (const Dict* dict = parms.asDict(); dict != nullptr && decodeOther) {
        const Object globals = resolve(dict->get("JBIG2Globals"));
        if (const Stream* stream = globals.asStream()) {
            if (std::optional<std::vector<uint8_t>> data = decodeOther(*stream)) {
                held = std::move(*data);
                param.jbig2Globals = &held;
            }
        }
    }
    return param;
}

}  // namespace

std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> raw, const Dict& dict,
                                                     const ValueResolver& resolve, size_t limit,
                                                     const StreamDecoder& decodeOther) {
    const Object filter = resolve(dict.get("Filter"));
    const Object parms = resolve(dict.get("DecodeParms"));
    std::vector<Object> names;
    if (const Array* list = filter.asArray()) {
        for (const Object& name : *list) {
            names.push_back(resolve(name));
        }
    } else if (!filter.isNull()) {
        names.push_back(filter);
    }
    if (names.size() > size_t(kMaxFilters)) {
        return std::nullopt;
    }
    try {
        std::array<std::vector<uint8_t>, kMaxFilters> held;  // streams the parameters name
        std::unique_ptr<ByteSource> source = std::make_unique<BufferSource>(raw);
        for (size_t i = 0; i < names.size(); ++i) {
            const std::optional<std::string_view> name = names[i].asName();
            // A leading crypt filter is the security handler's, which has applied it.
            if (i == 0 && name == "Crypt") {
                continue;
            }
            const int code = name ? FilterCodeOf(*name) : -1;
            // Parameters go with their filter; a lone dictionary serves every filter.
            const Array* list = parms.asArray();
            const Object own = list == nullptr    ? parms
                               : i < list->size() ? resolve((*list)[i])
                                                  : Object();
            DecodeParam param = paramsOf(own, resolve, decodeOther, held[i]);
            param.jpxAlpha =
                code == kJpx && resolve(dict.get("SMaskInData")).asInt().value_or(0) > 0;
            source = code >= 0 ? MakeDecoder(code, std::move(source), param) : nullptr;
            if (source == nullptr) {
                return std::nullopt;
            }
        }
        std::vector<uint8_t> data;
        // A byte past the raw size, so that data the filters leave as long is read to its end
        // without a step of growth to find it.
        source->readAll(data, limit,
                        std::min<size_t>(limit, std::max<size_t>(raw.size() + 1, 4096)));
        // The buffer grows in large steps; a document keeps many decoded streams.
        if (data.capacity() > data.size() + data.size() / 4 + 4096) {
            data.shrink_to_fit();
        }
        return data;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> file,
                                                     const Stream& stream) {
    const size_t start = std::min(stream.offset, file.size());
    return decodeStreamData(file.subspan(start, std::min(stream.length, file.size() - start)),
                            stream.dict, [](const Object& value) { return value; });
}

}  // namespace reader::pdf
