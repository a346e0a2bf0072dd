#include "directory/verrou.h"

#include "directory/echecs.h"
#include "directory/fichiers.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

#ifdef Q_OS_UNIX
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
#endif

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

} // namespace dz
