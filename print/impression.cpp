#include "print/impression.h"

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

// The printable area within the margins, in whole twips, as the printer lays it out (a PDF
// writer keeps its margins in whole points).
QSizeF zoneTwips(const QPrinter& imprimante)
{
    const QSizeF pixels = imprimante.pageRect(QPrinter::DevicePixel).size();
    const double twips = 1440.0 / imprimante.resolution();
    return QSizeF(std::round(pixels.width() * twips), std::round(pixels.height() * twips));
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
    PageEnregistree page = dessine(zoneTwips(imprimante), depart, e, etat, fenetre);
    if (!plateforme_.choisitImprimante(fenetre, imprimante))
        return Resultat::Annule;
    if (const QSizeF choisie = zoneTwips(imprimante); choisie != page.taille)
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
