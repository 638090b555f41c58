#include "glyph_cache.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>
#include <QThread>
#include <limits>

#include "surface/em_box.h"

namespace surface {

FontGlyphs::FontGlyphs(const QFont& font, const QPaintDevice* device)
    : font_(device != nullptr ? QFont(font, device) : font), metrics_(font_) {
    const QRawFont raw = QRawFont::fromFont(font_);
    if (raw.isValid()) {
        const QByteArray base = raw.fontTable("BASE");
        const auto box = ideographicEmBox(
            {reinterpret_cast<const uint8_t*>(base.constData()), size_t(base.size())},
            int(raw.unitsPerEm()));
        emAscentShare_ = surface::emAscentShare(box, raw.ascent(), raw.descent());
    }
}

const ShapedText& FontGlyphs::shape(const QString& text) {
    const auto found = texts_.constFind(text);
    if (found != texts_.cend()) {
        return *found;
    }

    // One unbroken left-to-right line, as a painter lays out a string it draws at a point.
    QTextLayout layout(text, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(std::numeric_limits<int>::max() / 256);
    }
    layout.endLayout();

    ShapedText shaped;
    shaped.width = metrics_.horizontalAdvance(text);
    const qreal baseline = line.isValid() ? line.y() + line.ascent() : 0;
    qsizetype glyphs = 0;
    for (QGlyphRun run : layout.glyphRuns()) {
        glyphs += run.glyphIndexes().size();
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) {
            p.ry() -= baseline;
        }
        run.setPositions(positions);
        shaped.runs.push_back(std::move(run));
    }
    // A full cache starts again rather than tracking the use of each string: a page's strings
    // come back page after page, so the next page fills it again at once.
    if (texts_.size() >= kMaxTexts || glyphCount_ + glyphs > kMaxGlyphs) {
        texts_.clear();
        glyphCount_ = 0;
    }
    glyphCount_ += glyphs;
    return *texts_.insert(text, std::move(shaped));
}

// Qt's fonts must not outlive the application object, so the main thread's cache is emptied
// as the application ends rather than when the thread's objects are destroyed after it.
GlyphCache& GlyphCache::forThisThread() {
    thread_local GlyphCache cache;
    thread_local bool clearedAtExit = false;
    if (!clearedAtExit) {
        clearedAtExit = true;
        const QCoreApplication* application = QCoreApplication::instance();
        if (application != nullptr && application->thread() == QThread::currentThread()) {
            qAddPostRoutine([] { forThisThread().fonts_.clear(); });
        }
    }
    return cache;
}

std::shared_ptr<FontGlyphs> GlyphCache::find(const QFont& font, const QPaintDevice* device,
                                             const QString& source) {
    QString key = font.key();
    key += QStringLiteral("|%1|%2|%3|%4|")
               .arg(int(font.hintingPreference()))
               .arg(device != nullptr ? device->devType() : 0)
               .arg(device != nullptr ? device->logicalDpiX() : 0)
               .arg(device != nullptr ? device->logicalDpiY() : 0);
    key += source;
    for (auto it = fonts_.begin(); it != fonts_.end(); ++it) {
        if (it->key == key) {
            fonts_.splice(fonts_.begin(), fonts_, it);
            return fonts_.front().glyphs;
        }
    }
    fonts_.push_front({std::move(key), std::make_shared<FontGlyphs>(font, device)});
    if (fonts_.size() > kMaxFonts) {
        fonts_.pop_back();
    }
    return fonts_.front().glyphs;
}

}  // namespace surface
