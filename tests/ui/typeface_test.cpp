// The riddle's typeface, with the fonts a fresh machine has and with this machine's.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mindlark
