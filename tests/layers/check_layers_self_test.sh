#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check must catch an upward include in every spelling, a core file that includes a
# view, an include that climbs out with "../", and a part of media that reaches the sound output.
set -u
check=$(dirname "$0")/check_layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/settings" "$tree/player/views" "$tree/media/cd" "$tree/media/output"
printf '#pragma once\n' >"$tree/player/form_main.h"
printf '#pragma once\n' >"$tree/player/views/form_main_widget.h"
printf '#pragma once\n' >"$tree/media/output/sdl_out.h"
printf '#include "settings/keys.h"\n' >"$tree/media/device.cpp"
clean='#pragma once\n'
printf "$clean" >"$tree/settings/keys.h"
bash "$check" "$tree" >/dev/null || { echo "a clean tree was refused"; exit 1; }

# "file|line written into it|what it is"
cases=(
    'settings/keys.h|#include "player/form_main.h"|an upward include'
    'settings/keys.h|#include <player/form_main.h>|an upward include in angle brackets'
    'settings/keys.h|  #  include "player/form_main.h"|an indented upward include'
    'settings/keys.h|#include "../player/form_main.h"|an include that climbs out'
    'player/form_main.h|#include "player/views/form_main_widget.h"|a core file including a view'
    'media/cd/reader.cpp|#include "media/output/sdl_out.h"|the CD reaching the sound output'
)
for case in "${cases[@]}"; do
    IFS='|' read -r file line what <<<"$case"
    printf '%s\n' "$line" >"$tree/$file"
    if bash "$check" "$tree" >/dev/null; then
        echo "$what passed"
        exit 1
    fi
    rm -f "$tree/$file"
    printf "$clean" >"$tree/settings/keys.h"
    printf "$clean" >"$tree/player/form_main.h"
done
echo "the layer check catches every case"
