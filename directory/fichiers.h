#pragma once
// The directory store's only door to the disk. Every write is whole or undone, and durable
// before it is reported done. Tests derive from it to make opening or writing fail on cue.

#include "directory/avertisseur.h"
#include "directory/verrou.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <optional>

class QFileDevice;
class QSaveFile;

namespace dz {

struct Lu {
    enum class Etat {
        Lu,
        Absent,   // no file (the empty directory)
        TropGros, // larger than the limit: not read
        Echec,    // see `echec`
    };
    Etat etat = Etat::Lu;
    QByteArray octets;
    Echec echec = Echec::AccesChemin;
};

class Fichiers {
public:
    virtual ~Fichiers() = default;

    // The file a path names: the path itself, or through links that are the user's, with
    // what they reach, the file they point to (then worked on in its own folder). Another's
    // link is refused (AccesChemin).
    QString resout(const QString& chemin, std::optional<Echec>& echec);

    // The lock beside the file ("<file>.lock"), waited for at most `delaiMs`; the file's
    // folder is made first when missing. Once held, what dead changes left there goes.
    Verrou verrouille(const QString& chemin, int delaiMs);

    // The whole file when it is a plain file of at most `limite` bytes. Never blocks: a
    // named pipe, a device, a socket or a folder at the path is refused (AccesChemin).
    Lu lit(const QString& chemin, qint64 limite);

    // Replaces the whole content (or makes the file) through a new file renamed over the old
    // one, synced before and after the rename: on disk it is always either the old content or
    // the new one, never a part. The new file keeps the old one's owner, group and mode.
    std::optional<Echec> remplace(const QString& chemin, QByteArrayView octets);

    // Deletes the file, and syncs its folder.
    std::optional<Echec> supprime(const QString& chemin);

private:
    void retireRestes(const QString& chemin);

protected:
    // Every step of a write goes through these: opening the new file, writing it, renaming it
    // over the old one once synced to disk, syncing the folder that lists it.
    virtual bool ouvre(QFileDevice& fichier, QIODevice::OpenMode mode);
    virtual qint64 ecrit(QFileDevice& fichier, QByteArrayView octets);
    virtual bool valide(QSaveFile& fichier);
    virtual void synchroniseDossier(const QString& chemin);
};

} // namespace dz
