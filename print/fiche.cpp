#include "print/impression.h"

#include "core/textes.h"
#include "platform/plateforme.h"

#include <cmath>

namespace impression {

namespace {

const QString Banniere = QStringLiteral(
    "              ********** T R I V I X E S  par l'Atelier des Ondes  **********");

// 42 characters each, so that in the fixed-pitch face the colons stand in one column.
const QString LigneIntel = QStringLiteral("  Cycle Intellectuel 33/J  .............: ");
const QString LigneEmoti = QStringLiteral("    Cycle Emotionnel 28/J  . . . . . . .: ");
const QString LignePhysi = QStringLiteral("      Cycle Physique 23/J  _____________: ");

QString texte(const std::string& s) { return QString::fromStdString(s); }
QString texte(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

std::optional<dz::Date> litDate(const QString& texte, std::chrono::year anneeCourante)
{
    return dz::reconnaitDate(texte.toStdString(), anneeCourante);
}

bool varianteTerme(const EntreesImpression& e)
{
    return litDate(e.texteAP, e.anneeCourante) && litDate(e.texteDGUS, e.anneeCourante);
}

void ImprimeFiche(Feuille& f, const EntreesImpression& e, dz::Etat& etat, Plateforme& plateforme,
                  QWidget* fenetre)
{
    plateforme.sablier(fenetre);

    etat.DateNaissance = litDate(e.texteNaissance, e.anneeCourante).value();
    etat.DateCalcul = litDate(e.texteCalcul, e.anneeCourante).value();
    etat.JoursVecus = static_cast<double>(dz::joursEntre(etat.DateNaissance, etat.DateCalcul));
    const bool terme = varianteTerme(e);
    if (terme) {
        etat.DateCalcul = litDate(e.texteAP, e.anneeCourante).value();
        etat.JoursVecus = static_cast<double>(dz::joursEntre(etat.DateNaissance, etat.DateCalcul)) - 15;
    }

    f.taille(12);
    f.imprimeLigne();
    f.imprimeLigne(Banniere);
    f.imprimeLigne(QString(40, u' ')
                   + (terme ? QStringLiteral("Date ultime du terme:") : QStringLiteral("Date de Prévision:"))
                   + texte(dz::ecritDate(etat.DateCalcul)));

    f.taille(10);
    f.face(Face::CourierNew);
    f.imprimeLigne();
    f.imprimeLigne(QStringLiteral(" Mme.ou M. ") + e.nom + QStringLiteral(" Né(e) le:")
                   + texte(dz::JoursSemaine.at(static_cast<std::size_t>(dz::jourSemaine(etat.DateNaissance))))
                   + u' ' + texte(dz::ecritDate(etat.DateNaissance)));
    const int mois = dz::moisEntre(etat.DateNaissance, etat.DateCalcul);
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
        f.imprimeLigne(QStringLiteral("Jour Vecus: ") + texte(dz::formatJours(etat.JoursVecus)));
    }

    plateforme.pompeEvenements();
    plateforme.pointeurNormal(fenetre);
    if (e.finFiche)
        e.finFiche();
}

} // namespace impression
