// Any bytes as the directory file: load, look up and delete against a temporary folder.
// Nothing may crash; after a deletion the lookup finds no record of the name and the
// returned list is what a reload reads.

#include "directory/annuaire.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct Silencieux : Avertisseur {
    void information(const QString&) override {}
    void refus(const QString&) override {}
    void erreur(int, const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    // In memory when it can: the store syncs its rewrites to disk.
    static QTemporaryDir dossier(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/dz-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/dz-fuzz-XXXXXX"));
    const QByteArray octets(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));

    Silencieux silence;
    Annuaire annuaire(silence);
    annuaire.fixeChemins(dossier.path(), dossier.path());
    {
        QFile f(annuaire.FichierAnnuaire());
        if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size())
            std::abort();
    }

    const QStringList noms = annuaire.ChargeAnnuaire();
    for (const QString& nom : noms)
        annuaire.TrouveFiche(nom);

    const QString cible = noms.isEmpty() ? QStringLiteral("x") : noms.first();
    if (const auto restants = annuaire.SupprimeFiche(cible)) {
        if (annuaire.TrouveFiche(cible).naissance)
            std::abort();
        const auto apres = annuaire.ChargeAnnuaire();
        if (apres != *restants)
            std::abort();
    }
    QFile::remove(annuaire.FichierAnnuaire());
    return 0;
}
