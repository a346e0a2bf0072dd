#pragma once
// Layout helpers: the windows were designed in twips, 15 to a screen pixel.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

constexpr int twips(int t) { return t / 15; }

inline QRect twips(int gauche, int haut, int largeur, int hauteur)
{
    return {twips(gauche), twips(haut), twips(largeur), twips(hauteur)};
}

// Centres the client area on the primary screen; the frame, unknown before the window is
// mapped, is left out of the reckoning.
inline void centreSurEcran(QWidget* fenetre)
{
    const QScreen* ecran = QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    QRect zone(QPoint(), fenetre->size());
    zone.moveCenter(ecran->availableGeometry().center());
    fenetre->move(zone.topLeft());
}
