// ICCBased: colours through the embedded profile to sRGB, by the colour-management library.
// A profile that cannot be used leaves the space to its /Alternate, or to the device space
// of as many components.
#include <lcms2.h>

#include <algorithm>
#include <array>
#include <mutex>

#include "graphics/colour_space_types.h"
#include "graphics/function_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

constexpr size_t kMaxProfileBytes = 4 << 20;

// Transforms are made without the library's one-pixel cache, so that threads drawing with
// one space never share mutable state.
constexpr cmsUInt32Number kFlags = cmsFLAGS_NOCACHE | cmsFLAGS_BLACKPOINTCOMPENSATION;

cmsHTRANSFORM transformToSrgb(cmsHPROFILE profile, cmsUInt32Number input, cmsUInt32Number output) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    if (srgb == nullptr) {
        return nullptr;
    }
    cmsHTRANSFORM transform =
        cmsCreateTransform(profile, input, srgb, output, INTENT_RELATIVE_COLORIMETRIC, kFlags);
    cmsCloseProfile(srgb);
    return transform;
}

// Converts 8-bit samples of a gray, RGB or CMYK profile a run at a time.
class IccConverter final : public SampleConverter {
  public:
    IccConverter(cmsHTRANSFORM transform, size_t components,
                 std::vector<std::array<uint8_t, 256>> tables)
        : transform_(transform), components_(components), tables_(std::move(tables)) {}
    void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const override {
        constexpr size_t kRun = 256;
        uint8_t run[kRun * 4];
        for (size_t x = 0; x < pixels; x += kRun) {
            const size_t count = std::min(kRun, pixels - x);
            for (size_t i = 0; i < count * components_; ++i) {
                run[i] = tables_[i % components_][samples[x * components_ + i]];
            }
            cmsDoTransform(transform_, run, rgb + 3 * x, cmsUInt32Number(count));
        }
    }

  private:
    cmsHTRANSFORM transform_;  // owned by the space
    size_t components_;
    std::vector<std::array<uint8_t, 256>> tables_;
};

class IccBased final : public ColourSpace {
  public:
    IccBased(cmsHPROFILE profile, cmsHTRANSFORM transform, size_t components,
             std::vector<double> range, bool lab)
        : profile_(profile),
          transform_(transform),
          components_(components),
          range_(std::move(range)),
          lab_(lab) {}
    ~IccBased() override {
        if (bytes_ != nullptr) {
            cmsDeleteTransform(bytes_);
        }
        cmsDeleteTransform(transform_);
        cmsCloseProfile(profile_);
    }
    IccBased(const IccBased&) = delete;
    IccBased& operator=(const IccBased&) = delete;

    Family family() const override { return Family::kIccBased; }
    size_t components() const override { return components_; }
    std::pair<double, double> componentRange(size_t k) const override {
        return k < components_ ? std::pair{range_[2 * k], range_[2 * k + 1]} : std::pair{0.0, 1.0};
    }
    Rgb toRgb(std::span<const double> in) const override {
        double colour[4];
        for (size_t k = 0; k < components_; ++k) {
            const auto [lo, hi] = componentRange(k);
            colour[k] = k < in.size() ? clipComponent(in[k], lo, hi) : lo;
            if (components_ == 4) {
                colour[k] *= 100;  // the library's CMYK runs to 100
            }
        }
        double out[3];
        cmsDoTransform(transform_, colour, out, 1);
        return {clipComponent(out[0], 0.0, 1.0), clipComponent(out[1], 0.0, 1.0),
                clipComponent(out[2], 0.0, 1.0)};
    }
    std::unique_ptr<SampleConverter> sampleConverter(std::span<const double> decode,
                                                     int maxSample) const override {
        if (lab_) {
            return ColourSpace::sampleConverter(decode, maxSample);
        }
        std::call_once(bytesMade_, [this] {
            const cmsUInt32Number input = components_ == 1   ? TYPE_GRAY_8
                                          : components_ == 3 ? TYPE_RGB_8
                                                             : TYPE_CMYK_8;
            bytes_ = transformToSrgb(profile_, input, TYPE_RGB_8);
        });
        if (bytes_ == nullptr) {
            return ColourSpace::sampleConverter(decode, maxSample);
        }
        std::vector<std::array<uint8_t, 256>> tables(components_);
        for (size_t k = 0; k < components_; ++k) {
            const std::vector<double> values = componentTable(decode, maxSample, k);
            const auto [lo, hi] = componentRange(k);
            for (size_t s = 0; s < 256; ++s) {
                tables[k][s] = toByte(hi > lo ? (values[s] - lo) / (hi - lo) : 0.0);
            }
        }
        return std::make_unique<IccConverter>(bytes_, components_, std::move(tables));
    }

  private:
    cmsHPROFILE profile_;
    cmsHTRANSFORM transform_;  // from doubles
    mutable std::once_flag bytesMade_;
    mutable cmsHTRANSFORM bytes_ = nullptr;  // from bytes, made for the first image
    size_t components_;
    std::vector<double> range_;
    bool lab_;
};

// The space of the profile in `data` for `n` components; null when it cannot be used.
std::shared_ptr<const ColourSpace> profileSpace(const std::vector<uint8_t>& data, size_t n,
                                                std::vector<double> range) {
    cmsHPROFILE profile = cmsOpenProfileFromMem(data.data(), cmsUInt32Number(data.size()));
    if (profile == nullptr) {
        return nullptr;
    }
    // Held as a number: a damaged profile's signature need not be one the library names.
    const uint32_t signature = cmsGetColorSpace(profile);
    cmsUInt32Number input = 0;
    if (signature == uint32_t(cmsSigGrayData) && n == 1) {
        input = TYPE_GRAY_DBL;
    } else if (signature == uint32_t(cmsSigRgbData) && n == 3) {
        input = TYPE_RGB_DBL;
    } else if (signature == uint32_t(cmsSigCmykData) && n == 4) {
        input = TYPE_CMYK_DBL;
    } else if (signature == uint32_t(cmsSigLabData) && n == 3) {
        input = TYPE_Lab_DBL;
    }
    cmsHTRANSFORM transform = input != 0 ? transformToSrgb(profile, input, TYPE_RGB_DBL) : nullptr;
    if (transform == nullptr) {
        cmsCloseProfile(profile);
        return nullptr;
    }
    return std::make_shared<IccBased>(profile, transform, n, std::move(range),
                                      signature == uint32_t(cmsSigLabData));
}

// Spaces of profiles read lately, by their bytes: pages embed one profile in many images, and
// making its transforms costs far more than converting an image. The spaces are immutable, so
// documents and threads share them.
class ProfileSpaces {
  public:
    std::shared_ptr<const ColourSpace> get(const std::vector<uint8_t>& data, size_t n,
                                           const std::vector<double>& range) {
        {
            const std::lock_guard lock(mutex_);
            for (auto it = entries_.begin(); it != entries_.end(); ++it) {
                if (it->components == n && it->range == range && it->data == data) {
                    std::rotate(entries_.begin(), it, it + 1);  // the latest first
                    return entries_.front().space;
                }
            }
        }
        std::shared_ptr<const ColourSpace> space = profileSpace(data, n, range);
        if (space != nullptr) {
            const std::lock_guard lock(mutex_);
            entries_.insert(entries_.begin(), {data, n, range, space});
            if (entries_.size() > kKept) {
                entries_.pop_back();
            }
        }
        return space;
    }

  private:
    static constexpr size_t kKept = 16;
    struct Entry {
        std::vector<uint8_t> data;
        size_t components;
        std::vector<double> range;
        std::shared_ptr<const ColourSpace> space;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

ProfileSpaces& profileSpaces() {
    static ProfileSpaces spaces;
    return spaces;
}

}  // namespace

std::shared_ptr<const ColourSpace> readIccBased(ColourSpaceReading& reading, const Object& stream,
                                                int depth) {
    Document& document = reading.document;
    const Object object = document.resolve(stream);
    const Stream* s = object.asStream();
    if (s == nullptr) {
        return nullptr;
    }
    const auto n = document.resolve(s->dict.get("N")).asInt();
    if (!n || *n < 1 || *n > int64_t(ColourSpace::kMaxComponents)) {
        return nullptr;
    }
    const size_t components = size_t(*n);
    std::vector<double> range;
    if (const auto given = readNumbers(document, s->dict.get("Range"));
        given && given->size() == 2 * components) {
        range = *given;
    } else {
        for (size_t k = 0; k < components; ++k) {
            range.insert(range.end(), {0.0, 1.0});
        }
    }
    for (size_t k = 0; k < components; ++k) {
        if (!(range[2 * k] <= range[2 * k + 1])) {
            range[2 * k] = 0;
            range[2 * k + 1] = 1;
        }
    }
    if (const auto data = document.decodeStream(*s, kMaxProfileBytes)) {
        if (auto space = profileSpaces().get(*data, components, range)) {
            return space;
        }
    }
    if (s->dict.has("Alternate")) {
        auto alternate = reading.read(s->dict.get("Alternate"), depth + 1);
        if (alternate && alternate->components() == components &&
            alternate->family() != ColourSpace::Family::kPattern) {
            return alternate;
        }
    }
    return deviceSpaceFor(components);
}

}  // namespace reader::pdf
