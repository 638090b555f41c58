// Writes arbitrary bytes as a .pfb file, adds and loads it in the glyph rasteriser and renders a
// few glyphs upright and turned, with their widths.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "library/type1_rasteriser.h"

namespace {

// The file every input is written to, removed when the fuzzer exits.
struct FontFile {
    FontFile() {
        const int file = mkstemps(path.data(), 4);
        if (file < 0) {
            std::abort();
        }
        close(file);
    }
    ~FontFile() { unlink(path.c_str()); }
    std::string path = "/tmp/fuzz_type1_XXXXXX.pfb";
};

const std::string& fontPath() {
    static const FontFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(fontPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    reader::Type1Rasteriser& rasteriser = reader::Type1Rasteriser::instance();
    if (!rasteriser.init()) {
        std::abort();
    }
    rasteriser.SetDeviceResolutions(300, 300);
    const int id = rasteriser.AddFont(fontPath());
    if (id >= 0 && rasteriser.LoadFont(id) == 0) {
        for (int code : {32, 65, 66, 200, size > 0 ? int(data[size - 1]) : 0}) {
            const auto upright = rasteriser.SetChar(id, code, 12);
            const auto turned = rasteriser.SetChar(id, code, 30, {0.5, -0.866, 0.866, 0.5});
            if ((upright && upright->bits.size() !=
                                size_t(upright->bytesPerRow) * size_t(upright->height())) ||
                (turned &&
                 turned->bits.size() != size_t(turned->bytesPerRow) * size_t(turned->height()))) {
                __builtin_trap();
            }
            rasteriser.GetCharWidth(id, code);
        }
    }
    rasteriser.close();
    return 0;
}
