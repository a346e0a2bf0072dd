#include "print/impression.h"

#include "core/cycles.h"
#include "core/textes.h"
#include "platform/plateforme.h"

#include <cmath>

namespace dz {

namespace {

const QString Banniere =
    QStringLiteral("              ********** T R I V I X E S  par l'Atelier des Ondes  **********");

// 42 characters each, so that in the fixed-pitch face the colons stand in one column.
const QString LigneIntel = QStringLiteral("  Cycle Intellectuel 33/J  .............: ");
const QString LigneEmoti = QStringLiteral("    Cycle Emotionnel 28/J  . . . . . . .: ");
const QString LignePhysi = QStringLiteral("      Cycle Physique 23/J  _____________: ");

QString texte(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

bool varianteTerme(const EntreesImpression& e, Plateforme& plateforme)
{
    return plateforme.litDate(e.texteAP) && plateforme.litDate(e.texteDGUS);
}

void ImprimeFiche(Feuille& f, const EntreesImpression& e, Etat& etat, Plateforme& plateforme,
                  QWidget* fenetre)
{
    plateforme.sablier(fenetre);

    etat.DateNaissance = plateforme.litDate(e.texteNaissance).value();
    etat.DateCalcul = plateforme.litDate(e.texteCalcul).value();
    etat.JoursVecus = static_cast<double>(joursEntre(etat.DateNaissance, etat.DateCalcul));
    const bool terme = varianteTerme(e, plateforme);
    if (terme) {
        etat.DateCalcul = plateforme.litDate(e.texteAP).value();
        etat.JoursVecus = joursVecusTerme(etat.DateNaissance, etat.DateCalcul);
    }

    f.taille(12);
    f.imprimeLigne();
    f.imprimeLigne(Banniere);
    f.imprimeLigne(
        QString(40, u' ')
        + (terme ? QStringLiteral("Date ultime du terme:") : QStringLiteral("Date de Prévision:"))
        + texteDate(etat.DateCalcul));

    f.taille(10);
    f.face(Face::CourierNew);
    f.imprimeLigne();
    f.imprimeLigne(
        QStringLiteral(" Mme.ou M. ") + e.nom + QStringLiteral(" Né(e) le:")
        + texte(JoursSemaine.at(static_cast<std::size_t>(jourSemaine(etat.DateNaissance)))) + u' '
        + texteDate(etat.DateNaissance));
    const int mois = moisEntre(etat.DateNaissance, etat.DateCalcul);
    const int annees = static_cast<int>(std::floor(mois / 12.0));
    f.imprimeLigne(QStringLiteral(" Age%1/Ans et %2/Mois").arg(annees).arg(mois - 12 * annees));
    f.imprimeLigne();
    if (terme)
        f.imprimeLigne(QStringLiteral("Ondagrammes au dernier jour du terme"));

    f.couleurTexte(QColor(0, 50, 0));
    f.imprimeLigne(LigneIntel + e.afichIntel);
    f.couleurTexte(QColor(50, 0, 0));
    f.imprimeLigne(LigneEmoti + e.afichEmoti);
    f.couleurTexte(QColor(0, 0, 50));
    f.imprimeLigne(LignePhysi + e.afichPhysi);
    f.imprimeLigne();

    if (terme) {
        for (int i = 0; i < 5; ++i)
            f.imprimeLigne();
        // Lands inside the chart band, ending just left of the term's marker.
        f.imprimeLigne(QString(63, u' ') + QStringLiteral("Terme"));
    } else {
        f.imprimeLigne(QStringLiteral("Jour Vecus: ")
                       + QString::fromStdString(formatJours(etat.JoursVecus)));
    }

    plateforme.pompeEvenements();
    plateforme.pointeurNormal(fenetre);
    if (e.finFiche)
        e.finFiche();
}

} // namespace dz
