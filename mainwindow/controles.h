#pragma once
// The controls of the main window as they were designed, made in one line each.

#include "platform/ressources.h"

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>

class QIcon;
class QLineEdit;
class QPushButton;

namespace dz {

// The system colours named at design, as the running platform paints them.
QColor fondFenetre();
QColor texteFenetre();
QColor texteMenu();
QColor faceBouton();

// A caption that would lose its last letters condensed just enough to fit its box (a design
// caption once, a written one each time it is written).
void serre(QLabel* l);

// A label with a flat black border.
QLabel* bordee(QWidget* parent, const char* nom, const QRect& place, const QString& texte);

// A button; `intitule` names it for screen readers when its caption does not.
QPushButton* bouton(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
                    const QString& intitule = {});

// "Imprimer" and "Calcule": Arial 9.75 bold, a 32 x 32 picture above the caption.
QPushButton* boutonImage(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
                         const QString& fichier);

QLineEdit* zoneTexte(QWidget* parent, const char* nom, const QRect& place, const QString& intitule);

// The window's chart icon at the sizes a desktop asks for.
QIcon iconeOndagramme();

// A picture box showing its picture at its natural size from the top-left corner;
// an empty name leaves it blank, and so does a picture missing from the resources.
template <class Boite = QLabel>
Boite* boiteImage(QWidget* parent, const QString& nom, const QRect& place, const QString& fichier,
                  QSize taille, const QString& intitule)
{
    auto* b = new Boite(parent);
    b->setObjectName(nom);
    b->setGeometry(place);
    b->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAccessibleName(intitule);
    if (!fichier.isEmpty())
        b->setPixmap(image(fichier, taille));
    return b;
}

} // namespace dz
