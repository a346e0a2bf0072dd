// Loading the directory and deleting one person, for small and very large directories.

#include "directory/annuaire.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Muet : Avertisseur {
    void information(const QString&) override {}
    void refus(const QString&) override {}
    void erreur(int, const QString&) override {}
};

QString nomDe(int i)
{
    return QStringLiteral("Personne n°%1 Hébert").arg(i);
}

// A directory file of `personnes` records, written as the store writes them.
struct Banc {
    QTemporaryDir dossier;
    Muet muet;
    Annuaire annuaire{muet};
    QByteArray octets;

    explicit Banc(int personnes)
    {
        annuaire.fixeChemins(dossier.path(), dossier.path());
        for (int i = 0; i < personnes; ++i) {
            octets += "nom=Personne n\xB0" + QByteArray::number(i) + " H\xE9" "bert;Naissan="
                + QByteArray::number(1 + i % 28) + "/" + QByteArray::number(1 + i % 12) + "/"
                + QByteArray::number(1920 + i % 100) + "\r\n";
        }
        pose();
    }
    void pose()
    {
        QFile f(annuaire.FichierAnnuaire());
        if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size())
            std::abort();
    }
};

void chargeAnnuaire(benchmark::State& state)
{
    Banc banc(int(state.range(0)));
    for (auto _ : state) {
        QStringList noms = banc.annuaire.ChargeAnnuaire();
        if (noms.size() != state.range(0))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(noms);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void supprimeFiche(benchmark::State& state)
{
    Banc banc(int(state.range(0)));
    const QString milieu = nomDe(int(state.range(0)) / 2);
    for (auto _ : state) {
        auto noms = banc.annuaire.SupprimeFiche(milieu);
        if (!noms || noms->size() != state.range(0) - 1)
            state.SkipWithError("deletion failed");
        state.PauseTiming();
        banc.pose();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(chargeAnnuaire)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(supprimeFiche)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
