#pragma once
// The program put together: the application's settings, and the main window's menu wired to
// the shell's windows.

class QApplication;

namespace dz {

class Ondagramm;
class Plateforme;

// A file-size limit reported, not fatal. Name, version, French texts for Qt's own dialogs, French
// locale, the windows' face for the whole program, dialog buttons without pictures.
void prepareApplication(QApplication& application);

// "Quitter", "A propos" and "Aide" of the main window's menu bar.
void relieMenus(Ondagramm& fenetre, Plateforme& plateforme);

// "Quitter": ends the event loop at once with status 0. No window is asked to close and none
// receives a close event (in Qt 6, quit() would first offer every window a close event).
void quitte();

} // namespace dz
