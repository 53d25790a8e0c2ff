#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer, or when a Qt-free file includes a
# header of a views/ or qt/ subfolder. Layers, lowest first; the window models are peers:
#   text, files, settings, ports, media, forms, controls,
#   (player cd_windows midi_windows windows), desktop, app
#   check_layers.sh <src folder>
set -u
src=${1:?usage: check_layers.sh <src folder>}

declare -A layer=([text]=0 [files]=1 [settings]=2 [ports]=3 [media]=4 [forms]=5 [controls]=6
    [player]=7 [cd_windows]=7 [midi_windows]=7 [windows]=7 [desktop]=8 [app]=9)

# The player's entry (app/tobira) is built on the Qt side too.
is_qt_side() { [[ "$1" =~ /(views|qt)/ || "$1" == /app/tobira/* ]]; }

faults=0
# One pass of grep over the tree: "file:header" for every quoted include.
while IFS=: read -r file header; do
    rel=${file#"$src"/}
    room=${rel%%/*}
    own=${layer[$room]:-}
    if [[ -z "$own" ]]; then
        echo "$rel: the folder $room has no layer"
        faults=$((faults + 1))
        continue
    fi
    [[ "$header" == */* ]] || continue
    theirs=${layer[${header%%/*}]:-}
    [[ -n "$theirs" ]] || continue
    if ((theirs > own)); then
        echo "$rel includes $header: ${header%%/*} is above $room"
        faults=$((faults + 1))
    elif ! is_qt_side "/$rel" && is_qt_side "/$header"; then
        echo "$rel includes $header: a Qt-free file includes a view"
        faults=$((faults + 1))
    fi
done < <(grep -rHo --include='*.h' --include='*.cpp' '^#include "[^"]*"' "$src" |
    sed 's/:#include "\(.*\)"$/:\1/')

if ((faults > 0)); then
    echo "$faults includes run against the layer order"
    exit 1
fi
echo "every include runs down the layer order"
