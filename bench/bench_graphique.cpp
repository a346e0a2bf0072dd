// One full redraw of the main window (arithmetic, chart, day strip, labels, faces and the event
// pump that lets the window repaint), reached through Calcule and through a face double-click,
// and the cycle arithmetic alone (630 x 3 sines and the read-back). Goal: a redraw under 1 ms.
#include "core/cycles.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace dz;

namespace {

// A shown window with a birth date typed and one Calcule done.
struct Fenetre {
    FakePlateforme pf;
    Ondagramm w{pf};
    Fenetre()
    {
        w.show();
        QCoreApplication::processEvents(); // the first show's activation
        w.findChild<QLineEdit*>("TxtDateN")->setText("01/01/1970");
        w.findChild<QPushButton*>("Commande1")->click();
        QCoreApplication::processEvents();
    }
};

void BM_Calcule(benchmark::State& state)
{
    Fenetre f;
    auto* calcule = f.w.findChild<QPushButton*>("Commande1");
    const int pompes = f.pf.pompes;
    for (auto _ : state)
        calcule->click();
    if (f.pf.pompes - pompes != int(state.iterations()) || f.w.etat().JoursVecus != 12555)
        state.SkipWithError("not one redraw a click");
}
BENCHMARK(BM_Calcule)->Unit(benchmark::kMicrosecond);

void BM_DoubleClicVisage(benchmark::State& state)
{
    Fenetre f;
    QWidget* visage = f.w.findChild<QWidget*>("Picture1_1");
    const int pompes = f.pf.pompes;
    for (auto _ : state)
        QTest::mouseDClick(visage, Qt::LeftButton);
    if (f.pf.pompes - pompes != int(state.iterations()))
        state.SkipWithError("not one redraw a double-click");
}
BENCHMARK(BM_DoubleClicVisage)->Unit(benchmark::kMicrosecond);

void BM_Arithmetique(benchmark::State& state)
{
    double D = 12555;
    for (auto _ : state) {
        benchmark::DoNotOptimize(D);
        const Courbes c = calculeCourbes(geometrie(629, 245, D), 304);
        benchmark::DoNotOptimize(c.valeurs);
    }
}
BENCHMARK(BM_Arithmetique)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
