#include "directory/annuaire.h"

#include "directory/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Loading cuts names at the long marker, lookup and deletion at the short one; for every
// line the program writes both give the same name.
constexpr QStringView MarqueurLong = u";Naissan=";
constexpr QStringView MarqueurCourt = u";Naissan";

// The name runs from the fifth character to the first marker; the first four, normally
// "nom=", are skipped unseen. Nothing when the marker is missing or comes too early.
std::optional<QStringView> nomDeLigne(QStringView ligne, QStringView marqueur)
{
    const qsizetype fin = ligne.indexOf(marqueur);
    if (fin < 4)
        return std::nullopt;
    return ligne.sliced(4, fin - 4);
}

// fn(debut, longueur) for every line, stopping when it returns false. A line ends at
// CR LF or at a lone CR; a lone LF stays inside its line, as the old reader had it.
template <class Fn>
void pourChaqueLigne(QStringView texte, Fn&& fn)
{
    const qsizetype n = texte.size();
    qsizetype debut = 0;
    while (debut < n) {
        qsizetype fin = texte.indexOf(u'\r', debut);
        if (fin < 0)
            fin = n;
        if (!fn(debut, fin - debut))
            return;
        debut = fin + 1;
        if (debut < n && texte[debut] == u'\n')
            ++debut;
    }
}

int numeroEchecOuverture(const QFileDevice& fichier, const QString& chemin, bool ecriture)
{
    if (fichier.error() == QFileDevice::ResourceError)
        return erreurs::TropDeFichiers;
    const QFileInfo info(chemin);
    const QFileInfo dossier(info.absolutePath());
    if (!dossier.isDir())
        return erreurs::CheminIntrouvable;
    if (info.isDir())
        return erreurs::AccesChemin;
    const bool permis = ecriture ? dossier.isWritable() && (!info.exists() || info.isWritable())
                                 : info.isReadable();
    return permis ? erreurs::AccesChemin : erreurs::PermissionRefusee;
}

int numeroEchecEcriture(const QFileDevice& fichier)
{
    switch (fichier.error()) {
    case QFileDevice::NoError: // a short write the system gave no reason for
    case QFileDevice::ResourceError:
        return erreurs::DisquePlein;
    case QFileDevice::WriteError:
        return erreurs::EntreeSortie;
    default:
        return erreurs::AccesChemin;
    }
}

QString refusPartie(const QString& texte, const QString& quoi)
{
    if (texte.contains(u'\r') || texte.contains(u'\n'))
        return quoi + QStringLiteral(" ne peut pas contenir de retour à la ligne...");
    const qsizetype i = cp1252::premierIntraduisible(texte);
    if (i < 0)
        return {};
    const bool paire = texte[i].isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate();
    return quoi
        + QStringLiteral(" contient le caractère « %1 », que l'annuaire ne peut pas enregistrer...")
              .arg(texte.mid(i, paire ? 2 : 1));
}

} // namespace

QString cheminDans(const QString& dossier, const QString& nomFichier)
{
    if (dossier.isEmpty() || dossier.endsWith(u'/') || dossier.endsWith(QDir::separator()))
        return dossier + nomFichier;
    return dossier + QDir::separator() + nomFichier;
}

QString refusFiche(const QString& nom, const QString& naissance)
{
    if (nom.isEmpty())
        return QStringLiteral("Vous devez au moins entrez le nom...");
    if (QString refus = refusPartie(nom, QStringLiteral("Le nom")); !refus.isEmpty())
        return refus;
    if (nom.contains(MarqueurCourt))
        return QStringLiteral("Le nom ne peut pas contenir « ;Naissan »...");
    return refusPartie(naissance, QStringLiteral("La date de naissance"));
}

void Annuaire::fixeChemins(const QString& dossierApplication, const QString& dossierTemporaire)
{
    fichierTemp_ = cheminDans(dossierTemporaire, NomTemp);
    fichierAnnuaire_ = cheminDans(dossierApplication, NomAnnuaire);
}

void Annuaire::SignaleErreur(int numero)
{
    avertisseur_.erreur(numero, descriptionErreur(numero));
}

// The whole file at once, so that no file stays open while a report waits for the user.
Annuaire::Lecture Annuaire::litAnnuaire(QByteArray& octets, QString& texte)
{
    QFile fichier(fichierAnnuaire_);
    if (!fichier.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(fichierAnnuaire_))
            return Lecture::Absent;
        const int numero = numeroEchecOuverture(fichier, fichierAnnuaire_, false);
        SignaleErreur(numero);
        return Lecture::Echec;
    }
    octets = fichier.readAll();
    const bool lu = fichier.error() == QFileDevice::NoError;
    fichier.close();
    if (!lu) {
        SignaleErreur(erreurs::EntreeSortie);
        return Lecture::Echec;
    }
    texte = cp1252::decode(octets);
    if (octets.isEmpty()) {
        // The first line is read before the end is tested, and a name is then cut out of
        // the line that was never read.
        SignaleErreur(erreurs::FinDeFichier);
        SignaleErreur(erreurs::AppelIncorrect);
    }
    return Lecture::Lu;
}

QStringList Annuaire::ChargeAnnuaire()
{
    QStringList noms;
    QByteArray octets;
    QString texte;
    switch (litAnnuaire(octets, texte)) {
    case Lecture::Absent:
        avertisseur_.information(QStringLiteral(
            "Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs noms avec leur "
            "date de naissance."));
        return noms;
    case Lecture::Echec:
        return noms;
    case Lecture::Lu:
        break;
    }
    pourChaqueLigne(texte, [&](qsizetype debut, qsizetype longueur) {
        if (const auto nom = nomDeLigne(QStringView(texte).sliced(debut, longueur), MarqueurLong))
            noms.append(nom->toString());
        else
            SignaleErreur(erreurs::AppelIncorrect);
        return true;
    });
    if (noms.isEmpty())
        avertisseur_.information(QStringLiteral("L'annuaire est vide..."));
    return noms;
}

std::optional<QStringList> Annuaire::AjouteFiche(const QString& nom, const QString& naissance)
{
    if (const QString refus = refusFiche(nom, naissance); !refus.isEmpty()) {
        avertisseur_.refus(refus);
        return std::nullopt;
    }
    QString ligne = QStringLiteral("nom=");
    ligne.append(nom).append(MarqueurLong).append(naissance).append(QStringLiteral("\r\n"));
    const QByteArray octets = *cp1252::encode(ligne);

    const bool existait = QFileInfo::exists(fichierAnnuaire_);
    QFile fichier(fichierAnnuaire_);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        SignaleErreur(numeroEchecOuverture(fichier, fichierAnnuaire_, true));
        return std::nullopt;
    }
    const qint64 taille = fichier.size();
    int numero = 0;
    if (fichier.write(octets) != octets.size() || !fichier.flush()) {
        numero = numeroEchecEcriture(fichier);
        // Half a record would glue itself to the next one: take back whatever got through.
        if (existait)
            fichier.resize(taille);
        else
            fichier.remove();
    }
    fichier.close();
    if (numero != 0)
        SignaleErreur(numero);
    return ChargeAnnuaire();
}

std::optional<QStringList> Annuaire::SupprimeFiche(const QString& nom)
{
    QByteArray octets;
    QString texte;
    switch (litAnnuaire(octets, texte)) {
    case Lecture::Absent:
        SignaleErreur(erreurs::FichierIntrouvable);
        return std::nullopt;
    case Lecture::Echec:
        return std::nullopt;
    case Lecture::Lu:
        break;
    }

    // One character is one byte, so kept lines are copied from the bytes as they were.
    QByteArray gardees;
    gardees.reserve(octets.size() + 2);
    pourChaqueLigne(texte, [&](qsizetype debut, qsizetype longueur) {
        const auto nomLu = nomDeLigne(QStringView(texte).sliced(debut, longueur), MarqueurCourt);
        if (!nomLu)
            SignaleErreur(erreurs::AppelIncorrect); // kept: a failed comparison is a difference
        if (!nomLu || *nomLu != QStringView(nom)) {
            gardees.append(QByteArrayView(octets).sliced(debut, longueur));
            gardees.append("\r\n");
        }
        return true;
    });

    if (gardees.isEmpty()) {
        // No record left: the absent file is the empty directory.
        QFile fichier(fichierAnnuaire_);
        if (!fichier.remove()) {
            SignaleErreur(numeroEchecEcriture(fichier));
            return std::nullopt;
        }
        return QStringList();
    }
    if (!remplaceAnnuaire(gardees))
        return std::nullopt;
    return ChargeAnnuaire();
}

// The new content goes to a file of the directory's own folder that is renamed over the
// old one only when complete, so a failure anywhere leaves the directory as it was.
bool Annuaire::remplaceAnnuaire(const QByteArray& octets)
{
    int numero = 0;
    {
        QSaveFile fichier(fichierAnnuaire_);
        if (!fichier.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            numero = numeroEchecOuverture(fichier, fichierAnnuaire_, true);
        } else if (fichier.write(octets) != octets.size() || !fichier.flush()) {
            numero = numeroEchecEcriture(fichier);
            // Qt 6.4 would commit a short write as if it were whole.
            fichier.cancelWriting();
        } else if (!fichier.commit()) {
            numero = numeroEchecEcriture(fichier);
        }
    } // an uncommitted QSaveFile takes its temporary file away with it
    if (numero != 0) {
        SignaleErreur(numero);
        return false;
    }
    return true;
}

Recherche Annuaire::TrouveFiche(const QString& nom)
{
    Recherche resultat;
    QByteArray octets;
    QString texte;
    switch (litAnnuaire(octets, texte)) {
    case Lecture::Absent:
        avertisseur_.information(QStringLiteral("Rien n'a encore été entré dans l'annuaire..."));
        resultat.annuaireAbsent = true;
        return resultat;
    case Lecture::Echec:
        return resultat;
    case Lecture::Lu:
        break;
    }
    pourChaqueLigne(texte, [&](qsizetype debut, qsizetype longueur) {
        const QStringView ligne = QStringView(texte).sliced(debut, longueur);
        const auto nomLu = nomDeLigne(ligne, MarqueurCourt);
        if (!nomLu) {
            SignaleErreur(erreurs::AppelIncorrect);
            return true; // the sought name may still come
        }
        if (*nomLu != QStringView(nom))
            return true;
        // "nom=X;NaissanY" has a name but no date to give.
        const qsizetype marque = ligne.indexOf(MarqueurLong);
        if (marque < 0)
            SignaleErreur(erreurs::AppelIncorrect);
        else
            resultat.naissance = ligne.sliced(marque + MarqueurLong.size())
                                     .toString()
                                     .replace(QStringLiteral("vbcrlf"), QStringLiteral("\r\n"));
        return false;
    });
    return resultat;
}
