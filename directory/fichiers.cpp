#include "directory/fichiers.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

#ifdef Q_OS_UNIX
namespace {

bool memeFichier(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The lock file, never through a link (one at its path could make the program create or lock
// a file elsewhere). One the user may not write still takes a lock, opened for reading.
int ouvreVerrou(const QByteArray& chemin, Echec& echec)
{
    constexpr int Sur = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    errno = 0;
    int fd = ::open(chemin.constData(), O_RDWR | O_CREAT | Sur, 0644);
    if (fd < 0 && (errno == EACCES || errno == EPERM))
        fd = ::open(chemin.constData(), O_RDONLY | Sur);
    struct stat etat {};
    if (fd >= 0 && (::fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode))) {
        ::close(fd);
        errno = ELOOP;
        fd = -1;
    }
    if (fd < 0)
        echec = errno == ELOOP ? Echec::AccesChemin : echecOuverture(errno, QFileDevice::OpenError);
    return fd;
}

} // namespace
#endif

Verrou Fichiers::verrouille(const QString& chemin, int delaiMs)
{
    Verrou verrou;
    QDir().mkpath(QFileInfo(chemin).absolutePath()); // the first change makes the folder
    // The lock file stays between changes: nothing to sync, nothing to clean up.
    const QString nom = chemin + QStringLiteral(".lock");
    QDeadlineTimer fin(delaiMs);
    for (;;) {
        auto fichier = std::make_unique<QFile>(nom);
#ifdef Q_OS_UNIX
        Echec echec{};
        const int fd = ouvreVerrou(QFile::encodeName(nom), echec);
        if (fd < 0 || !fichier->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (fd >= 0)
                ::close(fd);
            verrou.echec = fd < 0 ? echec : Echec::AccesChemin;
            return verrou;
        }
#else
        if (!fichier->open(QIODevice::ReadWrite)) {
            // Windows leaves errno alone: either the folder could not be made or it refuses us.
            verrou.echec = QFileInfo(QFileInfo(chemin).absolutePath()).isDir()
                               ? Echec::PermissionRefusee
                               : Echec::CheminIntrouvable;
            return verrou;
        }
#endif
        for (;;) {
            const Essai essai = essaieVerrou(*fichier);
            if (essai == Essai::Echoue) {
                verrou.echec = Echec::AccesChemin;
                return verrou;
            }
            if (essai == Essai::Tenu)
                break;
            if (fin.hasExpired())
                return verrou; // another program holds it
            QThread::msleep(5);
        }
#ifdef Q_OS_UNIX
        // A lock file removed and made anew while this one waited locks nobody out: the lock
        // holds only on the file that the name still gives.
        struct stat tenu {
        }, nomme{};
        if (::fstat(fichier->handle(), &tenu) != 0
            || ::lstat(QFile::encodeName(nom).constData(), &nomme) != 0
            || !memeFichier(tenu, nomme))
            continue;
#endif
        verrou.fichier_ = std::move(fichier);
        retireRestes(chemin);
        return verrou;
    }
}

// A change killed between writing its new file and renaming it leaves that file beside the
// directory, named as QSaveFile names them: "trivo.dat." and six letters. Under the lock, any
// such file is a dead change's.
void Fichiers::retireRestes(const QString& chemin)
{
    const QFileInfo fichier(chemin);
    const QRegularExpression forme(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                       .arg(QRegularExpression::escape(fichier.fileName())));
    const QDateTime maintenant = QDateTime::currentDateTimeUtc();
    const QDir dossier = fichier.absoluteDir();
    for (const QFileInfo& reste :
         dossier.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (forme.match(reste.fileName()).hasMatch() && !reste.isSymLink()
            && reste.lastModified().toUTC() <= maintenant)
            QFile::remove(reste.absoluteFilePath());
    }
}

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
