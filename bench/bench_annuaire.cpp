// Loading the directory, adding, deleting and modifying one person, for small and very large
// directories.

#include "directory/annuaire.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace dz;

namespace {

struct Muet : Avertisseur {
    void information(const QString&) override {}
    void alerte(const QString&) override {}
    void erreur(Echec) override {}
};

QString nomDe(int i) { return QStringLiteral("Personne n°%1 Hébert").arg(i); }

// A directory file of `personnes` records, written as the store writes them.
struct Banc {
    QTemporaryDir dossier;
    Muet muet;
    Annuaire annuaire{muet};
    QByteArray octets;

    explicit Banc(int personnes)
    {
        annuaire.fixeDossier(dossier.path());
        for (int i = 0; i < personnes; ++i) {
            octets += "nom=Personne n\xB0" + QByteArray::number(i)
                      + " H\xE9"
                        "bert;Naissan="
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
        const auto r = banc.annuaire.SupprimeFiche(milieu);
        if (r.noms.size() != state.range(0) - 1)
            state.SkipWithError("deletion failed");
        state.PauseTiming();
        banc.pose();
        state.ResumeTiming();
    }
}

// The person in the middle gets a new date and moves to the end: lock, read, one rewrite
// synced to disk with its folder, reload.
void modifieFiche(benchmark::State& state)
{
    Banc banc(int(state.range(0)));
    const QString milieu = nomDe(int(state.range(0)) / 2);
    int n = 0;
    for (auto _ : state) {
        const auto r =
            banc.annuaire.ModifieFiche(milieu, QStringLiteral("%1/01/2000").arg(1 + n++ % 28));
        if (r.noms.size() != state.range(0) || r.noms.back() != milieu)
            state.SkipWithError("modification failed");
    }
}

// A new person at the end: lock, read, the record made durable, reload.
void ajouteFiche(benchmark::State& state)
{
    Banc banc(int(state.range(0)));
    for (auto _ : state) {
        const auto r = banc.annuaire.AjouteFiche(QStringLiteral("Zoé Noël"), "03/11/1975");
        if (r.noms.size() != state.range(0) + 1)
            state.SkipWithError("add failed");
        state.PauseTiming();
        banc.pose();
        state.ResumeTiming();
    }
}

// The floor of any durable rewrite: the same bytes through QSaveFile, then the folder synced.
void plancherReecriture(benchmark::State& state)
{
    Banc banc(int(state.range(0)));
    const QByteArray dossier = QFile::encodeName(banc.dossier.path());
    for (auto _ : state) {
        QSaveFile f(banc.annuaire.FichierAnnuaire());
        if (!f.open(QIODevice::WriteOnly) || f.write(banc.octets) != banc.octets.size()
            || !f.commit())
            state.SkipWithError("write failed");
        const int d = ::open(dossier.constData(), O_RDONLY | O_DIRECTORY);
        ::fsync(d);
        ::close(d);
    }
}

} // namespace

BENCHMARK(chargeAnnuaire)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(supprimeFiche)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(modifieFiche)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(ajouteFiche)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(plancherReecriture)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
