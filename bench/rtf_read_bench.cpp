// How fast store files are read: the writer's own documents through the fast path
// against the general parser, and what trying the fast path first costs a document
// in another form. Compare the benchmarks of one run with each other, not with
// figures from another machine or another run.
#include "rtf/rtf.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <vector>

namespace {

namespace rtf = mindlark::rtf;

// Values of the kinds a store holds: counters, ages, names, e-mail addresses,
// user names and passwords, in English and Arabic.
std::vector<QByteArray> ownDocuments() {
    const QString values[] = {
        QStringLiteral("0"),
        QStringLiteral("1234"),
        QStringLiteral("34"),
        QStringLiteral("Jane Q. Player"),
        QStringLiteral("jane.player@example.org"),
        QStringLiteral("jplayer7"),
        QStringLiteral("correct horse {battery} staple\\"),
        QString::fromUtf8("\u0645\u062D\u0645\u062F \u0639\u0628\u062F \u0627\u0644\u0644\u0647"),
        QString::fromUtf8("\u0643\u0644\u0645\u0629 \u0633\u0631 2024"),
    };
    std::vector<QByteArray> documents;
    for (const QString& value : values)
        documents.push_back(rtf::write(value));
    return documents;
}

// A value as a Windows rich-edit control saves it: the same text, another form.
std::vector<QByteArray> richEditDocuments() {
    return {
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 jplayer7\\par\r\n}\r\n",
        "{\\rtf1\\ansi\\ansicpg1256\\deff0\\nouicompat\\deflang1025{\\fonttbl{"
        "\\f0\\fnil\\fcharset178 "
        "Arial;}}\r\n\\viewkind4\\uc1\\pard\\rtlpar\\f0\\rtlch\\fs22 "
        "\\'e3\\'cd\\'e3\\'cf\\par\r\n}\r\n",
    };
}

template <typename Read>
void readAll(benchmark::State& state, const std::vector<QByteArray>& documents, Read read) {
    for (auto _ : state) {
        for (const QByteArray& document : documents)
            benchmark::DoNotOptimize(read(document));
    }
    state.SetItemsProcessed(state.iterations() * qint64(documents.size()));
}

void OwnForm_FastPath(benchmark::State& state) {
    readAll(state, ownDocuments(), [](const QByteArray& d) { return rtf::readOwnForm(d); });
}
void OwnForm_GeneralParser(benchmark::State& state) {
    readAll(state, ownDocuments(), [](const QByteArray& d) { return rtf::readGeneral(d); });
}
void RichEdit_ReadTryingFastPathFirst(benchmark::State& state) {
    readAll(state, richEditDocuments(), [](const QByteArray& d) { return rtf::read(d); });
}
void RichEdit_GeneralParser(benchmark::State& state) {
    readAll(state, richEditDocuments(), [](const QByteArray& d) { return rtf::readGeneral(d); });
}

}  // namespace

BENCHMARK(OwnForm_FastPath);
BENCHMARK(OwnForm_GeneralParser);
BENCHMARK(RichEdit_ReadTryingFastPathFirst);
BENCHMARK(RichEdit_GeneralParser);

BENCHMARK_MAIN();
