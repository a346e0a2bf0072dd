// The printed page: drawing it into its recording (report + chart, about 8,700 dots), replaying
// the recording into a PDF printer, and the whole print command with a PDF answer to the dialog.
#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

namespace {

impression::EntreesImpression entrees()
{
    return {"Jeanne Exemple", "3/11/1975", "17/05/2004", {}, {}, "45 ( Min -50, Max +50)",
            "-12 ( Min -50, Max +50)", "0 ( Min -50, Max +50)", 200, std::chrono::year{2004}, {}};
}

impression::PageEnregistree enregistre(FakePlateforme& pf)
{
    impression::PageEnregistree page(impression::PageA4Twips, impression::ResolutionEnregistrement);
    impression::Feuille feuille(page);
    dz::Etat etat;
    impression::ImprimeFiche(feuille, entrees(), etat, pf, nullptr);
    impression::ImprimeCourbes(feuille, entrees(), etat, pf);
    return page;
}

void BM_Enregistrement(benchmark::State& state)
{
    FakePlateforme pf;
    for (auto _ : state) {
        auto page = enregistre(pf);
        benchmark::DoNotOptimize(page.traits.data());
    }
}
BENCHMARK(BM_Enregistrement)->Unit(benchmark::kMillisecond);

void BM_RejeuPdf(benchmark::State& state)
{
    FakePlateforme pf;
    const auto page = enregistre(pf);
    const QString pdf = pf.dossierTemp + "/page.pdf";
    for (auto _ : state) {
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setOutputFormat(QPrinter::PdfFormat);
        imprimante.setOutputFileName(pdf);
        imprimante.setFullPage(true);
        QPainter peintre(&imprimante);
        peintre.scale(imprimante.resolution() / 1440, imprimante.resolution() / 1440);
        page.rejoue(peintre);
        peintre.end();
    }
    state.counters["traits"] = double(page.traits.size());
}
BENCHMARK(BM_RejeuPdf)->Unit(benchmark::kMillisecond);

void BM_CommandeImprimer(benchmark::State& state)
{
    FakePlateforme pf;
    const QString pdf = pf.dossierTemp + "/page.pdf";
    pf.imprimante = [&](QWidget*, QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    dz::Etat etat;
    for (auto _ : state)
        if (impression::imprimePage(pf, nullptr, entrees(), etat) != impression::Resultat::Imprime)
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
    return 0;
}
