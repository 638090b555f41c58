// The content interpreter on the object model: it runs a content stream's operators with a
// graphics state and calls a Device for what they draw. This part covers the graphics state,
// paths, painting, clipping, colour, transparency (interpreter_transparency.cpp), form and image
// XObjects, inline images, shadings and shading and tiling patterns (interpreter_patterns.cpp),
// optional content and text (interpreter_text.cpp).
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "content/content_parser.h"
#include "content/optional_content.h"
#include "content/text_state.h"
#include "devices/device.h"
#include "font/cmap.h"
#include "graphics/colour_space.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;
class FontCache;
class Shading;

/// One colour of the graphics state, for filling or for stroking.
struct ColourState {
    std::shared_ptr<const ColourSpace> space = ColourSpace::deviceGray();
    std::vector<double> components = {0};
    double alpha = 1;
    /// In a Pattern space, the pattern painted with as the resources hold it (a reference to
    /// a tiling pattern's stream or to a shading pattern's dictionary, or the dictionary);
    /// null paints nothing. The components are an uncoloured pattern's colour.
    Object pattern;
};

/// A soft mask as gs sets it: the form whose drawing makes the mask, how the drawing becomes
/// mask values, and the transform in force when it was set, which the form is drawn in.
struct SoftMaskState {
    Ref form;
    surface::canvas::SoftMask mask;
    surface::canvas::Matrix ctm;
};

struct GraphicsState {
    surface::canvas::Matrix ctm;
    surface::canvas::StrokeStyle stroke;
    ColourState fill;
    ColourState strokeColour;
    surface::canvas::BlendMode blend = surface::canvas::BlendMode::Normal;
    std::shared_ptr<const SoftMaskState> softMask;  ///< null: no soft mask
    bool alphaIsShape = false;
    bool textKnockout = true;
    TextState text;
};

class Interpreter {
  public:
    /// Saved states kept at most; a deeper q is counted and its Q passed over.
    static constexpr size_t kMaxSavedStates = 256;
    /// Forms drawn inside forms at most; deeper ones, and a form inside itself, are not drawn.
    static constexpr size_t kMaxFormDepth = 16;
    /// Type 3 glyphs drawn inside Type 3 glyphs at most.
    static constexpr size_t kMaxGlyphDepth = 4;
    /// Tiles one fill with a tiling pattern draws at most; a fill needing more, or more than
    /// are left of kMaxTilesPerRun, is painted in one flat colour instead.
    static constexpr size_t kMaxTilesPerFill = 20000;
    static constexpr size_t kMaxTilesPerRun = 200000;
    /// Patterns painted inside patterns' cells at most; deeper ones are painted flat, and a
    /// pattern inside its own cell not at all.
    static constexpr size_t kMaxPatternDepth = 4;
    /// Bytes of tiling pattern cells read over a run at most, each tile's cell counted again;
    /// a fill that would read more is painted flat.
    static constexpr size_t kMaxCellBytesPerRun = size_t(64) << 20;
    /// Operators run at most, those of each form and pattern tile counted each time they are
    /// drawn; the rest of the page is not drawn.
    static constexpr size_t kMaxOperatorsPerRun = size_t(1) << 24;

    /// Draws on `device` with `resources` (the page's or form's) and `ctm` as the initial
    /// transform from user space to the device.
    Interpreter(Document& document, Device& device, const Dict* resources,
                const surface::canvas::Matrix& ctm,
                const OptionalContent& optionalContent = OptionalContent());

    /// Runs the operators of `content`. A malformed operator is passed over and drawing goes
    /// on; states saved and not restored are restored at the end.
    void run(std::span<const uint8_t> content);

    const GraphicsState& state() const { return state_; }
    /// Fonts come from `fonts` (which outlives the interpreter) rather than a cache of the
    /// interpreter's own.
    void useFonts(FontCache& fonts) { fonts_ = &fonts; }

  private:
    /// Runs the operators of `content`, passing over those that are malformed.
    void runOperators(std::span<const uint8_t> content);
    void execute(const ContentInstruction& instruction);
    void paint(bool fill, bool stroke, surface::canvas::FillRule rule, bool close);
    void setSpace(ColourState& colour, const Object& name);
    void setComponents(ColourState& colour, const std::vector<Object>& operands);
    void setDeviceColour(ColourState& colour, std::shared_ptr<const ColourSpace> space,
                         const std::vector<Object>& operands);
    void applyExtGState(const Object& name);
    void drawXObject(const Object& name);
    void shade(const Object& name);
    /// Paints `shading` through `toDevice` over the clip, within its box; in a group of the
    /// state's blend mode and soft mask when `composite` (sh) rather than as a pattern's part.
    void paintShading(const Shading& shading, const surface::canvas::Matrix& toDevice,
                      double alpha, bool composite);
    void setPattern(ColourState& colour, const std::vector<Object>& operands);
    /// Paints `path` filled by `rule` (stroke null) or stroked in `colour`'s pattern; false
    /// when `colour` is not a pattern colour.
    bool paintPattern(const ColourState& colour, const surface::canvas::Path& path,
                      surface::canvas::FillRule rule, const surface::canvas::StrokeStyle* stroke);
    /// Clips to the inside of `path` (filled by `rule`, or stroked by `stroke`).
    void clipToPaint(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                     const surface::canvas::StrokeStyle* stroke);
    void paintFlat(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                   const surface::canvas::StrokeStyle* stroke, const surface::canvas::Paint& paint);
    void paintShadingPattern(const Dict& pattern, const ColourState& colour,
                             const surface::canvas::Path& path, surface::canvas::FillRule rule,
                             const surface::canvas::StrokeStyle* stroke);
    void paintTilingPattern(const Ref& ref, const Stream& pattern, const ColourState& colour,
                            const surface::canvas::Path& path, surface::canvas::FillRule rule,
                            const surface::canvas::StrokeStyle* stroke);
    /// Runs a tiling pattern's cell `content` once, under `ctm` and clipped to `box`, from a
    /// fresh graphics state (in `colour`, fixed, for an uncoloured pattern).
    void drawPatternCell(std::span<const uint8_t> content, const Dict* resources,
                         const surface::canvas::Matrix& ctm, const surface::canvas::Path& box,
                         const ColourState* colour);
    void drawInlineImage(const ContentInstruction& instruction);
    void drawForm(const Ref& ref, const Stream& form);
    // Transparency, in interpreter_transparency.cpp.
    /// Runs `draw`, a painting, in a group of the state's blend mode and soft mask where it has
    /// either. `reach`, when given, holds all that it paints (in user space): the group and the
    /// mask are made no larger.
    template <class Draw>
    void composited(const Draw& draw,
                    const std::optional<surface::canvas::RectF>& reach = std::nullopt) {
        const Composite opened = beginComposite(reach);
        draw();
        endComposite(opened);
    }
    enum class Composite : uint8_t { kNone, kGroup, kClippedGroup };
    Composite beginComposite(const std::optional<surface::canvas::RectF>& reach);
    void endComposite(Composite opened);
    /// What stroking the current path may paint, in user space.
    std::optional<surface::canvas::RectF> strokeReach() const;
    /// Opens the group a form is drawn in when it is a transparency group or is drawn under a
    /// blend mode or soft mask, and starts those afresh inside it; whether it opened one.
    bool beginFormGroup(const Stream& form);
    /// The soft mask the dictionary `mask` describes, set in the current transform; null when
    /// it describes none that can be drawn.
    std::shared_ptr<const SoftMaskState> readSoftMask(const Object& mask);
    /// Draws the mask's form between the device's beginSoftMask() and endSoftMask().
    void drawSoftMask(const SoftMaskState& mask);
    void beginMarked(const std::vector<Object>& operands, bool properties);
    void endMarked();
    surface::canvas::Paint paintOf(const ColourState& colour) const;

    // Text objects and the showing of text (interpreter_text.cpp).
    void executeText(const ContentInstruction& instruction);
    void setTextFont(const Object& font, double size);
    void applyTextExtGState(const Object& name);
    void moveText(double tx, double ty);
    void showText(const Object& string);
    void showTextArray(const Object& array);
    /// Draws the glyph of `code` with the text matrix as it stands.
    void showGlyph(Font& font, CharCode code);
    void showType3Glyph(Font& font, CharCode code, const surface::canvas::Matrix& textToUser);
    /// Hands the glyph of `code`, placed by `textToUser`, to a device that takes text.
    void passGlyph(const Font& font, CharCode code, const surface::canvas::Matrix& textToUser);
    void endText();
    FontCache& fonts();
    /// Whether `op` sets a colour, which a Type 3 glyph begun with d1 and an uncoloured
    /// pattern's cell may not.
    static bool setsColour(ContentOp op);

    Document& document_;
    Device& device_;
    /// The device takes the page's text: only what shows text is run.
    const bool textOnly_;
    const Dict* resources_;
    OptionalContent optionalContent_;
    std::vector<Ref> forms_;  // the forms being drawn, outermost first
    /// For each marked-content sequence open, whether it hides what it holds.
    std::vector<bool> marked_;
    size_t hidden_ = 0;  // open sequences that hide their content
    double pointSize_;   // on the device, of a unit of the initial user space
    GraphicsState state_;
    std::vector<GraphicsState> saved_;
    size_t unsaved_ = 0;  // q operators past kMaxSavedStates
    surface::canvas::Path path_;
    std::optional<surface::canvas::FillRule> pendingClip_;
    FontCache* fonts_ = nullptr;
    std::shared_ptr<FontCache> ownFonts_;  // made when no cache was given
    TextObject text_;
    size_t glyphDepth_ = 0;         // Type 3 glyphs being drawn
    bool glyphUncoloured_ = false;  // the Type 3 glyph being drawn began with d1
    /// The pattern space of the content being run: the transform in force when it began.
    surface::canvas::Matrix baseCtm_;
    std::vector<Ref> patterns_;  // the tiling patterns whose cells are being drawn
    size_t tilesDrawn_ = 0;
    size_t cellBytesRead_ = 0;
    size_t operatorsRun_ = 0;
    bool colourFixed_ = false;  // in an uncoloured pattern's cell, colours are not set
};

}  // namespace reader::pdf
