#include "app/programme.h"

#include "mainwindow/ondagramm.h"
#include "platform/identite.h"
#include "platform/ressources.h"
#include "shell/aide.h"
#include "shell/frmabout.h"

#include <QApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTranslator>

#include <csignal>

namespace dz {

namespace {

// The few texts of the printer dialog that Qt 6.4's French catalogue leaves in English.
class ComplementFrancais : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexte, const char* source, const char*, int) const override
    {
        static const QHash<QByteArray, QString> textes{
            {"Printer Properties", QStringLiteral("Propriétés de l'imprimante")},
            {"Advanced", QStringLiteral("Avancé")},
            {"Double Sided Printing", QStringLiteral("Impression recto verso")},
            {"Off", QStringLiteral("Non")},
            {"Long side binding", QStringLiteral("Reliure sur le bord long")},
            {"Short side binding", QStringLiteral("Reliure sur le bord court")},
            {"There are conflicts in some options. Please fix them.",
             QStringLiteral("Certaines options sont incompatibles : corrigez-les.")},
        };
        if (!QByteArrayView(contexte).startsWith("QPrint"))
            return {};
        return textes.value(source);
    }
};

// Dialog buttons without the style's fallback pictures, like the main window's own buttons.
class StyleDazozare : public QProxyStyle {
public:
    int styleHint(StyleHint indice, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* retour) const override
    {
        if (indice == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(indice, option, widget, retour);
    }
};

} // namespace

void prepareApplication(QApplication& application)
{
#ifdef SIGXFSZ
    // A file-size limit then makes a write fail, which the directory reports (e 61), instead of
    // killing the program in the middle of a change.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication::setApplicationName(Identite::titre());
    QApplication::setApplicationVersion(Identite::version());
    // The standard dialogs (printer, message boxes, help viewer) speak French like the rest,
    // and in the windows' own face.
    // Qt's own catalogue of the system, else the copy the program carries (Windows).
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QStringLiteral("qt_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || traduction->load(QStringLiteral("qtbase_fr"), QStringLiteral(":/traductions")))
        QApplication::installTranslator(traduction);
    QApplication::installTranslator(new ComplementFrancais(&application));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QApplication::setStyle(new StyleDazozare); // before the font, which a new style may reset
    QApplication::setFont(police(Face::MsSansSerif, 8.25));
}

void relieMenus(Ondagramm& fenetre, Plateforme& plateforme)
{
    QObject::connect(&fenetre, &Ondagramm::quitterDemande, &quitte);
    // The window exists only while open; a second command brings the same one forward.
    // Coming back from it runs the main window's activation.
    QObject::connect(&fenetre, &Ondagramm::proposDemande, &fenetre,
                     [&fenetre, &plateforme] { fenetre.suitFenetre(montreAPropos(plateforme)); });
    QObject::connect(&fenetre, &Ondagramm::aideDemandee, &fenetre,
                     [&fenetre, &plateforme] { montreAide(plateforme, &fenetre); });
}

void quitte() { QCoreApplication::exit(0); }

} // namespace dz
