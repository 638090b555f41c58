// The glyph rasteriser for embedded Type 1 fonts: started by the library's initialisation and
// closed by its release. Font files are added by path, loaded on demand and rasterised one glyph
// at a time into 1-bit bitmaps at the device resolutions. Not thread-safe: the reader drives it
// from one thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reader {

/// A glyph's coverage, one bit per pixel: rows top first, `bytesPerRow` bytes each (the width
/// rounded up to whole bytes, no further padding), the most significant bit of a byte the leftmost
/// pixel, 1 = ink. Bearings and ascent/descent are in device pixels from the glyph origin, y up:
/// the bitmap spans x from leftSideBearing to rightSideBearing and y from descent to ascent.
/// A glyph without an outline (a space) has zero width and height and no bits.
struct GlyphBitmap {
    int ascent = 0;
    int descent = 0;
    int leftSideBearing = 0;
    int rightSideBearing = 0;
    std::vector<uint8_t> bits;
    int bytesPerRow = 0;

    int width() const { return rightSideBearing - leftSideBearing; }
    int height() const { return ascent - descent; }
};

/// The transformation of a glyph's outline before rasterising, with y up:
/// x' = cxx·x + cyx·y, y' = cxy·x + cyy·y. The identity is {1, 0, 0, 1}.
struct GlyphMatrix {
    double cxx = 1;
    double cyx = 0;
    double cxy = 0;
    double cyy = 1;
};

class Type1Rasteriser {
  public:
    static constexpr int kMaxFonts = 1024;

    static Type1Rasteriser& instance();
    ~Type1Rasteriser();
    Type1Rasteriser(const Type1Rasteriser&) = delete;
    Type1Rasteriser& operator=(const Type1Rasteriser&) = delete;

    /// Starts the rasteriser; false when it cannot start. Starting a started one restarts it.
    bool init();
    /// Closes the rasteriser and forgets every added font.
    void close();
    bool started() const { return library_ != nullptr; }

    /// Sets the resolutions, in dots per inch, that glyph sizes are rendered at (72 until set),
    /// each clamped to 1..9600; a value that is not a finite number leaves that one unchanged.
    void SetDeviceResolutions(float dpiX, float dpiY);
    /// The identifier of the font added from exactly this path, or -1.
    int FindFont(const std::string& path) const;
    /// Adds the Type 1 font file at `path` (.pfb or .pfa) and returns its identifier, or the
    /// identifier it already has; negative when not started, the file cannot be read, is no
    /// Type 1 font or the table of fonts is full.
    int AddFont(const std::string& path);
    /// Opens the added font `id` for rasterising (again a no-op once loaded): 0, or -1 on failure.
    int LoadFont(int id);
    /// The glyph for `charCode` of the font's own encoding in font `id` (loaded), `size` points
    /// at the device resolutions, transformed by `matrix`; none when the font or the code is
    /// unknown, the size or matrix is not usable, or the bitmap would pass 16 MB.
    std::optional<GlyphBitmap> SetChar(int id, int charCode, float size,
                                       const GlyphMatrix& matrix = {});
    /// The advance of `charCode` in font `id` (loaded) in 1/1000 em, 0 when it has no such code.
    int GetCharWidth(int id, int charCode);

  private:
    struct Font;

    Type1Rasteriser();
    Font* loadedFont(int id);

    void* library_ = nullptr;  ///< the FreeType library object
    std::vector<Font> fonts_;
    size_t loadedBytes_ = 0;  ///< font file bytes held by loaded fonts
    float dpiX_ = 72;
    float dpiY_ = 72;
};

}  // namespace reader
