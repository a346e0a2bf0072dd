#pragma once
// What a directory file says, whoever wrote it: the program (Windows-1252, CR LF) or a text
// editor (UTF-8, LF only, no end of line at the end, a Ctrl-Z from DOS). One record a line,
// "nom=<name>;Naissan=<birth date>".

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace dz {

// Loading cuts names at the long marker, lookup and deletion at the short one; for every
// line the program writes both give the same name.
inline constexpr QStringView MarqueurLong = u";Naissan=";
inline constexpr QStringView MarqueurCourt = u";Naissan";

enum class Codage {
    Cp1252, // what the program writes
    Utf8,   // a byte-order mark, or valid UTF-8 with characters beyond ASCII
    Utf16,  // a byte-order mark: not a file the program can read or write
};

struct Contenu {
    Codage codage = Codage::Cp1252;
    QString texte;      // without byte-order mark and without the final Ctrl-Z
    bool ctrlZ = false; // a Ctrl-Z stood at the very end
    QByteArray brut;    // the bytes as read
};

Contenu litContenu(const QByteArray& octets);

// The bytes that hold the text: Windows-1252, or, when those bytes would read back as another
// text (they happen to make valid UTF-8), UTF-8 with its byte-order mark. Nothing when a
// character has no place in Windows-1252.
std::optional<QByteArray> ecritContenu(const QString& texte);

// The lines of a text but the blank ones, which hold no record; a line ends at CR LF, at a lone
// CR or at a lone LF.
QList<QStringView> lignes(QStringView texte);

// The name runs from the fifth character to the first marker; the first four, normally
// "nom=", are skipped unseen. Nothing when the marker is missing or comes too early.
std::optional<QStringView> nomDeLigne(QStringView ligne, QStringView marqueur);

// The birth date of a record line: everything after the long marker, "vbcrlf" a line break.
std::optional<QString> naissanceDeLigne(QStringView ligne);

// "nom=<nom>;Naissan=<naissance>", without its line end.
QString ligneFiche(const QString& nom, const QString& naissance);

// Empty when the record can be stored as typed; otherwise why not, for a box titled
// "Annuaire..." with the exclamation icon.
QString refusFiche(const QString& nom, const QString& naissance);

} // namespace dz
