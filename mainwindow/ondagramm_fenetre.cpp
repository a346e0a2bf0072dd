// The main window as it was designed: every control where it was drawn, in twips.

#include "mainwindow/ondagramm.h"

#include "chart/canevas.h"
#include "mainwindow/controles.h"
#include "mainwindow/curseur.h"
#include "mainwindow/zoneimage.h"
#include "platform/disposition.h"
#include "platform/identite.h"
#include "platform/ressources.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace dz {

namespace {

constexpr QSize TailleClient(693, 464);

// Children of the chart are placed inside its one-pixel frame.
QRect dansImage1(int gauche, int haut, int largeur, int hauteur)
{
    return twips(gauche, haut, largeur, hauteur).translated(1, 1);
}

} // namespace

void Ondagramm::construitFenetre()
{
    setObjectName(QStringLiteral("Ondagramm"));
    setWindowTitle(Identite::titre());
    setWindowIcon(iconeOndagramme());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    // The client area carries the window's colour, so that each activation can repaint
    // it through its palette; the menu bar keeps the system's own font.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("zoneClient"));
    client->setFixedSize(TailleClient);
    client->setAutoFillBackground(true);
    client->setFont(police(Face::MsSansSerif, 8.25, true));
    setCentralWidget(client);

    construitCadrePersonne(client);
    construitCadreAccouchement(client);
    construitValeurs(client);
    construitGraphique(client);
    for (QLabel* l : {Etiquette1, Etiquette2, Etiquette3, Label3, Label4})
        serre(l);
    construitMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000); // the load sets 300 ms

    QWidget* ordre[] = {CmbNom,   TxtDateN, TxtDateP, TxtDGUS, CmdAjoute, CmdSup,  Commande1,
                        Command1, Command2, TxtAP,    CmdSexe, Image1,    Slider1, Command3};
    for (std::size_t i = 1; i < std::size(ordre); ++i)
        setTabOrder(ordre[i - 1], ordre[i]);
    CmbNom->setFocus();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreSurEcran(this);
}

// Frame1: the person and the dates; the name box lies over the frame, drawn above it.
void Ondagramm::construitCadrePersonne(QWidget* client)
{
    Frame1 = new QGroupBox(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(120, 0, 5415, 1815));
    Frame1->setAccessibleName(QStringLiteral("Personne et dates"));

    Etiquette1 =
        etiquette(Frame1, "Etiquette1", twips(120, 240, 1215, 315), QStringLiteral("Nom Prénom"));
    CmdAjoute = bouton(Frame1, "CmdAjoute", twips(1800, 560, 1695, 255), QStringLiteral("Ajouter"),
                       QStringLiteral("Ajouter la personne"));
    CmdSup = bouton(Frame1, "CmdSup", twips(3600, 560, 1695, 255), QStringLiteral("Supprimer"),
                    QStringLiteral("Supprimer la personne"));
    Etiquette2 = etiquette(Frame1, "Etiquette2", twips(120, 900, 1635, 280),
                           QStringLiteral("Date de naissance"));
    TxtDateN = zoneTexte(Frame1, "TxtDateN", twips(1800, 880, 1335, 285),
                         QStringLiteral("Date de naissance"));
    Etiquette3 = bordee(Frame1, "Etiquette3", twips(120, 1200, 1680, 255),
                        QStringLiteral("Date du ondagramme"));
    colore(Etiquette3, QColor(192, 192, 192), QColor(0, 0, 0));
    TxtDateP = zoneTexte(Frame1, "TxtDateP", twips(1800, 1200, 1335, 285),
                         QStringLiteral("Date du ondagramme"));
    TxtDateP->setText(QStringLiteral("17/05/04")); // the load puts today's date here
    Command3 = bouton(Frame1, "Command3", twips(1800, 1450, 1335, 255),
                      QStringLiteral("Aujourd'hui"), QStringLiteral("Aujourd'hui"));
    AfichJourV = etiquette(Frame1, "AfichJourV", twips(40, 1500, 1695, 255), QString());
    colore(AfichJourV, QColor(), QColor(192, 64, 0));
    AfichJourV->setAccessibleDescription(QStringLiteral("Jours vécus"));
    Command1 = boutonImage(Frame1, "Command1", twips(3240, 960, 945, 705),
                           QStringLiteral("Imprimer"), QStringLiteral("imprimante.svg"));
    Commande1 = boutonImage(Frame1, "Commande1", twips(4320, 960, 945, 735),
                            QStringLiteral("Calcule"), QStringLiteral("ondagramme.svg"));
    Commande1->setFlat(true);
    Etiquette2->setBuddy(TxtDateN);
    Etiquette3->setBuddy(TxtDateP);

    CmbNom = new QComboBox(client);
    CmbNom->setObjectName(QStringLiteral("CmbNom"));
    CmbNom->setGeometry(twips(1920, 240, 3495, 315));
    CmbNom->setEditable(true);
    CmbNom->setInsertPolicy(QComboBox::NoInsert);
    CmbNom->setCompleter(nullptr); // a typed name stays as typed
    CmbNom->setAccessibleName(QStringLiteral("Nom Prénom"));
    QPalette blanc = CmbNom->palette();
    blanc.setColor(QPalette::Base, QColor(255, 255, 255));
    CmbNom->setPalette(blanc);
    CmbNom->raise();
    Etiquette1->setBuddy(CmbNom);
}

// Frame2: the pregnancy tools.
void Ondagramm::construitCadreAccouchement(QWidget* client)
{
    Frame2 = new QGroupBox(QStringLiteral("Accouchement"), client);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twips(8040, 0, 2175, 1815));
    Frame2->setAccessibleName(QStringLiteral("Accouchement"));

    const Qt::Alignment droite = Qt::AlignRight | Qt::AlignTop;
    Label3 = etiquette(Frame2, "Label3", twips(120, 240, 615, 255), QStringLiteral("DGUS"), droite);
    TxtDGUS = zoneTexte(Frame2, "TxtDGUS", twips(840, 240, 1215, 285), QStringLiteral("DGUS"));
    Label4 =
        etiquette(Frame2, "Label4", twips(120, 600, 615, 255), QStringLiteral("Terme"), droite);
    TxtAP = zoneTexte(Frame2, "TxtAP", twips(840, 600, 1215, 285), QStringLiteral("Terme"));
    TxtAP->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid black; }"));
    Label3->setBuddy(TxtDGUS);
    Label4->setBuddy(TxtAP);
    Image2 = boiteImage(Frame2, QStringLiteral("Image2"), twips(120, 1080, 600, 600),
                        QStringLiteral("ondagramme.svg"), QSize(40, 40),
                        QStringLiteral("Icône du ondagramme"));
    Command2 = bouton(Frame2, "Command2", twips(720, 1080, 1335, 615),
                      QStringLiteral("Ondagrammes prés du terme"),
                      QStringLiteral("Ondagrammes prés du terme"));
}

// The three values, their faces, the name line, the age and the sex button.
void Ondagramm::construitValeurs(QWidget* client)
{
    const std::array<const char*, 3> noms{"Etiquette5", "Etiquette6", "Etiquette7"};
    const std::array<QString, 3> textes{QStringLiteral("Intellectuel :"),
                                        QStringLiteral("Emotionnel :"),
                                        QStringLiteral("Physique    :")};
    const std::array<QColor, 3> fonds{QColor(0, 192, 0), QColor(0, 0, 255), QColor(255, 0, 0)};
    const std::array<QString, 3> cycles{QStringLiteral("intellectuel"),
                                        QStringLiteral("émotionnel"), QStringLiteral("physique")};
    const std::array<QLabel**, 3> valeurs{&Etiquette5, &Etiquette6, &Etiquette7};
    for (std::size_t k = 0; k < 3; ++k) {
        QLabel* l = bordee(client, noms[k], twips(5640, 120 + 600 * int(k), 1755, 315), textes[k]);
        colore(l, fonds[k], QColor(255, 255, 255));
        l->setFont(police(Face::MsSansSerif, 9.75, true));
        l->setAccessibleDescription(QStringLiteral("Valeur du cycle ") + cycles[k]);
        *valeurs[k] = l;
    }

    // The three value texts for the printed report; never shown.
    const std::array<const char*, 3> afich{"AfichIntel", "AfichEmoti", "AfichPhysi"};
    const std::array<QLabel**, 3> afichs{&AfichIntel, &AfichEmoti, &AfichPhysi};
    for (std::size_t k = 0; k < 3; ++k) {
        QLabel* l = etiquette(client, afich[k], twips(6840, 360 * int(k + 1), 555, 255), QString(),
                              Qt::AlignRight | Qt::AlignTop);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        colore(l, QColor(223, 220, 204), QColor());
        l->hide();
        *afichs[k] = l;
    }

    const QString humeurs[4] = {QStringLiteral("Humeur"), QStringLiteral("Humeur intellectuelle"),
                                QStringLiteral("Humeur émotionnelle"),
                                QStringLiteral("Humeur physique")};
    const QRect placesHumeur[4] = {twips(9600, 5880, 480, 480), twips(7440, 0, 480, 480),
                                   twips(7440, 600, 480, 480), twips(7440, 1200, 480, 480)};
    for (int i = 0; i < 4; ++i)
        Picture1[i] =
            boiteImage<ZoneImage>(client, QStringLiteral("Picture1_%1").arg(i), placesHumeur[i],
                                  QStringLiteral("visage_defaut.svg"), QSize(32, 32), humeurs[i]);
    colore(Picture1[0], fondFenetre(), texteFenetre());
    Picture1[0]->hide();

    const QString visages[7] = {
        QStringLiteral("Visage furieux"),       QStringLiteral("Visage triste"),
        QStringLiteral("Visage un peu triste"), QStringLiteral("Visage grimaçant"),
        QStringLiteral("Visage souriant"),      QStringLiteral("Visage joyeux"),
        QStringLiteral("Visage hilare")};
    for (int i = 0; i < 7; ++i) {
        Picture2[i] = boiteImage(client, QStringLiteral("Picture2_%1").arg(i),
                                 twips(840 + 600 * i, 5880, 480, 480),
                                 QStringLiteral("visage%1.svg").arg(i), QSize(32, 32), visages[i]);
        Picture2[i]->hide();
    }

    MerMamm = bordee(client, "MerMamm", twips(120, 1920, 4635, 315), QString());
    MerMamm->setAccessibleDescription(QStringLiteral("Nom et date de naissance"));
    AfichAge = bordee(client, "AfichAge", twips(4800, 1920, 765, 315), QString());
    AfichAge->setAccessibleDescription(QStringLiteral("Âge en années"));
    for (QLabel* l : {MerMamm, AfichAge}) {
        colore(l, fondFenetre(), texteFenetre());
        l->setFont(police(Face::MsSansSerif, 9.75));
    }
    // The caption changes to announce the conception date: it names the button itself.
    CmdSexe = bouton(client, "CmdSexe", twips(5640, 1920, 4575, 375), QStringLiteral("Sexe"));
    CmdSexe->setAccessibleDescription(QStringLiteral("Sexe probable de l'enfant"));
}

// The slider, the chart with its scale and pictures, and the day strip.
void Ondagramm::construitGraphique(QWidget* client)
{
    Slider1 = new Curseur(Qt::Horizontal, client);
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

    Label1[1] =
        etiquette(client, "Label1_1", twips(120, 2760, 540, 195), QStringLiteral("+ 50 ----"));
    Label1[0] =
        etiquette(client, "Label1_0", twips(150, 4560, 405, 195), QStringLiteral("  0 ----"));
    Label1[2] =
        etiquette(client, "Label1_2", twips(240, 6240, 405, 195), QStringLiteral("- 50 --"));
    for (QLabel* l : Label1) {
        l->setFont(police(Face::MsSansSerif, 8.25));
        l->resize(l->size().expandedTo(l->sizeHint())); // sized to its text, from its place
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
    AfichJour->setFont(police(Face::MsSansSerif, 9.75));
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
         QSize(63, 105), "Plutôt Garçon"},
        {&PictPFille, "PictPFille", dansImage1(7560, 2040, 975, 1575), "plutot_fille.svg",
         QSize(64, 104), "Plutôt Fille"},
    };
    for (const SourceSexe& s : sexes) {
        *s.boite = boiteImage(Image1, QLatin1String(s.nom), s.place, QLatin1String(s.fichier),
                              s.taille, QString::fromUtf8(s.intitule));
        colore(*s.boite, fondFenetre(), texteFenetre());
        (*s.boite)->hide();
    }

    LblTerme = etiquette(Image1, "LblTerme", dansImage1(8400, 120, 855, 300),
                         QStringLiteral("Terme"), Qt::AlignHCenter | Qt::AlignTop);
    LblTerme->setFont(police(Face::MsSansSerif, 12, true));
    colore(LblTerme, QColor(255, 255, 255), QColor(255, 0, 0));
    LblTerme->setAccessibleDescription(QStringLiteral("Position du terme sur le ondagramme"));
    LblTerme->hide();
}

// Five direct commands.
void Ondagramm::construitMenu()
{
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
}

} // namespace dz
