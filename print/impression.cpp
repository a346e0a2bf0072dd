#include "print/impression.h"

#include "platform/plateforme.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <cmath>

namespace dz {

namespace {

const QString Titre = QStringLiteral("Impression...");

// Whole twips, measured in millimetres so that A4 gives 11906 x 16838 and not the
// whole-point approximation of its size.
QSizeF pageTwips(const QPrinter& imprimante)
{
    const QRectF mm = imprimante.pageLayout().fullRect(QPageLayout::Millimeter);
    return QSizeF(std::round(mm.width() / 25.4 * 1440), std::round(mm.height() / 25.4 * 1440));
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

PageEnregistree Impression::dessine(QSizeF taille, double resolution, const EntreesImpression& e,
                                    Etat& etat, QWidget* fenetre)
{
    PageEnregistree page(taille, resolution);
    Feuille feuille(page);
    ImprimeFiche(feuille, e, etat, plateforme_, fenetre);
    ImprimeCourbes(feuille, e, etat, plateforme_);
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

    PageEnregistree page = dessine(PageA4Twips, ResolutionEnregistrement, e, etat, fenetre);

    // Only now: creating a printer contacts the print system.
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    imprimante.setFullPage(true);
    imprimante.setCopyCount(1); // the one printer setting set to 1: one copy unless the user asks
    if (!plateforme_.choisitImprimante(fenetre, imprimante))
        return Resultat::Annule;
    imprimante.setFullPage(true);

    const auto echec = [&](const QString& texte) {
        plateforme_.message(fenetre, texte.arg(nomImprimante(imprimante)),
                            Plateforme::Icone::Exclamation, Plateforme::Boutons::Ok, Titre);
        return Resultat::ImprimanteEnErreur;
    };
    QPainter peintre;
    if (!peintre.begin(&imprimante))
        return echec(QStringLiteral("L'imprimante « %1 » ne peut pas être ouverte : "
                                    "la page n'a pas été imprimée."));
    const double resolution = imprimante.resolution();
    peintre.scale(resolution / 1440, resolution / 1440);
    const QSizeF choisie = pageTwips(imprimante);
    if (choisie != page.taille || resolution != page.resolution) // laid out again for this sheet
        page = dessine(choisie, resolution, e, etat, fenetre);
    page.rejoue(peintre);
    if (!peintre.end() || imprimante.printerState() == QPrinter::Error)
        return echec(QStringLiteral("L'imprimante « %1 » a signalé une erreur : "
                                    "la page n'a peut-être pas été imprimée."));
    return Resultat::Imprime;
}

} // namespace dz
