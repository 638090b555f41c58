// Type 0: a table of samples over a grid of the inputs, interpolated multilinearly. Cubic
// interpolation (/Order 3) is read as linear: the difference is slight for the smooth tables
// it is used with.
#include <cmath>

#include "graphics/function_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

// Each input adds a factor of two to the corners interpolated, so the inputs are bounded
// lower than other functions'.
constexpr size_t kMaxSampledInputs = 12;
constexpr size_t kMaxSamples = size_t(1) << 21;

class SampledFunction final : public Function {
  public:
    SampledFunction(FunctionShape shape, size_t width, std::vector<size_t> size,
                    std::vector<double> encode, std::vector<double> samples)
        : Function(shape.domain, std::move(shape.range), width),
          grid_(std::move(shape.domain)),
          size_(std::move(size)),
          encode_(std::move(encode)),
          samples_(std::move(samples)) {
        size_t stride = outputs();
        for (const size_t s : size_) {
            strides_.push_back(stride);
            stride *= s;
        }
    }

  protected:
    bool evaluate(const double* in, double* out) const override {
        const size_t m = size_.size();
        const size_t n = outputs();
        size_t base = 0;
        size_t active[kMaxSampledInputs];  // the inputs between two grid points
        double fraction[kMaxSampledInputs];
        size_t actives = 0;
        for (size_t i = 0; i < m; ++i) {
            const double d0 = grid_[2 * i];
            const double d1 = grid_[2 * i + 1];
            double e = d1 > d0
                           ? encode_[2 * i] +
                                 (in[i] - d0) * (encode_[2 * i + 1] - encode_[2 * i]) / (d1 - d0)
                           : encode_[2 * i];
            const double last = double(size_[i] - 1);
            e = e > 0 ? (e < last ? e : last) : 0.0;
            size_t index = size_t(e);
            double f = e - double(index);
            if (index == size_[i] - 1 && index > 0 && f == 0) {
                index -= 1;
                f = 1;
            }
            base += index * strides_[i];
            if (f > 0) {
                active[actives] = i;
                fraction[actives] = f;
                ++actives;
            }
        }
        for (size_t j = 0; j < n; ++j) {
            out[j] = 0;
        }
        for (size_t corner = 0; corner < (size_t(1) << actives); ++corner) {
            double weight = 1;
            size_t at = base;
            for (size_t a = 0; a < actives; ++a) {
                if ((corner >> a) & 1) {
                    weight *= fraction[a];
                    at += strides_[active[a]];
                } else {
                    weight *= 1 - fraction[a];
                }
            }
            for (size_t j = 0; j < n; ++j) {
                out[j] += weight * samples_[at + j];
            }
        }
        return true;
    }

  private:
    std::vector<double> grid_;  // the domain, which the grid spans
    std::vector<size_t> size_;
    std::vector<size_t> strides_;  // of one step along each input, in samples_
    std::vector<double> encode_;
    std::vector<double> samples_;  // decoded, outputs() per grid point, first input fastest
};

// Big-endian samples of `bits` bits, one after another.
class SampleBits {
  public:
    SampleBits(const std::vector<uint8_t>& data, int bits) : data_(data), bits_(bits) {}

    uint64_t next() {
        uint64_t value = 0;
        for (int left = bits_; left > 0;) {
            const size_t byte = position_ / 8;
            const int offset = int(position_ % 8);
            const int take = std::min(left, 8 - offset);
            const uint8_t b = byte < data_.size() ? data_[byte] : 0;
            value = (value << take) | ((b >> (8 - offset - take)) & ((1u << take) - 1));
            position_ += size_t(take);
            left -= take;
        }
        return value;
    }

  private:
    const std::vector<uint8_t>& data_;
    int bits_;
    size_t position_ = 0;
};

}  // namespace

std::unique_ptr<Function> readSampledFunction(FunctionReading& reading, const Stream& stream,
                                              FunctionShape shape) {
    Document& document = reading.document;
    const Dict& dict = stream.dict;
    const size_t m = shape.domain.size() / 2;
    const size_t n = shape.range.size() / 2;
    const auto sizes = readNumbers(document, dict.get("Size"));
    const int bits = int(document.resolve(dict.get("BitsPerSample")).asInt().value_or(0));
    if (n == 0 || m > kMaxSampledInputs || !sizes || sizes->size() != m ||
        (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 12 && bits != 16 &&
         bits != 24 && bits != 32)) {
        return nullptr;
    }
    std::vector<size_t> size;
    size_t count = n;
    for (const double s : *sizes) {
        if (!(s >= 1) || s != std::floor(s) || s > double(kMaxSamples) ||
            count * size_t(s) > kMaxSamples) {
            return nullptr;
        }
        size.push_back(size_t(s));
        count *= size_t(s);
    }
    std::vector<double> encode;
    if (dict.has("Encode")) {
        auto numbers = readNumbers(document, dict.get("Encode"));
        if (!numbers || numbers->size() != 2 * m) {
            return nullptr;
        }
        encode = std::move(*numbers);
    } else {
        for (const size_t s : size) {
            encode.push_back(0);
            encode.push_back(double(s - 1));
        }
    }
    std::vector<double> decode = shape.range;
    if (dict.has("Decode")) {
        auto numbers = readNumbers(document, dict.get("Decode"));
        if (!numbers || numbers->size() != 2 * n) {
            return nullptr;
        }
        decode = std::move(*numbers);
    }
    for (const double v : encode) {
        if (!std::isfinite(v)) {
            return nullptr;
        }
    }
    // A short table reads its missing samples as 0.
    const size_t bytes = (count * size_t(bits) + 7) / 8;
    const auto data = document.decodeStream(stream, bytes);
    if (!data) {
        return nullptr;
    }
    SampleBits reader(*data, bits);
    const double maximum = std::ldexp(1.0, bits) - 1;
    std::vector<double> samples(count);
    for (size_t k = 0; k < count; ++k) {
        const size_t j = k % n;
        samples[k] =
            decode[2 * j] + double(reader.next()) * (decode[2 * j + 1] - decode[2 * j]) / maximum;
    }
    return std::make_unique<SampledFunction>(std::move(shape), n, std::move(size),
                                             std::move(encode), std::move(samples));
}

}  // namespace reader::pdf
