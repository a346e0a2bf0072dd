#pragma once
// Who the program says it is: the title and version shown by the windows, the splash and the
// application object, and the credits.

#include <QString>

namespace dz {

struct Identite {
    static constexpr int Majeure = 5;
    static constexpr int Mineure = 1;
    static constexpr int Revision = 1;

    static QString titre() { return QStringLiteral("Dazozare"); }

    // "5.1.1": the three numbers in plain decimal, joined by dots.
    static QString version()
    {
        return QString::number(Majeure) + u'.' + QString::number(Mineure) + u'.'
               + QString::number(Revision);
    }

    // Credits; invented for this program, they name no real person or firm.
    static QString fabricant() { return QStringLiteral("Calvéo"); }
    static QString auteur() { return QStringLiteral("Dr Élise Marvoint"); }
    static QString collaboration() { return QStringLiteral("avec Noé Castrel"); }
    static QString siteWeb() { return QStringLiteral("https://www.dazozare.example/"); }
};

} // namespace dz
