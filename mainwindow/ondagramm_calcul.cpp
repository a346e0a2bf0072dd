// The chart side of the main window: the Calcule command, date edits, the slider, the
// blinking timer and the redraw they all end in.

#include "mainwindow/ondagramm.h"

#include "chart/canevas.h"
#include "chart/trace.h"
#include "core/cycles.h"
#include "core/textes.h"
#include "mainwindow/controles.h"
#include "mainwindow/zoneimage.h"
#include "platform/plateforme.h"
#include "platform/ressources.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace dz {

bool Ondagramm::estDate(const QString& texte) const
{
    return plateforme_.litDate(texte).has_value();
}

void Ondagramm::montreEtiquettes()
{
    Etiquette5->show();
    Etiquette6->show();
    Etiquette7->show();
}

void Ondagramm::Commande1_Click()
{
    montreEtiquettes();
    TxtDGUS->clear();
    TxtAP->clear();
    PictSexe->hide();
    const auto calcul = plateforme_.litDate(TxtDateP->text());
    const auto naissance = plateforme_.litDate(TxtDateN->text());
    if (!calcul || !naissance)
        return;
    etat_.ModeTerme = false;
    etat_.DateNaissance = *naissance;
    etat_.DateCalcul = *calcul;
    etat_.JoursVecus = static_cast<double>(joursEntre(*naissance, *calcul));
    CmdSexe->setText(QStringLiteral("Sexe probable si conception le ") + TxtDateP->text());
    MiseAJour();
}

void Ondagramm::changementDate()
{
    if (estDate(TxtDateN->text()) && estDate(TxtDateP->text()))
        MiseAJour();
}

void Ondagramm::TxtDateN_Change() { changementDate(); }

void Ondagramm::TxtDateP_Change()
{
    CmdSexe->setText(QStringLiteral("Sexe"));
    changementDate();
}

void Ondagramm::Command3_Click() { TxtDateP->setText(texteDate(plateforme_.dateDuJour())); }

void Ondagramm::Slider1_Change()
{
    // The thumb is back on 0 before the redraw lets queued keys and wheel notches run: each of
    // them then moves the date by its own step, from the date the previous one left.
    const int p = Slider1->value();
    {
        const QSignalBlocker silence(Slider1);
        Slider1->setValue(0);
    }
    montreEtiquettes();
    MiseAJour();
    // A chart date being edited is not a date: nothing to move it from. No move leaves the
    // calendar the program can read back.
    if (const auto d = plateforme_.litDate(TxtDateP->text()))
        if (const Date nouvelle = ajouteJours(*d, p); dansCalendrier(nouvelle))
            TxtDateP->setText(texteDate(nouvelle));
    Commande1_Click();
}

void Ondagramm::Timer1_Timer()
{
    const auto& v = etat_.ValeurCycle;
    const auto bascule = [](QWidget* w) { w->setVisible(w->isHidden()); };
    if (v[1] == v[2]) {
        bascule(Etiquette7);
        bascule(Etiquette6);
    }
    if (v[0] == v[2]) {
        bascule(Etiquette7);
        bascule(Etiquette5);
    }
    if (v[1] == v[0]) {
        bascule(Etiquette5);
        bascule(Etiquette6);
    }
}

void Ondagramm::MiseAJour()
{
    // The strip reads the chart date (the term in near-term mode) without anyone testing it:
    // while that text is not a date, the previous chart stays.
    const auto dateBande = plateforme_.litDate(etat_.ModeTerme ? TxtAP->text() : TxtDateP->text());
    if (!dateBande)
        return;

    for (std::size_t k = 1; k <= 3; ++k)
        Picture1[k]->show();
    plateforme_.sablier(this);

    const Geometrie g = geometrie(Image1->largeur(), Image1->hauteur(), etat_.JoursVecus);
    Image1->efface();
    if (etat_.ModeTerme)
        TraceJoursTerme(g, *dateBande);
    else
        TraceJours(g, *dateBande);

    const Courbes courbes = calculeCourbes(g, etat_.ColonneDate);
    traceCourbes(Image1->image(), courbes);
    Image1->update();
    etat_.ValeurCycle = courbes.valeurs;
    const std::array<int, 3> v{etat_.ValeurCycle[0].value_or(0), etat_.ValeurCycle[1].value_or(0),
                               etat_.ValeurCycle[2].value_or(0)};

    const std::array<QLabel*, 3> etiquettes{Etiquette5, Etiquette6, Etiquette7};
    const std::array<QLabel*, 3> afich{AfichIntel, AfichEmoti, AfichPhysi};
    for (std::size_t k = 0; k < 3; ++k)
        etiquettes[k]->setText(QString::fromStdString(texteEtiquette(static_cast<int>(k), v[k])));
    for (std::size_t k = 0; k < 3; ++k)
        afich[k]->setText(QString::fromStdString(texteAfich(v[k])));
    AfichJourV->setText(QString::fromStdString(texteJoursVecus(etat_.JoursVecus)));
    Image1->setAccessibleDescription(
        QStringLiteral("Ondagramme du %1 : intellectuel %2, émotionnel %3, physique %4")
            .arg(texteDate(*dateBande))
            .arg(v[0])
            .arg(v[1])
            .arg(v[2]));

    ChoisitImageSexe(v[2], v[1]);

    for (std::size_t k = 0; k < 3; ++k) {
        const QLabel* visage = Picture2[static_cast<std::size_t>(niveau(v[k]))];
        ZoneImage* humeur = Picture1[k + 1];
        humeur->setPixmap(visage->pixmap());
        // "Humeur intellectuelle : visage furieux": the cycle, then the face shown.
        humeur->setAccessibleName(humeur->accessibleName().section(QStringLiteral(" : "), 0, 0)
                                  + QStringLiteral(" : ") + visage->accessibleName().toLower());
    }

    const auto naissance = plateforme_.litDate(TxtDateN->text());
    const auto calcul = plateforme_.litDate(TxtDateP->text());
    if (naissance && calcul)
        AfichAge->setText(QString::fromStdString(texteAge(ageAnnees(*naissance, *calcul))));

    MerMamm->setText(CmbNom->currentText() + QStringLiteral(" Né(e) le:") + TxtDateN->text());
    // What was just written shows whole, as the design captions do.
    for (QLabel* l : {Etiquette5, Etiquette6, Etiquette7, AfichJourV, AfichAge, MerMamm})
        serre(l);

    plateforme_.pompeEvenements();
    plateforme_.pointeurNormal(this);
}

void Ondagramm::TraceJours(const Geometrie& g, Date dateCalcul)
{
    etat_.ColonneDate = traceCadreEtJours(Image1->image(), g, PasMarqueurNormal);
    LblTerme->hide();
    Slider1->show();
    etat_.DateCalcul = dateCalcul;
    traceBande(g, premierJourBande(etat_.DateCalcul));
}

void Ondagramm::TraceJoursTerme(const Geometrie& g, Date terme)
{
    etat_.ColonneDate = traceCadreEtJours(Image1->image(), g, PasMarqueurTerme);
    LblTerme->show();
    Slider1->hide();
    etat_.DateCalcul = jourGrapheTerme(terme);
    traceBande(g, premierJourBande(etat_.DateCalcul));
}

void Ondagramm::traceBande(const Geometrie& g, Date premier)
{
    AfichJour->efface();
    traceBandeJours(AfichJour->image(), police(Face::MsSansSerif, 9.75),
                    AfichJour->palette().color(QPalette::WindowText), g.DX, premier);
    AfichJour->update();
    AfichJour->setAccessibleDescription(
        QStringLiteral("Jours du %1 au %2")
            .arg(texteDate(premier), texteDate(ajouteJours(premier, 31))));
}

} // namespace dz
