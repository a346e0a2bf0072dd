#!/usr/bin/env bash
# Builds once, from Debian's own qt6-base source, a static Qt 6.4.2 for 64-bit Windows (MinGW-w64),
# and keeps it in a cache outside the repository. The cache folder is the last line of stdout
# (everything else goes to stderr), so a caller can do: qt=$(scripts/windows/build-qt.sh | tail -n1)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
prefix=${DZ_QT_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/dazozare/qt-6.4.2-mingw64-static}
work=${DZ_QT_WORK:-$prefix-work}
stamp=$prefix/.dazozare-qt-ok
qt_version=6.4.2

say() { echo "$*" >&2; }

# The stamp is written last, so an interrupted install is never taken for a finished one.
if [ -x "$prefix/bin/qt-cmake" ] && [ -f "$stamp" ]; then
  say "Qt statique pour Windows déjà prêt dans $prefix"
  echo "$prefix"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
need_root() {
  [ -z "$sudo" ] || command -v sudo >/dev/null || { say "Il faut être root (ou avoir sudo) pour : $*"; exit 1; }
}

# Debian's own moc, rcc and uic (same 6.4.2) serve as host tools, so only the Windows libraries are built.
"$here/../install-deps.sh" cmake ninja-build dpkg-dev \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev qt6-base-dev-tools >&2

# apt-get source needs a deb-src entry, which a stock Debian install lacks: one is made for each
# of the machine's own deb entries, so the sources come from wherever its packages do.
src_list() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done
  return 0
}
# deb822 stanzas are kept whole (a Signed-By may hold a key over several lines), only their Types changed.
src_sources() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk 'BEGIN { RS = "" }
      {
        n = split($0, ligne, "\n"); garde = ""; binaire = 0
        for (i = 1; i <= n; i++) {
          if (ligne[i] ~ /^#/) continue
          if (tolower(ligne[i]) ~ /^types:/) {
            if ((" " substr(ligne[i], 7) " ") ~ /[[:space:]]deb[[:space:]]/) binaire = 1
            ligne[i] = "Types: deb-src"
          }
          garde = garde ligne[i] "\n"
        }
        if (binaire) printf "%s\n", garde
      }' "$f"
  done
  return 0
}
if ! apt-cache showsrc qt6-base >/dev/null 2>&1; then
  need_root "ajouter les sources des paquets (deb-src)"
  say "Ajout des paquets sources (deb-src) à apt, d'après les entrées deb de la machine"
  lignes=$(src_list)
  strophes=$(src_sources)
  [ -n "$lignes$strophes" ] || { say "Aucune entrée deb dans les sources d'apt : impossible d'ajouter deb-src"; exit 1; }
  [ -z "$lignes" ] || printf '%s\n' "$lignes" | $sudo tee /etc/apt/sources.list.d/dazozare-src.list >/dev/null
  [ -z "$strophes" ] || printf '%s\n' "$strophes" | $sudo tee /etc/apt/sources.list.d/dazozare-src.sources >/dev/null
  $sudo apt-get update -qq
  apt-cache showsrc qt6-base >/dev/null 2>&1 || { say "apt ne trouve toujours pas les sources de qt6-base"; exit 1; }
fi

say "Construction de Qt $qt_version statique pour Windows dans $prefix"
say "La première fois, cela prend de 20 à 30 minutes (2 cœurs) ; les fois suivantes, c'est immédiat."

mkdir -p "$work" "$prefix"
log=$work/build.log
: >"$log"
say "Journal : $log"
fail() {
  say "Échec : $1 (dernières lignes du journal $log)"
  tail -n 30 "$log" >&2
  exit 1
}

# A source tree left by an interrupted run is reused; dpkg-source applies Debian's patches.
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
if [ -z "$src" ]; then
  say "Téléchargement des sources Debian de qt6-base…"
  (cd "$work" && apt-get source -qq qt6-base) >>"$log" 2>&1 || fail "apt-get source qt6-base"
  src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
  [ -n "$src" ] || fail "Debian ne fournit plus qt6-base $qt_version"
fi

# Qt's qt.toolchain.cmake remembers this path; a copy in the cache keeps it valid wherever the repository goes.
cp "$here/mingw-toolchain.cmake" "$prefix/mingw-toolchain.cmake"

# tabletevent: Debian's tarball drops src/3rdparty/wintab, which the Windows plugin would need.
# OpenGL stays on (dynamic on Windows): with it off, 6.4.2's Windows plugin does not compile.
configure_flags=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-toolchain.cmake"
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_tabletevent=OFF
)
say "Configuration…"
cmake -S "$src" -B "$work/build" "${configure_flags[@]}" >>"$log" 2>&1 || fail "configuration"

say "Compilation (ninja)…"
cmake --build "$work/build" -- -j"${DZ_QT_JOBS:-$(nproc)}" >>"$log" 2>&1 || fail "compilation"

say "Installation…"
cmake --install "$work/build" >>"$log" 2>&1 || fail "installation"

# The program links these; better to fail here than in its own Windows build.
for m in Core Gui Widgets PrintSupport Test; do
  [ -f "$prefix/lib/libQt6$m.a" ] || fail "libQt6$m.a manque après l'installation"
done

cp "$log" "$prefix/build.log"
{
  echo "qt6-base Debian : $(basename "$src")"
  echo "construit le : $(date -u +%Y-%m-%dT%H:%M:%SZ)"
  echo "options : ${configure_flags[*]}"
} >"$stamp"
# The build tree weighs gigabytes and is useless once installed.
[ -n "${DZ_QT_KEEP_WORK:-}" ] || rm -rf "$work"

say "Qt statique pour Windows prêt dans $prefix"
echo "$prefix"
