#include "directory/cp1252.h"

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr char16_t haut[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a character, or -1.
int octetDe(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (haut[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace dz {

QString decodeCp1252(QByteArrayView octets)
{
    QString texte(octets.size(), Qt::Uninitialized);
    char16_t* sortie = reinterpret_cast<char16_t*>(texte.data());
    for (const char o : octets) {
        const auto u = static_cast<unsigned char>(o);
        *sortie++ = (u >= 0x80 && u < 0xA0) ? haut[u - 0x80] : char16_t(u);
    }
    return texte;
}

std::optional<QByteArray> encodeCp1252(QStringView texte)
{
    QByteArray octets(texte.size(), Qt::Uninitialized);
    char* sortie = octets.data();
    for (const QChar c : texte) {
        const int o = octetDe(c.unicode());
        if (o < 0)
            return std::nullopt;
        *sortie++ = static_cast<char>(o);
    }
    return octets;
}

qsizetype premierIntraduisible(QStringView texte)
{
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (octetDe(texte[i].unicode()) < 0)
            return i;
    }
    return -1;
}

} // namespace dz
