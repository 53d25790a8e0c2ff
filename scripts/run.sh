#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds, and starts the player. Without a CD drive the player gets the
# project's own demo disc image as its CD for this run; the settings file is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --player
scripts/build.sh
if [ -z "${TOBIRA_CDDEVICE:-}" ] && [ ! -e /dev/cdrom ] && ! compgen -G "/dev/sr[0-9]*" >/dev/null; then
    demo="$PWD/build/demo-disc/tobira-demo.cue"
    if [ ! -e "$demo" ] || [ build/src/tobira-demo-disc -nt "$demo" ]; then
        build/src/tobira-demo-disc build/demo-disc >/dev/null
    fi
    echo "No CD drive found: the demo disc $demo plays as the CD."
    export TOBIRA_CDDEVICE="$demo"
fi
exec build/src/tobira
