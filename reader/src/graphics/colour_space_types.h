// What the readers of the colour-space families share, and the spaces' classes where more than
// one file needs them.
#pragma once

#include <memory>
#include <vector>

#include "graphics/colour_space.h"
#include "graphics/function.h"

namespace reader::pdf {

/// `v` within [lo, hi]; a NaN becomes `lo`.
inline double clipComponent(double v, double lo, double hi) {
    if (!(v >= lo)) {
        return lo;
    }
    return v <= hi ? v : hi;
}

/// One call of ColourSpace::read: the resources that name spaces and the references being
/// read, so that a space containing itself is refused.
struct ColourSpaceReading {
    Document& document;
    const Dict* resources;
    std::vector<Ref> path;

    std::shared_ptr<const ColourSpace> read(const Object& nameOrArray, int depth);
};

/// The parameters of an array's family, items[1] on, resolved by the reader.
std::shared_ptr<const ColourSpace> readCalGray(ColourSpaceReading& reading, const Dict& dict);
std::shared_ptr<const ColourSpace> readCalRgb(ColourSpaceReading& reading, const Dict& dict);
std::shared_ptr<const ColourSpace> readLab(ColourSpaceReading& reading, const Dict& dict);
std::shared_ptr<const ColourSpace> readIccBased(ColourSpaceReading& reading, const Object& stream,
                                                int depth);
std::shared_ptr<const ColourSpace> readIndexed(ColourSpaceReading& reading, const Array& items,
                                               int depth);
std::shared_ptr<const ColourSpace> readSeparation(ColourSpaceReading& reading, const Array& items,
                                                  int depth);
std::shared_ptr<const ColourSpace> readDeviceN(ColourSpaceReading& reading, const Array& items,
                                               int depth);

/// Converts samples of any space pixel by pixel through toRgb, each component through its
/// table of values; a run of equal pixels is converted once.
class PixelConverter final : public SampleConverter {
  public:
    PixelConverter(const ColourSpace& space, std::vector<std::vector<double>> tables)
        : space_(space), tables_(std::move(tables)) {}
    void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const override;

  private:
    const ColourSpace& space_;
    std::vector<std::vector<double>> tables_;
};

}  // namespace reader::pdf
