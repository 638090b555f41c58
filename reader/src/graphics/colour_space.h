// PDF colour spaces and their conversion to sRGB: the device spaces, the CIE-based spaces
// (CalGray, CalRGB, Lab, ICCBased), and the special ones (Indexed, Separation, DeviceN,
// Pattern). A space is read once and shared, immutable, by the graphics states that use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;

/// A colour in sRGB, each component from 0 to 1.
struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// Converts the samples of an image, one byte per component, to RGB bytes; made once per image
/// by ColourSpace::sampleConverter, with the image's Decode ranges built in.
class SampleConverter {
  public:
    virtual ~SampleConverter() = default;
    /// Converts `pixels` pixels from `samples` (components() bytes each) to three bytes each,
    /// red, green, blue, in `rgb`.
    virtual void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const = 0;
};

class ColourSpace {
  public:
    enum class Family : uint8_t {
        kDeviceGray,
        kDeviceRgb,
        kDeviceCmyk,
        kCalGray,
        kCalRgb,
        kLab,
        kIccBased,
        kIndexed,
        kSeparation,
        kDeviceN,
        kPattern,
    };
    /// Spaces inside spaces (bases, alternates, named resources) nest no deeper than this.
    static constexpr int kMaxDepth = 8;
    static constexpr size_t kMaxComponents = 32;

    virtual ~ColourSpace() = default;

    /// The space `nameOrArray` names: a family name, a name in `resources`' /ColorSpace
    /// dictionary, or an array (or a reference to one) with the family and its parameters.
    /// Null when it cannot be read (an unknown family, bad parameters, nesting deeper than
    /// kMaxDepth, a space containing itself); the caller then falls back to a device space.
    /// An ICCBased space whose profile cannot be used is its /Alternate, or the device space
    /// of its number of components.
    static std::shared_ptr<const ColourSpace> read(Document& document, const Object& nameOrArray,
                                                   const Dict* resources, int depth = 0);

    /// The device spaces, shared.
    static std::shared_ptr<const ColourSpace> deviceGray();
    static std::shared_ptr<const ColourSpace> deviceRgb();
    static std::shared_ptr<const ColourSpace> deviceCmyk();

    virtual Family family() const = 0;
    /// The number of components a colour in the space has (for Pattern, those of its
    /// underlying space, 0 without one).
    virtual size_t components() const = 0;
    /// The initial colour of a graphics state set to this space, components() values.
    virtual void defaultColour(std::span<double> out) const;
    /// The range of component `k`'s values: [0, 1] for most spaces, Lab's and ICCBased's
    /// /Range, [0, hival] for Indexed.
    virtual std::pair<double, double> componentRange(size_t k) const;
    /// The Decode ranges an image in this space has without /Decode (2 per component).
    virtual void defaultDecode(std::span<double> out, int bitsPerComponent) const;
    /// Separation or DeviceN of only /None colourants: nothing is painted.
    virtual bool paintsNothing() const { return false; }
    /// A Pattern space's space for the colours of uncoloured patterns; null for others.
    virtual const ColourSpace* underlying() const { return nullptr; }

    /// The colour with components `in` (components() values, each clipped to its range;
    /// missing values read as the range's minimum) in sRGB.
    virtual Rgb toRgb(std::span<const double> in) const = 0;

    /// A converter of image samples: a sample s of component k stands for the value
    /// decode[2k] + s (decode[2k+1] - decode[2k]) / maxSample, with maxSample from 1 to 255
    /// (2^bpc - 1 for samples of bpc bits unpacked to bytes). `decode` of another size than
    /// 2 components() is replaced by defaultDecode for samples up to maxSample. The converter
    /// refers to the space, which must outlive it.
    virtual std::unique_ptr<SampleConverter> sampleConverter(std::span<const double> decode,
                                                             int maxSample) const;

  protected:
    ColourSpace() = default;
    /// `decode` per component, or the default; and the value each sample byte stands for.
    std::vector<double> componentTable(std::span<const double> decode, int maxSample,
                                       size_t k) const;
};

/// The device space of `components` components (DeviceGray, DeviceRGB or DeviceCMYK); null
/// for another number.
std::shared_ptr<const ColourSpace> deviceSpaceFor(size_t components);

/// The byte 0 to 255 of a component from 0 to 1, rounded; out-of-range values are clipped.
uint8_t toByte(double v);

}  // namespace reader::pdf
