#pragma once
// A sheet as the report and the chart write on it: one unit, the twip (1/1440 inch), y downwards,
// and a printer's habits kept from one call to the next (current position, font, text colour,
// pen width). What is written is recorded, so that the page can be drawn before a printer is
// chosen and replayed on it afterwards.

#include "platform/ressources.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

namespace dz {

// One mark on the page, in twips.
struct Trait {
    enum class Genre { Texte, Ligne, Boite, Point };
    Genre genre;
    QPointF a; // text: left end of the baseline; box: one corner
    QPointF b; // line: other end; box: opposite corner
    QColor couleur;
    double largeur; // pen width in twips
    QString texte;
    QFont police;
};

struct PageEnregistree {
    // `dpi`: resolution of the printer meant to receive the page; pen widths are
    // counted in its pixels.
    PageEnregistree(QSizeF twips, double dpi) : taille(twips), resolution(dpi) {}

    // `peintre` must measure in twips: scaled by its device's dpi / 1440.
    void rejoue(QPainter& peintre) const;

    QSizeF taille;
    double resolution;
    std::vector<Trait> traits;
};

class Feuille {
public:
    explicit Feuille(PageEnregistree& page);

    QSizeF dimensions() const { return page_.taille; }

    void face(Face face);
    void taille(double points);
    const QFont& police() const { return police_; }
    double hauteurLigne() const;

    void couleurTexte(const QColor& couleur) { couleurTexte_ = couleur; }
    QColor couleurTexte() const { return couleurTexte_; }

    // Text whose top stands at the current position; the position moves past its end.
    void imprime(const QString& texte);
    // The same, then the start of the next line (the current font's line height below).
    void imprimeLigne(const QString& texte = {});

    void position(double x, double y) { position_ = QPointF(x, y); }
    QPointF position() const { return position_; }

    void epaisseur(int pixels) { epaisseur_ = pixels; } // in printer pixels
    int epaisseur() const { return epaisseur_; }

    void ligne(QPointF de, QPointF a, const QColor& couleur);
    void boite(QPointF coin, QPointF oppose, const QColor& couleur);
    void point(QPointF p, const QColor& couleur);

private:
    void trace(Trait::Genre genre, QPointF a, QPointF b, const QColor& couleur);
    void changePolice();

    PageEnregistree& page_;
    Face face_ = Face::Arial; // a fresh printer writes in a plain sans face
    double points_ = 12;
    QFont police_;
    QColor couleurTexte_{0, 0, 0};
    QPointF position_{0, 0};
    int epaisseur_ = 1;
};

} // namespace dz
