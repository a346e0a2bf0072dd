// The pregnancy tools: probable sex on the chart date, and the chart around the term.

#include "mainwindow/ondagramm.h"

#include "core/cycles.h"
#include "platform/plateforme.h"

#include <QLabel>
#include <QLineEdit>

namespace dz {

void Ondagramm::ChoisitImageSexe(int physique, int emotionnel)
{
    const int P = physique;
    const int E = emotionnel;
    QLabel* source = nullptr;
    if (P > 0 && E <= 0)
        source = Pictgarcon;
    if (P <= 0 && E > 0)
        source = PictFille;
    if (P > 0 && E > 0 && P > E)
        source = PictPGarcon;
    if (P < 0 && E < 0 && P < E)
        source = PictPFille;
    // No rule: the picture of the last redraw where one held stays. A screen reader hears
    // what the picture says.
    if (source) {
        PictSexe->setPixmap(source->pixmap());
        PictSexe->setAccessibleName(QStringLiteral("Sexe probable : ") + source->accessibleName());
    }
}

void Ondagramm::CmdSexe_Click()
{
    if (TxtAP->text().isEmpty() && TxtDGUS->text().isEmpty())
        PictSexe->show();
}

void Ondagramm::TxtDGUS_Change()
{
    if (const auto reference = plateforme_.litDate(TxtDGUS->text()))
        if (const Date terme = ajouteMois(*reference, 9); dansCalendrier(terme))
            TxtAP->setText(texteDate(terme));
}

void Ondagramm::Command2_Click()
{
    montreEtiquettes();
    const auto terme = plateforme_.litDate(TxtAP->text());
    const auto naissance = plateforme_.litDate(TxtDateN->text());
    if (!terme || !naissance)
        return;
    TxtDateP->setText(TxtAP->text());
    etat_.ModeTerme = true;
    PictSexe->hide();
    etat_.DateNaissance = *naissance;
    etat_.DateCalcul = *terme;
    etat_.JoursVecus = joursVecusTerme(*naissance, *terme);
    MiseAJour();
}

} // namespace dz
