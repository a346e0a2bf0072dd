#include "print/impression.h"

#include "core/cycles.h"
#include "platform/identite.h"
#include "platform/plateforme.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <cmath>

namespace dz {

namespace {

const QString Titre = QStringLiteral("Impression...");

// The page's size as the chart's proportions take it, in whole twips: the sheet's, as the page
// was designed (the report's "Terme" then stands just left of the term's marker), unless the
// margins leave the chart too little room: then as much as the printable area holds. The
// marks are drawn from the printable area's top-left corner either way.
QSizeF dimensionsTwips(const QPrinter& imprimante)
{
    const double twips = 1440.0 / imprimante.resolution();
    const QSizeF feuille = imprimante.paperRect(QPrinter::DevicePixel).size() * twips;
    const QSizeF zone = imprimante.pageRect(QPrinter::DevicePixel).size() * twips;
    return QSizeF(std::round(largeurPage(feuille.width(), zone.width())),
                  std::round(hauteurPage(feuille.height(), zone.height())));
}

// What the print queue and the PDF call the page.
QString titreDocument(const QString& nom)
{
    return nom.isEmpty() ? Identite::titre() : Identite::titre() + QStringLiteral(" – ") + nom;
}

QString nomImprimante(const QPrinter& imprimante)
{
    const QString nom =
        imprimante.outputFormat() == QPrinter::PdfFormat || imprimante.printerName().isEmpty()
            ? imprimante.outputFileName()
            : imprimante.printerName();
    return nom.isEmpty() ? QStringLiteral("sans nom") : nom;
}

} // namespace

PageEnregistree Impression::dessine(QSizeF taille, const EtatImprimante& depart,
                                    const EntreesImpression& e, Etat& etat, QWidget* fenetre)
{
    PageEnregistree page(taille);
    Feuille feuille(page, depart);
    ImprimeFiche(feuille, e, etat, plateforme_, fenetre);
    ImprimeCourbes(feuille, e, etat, plateforme_);
    imprimante_ = feuille.etat();
    return page;
}

Impression::Resultat Impression::imprime(QWidget* fenetre, const EntreesImpression& entrees,
                                         Etat& etat)
{
    if (enCours_)
        return Resultat::DejaEnCours;
    const EntreesImpression e = entrees;

    if (!plateforme_.litDate(e.texteNaissance))
        return Resultat::NaissanceInvalide;
    if (!plateforme_.litDate(e.texteCalcul)) {
        plateforme_.message(fenetre,
                            QStringLiteral("La date de prévision « %1 » n'est pas une date : "
                                           "la page ne peut pas être imprimée.")
                                .arg(e.texteCalcul),
                            Plateforme::Icone::Exclamation, Plateforme::Boutons::Ok, Titre);
        return Resultat::DateInvalide;
    }
    // The term needs no check of its own: without two dates the report is the normal one.

    enCours_ = true;
    const auto libere = qScopeGuard([this] { enCours_ = false; });

    // Only now: creating a printer contacts the print system.
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(MargesMm, MargesMm, MargesMm, MargesMm),
                                         QPageLayout::Millimeter));
    imprimante.setCopyCount(1); // the one printer setting set to 1: one copy unless the user asks
    imprimante.setDocName(titreDocument(e.nom));
    imprimante.setCreator(Identite::titre() + u' ' + Identite::version());

    const EtatImprimante depart = imprimante_;
    PageEnregistree page = dessine(dimensionsTwips(imprimante), depart, e, etat, fenetre);
    if (!plateforme_.choisitImprimante(fenetre, imprimante))
        return Resultat::Annule;
    if (const QSizeF choisie = dimensionsTwips(imprimante); choisie != page.taille)
        page = dessine(choisie, depart, e, etat, fenetre); // laid out again for this sheet

    const auto echec = [&](const QString& texte) {
        plateforme_.message(fenetre, texte.arg(nomImprimante(imprimante)),
                            Plateforme::Icone::Exclamation, Plateforme::Boutons::Ok, Titre);
        return Resultat::ImprimanteEnErreur;
    };
    QPainter peintre;
    if (!peintre.begin(&imprimante))
        return echec(QStringLiteral("L'imprimante « %1 » ne peut pas être ouverte : "
                                    "la page n'a pas été imprimée."));
    // The painter's origin is the printable area's top-left corner.
    peintre.scale(imprimante.resolution() / 1440.0, imprimante.resolution() / 1440.0);
    page.rejoue(peintre);
    if (!peintre.end() || imprimante.printerState() == QPrinter::Error)
        return echec(QStringLiteral("L'imprimante « %1 » a signalé une erreur : "
                                    "la page n'a peut-être pas été imprimée."));
    return Resultat::Imprime;
}

} // namespace dz
