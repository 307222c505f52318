// What lettering the captions on their pane costs a repaint. Captions draw their
// ink on the pane, so every repaint of the pane asks each of them whether it
// falls in the repainted area: a whole pane (the pane shown anew) and one list's
// place (a cursor blink in the list) are repainted with the pane's captions and,
// as the baseline, with plain labels of the same text, font and place, which
// clip their ink to their box.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include "ui/main/answerlist.h"
#include "ui/main/languagepane.h"

namespace {

using mindlark::Language;
using mindlark::LanguagePane;

// Repaints `area` of a fresh Arabic pane, with or without its captions.
void repaint(benchmark::State& state, bool wholePane) {
    LanguagePane pane(Language::Arabic);
    if (state.range(0) == 0) {
        for (QLabel* caption : pane.findChildren<QLabel*>()) {
            auto* plain = new QLabel(caption->text(), &pane);
            plain->setFont(caption->font());
            plain->setAlignment(caption->alignment());
            plain->setGeometry(caption->geometry());
            delete caption;
        }
    }
    const QRect area =
        wholePane ? pane.rect() : pane.list(mindlark::Attribute::Drink, 3)->geometry();
    QImage image(pane.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        pane.render(&image, area.topLeft(), QRegion(area));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(state.range(0) ? "with captions" : "baseline: plain labels");
}

void BM_RepaintPane(benchmark::State& state) {
    repaint(state, true);
}
void BM_RepaintOneList(benchmark::State& state) {
    repaint(state, false);
}

BENCHMARK(BM_RepaintPane)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintOneList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
