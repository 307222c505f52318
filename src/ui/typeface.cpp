#include "ui/typeface.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>

namespace mindlark {

namespace {

// Narrower than this a caption is no longer worth squeezing: it is drawn wider.
constexpr int kNarrowestStretch = 50;

void pinStandIns() {
    // Once per process, before any riddle font is resolved: the font cache would
    // otherwise keep whatever fontconfig found first.
    static const bool pinned = [] {
        QFont::insertSubstitutions(
            QString::fromLatin1(kRiddleFamily),
            QStringList{QString::fromLatin1(kLatinSerif), QString::fromLatin1(kArabicFace)});
        return true;
    }();
    (void)pinned;
}

}  // namespace

QFont riddleFont(bool bold, bool italic) {
    pinStandIns();
    QFont font(QString::fromLatin1(kRiddleFamily), 12);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont condensedToFit(QFont font, const QString& text, int width) {
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural <= width || natural <= 0)
        return font;
    // Every stretch is a font of its own, and loading one is what a caption costs
    // at start, so the search scales each guess by how far the last one missed
    // rather than stepping a percent at a time. Hinting makes narrowed advances
    // run a little wider than the proportion, hence more than one guess.
    int stretch = std::max(kNarrowestStretch, static_cast<int>(100.0 * width / natural));
    for (;;) {
        font.setStretch(stretch);
        const qreal advance = QFontMetricsF(font).horizontalAdvance(text);
        if (advance <= width || stretch == kNarrowestStretch)
            return font;
        const int scaled = static_cast<int>(stretch * width / advance);
        stretch = std::max(kNarrowestStretch, std::min(scaled, stretch - 1));
    }
}

}  // namespace mindlark
