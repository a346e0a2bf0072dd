#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the tests need; or,
# given package names, those of them that are missing.
set -euo pipefail

packages=("$@")
[ $# -gt 0 ] || packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-translations-l10n qt6-qpa-plugins
  libbenchmark-dev
  fontconfig fonts-liberation fonts-dejavu-core
  xvfb xauth poppler-utils
  desktop-file-utils appstream python3-gi gir1.2-glib-2.0
  dpkg-dev lintian
  clang libclang-rt-14-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Il faut être root (ou avoir sudo) pour installer : ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installation de : ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
