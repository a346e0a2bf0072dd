#!/usr/bin/env bash
# Plants, one at a time, the small faults listed in scripts/mutants.txt, rebuilds, runs the suite
# and tells which faults it caught. Not part of CI: about a minute a fault. Each file is restored
# from a copy kept outside the project, whatever happens.
#   bash scripts/mutants.sh [list]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
liste=${1:-$top/scripts/mutants.txt}
build=${BUILD_DIR:-$top/build-mutants}
copies=$(mktemp -d)
courant=""
restaure() { [ -z "$courant" ] || cp "$copies/original" "$top/$courant"; courant=""; }
trap 'restaure; rm -rf "$copies"' EXIT
"$top/scripts/install-deps.sh"
BUILD_DIR=$build "$top/scripts/build.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
# Only the C++ suites: the package and install checks do not read the code.
suite() { (cd "$build" && ctest -j"$(nproc)" --stop-on-failure -E 'paquet|installation|graphe|format|entree|description' >/dev/null 2>&1); }
suite || { echo "La suite échoue sans faute plantée : rien à mesurer." >&2; exit 1; }

total=0; pris=0; manques=()
plante() { # file, before, after, why
  local fichier=$1 avant=$2 apres=$3 pourquoi=$4 texte
  total=$((total + 1))
  texte=$(cat "$top/$fichier"; printf x); texte=${texte%x}
  local sans=${texte//"$avant"/}
  if [ $(( (${#texte} - ${#sans}) / ${#avant} )) -ne 1 ]; then
    echo "✗ $fichier : le texte « $avant » n'y figure pas une seule fois" >&2; exit 1
  fi
  courant=$fichier
  cp "$top/$fichier" "$copies/original"
  printf '%s' "${texte/"$avant"/"$apres"}" >"$top/$fichier"
  if ! cmake --build "$build" -j"$(nproc)" >/dev/null 2>&1 || ! suite; then
    pris=$((pris + 1)); echo "attrapée : $pourquoi"
  else
    manques+=("$fichier : $pourquoi"); echo "MANQUÉE  : $pourquoi"
  fi
  restaure
}

# A fault's lines: "- " the text as it is, "+ " the fault, each over one or more lines.
pourquoi=""; fichier=""; avant=""; apres=""; dans=""
fin_de_faute() {
  [ -z "$dans" ] || plante "$fichier" "$avant" "$apres" "$pourquoi"
  avant=""; apres=""; dans=""
}
while IFS= read -r ligne || [ -n "$ligne" ]; do
  case $ligne in
    "# "*) fin_de_faute; pourquoi=${ligne#"# "} ;;
    "- "*) avant+=${avant:+$'\n'}${ligne#"- "}; dans=1 ;;
    "+ "*) apres+=${apres:+$'\n'}${ligne#"+ "}; dans=1 ;;
    "") fin_de_faute ;;
    *) fin_de_faute; fichier=$ligne ;;
  esac
done <"$liste"
fin_de_faute
cmake --build "$build" -j"$(nproc)" >/dev/null # the build as it is, for the next run
echo "$pris of $total caught"
for m in "${manques[@]}"; do echo "missed: $m"; done
[ "$pris" -eq "$total" ]
