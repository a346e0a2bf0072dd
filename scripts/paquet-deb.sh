#!/usr/bin/env bash
# Builds the Debian package (Release, stripped) into build-deb/ and has lintian check it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build-deb}
"$top/scripts/install-deps.sh"
BUILD_DIR=$build BUILD_TYPE=Release "$top/scripts/build.sh" -DBUILD_TESTING=OFF
(cd "$build" && cpack -G DEB >/dev/null)
paquet=$(ls -t "$build"/dazozare_*.deb | head -1)
echo "Paquet : $paquet"
lintian --info "$paquet" || true
