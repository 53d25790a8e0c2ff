#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer, or when a Qt-free file includes a
# header of a views/ or qt/ subfolder. Layers, lowest first; the window models are peers:
#   text, files, settings, ports, media, forms, controls,
#   (player cd_windows midi_windows windows), desktop, app
#   check_layers.sh <src folder>
set -u
src=${1:?usage: check_layers.sh <src folder>}

layer_of() {
    case "$1" in
        text) echo 0 ;; files) echo 1 ;; settings) echo 2 ;; ports) echo 3 ;; media) echo 4 ;;
        forms) echo 5 ;; controls) echo 6 ;;
        player | cd_windows | midi_windows | windows) echo 7 ;;
        desktop) echo 8 ;; app) echo 9 ;;
        *) echo "" ;;
    esac
}

# The player's entry (app/tobira) is built on the Qt side too.
is_qt_side() { [[ "$1" =~ /(views|qt)/ || "$1" == /app/tobira/* ]]; }

faults=0
while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    room=${rel%%/*}
    own=$(layer_of "$room")
    if [[ -z "$own" ]]; then
        echo "$rel: the folder $room has no layer"
        faults=$((faults + 1))
        continue
    fi
    while IFS= read -r header; do
        target=${header%%/*}
        [[ "$header" == */* ]] || continue
        theirs=$(layer_of "$target")
        [[ -n "$theirs" ]] || continue
        if ((theirs > own)); then
            echo "$rel includes $header: $target is above $room"
            faults=$((faults + 1))
        elif ! is_qt_side "/$rel" && is_qt_side "/$header"; then
            echo "$rel includes $header: a Qt-free file includes a view"
            faults=$((faults + 1))
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.h' -print0 -o -name '*.cpp' -print0)

if ((faults > 0)); then
    echo "$faults includes run against the layer order"
    exit 1
fi
echo "every include runs down the layer order"
