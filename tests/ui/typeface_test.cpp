// The riddle's typeface, with the fonts a fresh machine has and with this machine's.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>

#include "ui/typeface.h"

namespace mindlark {
namespace {

// The families that draw `text` in `font`.
QSet<QString> familiesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QSet<QString> families;
    for (const QGlyphRun& run : layout.glyphRuns())
        families.insert(run.rawFont().familyName().toLower());
    return families;
}

TEST(Typeface, TheChosenFacesDrawAllFourStyles) {
    QSet<QString> arabic;
    QSet<QString> latin;
    for (const bool bold : {false, true}) {
        for (const bool italic : {false, true}) {
            arabic += familiesDrawing(QStringLiteral(u"الجنسية"), riddleFont(bold, italic));
            latin += familiesDrawing(QStringLiteral("Nationality"), riddleFont(bold, italic));
        }
    }
    // Whatever else is installed and however fontconfig orders it.
    EXPECT_EQ(arabic, QSet<QString>{QString::fromLatin1(kArabicFace).toLower()})
        << QStringList(arabic.values()).join(u',').toStdString();
    EXPECT_EQ(latin, QSet<QString>{QString::fromLatin1(kLatinSerif).toLower()})
        << QStringList(latin.values()).join(u',').toStdString();
}

TEST(Typeface, CondensingKeepsTheHeightAndFitsTheWidth) {
    const QFont bold = riddleFont(true, false);
    const QFontMetricsF natural(bold);
    const QString captions[] = {
        QStringLiteral("To send your answer, you have to copy the code and paste it in the "
                       "following link"),
        QStringLiteral(u"لكي ترسل جوابك, يجب أن تنسخ الشيفرة و تدخلها في الموقع التالي"),
        QStringLiteral("Smoke"),
    };
    for (const QString& caption : captions) {
        SCOPED_TRACE(caption.toStdString());
        for (const int width : {300, 537, 2000}) {
            const QFont fitted = condensedToFit(bold, caption, width);
            const QFontMetricsF metrics(fitted);
            EXPECT_LE(metrics.horizontalAdvance(caption), width) << "in " << width;
            EXPECT_EQ(metrics.height(), natural.height());
            if (natural.horizontalAdvance(caption) <= width) {
                EXPECT_EQ(fitted, bold) << "fits " << width << " as it is";
            }
        }
    }
}

}  // namespace
}  // namespace mindlark
