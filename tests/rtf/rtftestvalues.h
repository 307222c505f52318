#pragma once

// Values for the RTF tests, shared by the round-trip, fast-path and Windows tests.

#include <QRandomGenerator>
#include <QString>

#include <initializer_list>
#include <iterator>

namespace mindlark::rtftest {

// A string of the given UTF-16 code units, lone surrogates and NUL included.
inline QString units(std::initializer_list<char16_t> list) {
    QString s;
    for (char16_t u : list)
        s += QChar(u);
    return s;
}

// Up to `maxPieces` pieces that exercise every escape the writer uses: RTF's
// own characters, line breaks, digits and hyphens after escapes, Arabic, a
// character outside the BMP, NUL and the edges of 16 bits.
inline QString randomValue(QRandomGenerator& rng, int maxPieces) {
    static const QString singles = QStringLiteral(" \r\n\t\\{}?07-aZ");
    static const QString pieces[] = {
        QStringLiteral("\r\n"),
        QStringLiteral("par"),
        QStringLiteral("\\u12?"),
        QString::fromUtf8("\u0627\u0644\u0639\u0631\u0628\u064A\u0629"),
        QString::fromUtf8("\U0001F600"),
        QString::fromUtf8("\u00e9\u00fc"),
        units({0}),
        units({0x7F}),
        units({0xFFFF}),
    };
    const int choices = int(singles.size() + std::size(pieces));
    QString value;
    const int length = int(rng.bounded(maxPieces + 1));
    for (int j = 0; j < length; ++j) {
        const int pick = int(rng.bounded(choices));
        if (pick < singles.size())
            value += singles[pick];
        else
            value += pieces[pick - singles.size()];
    }
    return value;
}

}  // namespace mindlark::rtftest
