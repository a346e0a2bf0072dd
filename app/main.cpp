#include "app/programme.h"
#include "mainwindow/ondagramm.h"
#include "platform/plateforme.h"
#include "shell/form0.h"
#include "shell/frmabout.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char* argv[])
{
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
