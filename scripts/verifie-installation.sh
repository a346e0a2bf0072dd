#!/usr/bin/env bash
# The user install and uninstall from a home folder whose path has blanks and accents: the
# menu entry passes the desktop's checks and GLib loads it, the uninstall leaves trivo.dat.
# verifie-installation.sh <build folder>
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
racine=$(mktemp -d)
trap 'rm -rf "$racine"' EXIT
export HOME="$racine/Élise et \"Noé\" \$1"
unset XDG_DATA_HOME
mkdir -p "$HOME"
BUILD_DIR=$1 bash "$top/scripts/install-user.sh" >/dev/null
dossier=$HOME/.local/share/dazozare
entree=$HOME/.local/share/applications/dazozare.desktop
[ "$(ls "$dossier" | sort | tr '\n' ' ')" = "Dazozare.hlp dazozare dazozare.svg " ] || { echo "dossier du programme : $(ls "$dossier")"; exit 1; }
desktop-file-validate "$entree"
/usr/bin/python3 - "$entree" "$dossier" <<'PY'
import os, sys
from gi.repository import Gio, GLib
entree, dossier = sys.argv[1], sys.argv[2]
info = Gio.DesktopAppInfo.new_from_filename(entree)
assert info is not None, "GLib refuse l'entrée"
argv = GLib.shell_parse_argv(info.get_commandline())[1]
assert argv == [os.path.join(dossier, "dazozare")], argv
assert info.get_icon().get_file().get_path() == os.path.join(dossier, "dazozare.svg")
PY
printf 'nom=Ann;Naissan=01/01/1990\r\n' > "$dossier/trivo.dat"
bash "$top/scripts/uninstall-user.sh" >/dev/null
[ ! -e "$entree" ] || { echo "l'entrée du menu reste"; exit 1; }
[ "$(ls "$dossier")" = "trivo.dat" ] || { echo "reste : $(ls "$dossier")"; exit 1; }
echo "installation et désinstallation vérifiées"
