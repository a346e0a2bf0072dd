#pragma once
// Windows-1252, the code page the directory file has always been written in on French
// systems; Qt 6.4 offers no converter for it. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same value,
// so any byte string decodes and encodes back unchanged, one character per byte.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace dz {

QString decodeCp1252(QByteArrayView octets);

// std::nullopt when a character has no place in the code page.
std::optional<QByteArray> encodeCp1252(QStringView texte);

// Position of the first character the code page cannot hold, -1 when there is none.
qsizetype premierIntraduisible(QStringView texte);

} // namespace dz
