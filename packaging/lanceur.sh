#!/bin/sh
# Dazozare keeps its directory file beside the program, so each user runs a private copy
# of the installed program from a folder of their own.
set -e
source_dir=$(dirname "$(readlink -f "$0")")/../lib/dazozare
user_dir=${XDG_DATA_HOME:-$HOME/.local/share}/dazozare
mkdir -p "$user_dir"
if ! cmp -s "$source_dir/Dazozare" "$user_dir/Dazozare"; then
  cp "$source_dir/Dazozare" "$user_dir/Dazozare.new" && mv "$user_dir/Dazozare.new" "$user_dir/Dazozare"
fi
cp "$source_dir/Dazozare.hlp" "$user_dir/Dazozare.hlp"
exec "$user_dir/Dazozare" "$@"
