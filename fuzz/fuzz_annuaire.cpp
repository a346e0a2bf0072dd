// Any bytes as the directory file: read back as written, load, look up, delete and modify
// against a temporary folder. Nothing may crash; after a deletion the lookup finds no record of the
// name and the returned list is what a reload reads.

#include "directory/annuaire.h"
#include "directory/contenu.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct Silencieux : dz::Avertisseur {
    void information(const QString&) override {}
    void alerte(const QString&) override {}
    void erreur(dz::Echec) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    // In memory when it can: the store syncs its rewrites to disk.
    static QTemporaryDir dossier(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/dz-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/dz-fuzz-XXXXXX"));
    const QByteArray octets(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));

    // Whatever is read is written back so as to read the same, line for line.
    if (const auto lu = dz::litContenu(octets);
        !lu.utf16 && dz::litContenu(dz::ecritContenu(lu.lignes)).lignes != lu.lignes)
        std::abort();

    Silencieux silence;
    dz::Annuaire annuaire(silence);
    annuaire.fixeDossier(dossier.path());
    {
        QFile f(annuaire.FichierAnnuaire());
        if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size())
            std::abort();
    }

    const QStringList noms = annuaire.ChargeAnnuaire();
    for (const QString& nom : noms)
        annuaire.TrouveFiche(nom);

    const QString cible = noms.isEmpty() ? QStringLiteral("x") : noms.first();
    const auto supprime = annuaire.SupprimeFiche(cible);
    if (supprime.issue == dz::Annuaire::Issue::Fait) {
        if (annuaire.TrouveFiche(cible).naissance)
            std::abort();
        if (annuaire.ChargeAnnuaire() != supprime.noms)
            std::abort();
    }
    // A modification leaves the person once, at the end, with the new date.
    const auto modifie = annuaire.ModifieFiche(QStringLiteral("Zoé"), QStringLiteral("01/02/2003"));
    if (modifie.issue == dz::Annuaire::Issue::Fait
        && (modifie.noms.isEmpty() || modifie.noms.back() != QStringLiteral("Zoé")
            || annuaire.TrouveFiche(QStringLiteral("Zoé")).naissance
                   != QStringLiteral("01/02/2003")))
        std::abort();
    QFile::remove(annuaire.FichierAnnuaire());
    return 0;
}
