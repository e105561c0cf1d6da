#!/usr/bin/env bash
# Runs the real Windows build under Wine as a user would: the download,
# verrine-windows.zip, is unpacked into a folder whose path holds a space,
# and verrine.exe is started there. This script unpacks it, checks what it
# holds and makes a scratch Wine prefix; WINE_RUNS, the end-to-end driver's
# program for the Windows build (tests/windows/wine_runs.cpp and
# wine_tools.cpp), starts and drives verrine.exe and runs the tools. Run it
# under xvfb-run -a.
#   usage: run-wine-tests.sh VERRINE_WINDOWS_ZIP ARTEFACT_DIR WINE_RUNS
#
# The download: verrine.exe, verrine-check.exe, verrine-shot.exe,
# verrine-live.exe, resources/
# with the four shaders and the texture, README.txt, LICENSE.txt and
# THIRD-PARTY.txt, in one top folder.
# Screenshots, standard error and the console's text stay in ARTEFACT_DIR.
set -euo pipefail

[[ $# -eq 3 ]] || { echo "usage: $0 VERRINE_WINDOWS_ZIP ARTEFACT_DIR WINE_RUNS" >&2; exit 2; }
download=$(realpath "$1")
artefacts=$(mkdir -p "$2" && realpath "$2")
wine_runs=$(realpath "$3")
rm -f "$artefacts"/*.png "$artefacts"/*.txt

scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
# No Mono or Gecko installer: the viewer needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT

fail() { echo "windows-test: FAIL: $*" >&2; exit 1; }
note() { echo "windows-test: $*"; }

note "creating the Wine prefix"
wineboot -i >/dev/null 2>&1
# Windows 10's frame at 96 dpi instead of Wine's own, smaller one: a 4-pixel
# border plus 4 of padding, a 23-pixel caption, a 20-pixel menu bar (sizes in
# twips, -15 a pixel). The 500 x 495 window then has the client area it has
# on Windows 10, and the pictures can be laid over the Linux build's.
printf '%s\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]' \
  '"PaddedBorderWidth"="-60"' '"CaptionHeight"="-330"' '"MenuHeight"="-285"' >"$scratch/metrics.reg"
wine regedit /S "$scratch/metrics.reg" >/dev/null 2>&1
wineserver -w

# Unpacked as a user would, into a folder with a space in its name; the
# viewer starts in the download's top folder, the only thing in the zip.
unzip -q "$download" -d "$scratch/Verrine download"
run_dir=$(find "$scratch/Verrine download" -mindepth 1 -maxdepth 1)
[[ $(wc -l <<<"$run_dir") -eq 1 && -d "$run_dir" ]] || fail "the zip does not hold one top folder"
for file in verrine.exe verrine-check.exe verrine-shot.exe verrine-live.exe README.txt LICENSE.txt THIRD-PARTY.txt \
            resources/textures/stripes.raw \
            resources/shaders/{testVertex,testFragment,edgeVertex,edgeFragment}.txt; do
  [[ -s "$run_dir/$file" ]] || fail "the zip lacks $file"
done
note "the zip holds the four programs, README.txt, LICENSE.txt, THIRD-PARTY.txt and resources/; unpacked in \"${run_dir#"$scratch/"}\""

# The viewer's keys and Debug menu, the close request and a broken shader's
# report on cmd's console, each on an X server of its own; verrine-live.exe
# following saves; then the tools on the Linux tools' cases that hold on
# Windows (wine_runs.cpp).
note "verrine.exe, verrine-live.exe, verrine-check.exe and verrine-shot.exe"
VERRINE_WINE_FOLDER="$run_dir" VERRINE_WINE_ARTEFACTS="$artefacts" "$wine_runs" ||
  fail "the programs under Wine"

note "all passed; pictures, standard error and the console in $artefacts"
