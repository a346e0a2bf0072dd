#include "platform/ressources.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace dz {

QFont famille(Face face)
{
    QFont f;
    if (face == Face::CourierNew) {
        f.setFamily(QStringLiteral("Liberation Mono"));
        f.setStyleHint(QFont::TypeWriter);
    } else {
        f.setFamily(QStringLiteral("Liberation Sans"));
        f.setStyleHint(QFont::SansSerif);
    }
    return f;
}

QFont police(Face face, double points, bool gras, bool italique, bool souligne)
{
    QFont f = famille(face);
    f.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    f.setBold(gras);
    f.setItalic(italique);
    f.setUnderline(souligne);
    return f;
}

QPixmap image(const QString& nom, QSize taille)
{
    QSvgRenderer rendu(QStringLiteral(":/pictures/") + nom);
    if (!rendu.isValid())
        return {};
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap p(taille * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter peintre(&p);
    rendu.render(&peintre, QRectF(QPointF(0, 0), QSizeF(taille)));
    return p;
}

} // namespace dz
