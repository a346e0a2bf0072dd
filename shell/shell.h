#pragma once
// What the main window's menu bar calls: "A propos", "Aide" and "Quitter".

#include "shell/aide.h"     // montreAide(Plateforme&, QWidget*)
#include "shell/frmabout.h" // montreAPropos(Plateforme&), frmAbout::fermee()

// The "Quitter" command: ends the event loop at once with status 0. No window is asked to
// close and none receives a close event, whatever is open.
void quitte();
