#!/usr/bin/env bash
# Installs the built program for the current user: ~/.local/share/dazozare (a folder the
# user can write, where the directory file will live) and an entry in the desktop's menu.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
cmake --install "${BUILD_DIR:-$top/build}" --prefix "$data/dazozare" >/dev/null
mkdir -p "$data/applications"
cp "$data/dazozare/dazozare.desktop" "$data/applications/dazozare.desktop"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
echo "Dazozare est installé dans $data/dazozare et figure dans le menu des applications."
