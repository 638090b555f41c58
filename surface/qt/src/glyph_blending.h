// How the glyphs of CFF faces are blended onto pages.
#pragma once

namespace surface {

/// Makes this thread's fonts draw CFF faces (the Noto CJK faces among them) as TrueType faces
/// are drawn: without stem darkening, and so blended linearly rather than gamma-corrected
/// pixel by pixel, which costs four times as much for a page of text. Takes effect for the
/// faces first used after it; cheap to call again.
void blendCffGlyphsLinearly();

}  // namespace surface
