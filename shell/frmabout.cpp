#include "shell/frmabout.h"

#include "platform/disposition.h"
#include "platform/identite.h"
#include "platform/plateforme.h"
#include "platform/ressources.h"
#include "shell/lienweb.h"

#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace dz {

namespace {

QPointer<frmAbout> instance;

QCursor curseurMain()
{
    const QPixmap main = image(QStringLiteral("main.svg"), QSize(32, 32));
    if (main.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(main, 11, 5);
}

} // namespace

frmAbout::frmAbout(Plateforme& plateforme)
    // A parentless dialog: on X11 it is transient for the program's group, which keeps it
    // out of the taskbar, yet it counts as a window of its own for quit-on-last-window.
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      plateforme_(plateforme), adresse_(Identite::siteWeb())
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("À propos de ") + Identite::titre());
    setWindowIcon(QIcon(image(QStringLiteral("ondagramme.svg"), QSize(32, 32))));
    setFont(police(Face::MsSansSerif, 8.25));
    setFixedSize(pixelsProches(4080), pixelsProches(4005));

    auto* Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twips(840, 120, 2310, 1410));
    Picture1->setAutoFillBackground(true);
    QPalette fond = Picture1->palette();
    fond.setColor(QPalette::Window, fond.color(QPalette::Base));
    Picture1->setPalette(fond);
    Picture1->setPixmap(image(QStringLiteral("cigogne.svg"), Picture1->size()));

    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignTop;
    auto* lblTitle = etiquette(this, "lblTitle", twips(480, 1560, 2895, 675),
                               QStringLiteral("Conçu par ") + Identite::auteur() + u' ', centre);
    lblTitle->setWordWrap(true);
    lblTitle->setFont(police(Face::MsSansSerif, 9.75));
    colore(lblTitle, QColor(), QColor(128, 0, 0));

    // The link hugs its text, centred on its designed box.
    Label1_ = etiquette<LienWeb>(this, "Label1", twips(240, 2280, 3645, 240), adresse_.toString(),
                                 centre);
    Label1_->setFont(police(Face::MsSansSerif, 9.75, false, false, true));
    colore(Label1_, QColor(), QColor(0, 0, 255));
    const QRect boite = Label1_->geometry();
    QRect lien(QPoint(), QSize(Label1_->sizeHint().width(), boite.height()));
    lien.moveCenter(boite.center());
    Label1_->setGeometry(lien);
    Label1_->setCursor(curseurMain());
    connect(Label1_, &LienWeb::active, this, &frmAbout::Label1_Click);
    connect(Label1_, &LienWeb::survole, this, &frmAbout::Label1_MouseMove);

    etiquette(this, "lblVersion", twips(600, 2640, 2925, 225),
              QStringLiteral("T R I V I X  Version ") + Identite::version(), centre);

    auto* Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::NoFrame);
    Line1->setGeometry(pixelsProches(-150), pixelsProches(3240), pixelsProches(5414 + 150), 1);
    Line1->setAutoFillBackground(true);
    QPalette gris = Line1->palette();
    gris.setColor(QPalette::Window, QColor(128, 128, 128));
    Line1->setPalette(gris);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twips(1440, 3480, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    // Enter presses the default button; QDialog already rejects on Escape.
    centreSurEcran(this);
}

frmAbout* frmAbout::ouvert() { return instance.data(); }

void frmAbout::Label1_Click() { plateforme_.ouvreUrl(adresse_); }

// The darker blue marks the link as visited-over; it is not undone when the pointer leaves.
void frmAbout::Label1_MouseMove() { colore(Label1_, QColor(), QColor(0, 0, 192)); }

frmAbout* montreAPropos(Plateforme& plateforme)
{
    if (!instance)
        instance = new frmAbout(plateforme);
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance.data();
}

} // namespace dz
