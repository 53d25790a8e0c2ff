#!/usr/bin/env bash
# The layer check must catch an upward include and a core file that includes a view.
set -u
check=$(dirname "$0")/check_layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/settings" "$tree/player/views" "$tree/media"
printf '#pragma once\n' >"$tree/player/form_main.h"
printf '#pragma once\n' >"$tree/player/views/form_main_widget.h"
printf '#include "settings/keys.h"\n' >"$tree/media/device.cpp"
printf '#pragma once\n' >"$tree/settings/keys.h"
bash "$check" "$tree" >/dev/null || { echo "a clean tree was refused"; exit 1; }
printf '#include "player/form_main.h"\n' >"$tree/settings/keys.h"
if bash "$check" "$tree" >/dev/null; then echo "an upward include passed"; exit 1; fi
printf '#pragma once\n' >"$tree/settings/keys.h"
printf '#include "player/views/form_main_widget.h"\n' >"$tree/player/form_main.h"
if bash "$check" "$tree" >/dev/null; then echo "a core file including a view passed"; exit 1; fi
echo "the layer check catches both"
