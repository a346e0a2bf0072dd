#include "mainwindow/ondagramm.h"
#include "platform/plateforme.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PlateformeQt plateforme;
    Ondagramm fenetre(plateforme);
    fenetre.show();
    return app.exec();
}
