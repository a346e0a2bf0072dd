#include "directory/fichiers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace dz {

namespace {

// The failure is read from errno where the system sets it (right after the call), else from
// what Qt says of the file.
Echec echecDe(int erreur, QFileDevice::FileError qt, bool ecriture)
{
    switch (erreur) {
    case EMFILE:
    case ENFILE: return Echec::TropDeFichiers;
    case EACCES:
    case EPERM:
    case EROFS: return Echec::PermissionRefusee;
    case ENOENT:
    case ENOTDIR: return Echec::CheminIntrouvable;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Echec::DisquePlein;
    case EIO: return Echec::EntreeSortie;
    default: break;
    }
    switch (qt) {
    case QFileDevice::NoError: // a short write the system gave no reason for
        return ecriture ? Echec::DisquePlein : Echec::AccesChemin;
    case QFileDevice::ResourceError: return ecriture ? Echec::DisquePlein : Echec::TropDeFichiers;
    case QFileDevice::WriteError: return Echec::EntreeSortie;
    case QFileDevice::PermissionsError: return Echec::PermissionRefusee;
    default: return Echec::AccesChemin;
    }
}

Echec echecOuverture(int erreur, QFileDevice::FileError qt) { return echecDe(erreur, qt, false); }
Echec echecEcriture(int erreur, QFileDevice::FileError qt) { return echecDe(erreur, qt, true); }

bool synchronise(QFileDevice& fichier)
{
    if (!fichier.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(fichier.handle()) == 0;
#else
    return ::_commit(fichier.handle()) == 0;
#endif
}

// A rename or a deletion is durable only once the folder that lists it is synced.
void synchroniseDossier([[maybe_unused]] const QString& chemin)
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

} // namespace

Verrou::~Verrou() = default; // closing the file releases the lock

bool Verrou::tenu() const { return fichier_ != nullptr; }

Verrou Fichiers::verrouille(const QString& chemin, int delaiMs)
{
    Verrou verrou;
    const QString nom = chemin + QStringLiteral(".lock");
    QDir().mkpath(QFileInfo(chemin).absolutePath()); // the first change makes the folder
#ifdef Q_OS_WIN
    auto fichier = std::make_unique<QLockFile>(nom);
    if (fichier->tryLock(delaiMs))
        verrou.fichier_ = std::move(fichier);
    else if (fichier->error() != QLockFile::LockFailedError)
        verrou.echec = Echec::AccesChemin;
#else
    // A kernel lock on a file that stays: nothing to sync, nothing stale to guess at.
    auto fichier = std::make_unique<QFile>(nom);
    errno = 0;
    if (!fichier->open(QIODevice::ReadWrite)) {
        verrou.echec = echecOuverture(errno, fichier->error());
        return verrou;
    }
    QDeadlineTimer fin(delaiMs);
    while (::flock(fichier->handle(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            verrou.echec = Echec::AccesChemin;
            return verrou;
        }
        if (fin.hasExpired())
            return verrou; // another program holds it
        QThread::msleep(5);
    }
    verrou.fichier_ = std::move(fichier);
#endif
    return verrou;
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

std::optional<Echec> Fichiers::ajoute(const QString& chemin, QByteArrayView octets)
{
    QFile fichier(chemin);
    const bool existait = fichier.exists();
    errno = 0;
    if (!ouvre(fichier, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return echecOuverture(errno, fichier.error());
    const qint64 avant = fichier.size();
    errno = 0;
    if (ecrit(fichier, octets) == octets.size() && synchronise(fichier)) {
        fichier.close();
        if (!existait)
            synchroniseDossier(chemin);
        return std::nullopt;
    }
    const Echec echec = echecEcriture(errno, fichier.error());
    // Half a record would glue itself to the next one: take back whatever got through.
    if (existait) {
        fichier.resize(avant);
    } else {
        fichier.close();
        QFile::remove(chemin);
    }
    return echec;
}

std::optional<Echec> Fichiers::remplace(const QString& chemin, QByteArrayView octets)
{
    if (QFileInfo(chemin).isDir())
        return Echec::AccesChemin;
    QSaveFile fichier(chemin);
    errno = 0;
    if (!ouvre(fichier, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return echecOuverture(errno, fichier.error());
    errno = 0;
    if (ecrit(fichier, octets) != octets.size() || !fichier.flush()) {
        const Echec echec = echecEcriture(errno, fichier.error());
        fichier.cancelWriting(); // Qt 6.4 would commit a short write as if it were whole
        return echec;
    }
    errno = 0;
    // commit() syncs the new file to disk before the rename.
    if (!fichier.commit())
        return echecEcriture(errno, fichier.error());
    synchroniseDossier(chemin);
    return std::nullopt;
}

std::optional<Echec> Fichiers::supprime(const QString& chemin)
{
    QFile fichier(chemin);
    errno = 0;
    if (!fichier.remove())
        return echecOuverture(errno, fichier.error());
    synchroniseDossier(chemin);
    return std::nullopt;
}

bool Fichiers::ouvre(QFileDevice& fichier, QIODevice::OpenMode mode) { return fichier.open(mode); }

qint64 Fichiers::ecrit(QFileDevice& fichier, QByteArrayView octets)
{
    return fichier.write(octets.data(), octets.size());
}

} // namespace dz
