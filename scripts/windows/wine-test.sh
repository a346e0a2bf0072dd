#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (its cross-compiling emulator). Wine hands a
# program only the QT_* variables given as WINEQT_*; Qt's messages go to stderr, not to the
# debugger. The output goes through a file: Wine's helpers, started by whichever program needs
# them first, inherit its output and outlive it, and ctest would wait on a pipe they hold.
for variable in $(compgen -e | grep '^QT_'); do
  export "WINE$variable=${!variable}"
done
export WINEQT_FORCE_STDERR_LOGGING=1 WINEDEBUG=${WINEDEBUG:--all}
sortie=$(mktemp)
trap 'rm -f "$sortie"' EXIT
rc=0
/usr/lib/wine/wine64 "$@" >"$sortie" 2>&1 </dev/null || rc=$?
cat "$sortie"
exit "$rc"
