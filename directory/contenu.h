#pragma once
// What a directory file says, whoever wrote it: the program (Windows-1252, CR LF) or a text
// editor (UTF-8, LF only, no end of line at the end, a Ctrl-Z from DOS). One record a line,
// "nom=<name>;Naissan=<birth date>".

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace dz {

// Loading cuts names at the long marker, lookup and deletion at the short one; for every
// line the program writes both give the same name.
inline constexpr QStringView MarqueurLong = u";Naissan=";
inline constexpr QStringView MarqueurCourt = u";Naissan";

struct Contenu {
    bool utf16 = false; // a UTF-16 byte-order mark: not a file the program can read or write
    QStringList lignes; // but the blank ones; a line ends at CR LF, at a lone CR or a lone LF
};

// Each line is read in its own encoding, as other programs may have added to the file: UTF-8
// where its bytes make valid UTF-8, Windows-1252 otherwise. A byte-order mark before the first
// line is no part of it; a Ctrl-Z, DOS's end mark, is dropped at the end of the file and where a
// line begins (an older end, that another program wrote past).
Contenu litContenu(QByteArrayView octets);

// The lines, each ended by CR LF, in Windows-1252 as the program has always written them, but
// a line that Windows-1252 cannot hold, or whose bytes would read back as another text (they
// happen to make valid UTF-8), which goes in UTF-8: every line reads back as it was.
QByteArray ecritContenu(const QStringList& lignes);

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
