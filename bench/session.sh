#!/usr/bin/env bash
# Start-up time (process start to the splash on screen) and peak resident memory of a
# short session, under Xvfb: bench/session.sh [build folder] [runs, default 5].
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
programme=${1:-$top/build}/dazozare
tours=${2:-5}
command -v xdotool >/dev/null || { echo "xdotool manque (apt-get install xdotool)" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$programme" "$tours" <<'SESSION'
programme=$1; tours=$2
dossier=$(mktemp -d); cp "$programme" "$dossier/"
# One person on file, so that no notice stands in the way.
printf 'nom=Duvoro Zidu;Naissan=03/11/1975\r\n' > "$dossier/trivo.dat"
for i in $(seq "$tours"); do
  debut=$(date +%s%N)
  "$dossier/dazozare" 2>/dev/null & pid=$!
  until xdotool search --onlyvisible --name '^MORLANE$' >/dev/null 2>&1; do sleep 0.005; done
  fin=$(date +%s%N)
  echo "demarrage_ms $(( (fin - debut) / 1000000 ))"
  kill $pid; wait $pid 2>/dev/null || true
done
# One session: splash, main window, a computation, then the menu's Quitter.
/usr/bin/time -f "pic_memoire_ko %M" "$dossier/dazozare" 2>&1 | grep pic_memoire &
until xdotool search --onlyvisible --name '^Dazozare$' >/dev/null 2>&1; do sleep 0.1; done
sleep 0.5
fenetre=$(xdotool search --onlyvisible --name '^Dazozare$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$fenetre")"
xdotool mousemove $((X + 172)) $((Y + 87)) click 1 type --delay 30 '01/01/1970'
xdotool key Return; sleep 0.5
xdotool mousemove $((X + 30)) $((Y + 8)) click 1 # "Quitter", first in the menu bar
wait
rm -rf "$dossier"
SESSION
