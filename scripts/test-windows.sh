#!/usr/bin/env bash
# Cross-builds the Windows program, its installer and its tests, runs the tests under Wine,
# headless (the directory's byte tables among them: the same bytes as on Linux), then puts the
# installer through install, repair, upgrade, downgrade and removal.
# Skipped under Wine, as Windows has no such thing: the file-size-limit rows, the named-pipe
# row, and the PDF read-back rows (no poppler in the Windows build).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
windows=${WINDOWS_BUILD_DIR:-$top/build-windows}
"$top/scripts/install-deps.sh" wine64 fonts-liberation binutils
BUILD_TESTING=ON "$top/scripts/build-windows.sh" >/dev/null
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/dazozare/wine}
# No Mono or Gecko prompt, and no menu entry or icon copied out into the Linux desktop.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# Headless: the offscreen platform, no display for Wine either; it reads fonts from a folder.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/liberation
(cd "$windows" && ctest --output-on-failure -j"$(nproc)")

bash "$top/scripts/windows/verifie-installeur.sh" "$windows"
