#!/usr/bin/env bash
# Runs the real Windows build under Wine as a user would: the download,
# verrine-windows.zip, is unpacked into a folder whose path holds a space,
# and verrine.exe is started there. This script unpacks it, checks what it
# holds and makes a scratch Wine prefix; WINE_RUNS, the end-to-end driver's
# program for the Windows build (tests/windows/wine_runs.cpp), starts and
# drives verrine.exe. Run it under xvfb-run -a.
#   usage: run-wine-tests.sh VERRINE_WINDOWS_ZIP ARTEFACT_DIR WINE_RUNS
#
# The download: verrine.exe, verrine-check.exe, verrine-shot.exe, resources/
# with the four shaders and the texture, README.txt, LICENSE.txt and
# THIRD-PARTY.txt, in one top folder. The tools are run from here too, on
# the Linux tools' cases that apply on Windows.
# Screenshots, standard error and the console's text stay in ARTEFACT_DIR.
set -euo pipefail

[[ $# -eq 3 ]] || { echo "usage: $0 VERRINE_WINDOWS_ZIP ARTEFACT_DIR WINE_RUNS" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)
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

# Retries a command every 0.2 s for at most the given number of seconds.
poll() {
  local seconds=$1; shift
  local tries=$((seconds * 5))
  until "$@"; do
    tries=$((tries - 1))
    [[ $tries -gt 0 ]] || return 1
    sleep 0.2
  done
}

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
for file in verrine.exe verrine-check.exe verrine-shot.exe README.txt LICENSE.txt THIRD-PARTY.txt \
            resources/textures/stripes.raw \
            resources/shaders/{testVertex,testFragment,edgeVertex,edgeFragment}.txt; do
  [[ -s "$run_dir/$file" ]] || fail "the zip lacks $file"
done
note "the zip holds the three programs, README.txt, LICENSE.txt, THIRD-PARTY.txt and resources/; unpacked in \"${run_dir#"$scratch/"}\""

# --- the running viewer ------------------------------------------------------

# Keys 2 and 1 and Debug > "Show Axis" with the mouse, then Escape; the window
# manager's close request; a broken shader's report on cmd's console. The
# end-to-end driver runs each on an X server of its own (wine_runs.cpp).
note "verrine.exe: keys and the Debug menu, the close request, a compile report on cmd's console"
VERRINE_WINE_FOLDER="$run_dir" VERRINE_WINE_ARTEFACTS="$artefacts" "$wine_runs" ||
  fail "verrine.exe under Wine"

# --- the tools: verrine-check.exe and verrine-shot.exe ------------------------

# The Linux tools' cases that apply on Windows, run from the unpacked folder.
# Pairs sit in folders whose names hold a space and letters outside the ANSI
# code page, given with backslashes, and must be printed back as given.
# Standard output and error are text streams on Windows: lines end in CR LF.
note "the tools"
export MESA_SHADER_CACHE_DISABLE=true  # Mesa runs on the Linux side of Wine
pairs="my shaders/é ж"
mkdir -p "$run_dir/$pairs"
sound_vertex=$'#version 110\nvoid main()\n{\n    gl_Position = ftransform();\n}\n'
sound_fragment=$'#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0);\n}\n'
put() { printf '%s' "$2" >"$run_dir/$pairs/$1"; }
put sound.vert "$sound_vertex"
put sound.frag "$sound_fragment"
put crlf.frag "${sound_fragment//$'\n'/$'\r\n'}"
put broken.vert $'#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n'
put unfed.frag $'uniform float uAmount;\nvoid main()\n{\n    gl_FragColor = vec4(uAmount);\n}\n'
put suffix.frag $'#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0f);\n}\n'
put bom.frag $'\xEF\xBB\xBF'"$sound_fragment"
put empty.frag ""
mkdir "$run_dir/Проект ж"
cp -r "$run_dir/resources" "$run_dir/Проект ж/"
win_pairs="my shaders\\é ж"

run_tool() {  # $1: exe, then its arguments; sets status, out (both streams)
  status=0
  (cd "$run_dir" && wine "$@") >"$scratch/tool-out" 2>&1 || status=$?
  out=$(tr -d '\r' <"$scratch/tool-out")
}

# Runs a table of cases, each "name|status|text the output holds|arguments,
# with ";" between them"; each run's time (Wine's start included) is shown.
run_cases() {  # $1: the exe, then the cases
  local exe=$1 case name want text arguments args started; shift
  for case in "$@"; do
    IFS='|' read -r -d '' name want text arguments <<<"$case" || true
    IFS=';' read -r -a args <<<"${arguments%$'\n'}"
    started=$(date +%s%N)
    run_tool "$exe" "${args[@]}"
    [[ $status -eq $want ]] || fail "$exe, $name: status $status, not $want:"$'\n'"$out"
    [[ "$out" == *"$text"* ]] || fail "$exe, $name: no \"$text\" in:"$'\n'"$out"
    note "$exe, $name: status $want ($(( ($(date +%s%N) - started) / 1000000 )) ms)"
  done
}

# The cases of verrine-check.exe:
pair() { echo "--vertex;$win_pairs\\$1;--fragment;$win_pairs\\$2"; }
check_cases=(
  "shipped shaders|0|verrine-check: all 2 programs compile and link|"
  "broken pair, with caret|1|$win_pairs\\broken.vert:4:19: error: \`undeclared' undeclared
    gl_Position = undeclared;
                  ^|$(pair broken.vert sound.frag)"
  "CRLF source, forward slashes|0|the program compiles and links|--vertex;$pairs/sound.vert;--fragment;$pairs/crlf.frag"
  "unfed uniform|0|$win_pairs\\unfed.frag:1:15: warning: uniform 'uAmount' is never set|$(pair sound.vert unfed.frag)"
  "unfed uniform, --strict|1|warning: uniform 'uAmount'|--strict;$(pair sound.vert unfed.frag)"
  "second opinion on 1.0f|0|suffix.frag:4:25: warning: GLSL 1.10 has no float suffixes; other drivers reject \`1.0f\`, as the reference compiler (glslang) does|$(pair sound.vert suffix.frag)"
  "byte-order mark|1|bom.frag:1:1: error: the file starts with a UTF-8 byte-order mark|$(pair sound.vert bom.frag)"
  "empty file|1|empty.frag: error: the file is empty|$(pair sound.vert empty.frag)"
  "missing file|1|missing.frag: error: cannot read the file|$(pair sound.vert missing.frag)"
  "folder for a file|1|error: cannot read the file: it is a folder|$(pair sound.vert ..)"
  "missing folder|2|verrine-check: cannot enter no-such-folder|no-such-folder"
  "DIR named in Cyrillic|0|Проект ж\\resources/shaders/testVertex.txt: compiles|Проект ж"
)
run_cases verrine-check.exe "${check_cases[@]}"

# --watch follows a save that writes a new file and renames it over the old
# one, and Ctrl+C (SIGINT, which Wine hands to the console handler) ends it
# with status 0.
watch_output="$artefacts/check-watch.txt"
(cd "$run_dir" && exec wine verrine-check.exe --watch --vertex "$win_pairs\\sound.vert" \
   --fragment "$win_pairs\\sound.frag") >"$watch_output" 2>&1 &
watch_pid=$!
watch_says() { grep -q -F "$1" "$watch_output"; }
poll 30 watch_says "watching for changes" || fail "--watch did not start; it printed:"$'\n'"$(cat "$watch_output")"
printf '%s' "$sound_fragment" >"$run_dir/$pairs/sound.frag.new"
mv "$run_dir/$pairs/sound.frag.new" "$run_dir/$pairs/sound.frag"
poll 2 watch_says "sound.frag changed" || fail "--watch missed a rename-save within 2 s"
kill -INT "$watch_pid"
status=0
poll 10 eval '! kill -0 "$watch_pid" 2>/dev/null' || fail "--watch still running 10 s after Ctrl+C"
wait "$watch_pid" || status=$?
[[ $status -eq 0 ]] || fail "--watch: status $status after Ctrl+C"
note "verrine-check.exe --watch: a rename-save checked again within 2 s; Ctrl+C: status 0"

# Each mode's picture against the Linux build's reference (both are Mesa's
# llvmpipe), as the Linux shots are compared: the frame-rate corner left
# out, at most 0.2 % of the pixels off by more than 24 levels in a channel.
shots="$run_dir/$pairs"
pixels_off_reference() {  # $1: picture, $2: reference; both have the client's size
  local picture
  for picture in "$1" "$2"; do
    convert "$picture" -fill black -draw "rectangle 0,404 119,435" "$picture.masked.png"
  done
  convert "$1.masked.png" "$2.masked.png" -compose difference -composite -separate \
    -evaluate-sequence max -threshold 9.41% -format '%[fx:round(mean*w*h)]' info:
}
# name | reference | arguments, ";" between them; the pair is the toon
# program's, copied under the non-ASCII folder.
cp "$run_dir/resources/shaders/testVertex.txt" "$shots/toon.vert"
cp "$run_dir/resources/shaders/testFragment.txt" "$shots/toon.frag"
for shot in "fixed|mode-fixed|--mode;200" "toon|mode-toon|--mode;201" "edge|mode-edge|--mode;202" \
            "pair|mode-toon|--vertex;$win_pairs\\toon.vert;--fragment;$win_pairs\\toon.frag"; do
  IFS='|' read -r name reference arguments <<<"$shot"
  IFS=';' read -r -a args <<<"$arguments"
  run_tool verrine-shot.exe "$win_pairs\\$name.png" "${args[@]}" --size 484x436
  [[ $status -eq 0 ]] || fail "verrine-shot.exe, $name: status $status:"$'\n'"$out"
  cp "$repo/tests/references/$reference.png" "$scratch/reference.png"
  off=$(pixels_off_reference "$shots/$name.png" "$scratch/reference.png")
  [[ $off -le 422 ]] || fail "the $name picture differs from Linux's $reference in $off pixels"
  cp "$shots/$name.png" "$artefacts/shot-$name.png"
  note "verrine-shot.exe, $name: as Linux's $reference ($off pixels off)"
done

# The cases of verrine-shot.exe:
shot_cases=(
  "--compare, the same mode|0||$win_pairs\\again.png;--mode;201;--size;484x436;--compare;$win_pairs\\toon.png"
  "--compare, another mode|1|pixels differ from $win_pairs\\toon.png|$win_pairs\\fixed.png;--size;484x436;--compare;$win_pairs\\toon.png"
  "output over the reference|2|cannot write $win_pairs\\toon.png: it is the reference|$win_pairs\\toon.png;--compare;$pairs/toon.png"
  "output onto a folder|1|cannot write $win_pairs: it is a folder|$win_pairs"
  "missing reference|2|cannot read $win_pairs\\missing.png|$win_pairs\\out.png;--compare;$win_pairs\\missing.png"
  "empty reference|2|cannot read $win_pairs\\empty.frag|$win_pairs\\out.png;--compare;$win_pairs\\empty.frag"
)
run_cases verrine-shot.exe "${shot_cases[@]}"
[[ -s "$shots/fixed.diff.png" ]] || fail "--compare wrote no difference picture"
cp "$shots/fixed.diff.png" "$artefacts/shot-fixed.diff.png"

# "-" writes the same bytes as a file: standard output is binary.
(cd "$run_dir" && wine verrine-shot.exe - --size 64x48) >"$scratch/standard-output.png"
run_tool verrine-shot.exe "$win_pairs\\small.png" --size 64x48
cmp -s "$scratch/standard-output.png" "$shots/small.png" || fail "the picture on standard output differs from the file"
note "verrine-shot.exe -: the file's bytes on standard output"

note "all passed; pictures, standard error and the console in $artefacts"
