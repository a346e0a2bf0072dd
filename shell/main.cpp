#include "mainwindow/ondagramm.h"
#include "platform/plateforme.h"
#include "shell/form0.h"
#include "shell/frmabout.h"
#include "shell/identite.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Identite::titre());
    QApplication::setApplicationVersion(Identite::version());

    // The standard dialogs (printer, message box buttons) speak French like the rest.
    QTranslator traductionQt;
    if (traductionQt.load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traductionQt);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    PlateformeQt plateforme;
    QPointer<Ondagramm> principale;

    // The splash owns itself: it closes and discards itself on its tick, then the main
    // window is made, so its load runs with the splash gone.
    auto* splash = new Form0([&] {
        principale = new Ondagramm(plateforme);
        principale->setAttribute(Qt::WA_DeleteOnClose);
        principale->show();
    });
    splash->show();

    const int fin = QApplication::exec();

    // Windows still open when "Quitter" ended the loop go before the platform they use.
    delete frmAbout::ouvert();
    delete principale.data();
    return fin;
}
