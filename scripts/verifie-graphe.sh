#!/usr/bin/env bash
# The build graph tells the truth: each library in CMakeLists.txt links exactly the project
# libraries whose headers its sources include.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
faux=0
for dossier in core directory platform chart print mainwindow shell app; do
  # The libraries stand on the first line of each dz_library(...) call.
  declares=$(grep -E "^dz_library\($dossier( |$)" "$top/CMakeLists.txt" | grep -oE 'dz_[a-z]+' \
             | sed 's/^dz_//' | { grep -v -x -e library -e "$dossier" || true; } | sort -u | tr '\n' ' ')
  inclus=$(grep -ho '#include "[a-z]*/' "$top/$dossier"/*.cpp "$top/$dossier"/*.h \
           | sed 's/#include "//; s|/$||' | { grep -v -x "$dossier" || true; } | sort -u | tr '\n' ' ')
  if [ "$declares" != "$inclus" ]; then
    echo "$dossier : lie [ $declares] mais inclut [ $inclus]"
    faux=1
  fi
done
exit $faux
