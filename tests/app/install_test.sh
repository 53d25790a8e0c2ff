#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix, checks the desktop entry, the icons and the
# AppStream metainfo, then starts the installed program offscreen and checks that it keeps its
# files in the user's data folder, not beside the installed executable.
#   install_test.sh <build folder>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

test -x "$prefix/bin/tobira" || fail "no executable in bin/"
module=$(find "$prefix" -name tobira-fluidsynth.so -path '*/lib*/tobira/*')
test -n "$module" || fail "no synthesizer module in the library folder"

desktop=$prefix/share/applications/tobira.desktop
test -f "$desktop" || fail "no desktop entry"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1)
  [[ -z "$out" ]] || fail "desktop-file-validate: $out"
else
  echo "desktop-file-validate not installed: checking the keys only"
fi
for line in 'Name=TOBIRA' 'Exec=tobira %F' 'Icon=tobira' 'Type=Application' \
  'MimeType=audio/midi;audio/x-midi;audio/x-rmid;x-content/audio-cdda;'; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese name"
grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese comment"
grep -Eq '^Categories=.*Audio;.*Player;' "$desktop" || fail "categories lack Audio and Player"

icons=$prefix/share/icons/hicolor
test -s "$icons/scalable/apps/tobira.svg" || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/tobira.png
  test -s "$png" || fail "no ${size}px icon"
  # PNG signature, then the IHDR's width and height as big-endian 32-bit numbers.
  [[ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "$png is no PNG"
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
  [[ "$w" == "$size" && "$h" == "$size" ]] || fail "$png is ${w}x${h}"
done

metainfo=$prefix/share/metainfo/io.github.tobira.Tobira.metainfo.xml
test -f "$metainfo" || fail "no metainfo"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate failed"
elif command -v xmllint >/dev/null; then
  echo "appstreamcli not installed: checking that the metainfo is well-formed"
  xmllint --noout "$metainfo" || fail "metainfo is not well-formed XML"
else
  echo "neither appstreamcli nor xmllint installed: metainfo not checked"
fi

# The installed program, run by a user with an empty home. Its folder is writable for root, who
# runs this test in CI: the rule must still keep the files out of it.
home=$work/home
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
status=0
env -u TOBIRA_HOME -u XDG_DATA_HOME -u TOBIRA_CDDEVICE HOME="$home" XDG_RUNTIME_DIR="$work/run" \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  timeout 5 "$prefix/bin/tobira" >"$work/out.txt" 2>&1 || status=$?
[[ "$status" == 124 ]] || { cat "$work/out.txt"; fail "the installed program ended with $status"; }
data=$home/.local/share/tobira
for file in APPLAUSE.WAV GAKUFU_GM.MID GAKUFU_GS.MID GAKUFU_88.MID; do
  test -f "$data/$file" || fail "$file not in $data"
done
extra=$(ls "$prefix/bin" | tr '\n' ' ')
[[ "$extra" == "tobira tobira-inspect " ]] || fail "files beside the installed program: $extra"
"$prefix/bin/tobira-inspect" --version | grep -q '^tobira-inspect [0-9]' ||
  fail "tobira-inspect --version does not print the version"
test -f "$prefix/share/mime/packages/tobira.xml" || fail "no MIME type for .rmi files"
echo "install test passed"
