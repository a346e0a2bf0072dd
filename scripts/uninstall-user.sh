#!/usr/bin/env bash
# Takes away what scripts/install-user.sh put in place, and nothing else: the directory file
# "trivo.dat", which holds the user's people, stays where it is.
set -euo pipefail
donnees=${XDG_DATA_HOME:-$HOME/.local/share}
dossier=$donnees/dazozare
rm -f "$donnees/applications/dazozare.desktop" \
      "$dossier/dazozare" "$dossier/Dazozare.hlp" "$dossier/dazozare.svg"
rmdir "$dossier" 2>/dev/null || true
command -v update-desktop-database >/dev/null && update-desktop-database -q "$donnees/applications" || true
if [ -e "$dossier/trivo.dat" ]; then
  echo "Dazozare est désinstallé. L'annuaire est conservé dans $dossier/trivo.dat."
else
  echo "Dazozare est désinstallé."
fi
