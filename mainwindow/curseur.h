#pragma once
// The slider that moves the chart date, its ticks drawn on whole device pixels: the style's own
// come out one pixel wide here and two there at 125 %, 150 % or 175 %.

#include <QSlider>

namespace dz {

// No Q_OBJECT: to the toolkit and to screen readers it is a plain QSlider.
class Curseur : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace dz
