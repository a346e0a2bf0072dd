#include "directory/fichiers.h"
#include "directory/echecs.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace dz {

namespace {

// Windows neither replaces nor deletes a file that another program has open (another window
// reading the list, an antivirus). Such a hold lasts moments: the change is tried again awhile.
constexpr int DelaiRetenue = 2000;

bool retenuAilleurs()
{
#ifdef Q_OS_WIN
    const DWORD erreur = ::GetLastError();
    return erreur == ERROR_ACCESS_DENIED || erreur == ERROR_SHARING_VIOLATION;
#else
    return false; // a rename or an unlink never waits for readers
#endif
}

} // namespace

QString Fichiers::resout(const QString& chemin, std::optional<Echec>& echec)
{
#ifdef Q_OS_UNIX
    // A link is followed only when it and what it reaches are the user's own: a program run as
    // root is not to rewrite a file that someone else's link points it to.
    QString cible = chemin;
    int liens = 0;
    for (struct stat etat{}; ::lstat(QFile::encodeName(cible).constData(), &etat) == 0;) {
        if (!S_ISLNK(etat.st_mode)) {
            if (liens > 0 && etat.st_uid != ::geteuid())
                echec = Echec::AccesChemin;
            return cible;
        }
        if (++liens > 8 || etat.st_uid != ::geteuid()) {
            echec = Echec::AccesChemin;
            return cible;
        }
        const QString suite = QFile::symLinkTarget(cible);
        if (suite.isEmpty()) {
            echec = Echec::AccesChemin;
            return cible;
        }
        cible = QDir::cleanPath(suite); // made absolute from the link's folder
    }
    // Nothing there yet: a link's target is made in a folder of the user's.
    struct stat dossier {};
    if (liens > 0
        && (::stat(QFile::encodeName(QFileInfo(cible).absolutePath()).constData(), &dossier) != 0
            || dossier.st_uid != ::geteuid()))
        echec = Echec::AccesChemin;
    return cible;
#else
    Q_UNUSED(echec);
    return chemin;
#endif
}

Lu Fichiers::lit(const QString& chemin, qint64 limite)
{
    Lu lu;
    const auto echec = [&lu](Echec e) {
        lu.etat = Lu::Etat::Echec;
        lu.echec = e;
        return lu;
    };
    QFile fichier;
#ifdef Q_OS_UNIX
    // Non-blocking, then checked: opening a named pipe for reading would wait for a writer.
    errno = 0;
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int erreur = errno;
        if (erreur == ENOENT) {
            lu.etat = Lu::Etat::Absent;
            return lu;
        }
        return echec(echecOuverture(erreur, QFileDevice::OpenError));
    }
    struct stat etat {};
    if (::fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode)) {
        ::close(fd);
        return echec(Echec::AccesChemin);
    }
    if (!fichier.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return echec(Echec::AccesChemin);
    }
#else
    const QFileInfo info(chemin);
    if (!info.exists()) {
        lu.etat = Lu::Etat::Absent;
        return lu;
    }
    if (!info.isFile())
        return echec(Echec::AccesChemin);
    fichier.setFileName(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return echec(echecOuverture(0, fichier.error()));
#endif
    const qint64 taille = fichier.size();
    if (taille > limite) {
        lu.etat = Lu::Etat::TropGros;
        return lu;
    }
    lu.octets = fichier.read(taille); // what is appended meanwhile waits for the next read
    if (fichier.error() != QFileDevice::NoError)
        return echec(Echec::EntreeSortie);
    return lu;
}

std::optional<Echec> Fichiers::remplace(const QString& chemin, QByteArrayView octets)
{
    if (QFileInfo(chemin).isDir())
        return Echec::AccesChemin;
#ifdef Q_OS_UNIX
    struct stat ancien {};
    const bool existe = ::stat(QFile::encodeName(chemin).constData(), &ancien) == 0;
#endif
    for (QDeadlineTimer fin(DelaiRetenue);; QThread::msleep(10)) {
        QSaveFile fichier(chemin);
        errno = 0;
        if (!ouvre(fichier, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return echecOuverture(errno, fichier.error());
        errno = 0;
        bool entier = ecrit(fichier, octets) == octets.size() && fichier.flush();
#ifdef Q_OS_UNIX
        // The new file is the old one's: its owner (a change made with sudo leaves the user's
        // file the user's), its group where the system lets us, its mode to the bit.
        if (entier && existe) {
            const int fd = fichier.handle();
            const bool sien = ::fchown(fd, ancien.st_uid, ancien.st_gid) == 0
                              || ::fchown(fd, static_cast<uid_t>(-1), ancien.st_gid) == 0;
            Q_UNUSED(sien); // else it is the user's, as any new file would be
            entier = ::fchmod(fd, ancien.st_mode & 07777) == 0;
        }
#endif
        const int erreur = errno;
        if (!entier)
            fichier.cancelWriting(); // Qt 6.4 would commit a short write as if it were whole
        errno = 0;
        // The new file is synced to disk before the rename.
        if (valide(fichier))
            break;
        if (!entier)
            return echecEcriture(erreur, fichier.error());
        if (!retenuAilleurs() || fin.hasExpired())
            return echecEcriture(errno, fichier.error());
    }
    synchroniseDossier(chemin);
    return std::nullopt;
}

std::optional<Echec> Fichiers::supprime(const QString& chemin)
{
    for (QDeadlineTimer fin(DelaiRetenue);; QThread::msleep(10)) {
        QFile fichier(chemin);
        errno = 0;
        if (fichier.remove())
            break;
        if (!retenuAilleurs() || fin.hasExpired())
            return echecOuverture(errno, fichier.error());
    }
    synchroniseDossier(chemin);
    return std::nullopt;
}

bool Fichiers::ouvre(QFileDevice& fichier, QIODevice::OpenMode mode) { return fichier.open(mode); }

bool Fichiers::valide(QSaveFile& fichier) { return fichier.commit(); }

// A rename or a deletion is durable only once the folder that lists it is synced.
void Fichiers::synchroniseDossier([[maybe_unused]] const QString& chemin)
{
#ifdef Q_OS_UNIX
    const int dossier = ::open(QFile::encodeName(QFileInfo(chemin).absolutePath()).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dossier >= 0) {
        ::fsync(dossier);
        ::close(dossier);
    }
#endif
}

qint64 Fichiers::ecrit(QFileDevice& fichier, QByteArrayView octets)
{
    return fichier.write(octets.data(), octets.size());
}

} // namespace dz
