#include "mainwindow/curseur.h"

#include "chart/trace.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace dz {

void Curseur::paintEvent(QPaintEvent*)
{
    QPainter peintre(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &peintre, this);

    // Where the style puts its ticks: one a value under the handle's travel, at the bottom,
    // the two ends a pixel longer; one line wide each.
    peintre.save();
    const QPointF o = versAppareil(peintre);
    const double r = devicePixelRatioF();
    const int poignee = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
    const int haut =
        height() - 1 - style()->pixelMetric(QStyle::PM_SliderTickmarkOffset, &option, this);
    for (int v = minimum(); v <= maximum(); v += std::max(1, tickInterval())) {
        const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), v, width() - poignee)
                      + poignee / 2;
        const int bas = height() - 1 - (v == minimum() || v == maximum() ? 1 : 2);
        peintre.fillRect(pixelsLignes(QPointF(x, haut), QPointF(x, bas), r, o),
                         palette().color(QPalette::WindowText));
    }
    peintre.restore();

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &peintre, this);
}

} // namespace dz
