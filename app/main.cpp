#include "app/programme.h"
#include "mainwindow/ondagramm.h"
#include "platform/plateforme.h"
#include "shell/form0.h"
#include "shell/frmabout.h"

#include <QApplication>
#include <QPointer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
#ifdef Q_OS_WIN
    // Under Wine, Qt's GDI font engine drops the one-pixel stem of "I" ("mprimer", "Apropos" in
    // the menu bar); FreeType draws it. Windows itself keeps the native engine.
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
    QApplication application(argc, argv);
    dz::prepareApplication(application);

    dz::PlateformeQt plateforme;
    QPointer<dz::Ondagramm> principale;

    // The splash owns itself: it closes and discards itself on its tick, then the main
    // window is made, so its load runs with the splash gone.
    auto* splash = new dz::Form0([&] {
        principale = new dz::Ondagramm(plateforme);
        principale->setAttribute(Qt::WA_DeleteOnClose);
        dz::relieMenus(*principale, plateforme);
        principale->show();
    });
    splash->show();

    const int fin = QApplication::exec();

    // Windows still open when "Quitter" ended the loop go before the platform they use.
    delete dz::frmAbout::ouvert();
    delete principale.data();
    return fin;
}
