// The glyph rasteriser for embedded Type 1 fonts: started by the library's initialisation and
// closed by its release. Fonts and glyphs arrive with the text drawing.
#pragma once

namespace reader {

class Type1Rasteriser {
  public:
    static Type1Rasteriser& instance();
    /// Starts the rasteriser; false when it cannot start. Starting a started one restarts it.
    bool init();
    void close();
    bool started() const { return library_ != nullptr; }

  private:
    void* library_ = nullptr;  ///< the FreeType library object
};

}  // namespace reader
