#!/usr/bin/env bash
# Installs what is missing, builds the program (only), and starts Dazozare.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
BUILD_TARGET=Dazozare "$top/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Aucun écran graphique (ni DISPLAY ni WAYLAND_DISPLAY) : Dazozare ne peut pas s'ouvrir ici." >&2
  exit 1
fi
exec "${BUILD_DIR:-$top/build}/dazozare"
