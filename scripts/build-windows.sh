#!/usr/bin/env bash
# Cross-builds Dazozare for 64-bit Windows into build-windows/ (or $WINDOWS_BUILD_DIR) and packs
# there Dazozare-<version>-windows-x64.zip and its installer, Dazozare-<version>-windows-x64.exe
# (their paths are the last two lines of stdout). The first run builds a static Qt once (20 to
# 30 minutes, kept in ~/.cache/dazozare); later runs reuse it. BUILD_TESTING=ON builds the tests too.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$top/build-windows}
"$top/scripts/install-deps.sh" cmake ninja-build g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 qt6-base-dev-tools qt6-translations-l10n librsvg2-bin icoutils zip nsis
qt=$("$top/scripts/windows/build-qt.sh" | tail -n1)
"$qt/bin/qt-cmake" -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=${BUILD_TESTING:-OFF} -DDZ_WERROR=${DZ_WERROR:-OFF} \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/windows/wine-test.sh" >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G ZIP >/dev/null)
paquet=$build/Dazozare-$(sed -n 's/^project(Dazozare VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")-windows-x64
echo "$paquet.zip"
echo "$paquet.exe"
