#include "app/programme.h"

#include "mainwindow/ondagramm.h"
#include "platform/identite.h"
#include "shell/aide.h"
#include "shell/frmabout.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dz {

void prepareApplication(QApplication& application)
{
    QApplication::setApplicationName(Identite::titre());
    QApplication::setApplicationVersion(Identite::version());
    // The standard dialogs (printer, message box buttons) speak French like the rest.
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QStringLiteral("qtbase_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traduction);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
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
