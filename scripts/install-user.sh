#!/usr/bin/env bash
# Installs the built program for the current user: the program, its help and its icon in
# ~/.local/share/dazozare (its directory file "trivo.dat" is then kept beside it) and an entry
# in the desktop's menu. scripts/uninstall-user.sh takes them away again.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
donnees=${XDG_DATA_HOME:-$HOME/.local/share}
dossier=$donnees/dazozare
if [ ! -x "$build/dazozare" ]; then
  echo "Dazozare n'est pas construit dans $build : lancez d'abord bash scripts/build.sh" >&2
  exit 1
fi
mkdir -p "$dossier" "$donnees/applications"
install -m 755 "$build/dazozare" "$dossier/dazozare"
install -m 644 "$build/Dazozare.hlp" "$dossier/Dazozare.hlp"
install -m 644 "$top/resources/ondagramme.svg" "$dossier/dazozare.svg"

# The menu entry holds the program's path quoted as an argument (\ " ` $ escaped, then every
# backslash doubled as in any value, % doubled) and the icon's as a plain value, so that spaces
# and accents in the home path work.
argument=$dossier/dazozare
argument=${argument//\\/\\\\}; argument=${argument//\"/\\\"}
argument=${argument//\`/\\\`}; argument=${argument//\$/\\\$}
argument=${argument//\\/\\\\}; argument=${argument//%/%%}
icone=$dossier/dazozare.svg
icone=${icone//\\/\\\\}
entree=$(<"$top/packaging/dazozare.desktop.in")
entree=${entree//@DZ_EXEC@/"\"$argument\""}
entree=${entree//@DZ_ICON@/"$icone"}
printf '%s\n' "$entree" > "$donnees/applications/dazozare.desktop"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$donnees/applications" || true
echo "Dazozare est installé dans $dossier et figure dans le menu des applications."
