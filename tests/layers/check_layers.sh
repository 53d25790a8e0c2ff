#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes a header of a higher layer, when a Qt-free file includes a
# header of a views/ or qt/ subfolder, or when an include climbs out of its folder with "../".
# Every form counts: quoted or angled, indented, with blanks after the "#". Layers, lowest first;
# the window models are peers:
#   text, files, settings, ports, media, forms, controls,
#   (player cd_windows midi_windows windows), desktop, app
# Inside media the library loaders (media/loaders) are a room of their own, below the rest of
# media: of it they include only the device interface (its errors), and only the sound output's
# own files include media/output.
#   check_layers.sh <src folder>
set -u
src=${1:?usage: check_layers.sh <src folder>}

declare -A layer=([text]=0 [files]=1 [settings]=2 [ports]=3 [media]=4 [forms]=5 [controls]=6
    [player]=7 [cd_windows]=7 [midi_windows]=7 [windows]=7 [desktop]=8 [app]=9)

# The player's entry (app/tobira) is built on the Qt side too.
is_qt_side() { [[ "$1" =~ /(views|qt)/ || "$1" == /app/tobira/* ]]; }

faults=0
fault() {
    echo "$1"
    faults=$((faults + 1))
}

# One pass of grep over the tree: "file:header" for every include, quoted or angled.
while IFS=: read -r file header; do
    rel=${file#"$src"/}
    room=${rel%%/*}
    own=${layer[$room]:-}
    if [[ -z "$own" ]]; then
        fault "$rel: the folder $room has no layer"
        continue
    fi
    if [[ "$header" == ../* || "$header" == */../* ]]; then
        fault "$rel includes $header: a path that climbs out of its folder"
        continue
    fi
    [[ "$header" == */* ]] || continue
    theirs=${layer[${header%%/*}]:-}
    [[ -n "$theirs" ]] || continue
    if ((theirs > own)); then
        fault "$rel includes $header: ${header%%/*} is above $room"
    elif ! is_qt_side "/$rel" && is_qt_side "/$header"; then
        fault "$rel includes $header: a Qt-free file includes a view"
    elif [[ "$rel" == media/loaders/* && "$header" == media/* && "$header" != media/loaders/* &&
        "$header" != media/media_device.h ]]; then
        fault "$rel includes $header: the loaders stand below the rest of media"
    elif [[ "$rel" == media/* && "$rel" != media/output/* && "$header" == media/output/* ]]; then
        fault "$rel includes $header: only the sound output's own files include it"
    fi
done < <(grep -rHoE --include='*.h' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]*[">]' "$src" |
    sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">]$/:\1/')

if ((faults > 0)); then
    echo "$faults includes run against the layer order"
    exit 1
fi
echo "every include runs down the layer order"
