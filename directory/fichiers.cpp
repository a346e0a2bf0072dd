#include "directory/fichiers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include <windows.h>
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

// One try at the kernel's lock on the open lock file. The system drops it when its holder
// dies, however it dies: nothing stale to guess at, whatever became of the holder's number.
enum class Essai { Tenu, Occupe, Echoue };

Essai essaieVerrou(QFile& fichier)
{
#ifdef Q_OS_WIN
    OVERLAPPED debut{};
    if (::LockFileEx(HANDLE(::_get_osfhandle(fichier.handle())),
                     LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &debut))
        return Essai::Tenu;
    return ::GetLastError() == ERROR_LOCK_VIOLATION ? Essai::Occupe : Essai::Echoue;
#else
    if (::flock(fichier.handle(), LOCK_EX | LOCK_NB) == 0)
        return Essai::Tenu;
    return errno == EWOULDBLOCK || errno == EINTR ? Essai::Occupe : Essai::Echoue;
#endif
}

} // namespace

Verrou::~Verrou()
{
#ifdef Q_OS_WIN
    // Closing would release it too, but only when the system gets round to it.
    if (fichier_) {
        OVERLAPPED debut{};
        ::UnlockFileEx(HANDLE(::_get_osfhandle(fichier_->handle())), 0, 1, 0, &debut);
    }
#endif
}

bool Verrou::tenu() const { return fichier_ != nullptr; }

Verrou Fichiers::verrouille(const QString& chemin, int delaiMs)
{
    Verrou verrou;
    QDir().mkpath(QFileInfo(chemin).absolutePath()); // the first change makes the folder
    // The lock file stays between changes: nothing to sync, nothing to clean up.
    auto fichier = std::make_unique<QFile>(chemin + QStringLiteral(".lock"));
    errno = 0;
    if (!fichier->open(QIODevice::ReadWrite)) {
#ifdef Q_OS_WIN
        // Windows leaves errno alone: either the folder could not be made or it refuses us.
        verrou.echec = QFileInfo(QFileInfo(chemin).absolutePath()).isDir()
                           ? Echec::PermissionRefusee
                           : Echec::CheminIntrouvable;
#else
        verrou.echec = echecOuverture(errno, fichier->error());
#endif
        return verrou;
    }
    QDeadlineTimer fin(delaiMs);
    for (;;) {
        switch (essaieVerrou(*fichier)) {
        case Essai::Tenu: verrou.fichier_ = std::move(fichier); return verrou;
        case Essai::Echoue: verrou.echec = Echec::AccesChemin; return verrou;
        case Essai::Occupe: break;
        }
        if (fin.hasExpired())
            return verrou; // another program holds it
        QThread::msleep(5);
    }
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
    for (QDeadlineTimer fin(DelaiRetenue);; QThread::msleep(10)) {
        QSaveFile fichier(chemin);
        errno = 0;
        if (!ouvre(fichier, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return echecOuverture(errno, fichier.error());
        errno = 0;
        const bool entier = ecrit(fichier, octets) == octets.size() && fichier.flush();
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

bool Fichiers::synchronise(QFileDevice& fichier)
{
    if (!fichier.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(fichier.handle()) == 0;
#else
    return ::_commit(fichier.handle()) == 0;
#endif
}

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
