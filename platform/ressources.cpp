#include "platform/ressources.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#ifndef DZ_IMAGES_PNG
#include <QSvgRenderer>
#endif

#include <cmath>

namespace dz {

QFont famille(Face face)
{
    QFont f;
#ifdef Q_OS_WIN
    // The faces the windows were drawn with ("Microsoft Sans Serif" is "MS Sans Serif" as a
    // TrueType face, which scales and bolds); where a system lacks them (Wine), their
    // metric-compatible stand-ins.
    static const bool remplacants = [] {
        QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"),
                                   {QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
                                   {QStringLiteral("Liberation Mono")});
        return true;
    }();
    Q_UNUSED(remplacants);
    switch (face) {
    case Face::MsSansSerif:
        f.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif")});
        break;
    case Face::Arial: f.setFamily(QStringLiteral("Arial")); break;
    case Face::CourierNew: f.setFamily(QStringLiteral("Courier New")); break;
    }
#else
    // Metric-compatible stand-ins.
    f.setFamily(face == Face::CourierNew ? QStringLiteral("Liberation Mono")
                                         : QStringLiteral("Liberation Sans"));
#endif
    f.setStyleHint(face == Face::CourierNew ? QFont::TypeWriter : QFont::SansSerif);
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

QFont condensee(QFont f, const std::function<bool(const QFontMetrics&)>& tient)
{
    for (int etirement = 100; etirement > 50; --etirement) {
        f.setStretch(etirement);
        if (tient(QFontMetrics(f)))
            break;
    }
    return f;
}

QPixmap image(const QString& nom, QSize taille)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
#ifdef DZ_IMAGES_PNG
    // Rendered when the program was built, at this size, at 100 % to 200 % by quarters; at
    // another scale, the largest made smooth to the screen's size.
    const QString base = QStringLiteral(":/pictures/%1-%2x%3")
                             .arg(QFileInfo(nom).completeBaseName())
                             .arg(taille.width())
                             .arg(taille.height());
    QPixmap p(ratio == 1 ? base + QStringLiteral(".png")
                         : base + QStringLiteral("@%1x.png").arg(ratio));
    if (p.isNull())
        p = QPixmap(base + QStringLiteral("@2x.png"))
                .scaled(taille * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.setDevicePixelRatio(ratio);
    return p;
#else
    QSvgRenderer rendu(QStringLiteral(":/pictures/") + nom);
    if (!rendu.isValid())
        return {};
    QPixmap p(taille * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter peintre(&p);
    rendu.render(&peintre, QRectF(QPointF(0, 0), QSizeF(taille)));
    return p;
#endif
}

} // namespace dz
