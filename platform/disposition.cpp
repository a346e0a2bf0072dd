#include "platform/disposition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dz {

void colore(QWidget* w, const QColor& fond, const QColor& texte)
{
    QPalette p = w->palette();
    if (fond.isValid()) {
        p.setColor(QPalette::Window, fond);
        w->setAutoFillBackground(true);
    }
    if (texte.isValid())
        p.setColor(QPalette::WindowText, texte);
    w->setPalette(p);
}

void centreSurEcran(QWidget* fenetre)
{
    const QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    QRect zone(QPoint(), fenetre->size());
    zone.moveCenter(ecran->availableGeometry().center());
    fenetre->move(zone.topLeft());
}

} // namespace dz
