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
    // Hinting rounds the narrowed advances, so the first guess may miss by a pixel.
    int stretch = std::max(kNarrowestStretch, static_cast<int>(100.0 * width / natural));
    font.setStretch(stretch);
    while (stretch > kNarrowestStretch && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setStretch(--stretch);
    return font;
}

}  // namespace mindlark
