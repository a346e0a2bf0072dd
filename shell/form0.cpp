#include "shell/form0.h"

#include "platform/disposition.h"
#include "platform/identite.h"
#include "platform/ressources.h"

#include <QLabel>
#include <QTimer>

namespace dz {

namespace {

QLabel* ligne(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
              const QColor& couleur, const QFont& police)
{
    QLabel* l = etiquette(parent, nom, place, texte, Qt::AlignHCenter | Qt::AlignTop);
    l->setFont(police);
    colore(l, QColor(), couleur);
    return l;
}

} // namespace

Form0::Form0(std::function<void()> apresFermeture, int intervalleMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      apresFermeture_(std::move(apresFermeture)), Timer1_(new QTimer(this))
{
    // A splash-screen window does not take part in quit-on-last-window-closed
    // (Qt clears WA_QuitOnClose for it), so closing it before the main window exists
    // cannot end the program. Said again here so that a change of window type cannot undo it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("Form0"));
    setWindowTitle(QStringLiteral("MORLANE"));
    setWindowIcon(QIcon(image(QStringLiteral("carnet.svg"), QSize(32, 32))));
    setFixedSize(pixelsProches(7335), pixelsProches(5070));

    const QColor vert(0, 64, 0);
    const QColor marine(0, 0, 128);
    ligne(this, "LblTitle", twips(840, 120, 3735, 495), Identite::titre(), vert,
          police(Face::MsSansSerif, 24, true));
    ligne(this, "LblVersion", twips(4680, 240, 1815, 375),
          QStringLiteral("Version ") + Identite::version(), vert,
          police(Face::MsSansSerif, 12, true));

    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(360, 1320, 6615, 2295));
    Image1->setPixmap(image(QStringLiteral("echantillon.svg"), Image1->size()));

    ligne(this, "Label3", twips(720, 3840, 5775, 375),
          QStringLiteral("Les ondagrammes en obstétrique"), vert,
          police(Face::MsSansSerif, 13.5, true, true));
    ligne(this, "Label6", twips(2760, 4320, 1815, 615), Identite::fabricant(), QColor(128, 128, 0),
          police(Face::MsSansSerif, 24, true, true));
    ligne(this, "Label2", twips(120, 4680, 2415, 255), Identite::auteur(), marine,
          police(Face::MsSansSerif, 9.75));
    ligne(this, "Label4", twips(5280, 4680, 1935, 255), Identite::collaboration(), marine,
          police(Face::MsSansSerif, 8.25));

    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setSingleShot(true);
    Timer1_->setTimerType(Qt::PreciseTimer); // a coarse timer may tick up to 5 % early
    Timer1_->setInterval(intervalleMs);
    connect(Timer1_, &QTimer::timeout, this, &Form0::Timer1_Timer);

    centreSurEcran(this);
}

void Form0::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!Timer1_->isActive() && apresFermeture_)
        Timer1_->start();
}

void Form0::Timer1_Timer()
{
    auto suite = std::move(apresFermeture_);
    apresFermeture_ = nullptr;
    close();
    deleteLater();
    if (suite)
        suite();
}

} // namespace dz
