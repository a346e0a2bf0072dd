#pragma once
// Who the program says it is: the title and the version shown by the splash, the About
// window and the application object.

#include <QString>

namespace Identite {

inline constexpr int Majeure = 5;
inline constexpr int Mineure = 1;
inline constexpr int Revision = 1;

inline QString titre() { return QStringLiteral("Dazozare"); }

// "5.1.1": the three numbers in plain decimal, joined by dots.
inline QString version()
{
    return QString::number(Majeure) + u'.' + QString::number(Mineure) + u'.'
        + QString::number(Revision);
}

// Credits; invented for this program, they name no real person or firm.
inline QString fabricant() { return QStringLiteral("Calvéo"); }
inline QString auteur() { return QStringLiteral("Dr Élise Marvoint"); }
inline QString collaboration() { return QStringLiteral("avec Noé Castrel"); }
inline QString siteWeb() { return QStringLiteral("https://www.dazozare.example/"); }

} // namespace Identite
