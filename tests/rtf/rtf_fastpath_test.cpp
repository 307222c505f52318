// The store's files are almost all the writer's own three-line documents; the
// reader takes their text without the general parser. Both ways must agree.
#include "rtf/rtf.h"

#include <gtest/gtest.h>

#include "rtftestvalues.h"

namespace rtf = mindlark::rtf;

using mindlark::rtftest::randomValue;

TEST(RtfFastPath, ReadsEverythingTheWriterWritesAsTheFullReaderDoes) {
    QRandomGenerator rng(14);
    for (int i = 0; i < 5000; ++i) {
        const QString value = randomValue(rng, 9);
        const QByteArray document = rtf::write(value);
        const auto fast = rtf::readOwnForm(document);
        ASSERT_TRUE(fast.has_value()) << "case " << i;
        ASSERT_EQ(*fast, value) << "case " << i;
        ASSERT_EQ(rtf::readGeneral(document).text, value) << "case " << i;
    }
}

TEST(RtfFastPath, EveryOneByteChangeIsReadAlikeOrLeftToTheFullReader) {
    // Whatever the fast path still accepts after damage must be what the full
    // reader makes of the same bytes; everything else must fall through to it.
    const QByteArray original = rtf::write(QString::fromUtf8("a\\b\t{x}\r\n-7?\u0633\U0001F600 z"));
    const char replacements[] = {'?', '\\', '{', '}', ' ', '\r', '0', '9', '-', 'u', 'x', '\xe9'};
    int fastAccepted = 0;
    for (qsizetype at = 0; at < original.size(); ++at) {
        for (char replacement : replacements) {
            QByteArray changed = original;
            changed[at] = replacement;
            for (const QByteArray& document : {changed, original.left(at) + original.mid(at + 1)}) {
                const auto fast = rtf::readOwnForm(document);
                const auto full = rtf::readGeneral(document);
                const auto combined = rtf::read(document);
                EXPECT_EQ(combined.ok, full.ok) << document.toStdString();
                EXPECT_EQ(combined.text, full.text) << document.toStdString();
                if (fast) {
                    ++fastAccepted;
                    EXPECT_TRUE(full.ok) << document.toStdString();
                    EXPECT_EQ(*fast, full.text) << document.toStdString();
                }
            }
        }
    }
    EXPECT_GT(fastAccepted, 0);
}

TEST(RtfSizeLimit, ValuesUpToTheSharedLimitReadBackAndOneMoreCharacterDoesNot) {
    // Fillers of every width the writer gives a character, down to one byte.
    for (const QString& filler :
         {QStringLiteral("a"), QString::fromUtf8("\u4E2D"), QStringLiteral("\r\n"),
          QStringLiteral("\t"), QString::fromUtf8("\U0001F600")}) {
        const qsizetype base = rtf::writtenSize(QString());
        const qsizetype per = rtf::writtenSize(filler) - base;
        const qsizetype room = rtf::kMaxDocumentSize - base;
        const QString largest = filler.repeated(room / per) + QString(room % per, QLatin1Char('a'));
        ASSERT_EQ(rtf::writtenSize(largest), rtf::kMaxDocumentSize);
        EXPECT_TRUE(rtf::fitsInDocument(largest));
        const QByteArray document = rtf::write(largest);
        EXPECT_EQ(document.size(), rtf::kMaxDocumentSize);
        const auto result = rtf::read(document);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.text == largest);

        const QString tooLarge = largest + filler;
        EXPECT_FALSE(rtf::fitsInDocument(tooLarge));
        const auto refused = rtf::read(rtf::write(tooLarge));
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.error, "document too large");
    }
}
