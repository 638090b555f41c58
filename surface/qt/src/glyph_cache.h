// Text shaped once per font and string, so that drawing a string again only places its glyphs.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>
#include <list>
#include <memory>

class QPaintDevice;

namespace surface {

/// A string as Qt lays it out in one font: its glyph runs (fallback faces included), placed
/// with the start of the baseline at the origin, and its advance in whole pixels.
struct ShapedText {
    QList<QGlyphRun> runs;
    int width = 0;
};

/// One font's metrics and shaped strings: at most `kMaxTexts` of them holding at most
/// `kMaxGlyphs` glyphs, besides the string shaped last.
class FontGlyphs {
  public:
    static constexpr qsizetype kMaxTexts = 2048;
    static constexpr qsizetype kMaxGlyphs = 32768;

    /// `font` resolved for drawing on `device`, as a painter resolves the font it is given.
    FontGlyphs(const QFont& font, const QPaintDevice* device);

    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const { return metrics_; }
    /// The share of the em box above the baseline (see surface/em_box.h).
    double emAscentShare() const { return emAscentShare_; }
    /// The shaped form of `text`; the reference lasts until the next call.
    const ShapedText& shape(const QString& text);
    qsizetype size() const { return texts_.size(); }
    qsizetype glyphCount() const { return glyphCount_; }

  private:
    QFont font_;
    QFontMetrics metrics_;
    double emAscentShare_ = 1.0;
    QHash<QString, ShapedText> texts_;
    qsizetype glyphCount_ = 0;
};

/// The fonts of one thread that were drawn with lately, the most recent first, at most
/// `kMaxFonts` of them. Qt's glyph runs are not shared between threads, hence one per thread.
class GlyphCache {
  public:
    static constexpr size_t kMaxFonts = 32;

    static GlyphCache& forThisThread();

    /// The glyphs of `font` as drawn on `device`, its family read from the font file `source`
    /// (empty for an installed family). Entries are keyed by everything that changes how a
    /// font lays out (its description, the device's kind and resolution, the file), so two
    /// fonts or sizes never share one. A font pushed out of the cache lives on for the callers
    /// still holding it.
    std::shared_ptr<FontGlyphs> find(const QFont& font, const QPaintDevice* device,
                                     const QString& source = {});

    size_t size() const { return fonts_.size(); }

  private:
    struct Entry {
        QString key;
        std::shared_ptr<FontGlyphs> glyphs;
    };
    std::list<Entry> fonts_;
};

}  // namespace surface
