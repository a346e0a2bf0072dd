#!/usr/bin/env bash
# The Debian package of a build: what it holds, and what lintian says of it.
# verifie-paquet.sh <build folder>; exits 77 (skipped) where dpkg-deb is missing.
set -euo pipefail
build=$1
command -v dpkg-deb >/dev/null || { echo "dpkg-deb absent : vérification sautée"; exit 77; }
sortie=$(mktemp -d)
trap 'rm -rf "$sortie"' EXIT
(cd "$build" && cpack -G DEB -B "$sortie" >/dev/null)
paquet=$(ls "$sortie"/*.deb)
contenu=$(dpkg-deb -c "$paquet")
for chemin in usr/bin/dazozare usr/share/dazozare/Dazozare.hlp usr/share/applications/dazozare.desktop \
              usr/share/man/man1/dazozare.1.gz usr/share/doc/dazozare/copyright \
              usr/share/doc/dazozare/changelog.gz; do
  grep -q " \./$chemin\$" <<<"$contenu" || { echo "manque dans le paquet : /$chemin"; exit 1; }
done
dpkg-deb -x "$paquet" "$sortie/x"
programme=$sortie/x/usr/bin/dazozare
[ "$(head -c 4 "$programme" | od -An -c | tr -d ' ')" = '177ELF' ] || { echo "/usr/bin/dazozare n'est pas un programme ELF"; exit 1; }
if readelf -S "$programme" | grep -q '\.symtab'; then echo "/usr/bin/dazozare n'est pas dépouillé"; exit 1; fi
dpkg-deb -f "$paquet" Section | grep -qx science || { echo "section autre que science"; exit 1; }
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$paquet"
fi
echo "paquet vérifié : $(basename "$paquet")"
