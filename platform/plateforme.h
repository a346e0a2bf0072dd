#pragma once
// The program's narrow door to what the toolkit and the system provide.
// Every window takes a Plateforme; tests hand in a fake that answers for a person.

#include "core/dates.h"

#include <QDate>
#include <QString>
#include <QUrl>

#include <optional>
#include <random>

class QWidget;
class QPrinter;

namespace dz {

// The folder of the directory file, and where its changes go when that folder is read-only
// (empty: there).
struct Emplacement {
    QString dossier;
    QString repli;
};

class Plateforme {
public:
    enum class Icone { Information, Exclamation, Question };
    enum class Boutons { Ok, OuiNon };
    enum class Reponse { Ok, Oui, Non };

    virtual ~Plateforme() = default;

    // Modal message box; returns the button chosen.
    virtual Reponse message(QWidget* parent, const QString& texte, Icone icone, Boutons boutons,
                            const QString& titre) = 0;

    // Lets the pending window events run once.
    virtual void pompeEvenements() = 0;

    virtual void sablier(QWidget* fenetre) = 0;
    virtual void pointeurNormal(QWidget* fenetre) = 0;

    // Folder of the executable, without trailing separator.
    virtual QString dossierApplication() = 0;

    // Where the directory file lives (see emplacementAnnuaire below).
    virtual Emplacement emplacementAnnuaire() = 0;

    virtual QDate aujourdhui() = 0;

    // Uniform random numbers in [0, 1); reseme() starts a new sequence from the clock.
    virtual void reseme() = 0;
    virtual double aleatoire() = 0;

    // Hands a web address to the desktop's default handler; the result is not examined.
    virtual void ouvreUrl(const QUrl& url) = 0;

    // Shows the printer dialog for an existing printer; true when the user accepts.
    virtual bool choisitImprimante(QWidget* parent, QPrinter& imprimante) = 0;

    // A date as the user types it (day and month alone: in the current year), or nothing.
    std::optional<Date> litDate(const QString& texte);
    Date dateDuJour();
};

// "dd/mm/yyyy".
QString texteDate(Date d);

// Where the directory file lives: beside a program copied into a folder of its own that it may
// write in; in the user's data folder (`donneesUtilisateur`) when the program is installed
// (<prefix>/bin beside <prefix>/share/dazozare) or its folder is read-only, unless the only
// directory there is is beside it (a copy on a read-only medium): then it is read there and
// changed in a copy in the user's folder.
Emplacement emplacementAnnuaire(const QString& programme, bool installe, bool inscriptible,
                                const QString& donneesUtilisateur);

// Whether the program may write in the folder, as the system sees it (a read-only mount too).
bool inscriptible(const QString& dossier);

// The help file: beside the program, else in the installed share folder.
QString fichierAide(const QString& programme);

// The real thing, on Qt.
class PlateformeQt : public Plateforme {
public:
    PlateformeQt();
    Reponse message(QWidget* parent, const QString& texte, Icone icone, Boutons boutons,
                    const QString& titre) override;
    void pompeEvenements() override;
    void sablier(QWidget* fenetre) override;
    void pointeurNormal(QWidget* fenetre) override;
    QString dossierApplication() override;
    Emplacement emplacementAnnuaire() override;
    QDate aujourdhui() override;
    void reseme() override;
    double aleatoire() override;
    void ouvreUrl(const QUrl& url) override;
    bool choisitImprimante(QWidget* parent, QPrinter& imprimante) override;

private:
    std::mt19937 generateur_;
};

} // namespace dz
