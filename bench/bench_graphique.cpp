// One full redraw of the main window (arithmetic, chart, day strip, labels, faces and the event
// pump that lets the window repaint), reached through Calcule and through a face double-click,
// the cycle arithmetic alone (630 x 3 sines and the read-back), and the bare QPainter floor.
// Run it with QT_SCALE_FACTOR=2 for a high-density screen.
#include "core/cycles.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
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

// The floor of a redraw: the same 630 x 3 curve segments drawn by a bare QPainter into a picture
// of the chart's size and density, without the window around it.
void BM_PlancherQPainter(benchmark::State& state)
{
    const qreal densite = qApp->devicePixelRatio();
    QImage image(QSize(627, 243) * densite, QImage::Format_RGB32);
    image.setDevicePixelRatio(densite);
    const Courbes c = calculeCourbes(geometrie(629, 245, 12555), 304);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        for (std::size_t j = 1; j < c.y.size(); ++j)
            for (std::size_t k = 0; k < 3; ++k) {
                p.setPen(QPen(Qt::darkBlue, 1));
                p.drawLine(QPointF(double(j - 1), c.y[j - 1][k]), QPointF(double(j), c.y[j][k]));
            }
    }
}
BENCHMARK(BM_PlancherQPainter)->Unit(benchmark::kMicrosecond);

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
