// make_jpeg_seeds DIR: writes the seed images of the JPEG decoder's fuzz target into DIR (the
// committed ones are in fuzz/corpus/jpeg): tiny images coded by libjpeg, one of each sampling
// kind and colour space, with restart intervals, and a progressive one that gives no output.
#include <cstdio>
#include <string>

#include "jpeg_reference.h"

using reader::fixtures::JpegCoding;
using reader::fixtures::JpegColour;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_jpeg_seeds DIR\n");
        return 2;
    }
    struct Seed {
        const char* name;
        JpegCoding coding;
    };
    const Seed seeds[] = {
        {"grey", {.width = 19, .height = 13, .colour = JpegColour::kGrey}},
        {"ycc444", {.width = 19, .height = 13, .sampling = {{1, 1}}}},
        {"ycc422", {.width = 21, .height = 11, .sampling = {{2, 1}}}},
        {"ycc420", {.width = 23, .height = 17, .sampling = {{2, 2}}}},
        {"ycc411", {.width = 35, .height = 9, .sampling = {{4, 1}}}},
        {"ycc440", {.width = 13, .height = 21, .sampling = {{1, 2}}}},
        {"restarts", {.width = 37, .height = 19, .sampling = {{2, 2}}, .restartInterval = 1}},
        {"ycck", {.width = 17, .height = 17, .colour = JpegColour::kYcck}},
        {"cmyk", {.width = 11, .height = 9, .colour = JpegColour::kCmyk}},
        {"rgb", {.width = 15, .height = 10, .colour = JpegColour::kRgb, .adobeMarker = false}},
        {"progressive", {.width = 16, .height = 12, .progressive = true}},
    };
    for (const Seed& seed : seeds) {
        JpegCoding coding = seed.coding;
        coding.quality = 50;
        const auto pixels = reader::fixtures::cameraImage(coding.width, coding.height,
                                                          reader::fixtures::pixelBytes(coding), 1);
        const auto jpeg = reader::fixtures::encodeWithLibjpeg(pixels, coding);
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(jpeg.data(), 1, jpeg.size(), file) != jpeg.size()) {
            std::fprintf(stderr, "make_jpeg_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(file);
    }
    return 0;
}
