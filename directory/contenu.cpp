#include "directory/contenu.h"

#include "directory/cp1252.h"

#include <QStringDecoder>

#include <algorithm>

namespace dz {

namespace {

bool commencePar(QByteArrayView octets, QByteArrayView debut)
{
    return octets.size() >= debut.size() && octets.first(debut.size()) == debut;
}

QString refusPartie(const QString& texte, const QString& quoi)
{
    if (texte.contains(u'\r') || texte.contains(u'\n'))
        return quoi + QStringLiteral(" ne peut pas contenir de retour à la ligne...");
    const qsizetype i = premierIntraduisible(texte);
    if (i < 0)
        return {};
    const bool paire =
        texte[i].isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate();
    return quoi
           + QStringLiteral(
                 " contient le caractère « %1 », que l'annuaire ne peut pas enregistrer...")
                 .arg(texte.mid(i, paire ? 2 : 1));
}

QString decodeLigne(QByteArrayView ligne)
{
    if (std::all_of(ligne.begin(), ligne.end(),
                    [](char o) { return static_cast<unsigned char>(o) < 0x80; }))
        return QString::fromLatin1(ligne);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texte = utf8(ligne);
    return utf8.hasError() ? decodeCp1252(ligne) : texte;
}

} // namespace

Contenu litContenu(QByteArrayView octets)
{
    Contenu c;
    if (commencePar(octets, "\xFF\xFE") || commencePar(octets, "\xFE\xFF")) {
        c.utf16 = true;
        return c;
    }
    if (commencePar(octets, "\xEF\xBB\xBF"))
        octets = octets.sliced(3);
    const qsizetype n = octets.size();
    for (qsizetype debut = 0; debut < n;) {
        qsizetype fin = debut;
        while (fin < n && octets[fin] != '\r' && octets[fin] != '\n')
            ++fin;
        QByteArrayView ligne = octets.sliced(debut, fin - debut);
        while (!ligne.isEmpty() && ligne.front() == '\x1A')
            ligne = ligne.sliced(1);
        if (fin == n && !ligne.isEmpty() && ligne.back() == '\x1A')
            ligne.chop(1);
        if (!ligne.isEmpty())
            c.lignes.append(decodeLigne(ligne));
        debut = fin + (fin + 1 < n && octets[fin] == '\r' && octets[fin + 1] == '\n' ? 2 : 1);
    }
    return c;
}

QByteArray ecritContenu(const QStringList& lignes)
{
    QByteArray octets;
    // A first line that begins with the mark's own character keeps it behind a mark.
    if (!lignes.isEmpty() && lignes.first().startsWith(QChar(0xFEFF)))
        octets = "\xEF\xBB\xBF";
    for (const QString& ligne : lignes) {
        const auto cp1252 = encodeCp1252(ligne);
        octets += cp1252 && decodeLigne(*cp1252) == ligne ? *cp1252 : ligne.toUtf8();
        octets += "\r\n";
    }
    return octets;
}

std::optional<QStringView> nomDeLigne(QStringView ligne, QStringView marqueur)
{
    const qsizetype fin = ligne.indexOf(marqueur);
    if (fin < 4)
        return std::nullopt;
    return ligne.sliced(4, fin - 4);
}

std::optional<QString> naissanceDeLigne(QStringView ligne)
{
    const qsizetype marque = ligne.indexOf(MarqueurLong);
    if (marque < 0)
        return std::nullopt;
    return ligne.sliced(marque + MarqueurLong.size())
        .toString()
        .replace(QStringLiteral("vbcrlf"), QStringLiteral("\r\n"));
}

QString ligneFiche(const QString& nom, const QString& naissance)
{
    QString ligne = QStringLiteral("nom=");
    return ligne.append(nom).append(MarqueurLong).append(naissance);
}

QString refusFiche(const QString& nom, const QString& naissance)
{
    if (nom.isEmpty())
        return QStringLiteral("Vous devez au moins entrez le nom...");
    if (QString refus = refusPartie(nom, QStringLiteral("Le nom")); !refus.isEmpty())
        return refus;
    if (nom.contains(MarqueurCourt))
        return QStringLiteral("Le nom ne peut pas contenir « ;Naissan »...");
    return refusPartie(naissance, QStringLiteral("La date de naissance"));
}

} // namespace dz
