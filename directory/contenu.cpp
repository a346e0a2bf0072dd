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

} // namespace

Contenu litContenu(const QByteArray& brut)
{
    Contenu c;
    c.brut = brut;
    QByteArrayView octets = brut;
    if (commencePar(octets, "\xFF\xFE") || commencePar(octets, "\xFE\xFF")) {
        c.codage = Codage::Utf16;
        return c;
    }
    if (!octets.isEmpty() && octets.back() == '\x1A') {
        c.ctrlZ = true;
        octets.chop(1);
    }
    const bool marque = commencePar(octets, "\xEF\xBB\xBF");
    const QByteArrayView corps = marque ? octets.sliced(3) : octets;
    const bool ascii = std::all_of(corps.begin(), corps.end(),
                                   [](char o) { return static_cast<unsigned char>(o) < 0x80; });
    if (marque || !ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString texte = utf8(corps);
        if (!utf8.hasError()) {
            c.codage = Codage::Utf8;
            c.texte = std::move(texte);
            return c;
        }
    }
    c.texte = decodeCp1252(octets); // a mark before bytes that are no UTF-8 is no mark
    return c;
}

std::optional<QByteArray> ecritContenu(const QString& texte)
{
    auto octets = encodeCp1252(texte);
    if (octets && litContenu(*octets).texte != texte)
        return QByteArray("\xEF\xBB\xBF") + texte.toUtf8();
    return octets;
}

QList<QStringView> lignes(QStringView texte)
{
    QList<QStringView> resultat;
    const qsizetype n = texte.size();
    qsizetype debut = 0;
    while (debut < n) {
        qsizetype fin = debut;
        while (fin < n && texte[fin] != u'\r' && texte[fin] != u'\n')
            ++fin;
        if (fin > debut)
            resultat.append(texte.sliced(debut, fin - debut));
        debut = fin + 1;
        if (fin + 1 < n && texte[fin] == u'\r' && texte[fin + 1] == u'\n')
            ++debut;
    }
    return resultat;
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
