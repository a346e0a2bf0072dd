#pragma once
// A sheet as the report and the chart write on it: one unit, the twip (1/1440 inch), y downwards,
// from the top-left corner of the printable area, and a printer's habits kept from one call to
// the next (current position, font, text colour, pen width). What is written is recorded, so that
// the page can be drawn before a printer is chosen and replayed on it afterwards.

#include "platform/ressources.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

namespace dz {

// One mark on the page, in twips.
struct Trait {
    enum class Genre { Texte, Ligne, Boite, Points };
    Genre genre;
    QPointF a; // text: left end of the baseline; box: one corner; points: the first
    QPointF b; // line: other end; box: opposite corner; points: the last
    QColor couleur;
    double largeur; // pen width in twips
    QString texte;
    QFont police;
    QPolygonF suite; // points: dots set down a twip apart, one stroke on paper
};

struct PageEnregistree {
    explicit PageEnregistree(QSizeF twips) : taille(twips) {}

    // `peintre` must measure in twips: scaled by its device's dpi / 1440.
    void rejoue(QPainter& peintre) const;

    QSizeF taille;
    std::vector<Trait> traits;
};

// What a printer keeps from one page to the next.
struct EtatImprimante {
    Face face = Face::Arial; // a fresh printer writes in a plain sans face
    double points = 12;
    QColor couleurTexte{0, 0, 0};
    int epaisseur = 1;
};

// Pen widths are counted in pixels of the 300 dpi printers the page was designed for, so that
// a mark has the same width on paper whatever the printer's resolution.
inline constexpr double TwipsParPixel = 1440.0 / 300;

class Feuille {
public:
    Feuille(PageEnregistree& page, const EtatImprimante& depart);
    EtatImprimante etat() const { return {face_, points_, couleurTexte_, epaisseur_}; }

    QSizeF dimensions() const { return page_.taille; }

    void face(Face face);
    void taille(double points);
    double hauteurLigne() const;

    void couleurTexte(const QColor& couleur) { couleurTexte_ = couleur; }

    // Text whose top stands at the current position; the position moves past its end.
    void imprime(const QString& texte);
    // The same, then the start of the next line (the current font's line height below).
    void imprimeLigne(const QString& texte = {});

    void position(double x, double y) { position_ = QPointF(x, y); }

    void epaisseur(int pixels) { epaisseur_ = pixels; } // in pixels of a 300 dpi printer

    void ligne(QPointF de, QPointF a, const QColor& couleur);
    void boite(QPointF coin, QPointF oppose, const QColor& couleur);
    // A dot as wide as the pen. Dots of one pen set down a twip apart, column after column,
    // make one stroke: a line on paper, not a heap of overlapping dots.
    void point(QPointF p, const QColor& couleur);

private:
    void trace(Trait::Genre genre, QPointF a, QPointF b, const QColor& couleur);
    void changePolice();

    PageEnregistree& page_;
    Face face_;
    double points_;
    QFont police_;
    QColor couleurTexte_;
    QPointF position_{0, 0};
    int epaisseur_;
    std::vector<std::size_t> traces_; // the strokes of dots that may still go on
};

} // namespace dz
