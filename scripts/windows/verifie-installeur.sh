#!/usr/bin/env bash
# The Windows installer in a fresh Wine prefix, silent, as a user without administrator rights:
# the install, its Start-menu shortcut and its entry among the installed programs; a directory
# written beside the program; a repair; an upgrade to a rebuilt higher version; an older version
# refused; the removal, which leaves trivo.dat and its lock as they were, and nothing else.
# verifie-installeur.sh <Windows build folder>
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
windows=$(cd "$1" && pwd)
version=$(sed -n 's/^project(Dazozare VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
suivante=${version%.*}.$((${version##*.} + 1))
installeur=$windows/Dazozare-$version-windows-x64.exe
[ -f "$installeur" ] || { echo "Pas d'installeur : $installeur"; exit 1; }

racine=$(mktemp -d)
# No Mono or Gecko prompt, and no menu entry or icon copied out into the Linux desktop.
export WINEPREFIX=$racine/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$racine"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export LC_ALL=C.UTF-8 # file lists in one order
wine=/usr/lib/wine/wine64
echoue() { echo "Installeur : $*"; exit 1; }
lance() { "$wine" "$@"; local rc=$?; /usr/lib/wine/wineserver -w; return $rc; }

"$wine" wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
variable() { "$wine" cmd /c echo "%$1%" | tr -d '\r'; }
unix() { realpath -m "$("$wine" winepath -u "$1" | tr -d '\r')"; }
programmeW="$(variable LOCALAPPDATA)\\Programs\\Dazozare"
programme=$(unix "$programmeW")
menu=$(unix "$(variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")/Dazozare.lnk
cle='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dazozare'
desinstalleur="Désinstaller Dazozare.exe"
# The entry's values, one "name"=value a line; fails when there is no entry.
entree() {
  "$wine" reg export "$cle" "$("$wine" winepath -w "$racine/entree.reg" | tr -d '\r')" /y \
    >/dev/null 2>&1 || return 1
  iconv -f UTF-16 -t UTF-8 "$racine/entree.reg" | tr -d '\r'
}
valeur() { entree | sed -n "s/^\"$1\"=//p"; }
# Windows writes "\\" for "\" and quotes strings in a .reg file.
chaine() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }

# What each installer must put there: the built program stripped, and the help.
mkdir -p "$racine/charge-$version" "$racine/charge-$suivante"
x86_64-w64-mingw32-strip -o "$racine/charge-$version/Dazozare.exe" "$windows/Dazozare.exe"
cp "$windows/Dazozare.hlp" "$racine/charge-$version/"
cp "$racine/charge-$version/Dazozare.exe" "$racine/charge-$suivante/"
{ cat "$windows/Dazozare.hlp"; echo "<!-- $suivante -->"; } >"$racine/charge-$suivante/Dazozare.hlp"
# Two programs the same but for what each strip writes anew into the PE header: the time stamp
# and the checksum.
pareils() {
  local pe
  pe=$(($(od -An -tu4 -j60 -N4 "$1") + 1))
  [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] && { cmp -l "$1" "$2" || true; } \
    | awk -v t=$((pe + 8)) -v c=$((pe + 88)) '($1 < t || $1 >= t + 4) && ($1 < c || $1 >= c + 4) { n++ } END { exit n > 0 }'
}
installe_comme() { # <version>: the files, the shortcut and the entry of that version
  local v=$1
  [ "$(ls "$programme" | grep -vx 'trivo\.dat\(\.lock\)\?' | tr '\n' '/')" = "Dazozare.exe/Dazozare.hlp/$desinstalleur/" ] \
    || echoue "dossier du programme en $v : $(ls "$programme" | tr '\n' ' ')"
  pareils "$racine/charge-$v/Dazozare.exe" "$programme/Dazozare.exe" \
    || echoue "Dazozare.exe installé n'est pas celui de la version $v"
  cmp -s "$racine/charge-$v/Dazozare.hlp" "$programme/Dazozare.hlp" \
    || echoue "Dazozare.hlp installé n'est pas celui de la version $v"
  [ -f "$menu" ] || echoue "pas de raccourci Dazozare dans le menu Démarrer"
  # The target (in the link's ASCII part) and the icon (its Unicode strings): the program itself.
  strings -a "$menu" | grep -qxF "$programmeW\\Dazozare.exe" || echoue "le raccourci ne lance pas $programmeW\\Dazozare.exe"
  strings -a -el "$menu" | grep -qF "$programmeW\\Dazozare.exe" || echoue "le raccourci n'a pas l'icône du programme"
  entree >/dev/null || echoue "pas d'entrée parmi les programmes installés ($cle)"
  [ "$(valeur DisplayName)" = '"Dazozare"' ] || echoue "nom affiché : $(valeur DisplayName)"
  [ "$(valeur DisplayVersion)" = "\"$v\"" ] || echoue "version affichée : $(valeur DisplayVersion)"
  [ "$(valeur Publisher)" = '"Calvéo"' ] || echoue "éditeur : $(valeur Publisher)"
  [ "$(valeur DisplayIcon)" = "$(chaine "$programmeW\\Dazozare.exe,0")" ] || echoue "icône : $(valeur DisplayIcon)"
  [ "$(valeur UninstallString)" = "$(chaine "\"$programmeW\\$desinstalleur\"")" ] \
    || echoue "commande de désinstallation : $(valeur UninstallString)"
  local taille kio
  taille=$(valeur EstimatedSize)
  kio=$(( ($(stat -c %s "$programme/Dazozare.exe") + $(stat -c %s "$programme/Dazozare.hlp")) / 1024 ))
  [[ $taille == dword:* ]] && (( 16#${taille#dword:} >= kio && 16#${taille#dword:} <= kio + 2 )) \
    || echoue "taille annoncée $taille pour $kio Kio de fichiers"
}

lance "$installeur" /S || echoue "l'installation silencieuse a échoué ($?)"
installe_comme "$version"

# A person written by the suite's directory test, run from the program's folder as this user,
# and the lock a program leaves beside the file.
cp "$windows/tests/test_annuaire.exe" "$programme/"
"$top/scripts/windows/wine-test.sh" "$programmeW\\test_annuaire.exe" --ajoute "$programmeW" \
  "Duvoro Zidu" 03/11/1975 >/dev/null || echoue "l'essai de l'annuaire a échoué dans le dossier du programme"
rm "$programme/test_annuaire.exe"
[ -s "$programme/trivo.dat" ] || echoue "pas d'annuaire écrit dans le dossier du programme"
: >"$programme/trivo.dat.lock"
cp "$programme/trivo.dat" "$racine/trivo.dat"
annuaire_intact() {
  cmp -s "$racine/trivo.dat" "$programme/trivo.dat" || echoue "trivo.dat a changé $1"
  [ -f "$programme/trivo.dat.lock" ] || echoue "trivo.dat.lock a disparu $1"
}

# Same version again: a repair.
rm "$programme/Dazozare.hlp" "$menu"
lance "$installeur" /S || echoue "réinstaller la même version a échoué ($?)"
installe_comme "$version"
annuaire_intact "à la réparation"

# Upgrade, from the same source rebuilt as the next version.
makensis -V1 -WX -INPUTCHARSET UTF8 -DVERSION="$suivante" -DCHARGE="$racine/charge-$suivante" \
  -DSORTIE="$racine/Dazozare-$suivante.exe" "$windows/packaging/windows/dazozare.nsi" >/dev/null
lance "$racine/Dazozare-$suivante.exe" /S || echoue "la mise à jour a échoué ($?)"
installe_comme "$suivante"
annuaire_intact "à la mise à jour"

# An older version over a newer one: refused, nothing changed.
avant=$( (cd "$programme" && md5sum ./*; md5sum "$menu"; entree) )
if lance "$installeur" /S; then echoue "la version $version a remplacé la $suivante"; fi
[ "$( (cd "$programme" && md5sum ./*; md5sum "$menu"; entree) )" = "$avant" ] \
  || echoue "l'installation refusée a changé quelque chose"

# Removal, by the command the list of installed programs gives for a silent one.
[ "$(valeur QuietUninstallString)" = "$(chaine "\"$programmeW\\$desinstalleur\" /S")" ] \
  || echoue "commande de désinstallation silencieuse : $(valeur QuietUninstallString)"
lance "$programmeW\\$desinstalleur" /S || echoue "la désinstallation a échoué ($?)"
annuaire_intact "à la désinstallation"
[ "$(ls "$programme" | tr '\n' ' ')" = "trivo.dat trivo.dat.lock " ] || echoue "reste : $(ls "$programme" | tr '\n' ' ')"
[ ! -e "$menu" ] || echoue "le raccourci reste"
if entree >/dev/null; then echoue "l'entrée parmi les programmes installés reste"; fi
restes=$(find "$WINEPREFIX/drive_c" -ipath '*dazozare*' ! -path "$programme" ! -path "$programme/trivo.dat*")
[ -z "$restes" ] || echoue "reste : $restes"
! grep -qi dazozare "$WINEPREFIX/user.reg" || echoue "reste dans le registre : $(grep -i dazozare "$WINEPREFIX/user.reg")"
echo "Installeur vérifié : installation, réparation, mise à jour en $suivante, refus de la $version, désinstallation ; annuaire intact ($(stat -c %s "$installeur") octets)."
