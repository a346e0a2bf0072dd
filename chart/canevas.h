#pragma once
// A picture box with persistent drawing: the widget keeps an image of its drawing
// area and paints it on every repaint, until the next redraw clears it.

#include <QColor>
#include <QImage>
#include <QWidget>

namespace dz {

class Canevas : public QWidget {
    Q_OBJECT
public:
    // bordure: a flat one-pixel frame around the drawing area (the drawing area shrinks by 2).
    Canevas(QSize tailleExterieure, bool bordure, QWidget* parent = nullptr);

    // Outer size in pixels, frame included: what the drawing routines read as W and H.
    int largeur() const { return taille_.width(); }
    int hauteur() const { return taille_.height(); }

    // Drawing area, (0, 0) at its top-left, logical pixels; it holds as many device pixels as
    // the screen shows, so that it is drawn at the screen's own resolution.
    QImage& image();
    const QImage& image() const { return image_; }

    void setFond(const QColor& fond) { fond_ = fond; }
    void efface(); // fills the drawing area with the background colour

signals:
    // The screen's pixel density changed: the picture, kept but enlarged, wants drawing again.
    void densiteChangee();

protected:
    // While the box has the focus, a dotted line runs just inside its border (QWidget repaints
    // on every change of focus).
    void paintEvent(QPaintEvent* event) override;

private:
    bool suitDensite(); // true when the picture had to follow a new density
    void creeImage(qreal densite);

    QSize taille_;
    bool bordure_;
    QColor fond_;
    QImage image_;
};

} // namespace dz
