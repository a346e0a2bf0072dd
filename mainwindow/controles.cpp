#include "mainwindow/controles.h"

#include "mainwindow/bouton.h"
#include "mainwindow/etiquettebordee.h"
#include "platform/disposition.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>

namespace dz {

// The system colours named at design, as the running platform paints them.
QColor fondFenetre() { return QGuiApplication::palette().color(QPalette::Base); }
QColor texteFenetre() { return QGuiApplication::palette().color(QPalette::Text); }
QColor texteMenu() { return QGuiApplication::palette().color(QPalette::WindowText); }
QColor faceBouton() { return QGuiApplication::palette().color(QPalette::Button); }

void serre(QLabel* l)
{
    const QFont f = condensee(l->font(), [l](const QFontMetrics& fm) {
        // QLabel sets the text of a framed label in by half an "x".
        const int retrait = l->indent() >= 0      ? l->indent()
                            : l->frameWidth() > 0 ? fm.horizontalAdvance(u'x') / 2
                                                  : 0;
        return fm.horizontalAdvance(l->text()) + retrait <= l->contentsRect().width();
    });
    if (f != l->font()) // a redraw that writes the same values relays nothing out
        l->setFont(f);
}

QLabel* bordee(QWidget* parent, const char* nom, const QRect& place, const QString& texte)
{
    return etiquette<EtiquetteBordee>(parent, nom, place, texte);
}

QPushButton* bouton(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
                    const QString& intitule)
{
    auto* b = new Bouton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setGeometry(place);
    if (!intitule.isEmpty())
        b->setAccessibleName(intitule);
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

QLineEdit* zoneTexte(QWidget* parent, const char* nom, const QRect& place, const QString& intitule)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(nom));
    t->setGeometry(place);
    t->setAccessibleName(intitule);
    return t;
}

QIcon iconeOndagramme()
{
    QIcon icone;
    for (int cote : {16, 24, 32, 48})
        icone.addPixmap(image(QStringLiteral("ondagramme.svg"), QSize(cote, cote)));
    return icone;
}

QPushButton* boutonImage(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
                         const QString& fichier)
{
    QPushButton* b = bouton(parent, nom, place, texte, texte);
    b->setFont(police(Face::Arial, 9.75, true));
    b->setIcon(QIcon(image(fichier, QSize(32, 32))));
    b->setIconSize(QSize(32, 32));
    return b;
}

} // namespace dz
