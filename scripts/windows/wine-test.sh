#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (its cross-compiling emulator). Wine hands a
# program only the QT_* variables given as WINEQT_*; Qt's messages go to stderr, not to the
# debugger.
for variable in $(compgen -e | grep '^QT_'); do
  export "WINE$variable=${!variable}"
done
export WINEQT_FORCE_STDERR_LOGGING=1 WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"
