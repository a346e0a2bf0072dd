#!/usr/bin/env bash
# Fails when a C++ file of the project has drifted from .clang-format.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
command -v clang-format >/dev/null || { echo "clang-format manque : bash scripts/install-deps.sh" >&2; exit 77; }
cd "$top"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t fichiers < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
else
  mapfile -t fichiers < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
clang-format --dry-run --Werror "${fichiers[@]}"
echo "${#fichiers[@]} fichiers C++ conformes à .clang-format."
