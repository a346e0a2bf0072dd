// The printed page: recording it (report + chart, about 8,700 dots), replaying the recording into
// a PDF printer, and the whole print command with a PDF answer to the dialog.
#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

using namespace dz;

namespace {

const EntreesImpression Entrees{"Jeanne Exemple",
                                "3/11/1975",
                                "17/05/2004",
                                {},
                                {},
                                "45 ( Min -50, Max +50)",
                                "-12 ( Min -50, Max +50)",
                                "0 ( Min -50, Max +50)",
                                200,
                                {}};

PageEnregistree enregistre(FakePlateforme& pf)
{
    PageEnregistree page(QSizeF(11906, 16838)); // A4
    Feuille feuille(page, EtatImprimante{});
    Etat etat;
    ImprimeFiche(feuille, Entrees, etat, pf, nullptr);
    ImprimeCourbes(feuille, Entrees, etat, pf);
    return page;
}

void BM_Enregistrement(benchmark::State& state)
{
    FakePlateforme pf;
    for (auto _ : state)
        benchmark::DoNotOptimize(enregistre(pf).traits.size());
}
BENCHMARK(BM_Enregistrement)->Unit(benchmark::kMillisecond);

void BM_RejeuPdf(benchmark::State& state)
{
    FakePlateforme pf;
    const PageEnregistree page = enregistre(pf);
    for (auto _ : state) {
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setOutputFileName(pf.dossierTemp + "/page.pdf"); // .pdf: a PDF printer
        imprimante.setFullPage(true);
        QPainter peintre(&imprimante); // ends the page when it goes
        peintre.scale(imprimante.resolution() / 1440, imprimante.resolution() / 1440);
        page.rejoue(peintre);
    }
    state.counters["traits"] = double(page.traits.size());
}
BENCHMARK(BM_RejeuPdf)->Unit(benchmark::kMillisecond);

void BM_CommandeImprimer(benchmark::State& state)
{
    FakePlateforme pf;
    pf.imprimante = [&](QWidget*, QPrinter& p) {
        p.setOutputFileName(pf.dossierTemp + "/page.pdf");
        return true;
    };
    Etat etat;
    Impression impression(pf);
    for (auto _ : state)
        if (impression.imprime(nullptr, Entrees, etat) != Impression::Resultat::Imprime)
            state.SkipWithError("page not printed");
}
BENCHMARK(BM_CommandeImprimer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
