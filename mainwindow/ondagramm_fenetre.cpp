// The main window as it was designed: every control where it was drawn, in twips.

#include "mainwindow/ondagramm.h"

#include "chart/canevas.h"
#include "mainwindow/zoneimage.h"
#include "platform/plateforme.h"
#include "platform/ressources.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr QSize tailleClient(693, 464);

// 15 twips to the pixel on the 96 dpi screen the window was drawn for; each value is
// rounded on its own.
QRect twips(int gauche, int haut, int largeur, int hauteur)
{
    const auto px = [](int t) { return static_cast<int>(std::lround(t / 15.0)); };
    return {px(gauche), px(haut), px(largeur), px(hauteur)};
}

// Children of the chart are placed inside its one-pixel frame.
QRect dansImage1(int gauche, int haut, int largeur, int hauteur)
{
    return twips(gauche, haut, largeur, hauteur).translated(1, 1);
}

// The system colours named at design, as the running platform paints them.
QColor fondFenetre() { return QGuiApplication::palette().color(QPalette::Base); }
QColor texteFenetre() { return QGuiApplication::palette().color(QPalette::Text); }
QColor texteMenu() { return QGuiApplication::palette().color(QPalette::WindowText); }
QColor faceBouton() { return QGuiApplication::palette().color(QPalette::Button); }

// Own colours; an invalid colour keeps the inherited one. A widget without a background
// of its own stays transparent so that the window's colour shows through.
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

// A flat bordered label: the line stays black whatever the text colour, where QFrame
// would draw it in the text colour (white on the value labels).
class EtiquetteBordee : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        QPainter peintre(this);
        peintre.setPen(Qt::black);
        peintre.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// Liberation Sans runs a little wider than the face the window was drawn with: a fixed
// caption that would lose its last letters is condensed just enough to fit its box.
void serre(QLabel* l)
{
    const int largeur = l->fontMetrics().horizontalAdvance(l->text());
    const int place = l->contentsRect().width();
    if (largeur <= place)
        return;
    QFont f = l->font();
    f.setStretch(place * 100 / largeur);
    l->setFont(f);
}

// A label sized to its text keeps its place and grows to show all of it.
void ajusteAuTexte(QLabel* l)
{
    l->resize(l->size().expandedTo(l->sizeHint()));
}

enum class Bord { Aucun, Plat, Creux };

QLabel* etiquette(QWidget* parent, const char* nom, QRect place, const QString& texte,
                  Bord bord = Bord::Aucun)
{
    QLabel* l = bord == Bord::Plat ? new EtiquetteBordee(parent) : new QLabel(parent);
    l->setObjectName(QLatin1String(nom));
    l->setGeometry(place);
    l->setTextFormat(Qt::PlainText); // names typed by the user are never markup
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setText(texte);
    if (bord == Bord::Plat)
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
    else if (bord == Bord::Creux)
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setLineWidth(1);
    return l;
}

// A command button: the caption wraps when the button is narrow, an optional picture
// sits above it, and a flat button is drawn as one plain line.
class Bouton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter peintre(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        if (isFlat()) {
            peintre.fillRect(rect(), palette().color(isDown() ? QPalette::Mid : QPalette::Button));
            peintre.setPen(Qt::black);
            peintre.drawRect(rect().adjusted(0, 0, -1, -1));
        } else {
            peintre.drawControl(QStyle::CE_PushButtonBevel, option);
        }

        const bool avecImage = !icon().isNull();
        QRect zone = rect().adjusted(2, avecImage ? 1 : 2, -2, avecImage ? -1 : -2);
        if (isDown())
            zone.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        const int drapeaux = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
        const int hauteurTexte = peintre.fontMetrics().boundingRect(zone, drapeaux, text()).height();
        const int hauteurImage = avecImage ? iconSize().height() : 0;
        int y = zone.top() + std::max(0, (zone.height() - hauteurImage - hauteurTexte) / 2);
        if (avecImage) {
            const QPixmap p =
                icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
            peintre.drawPixmap(zone.left() + (zone.width() - iconSize().width()) / 2, y, p);
            y += hauteurImage;
        }
        peintre.drawItemText(QRect(zone.left(), y, zone.width(), zone.bottom() + 1 - y),
                             drapeaux | Qt::AlignTop, palette(), isEnabled(), text(),
                             QPalette::ButtonText);

        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = isFlat() ? rect().adjusted(2, 2, -2, -2)
                                  : style()->subElementRect(QStyle::SE_PushButtonFocusRect,
                                                            &option, this);
            peintre.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

QPushButton* bouton(QWidget* parent, const char* nom, QRect place, const QString& texte)
{
    auto* b = new Bouton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setGeometry(place);
    return b;
}

QLineEdit* zoneTexte(QWidget* parent, const char* nom, QRect place, const QString& intitule)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(nom));
    t->setGeometry(place);
    t->setAccessibleName(intitule);
    return t;
}

// A picture box showing its picture at its natural size from the top-left corner;
// an empty name leaves it blank, and so does a picture missing from the resources.
template <class Boite>
Boite* boiteImage(QWidget* parent, const QString& nom, QRect place, const QString& fichier,
                  QSize taille, const QString& intitule)
{
    auto* b = new Boite(parent);
    b->setObjectName(nom);
    b->setGeometry(place);
    b->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAccessibleName(intitule);
    if (!fichier.isEmpty())
        b->setPixmap(image(fichier, taille));
    return b;
}

QIcon iconeOndagramme()
{
    QIcon icone;
    for (int cote : {16, 24, 32, 48})
        icone.addPixmap(image(QStringLiteral("ondagramme.svg"), QSize(cote, cote)));
    return icone;
}

} // namespace

void Ondagramm::construitFenetre()
{
    setObjectName(QStringLiteral("Ondagramm"));
    setWindowTitle(QStringLiteral("Dazozare"));
    setWindowIcon(iconeOndagramme());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    // The client area carries the window's colour, so that each activation can repaint
    // it through its palette; the menu bar keeps the system's own font.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("zoneClient"));
    client->setFixedSize(tailleClient);
    client->setAutoFillBackground(true);
    client->setFont(police(Face::MsSansSerif, 8.25, true));
    setCentralWidget(client);

    const QFont valeurs = police(Face::MsSansSerif, 9.75, true);
    const QFont ligne = police(Face::MsSansSerif, 9.75);
    const QFont graduation = police(Face::MsSansSerif, 8.25);
    const QFont boutonImage = police(Face::Arial, 9.75, true);

    // Frame1: the person and the dates.
    Frame1 = new QGroupBox(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(120, 0, 5415, 1815));
    Frame1->setAccessibleName(QStringLiteral("Personne et dates"));

    Etiquette1 = etiquette(Frame1, "Etiquette1", twips(120, 240, 1215, 315),
                           QStringLiteral("Nom Prénom"));
    CmdAjoute = bouton(Frame1, "CmdAjoute", twips(1800, 560, 1695, 255), QStringLiteral("Ajouter"));
    CmdAjoute->setAccessibleName(QStringLiteral("Ajouter la personne"));
    CmdSup = bouton(Frame1, "CmdSup", twips(3600, 560, 1695, 255), QStringLiteral("Supprimer"));
    CmdSup->setAccessibleName(QStringLiteral("Supprimer la personne"));
    Etiquette2 = etiquette(Frame1, "Etiquette2", twips(120, 900, 1635, 280),
                           QStringLiteral("Date de naissance"));
    TxtDateN = zoneTexte(Frame1, "TxtDateN", twips(1800, 880, 1335, 285),
                         QStringLiteral("Date de naissance"));
    Etiquette3 = etiquette(Frame1, "Etiquette3", twips(120, 1200, 1680, 255),
                           QStringLiteral("Date du ondagramme"), Bord::Plat);
    colore(Etiquette3, QColor(192, 192, 192), QColor(0, 0, 0));
    TxtDateP = zoneTexte(Frame1, "TxtDateP", twips(1800, 1200, 1335, 285),
                         QStringLiteral("Date du ondagramme"));
    TxtDateP->setText(QStringLiteral("17/05/04"));
    Command3 = bouton(Frame1, "Command3", twips(1800, 1450, 1335, 255),
                      QStringLiteral("Aujourd'hui"));
    Command3->setAccessibleName(QStringLiteral("Aujourd'hui"));
    AfichJourV = etiquette(Frame1, "AfichJourV", twips(40, 1500, 1695, 255), QString());
    colore(AfichJourV, QColor(), QColor(192, 64, 0));
    AfichJourV->setAccessibleDescription(QStringLiteral("Jours vécus"));

    Command1 = bouton(Frame1, "Command1", twips(3240, 960, 945, 705), QStringLiteral("Imprimer"));
    Command1->setFont(boutonImage);
    Command1->setIcon(QIcon(image(QStringLiteral("imprimante.svg"), QSize(32, 32))));
    Command1->setIconSize(QSize(32, 32));
    Command1->setAccessibleName(QStringLiteral("Imprimer"));
    Commande1 = bouton(Frame1, "Commande1", twips(4320, 960, 945, 735), QStringLiteral("Calcule"));
    Commande1->setFont(boutonImage);
    Commande1->setIcon(QIcon(image(QStringLiteral("ondagramme.svg"), QSize(32, 32))));
    Commande1->setIconSize(QSize(32, 32));
    Commande1->setFlat(true);
    Commande1->setAccessibleName(QStringLiteral("Calcule"));

    Etiquette2->setBuddy(TxtDateN);
    Etiquette3->setBuddy(TxtDateP);

    // Frame2: pregnancy.
    Frame2 = new QGroupBox(QStringLiteral("Accouchement"), client);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twips(8040, 0, 2175, 1815));
    Frame2->setAccessibleName(QStringLiteral("Accouchement"));

    Label3 = etiquette(Frame2, "Label3", twips(120, 240, 615, 255), QStringLiteral("DGUS"));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
    TxtDGUS = zoneTexte(Frame2, "TxtDGUS", twips(840, 240, 1215, 285), QStringLiteral("DGUS"));
    Label4 = etiquette(Frame2, "Label4", twips(120, 600, 615, 255), QStringLiteral("Terme"));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignTop);
    TxtAP = zoneTexte(Frame2, "TxtAP", twips(840, 600, 1215, 285), QStringLiteral("Terme"));
    TxtAP->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid black; }"));
    Label3->setBuddy(TxtDGUS);
    Label4->setBuddy(TxtAP);
    Image2 = boiteImage<QLabel>(Frame2, QStringLiteral("Image2"), twips(120, 1080, 600, 600),
                                QStringLiteral("ondagramme.svg"), QSize(40, 40),
                                QStringLiteral("Icône du ondagramme"));
    Command2 = bouton(Frame2, "Command2", twips(720, 1080, 1335, 615),
                      QStringLiteral("Ondagrammes prés du terme"));
    Command2->setAccessibleName(QStringLiteral("Ondagrammes prés du terme"));

    // Over Frame1's area, drawn above it.
    CmbNom = new QComboBox(client);
    CmbNom->setObjectName(QStringLiteral("CmbNom"));
    CmbNom->setGeometry(twips(1920, 240, 3495, 315));
    CmbNom->setEditable(true);
    CmbNom->setInsertPolicy(QComboBox::NoInsert);
    CmbNom->setCompleter(nullptr); // a typed name stays as typed
    CmbNom->setAccessibleName(QStringLiteral("Nom Prénom"));
    {
        QPalette p = CmbNom->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 255));
        CmbNom->setPalette(p);
    }
    CmbNom->raise();
    Etiquette1->setBuddy(CmbNom);

    // The three values and their faces.
    Etiquette5 = etiquette(client, "Etiquette5", twips(5640, 120, 1755, 315),
                           QStringLiteral("Intellectuel :"), Bord::Plat);
    colore(Etiquette5, QColor(0, 192, 0), QColor(255, 255, 255));
    Etiquette5->setAccessibleDescription(QStringLiteral("Valeur du cycle intellectuel"));
    Etiquette6 = etiquette(client, "Etiquette6", twips(5640, 720, 1755, 315),
                           QStringLiteral("Emotionnel :"), Bord::Plat);
    colore(Etiquette6, QColor(0, 0, 255), QColor(255, 255, 255));
    Etiquette6->setAccessibleDescription(QStringLiteral("Valeur du cycle émotionnel"));
    Etiquette7 = etiquette(client, "Etiquette7", twips(5640, 1320, 1755, 315),
                           QStringLiteral("Physique    :"), Bord::Plat);
    colore(Etiquette7, QColor(255, 0, 0), QColor(255, 255, 255));
    Etiquette7->setAccessibleDescription(QStringLiteral("Valeur du cycle physique"));
    for (QLabel* l : {Etiquette5, Etiquette6, Etiquette7})
        l->setFont(valeurs);

    AfichIntel = etiquette(client, "AfichIntel", twips(6840, 360, 555, 255), QString(), Bord::Creux);
    AfichEmoti = etiquette(client, "AfichEmoti", twips(6840, 720, 555, 255), QString(), Bord::Creux);
    AfichPhysi = etiquette(client, "AfichPhysi", twips(6840, 1080, 555, 255), QString(), Bord::Creux);
    for (QLabel* l : {AfichIntel, AfichEmoti, AfichPhysi}) {
        colore(l, QColor(223, 220, 204), QColor());
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        l->hide();
    }

    const QString humeurs[4] = {QStringLiteral("Humeur"), QStringLiteral("Humeur intellectuelle"),
                                QStringLiteral("Humeur émotionnelle"),
                                QStringLiteral("Humeur physique")};
    const QRect placesHumeur[4] = {twips(9600, 5880, 480, 480), twips(7440, 0, 480, 480),
                                   twips(7440, 600, 480, 480), twips(7440, 1200, 480, 480)};
    for (int i = 0; i < 4; ++i)
        Picture1[i] = boiteImage<ZoneImage>(client, QStringLiteral("Picture1_%1").arg(i),
                                            placesHumeur[i], QStringLiteral("visage_defaut.svg"),
                                            QSize(32, 32), humeurs[i]);
    colore(Picture1[0], fondFenetre(), texteFenetre());
    Picture1[0]->hide();

    const QString visages[7] = {QStringLiteral("Visage furieux"),
                                QStringLiteral("Visage triste"),
                                QStringLiteral("Visage un peu triste"),
                                QStringLiteral("Visage grimaçant"),
                                QStringLiteral("Visage souriant"),
                                QStringLiteral("Visage joyeux"),
                                QStringLiteral("Visage hilare")};
    for (int i = 0; i < 7; ++i) {
        Picture2[i] = boiteImage<QLabel>(client, QStringLiteral("Picture2_%1").arg(i),
                                         twips(840 + 600 * i, 5880, 480, 480),
                                         QStringLiteral("visage%1.svg").arg(i), QSize(32, 32),
                                         visages[i]);
        Picture2[i]->hide();
    }

    // Name line, age and the sex button.
    MerMamm = etiquette(client, "MerMamm", twips(120, 1920, 4635, 315), QString(), Bord::Plat);
    MerMamm->setAccessibleDescription(QStringLiteral("Nom et date de naissance"));
    AfichAge = etiquette(client, "AfichAge", twips(4800, 1920, 765, 315), QString(), Bord::Plat);
    AfichAge->setAccessibleDescription(QStringLiteral("Âge en années"));
    for (QLabel* l : {MerMamm, AfichAge}) {
        colore(l, fondFenetre(), texteFenetre());
        l->setFont(ligne);
    }
    // The caption changes to announce the conception date: it names the button itself.
    CmdSexe = bouton(client, "CmdSexe", twips(5640, 1920, 4575, 375), QStringLiteral("Sexe"));
    CmdSexe->setAccessibleDescription(QStringLiteral("Sexe probable de l'enfant"));

    Slider1 = new QSlider(Qt::Horizontal, client);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setGeometry(twips(540, 2280, 9825, 405));
    Slider1->setRange(-16, 17);
    Slider1->setValue(0);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    Slider1->setTracking(false); // the change comes on release
    Slider1->setAccessibleName(QStringLiteral("Déplacer la date du ondagramme"));

    // The chart, its scale and its day strip.
    Label1[1] = etiquette(client, "Label1_1", twips(120, 2760, 540, 195), QStringLiteral("+ 50 ----"));
    Label1[0] = etiquette(client, "Label1_0", twips(150, 4560, 405, 195), QStringLiteral("  0 ----"));
    Label1[2] = etiquette(client, "Label1_2", twips(240, 6240, 405, 195), QStringLiteral("- 50 --"));
    for (QLabel* l : Label1) {
        l->setFont(graduation);
        ajusteAuTexte(l);
    }

    const QRect placeImage1 = twips(720, 2760, 9435, 3675);
    Image1 = new Canevas(placeImage1.size(), true, client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(placeImage1.topLeft());
    Image1->setFond(fondFenetre());
    Image1->efface();
    Image1->setFocusPolicy(Qt::TabFocus); // lets a screen reader reach the chart
    Image1->setAccessibleName(QStringLiteral("Ondagramme"));

    const QRect placeJour = twips(720, 6480, 9435, 255);
    AfichJour = new Canevas(placeJour.size(), false, client);
    AfichJour->setObjectName(QStringLiteral("AfichJour"));
    AfichJour->move(placeJour.topLeft());
    AfichJour->setFont(ligne);
    colore(AfichJour, QColor(), texteMenu());
    AfichJour->setFond(faceBouton());
    AfichJour->efface();
    AfichJour->setAccessibleName(QStringLiteral("Jours du ondagramme"));

    // Inside the chart: the sex pictures, hidden until chosen, and the term mark.
    struct SourceSexe {
        QLabel** boite;
        const char* nom;
        QRect place;
        const char* fichier;
        QSize taille;
        const char* intitule;
    };
    const SourceSexe sexes[] = {
        {&PictSexe, "PictSexe", dansImage1(3480, 150, 975, 1575), "", QSize(), "Sexe probable"},
        {&Pictgarcon, "Pictgarcon", dansImage1(4320, 2280, 975, 1335), "garcon.svg", QSize(66, 89),
         "Garçon"},
        {&PictFille, "PictFille", dansImage1(5400, 2280, 975, 1335), "fille.svg", QSize(63, 87),
         "Fille"},
        {&PictPGarcon, "PictPGarcon", dansImage1(6480, 2040, 975, 1575), "plutot_garcon.svg",
         QSize(63, 105), "Plutôt garçon"},
        {&PictPFille, "PictPFille", dansImage1(7560, 2040, 975, 1575), "plutot_fille.svg",
         QSize(64, 104), "Plutôt fille"},
    };
    for (const SourceSexe& s : sexes) {
        *s.boite = boiteImage<QLabel>(Image1, QLatin1String(s.nom), s.place,
                                      QLatin1String(s.fichier), s.taille, QString::fromUtf8(s.intitule));
        colore(*s.boite, fondFenetre(), texteFenetre());
        (*s.boite)->hide();
    }

    LblTerme = etiquette(Image1, "LblTerme", dansImage1(8400, 120, 855, 300), QStringLiteral("Terme"));
    LblTerme->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LblTerme->setFont(police(Face::MsSansSerif, 12, true));
    colore(LblTerme, QColor(255, 255, 255), QColor(255, 0, 0));
    LblTerme->setAccessibleDescription(QStringLiteral("Position du terme sur le ondagramme"));
    LblTerme->hide();

    for (QLabel* l : {Etiquette1, Etiquette2, Etiquette3, Label3, Label4})
        serre(l);

    // Menu bar: five direct commands.
    const auto commande = [this](const char* nom, const QString& texte) {
        QAction* a = menuBar()->addAction(texte);
        a->setObjectName(QLatin1String(nom));
        return a;
    };
    Quitter = commande("Quitter", QStringLiteral("Quitter"));
    Imprimer = commande("Imprimer", QStringLiteral("Imprimer"));
    Sexe = commande("Sexe", QStringLiteral("Sexe"));
    propos = commande("propos", QStringLiteral("A propos"));
    Aide = commande("Aide", QStringLiteral("Aide"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    // Enter anywhere one types presses Calcule; a default button only works in a dialog.
    for (QLineEdit* saisie : {TxtDateN, TxtDateP, TxtDGUS, TxtAP, CmbNom->lineEdit()})
        connect(saisie, &QLineEdit::returnPressed, Commande1, &QPushButton::click);

    QWidget* ordre[] = {CmbNom,  TxtDateN, TxtDateP, TxtDGUS, CmdAjoute, CmdSup,  Commande1,
                        Command1, Command2, TxtAP,   CmdSexe, Image1,    Slider1, Command3};
    for (std::size_t i = 1; i < std::size(ordre); ++i)
        setTabOrder(ordre[i - 1], ordre[i]);
    CmbNom->setFocus();

    // Fixed size, centred on the screen.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* ecran = screen())
        move(ecran->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
