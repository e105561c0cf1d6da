#!/usr/bin/env bash
# Runs the real Windows build under Wine and drives it as a user would: the
# download, verrine-windows.zip, is unpacked into a folder whose path holds a
# space, and verrine.exe is started there. Needs an X display with no window
# manager (run it under xvfb-run -a), and gets a scratch Wine prefix.
#   usage: run-wine-tests.sh VERRINE_WINDOWS_ZIP ARTEFACT_DIR
#
# The download: verrine.exe, resources/ with the four shaders and the
# texture, README.txt, LICENSE.txt and THIRD-PARTY.txt, in one top folder.
# First run: the window "Verrine" opens; standard error holds the eight
# start-up traces, no failure report and nothing from freeglut; key 2 changes
# the picture and key 1 brings the first picture back; choosing Debug > "Show
# Axis" with the mouse changes the picture and puts a check mark beside the
# item; Escape ends the program with status 0. Second run: the window
# manager's close request ends it with status 0. Third run, with a broken
# shader, started from cmd without a standard error: the compile report
# reaches cmd's console. Screenshots, standard error and the console's text
# stay in ARTEFACT_DIR.
set -euo pipefail

[[ $# -eq 2 ]] || { echo "usage: $0 VERRINE_WINDOWS_ZIP ARTEFACT_DIR" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)
download=$(realpath "$1")
artefacts=$(mkdir -p "$2" && realpath "$2")
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

cc -O2 -o "$scratch/send_close_request" "$repo/tests/windows/send_close_request.c" -lX11
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
exe="$run_dir/verrine.exe"
for file in verrine.exe README.txt LICENSE.txt THIRD-PARTY.txt resources/textures/stripes.raw \
            resources/shaders/{testVertex,testFragment,edgeVertex,edgeFragment}.txt; do
  [[ -s "$run_dir/$file" ]] || fail "the zip lacks $file"
done
note "the zip holds verrine.exe, README.txt, LICENSE.txt, THIRD-PARTY.txt and resources/; unpacked in \"${run_dir#"$scratch/"}\""

# --- the running viewer ------------------------------------------------------

viewer_pid=""
window=""
# Window geometry on the screen: left, top, width, height.
wx=0 wy=0 ww=0 wh=0

start_viewer() {  # $1: name of the run, for the standard error file
  stderr_file="$artefacts/stderr-$1.txt"
  (cd "$run_dir" && exec wine "$exe" 2>"$stderr_file") &
  viewer_pid=$!
  poll 60 find_window || fail "no window \"Verrine\" within 60 s"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
  # With no window manager the keyboard focus has to be given by hand. Wine
  # takes a moment to make the window active after that, and drops keys
  # pressed before it has; so it is given at once, and the first key comes
  # only after the checks below have waited for the first picture.
  xdotool windowfocus --sync "$window"
}

find_window() {
  window=$(xdotool search --onlyvisible --name '^Verrine$' 2>/dev/null | head -n 1)
  [[ -n "$window" ]]
}

# Waits for the viewer to end and checks its exit status.
expect_exit_zero() {  # $1: what ended it
  poll 30 viewer_ended || fail "still running 30 s after $1"
  local status=0
  wait "$viewer_pid" || status=$?
  [[ $status -eq 0 ]] || fail "exit status $status after $1"
  note "$1: exit status 0"
}

viewer_ended() { ! kill -0 "$viewer_pid" 2>/dev/null; }

# --- start-up traces ---------------------------------------------------------

traces_complete() { [[ $(grep -c -- '^--- ' "$stderr_file") -ge 8 ]]; }

# Each source file gives its path and then its text, vertex before fragment,
# toon program before edge program. Standard error is a text stream on
# Windows: its lines end in CR LF.
check_traces() {
  poll 30 traces_complete || fail "fewer than eight start-up traces"
  local expected actual
  expected=$(for name in testVertex testFragment edgeVertex edgeFragment; do
               printf '%s\n' "--- File import path ---" "resources/shaders/$name.txt" "--- Shader text ---"
             done)
  actual=$(tr -d '\r' <"$stderr_file" |
           awk '/^--- File import path ---$/ { print; getline; print; next }
                /^--- / { print }')
  [[ "$actual" == "$expected" ]] || fail "start-up traces differ; got:"$'\n'"$actual"
  if grep -E -n 'Shader compilation failed|Shader failed to correctly initialize|Shader program link failed' \
       "$stderr_file"; then
    fail "failure report on standard error"
  fi
  # freeglut must not look for an X display (DISPLAY is set under Wine).
  if grep -n 'freeglut' "$stderr_file"; then
    fail "freeglut wrote to standard error"
  fi
  note "eight start-up traces in order, no failure report, nothing from freeglut"
}

# --- pictures ----------------------------------------------------------------

menu_bar_height=0

# Saves the window as it is on the screen.
shoot_window() {  # $1: file
  import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$1"
}

# The scene part of a window picture: without the menu bar, whose look is
# Wine's, and without the bottom rows, where the frame-rate text changes.
scene_of() {  # $1: window picture, $2: output
  convert "$1" -crop "${ww}x$((wh - menu_bar_height - 40))+0+${menu_bar_height}" +repage "$2"
}

# Number of differing pixels of two pictures of the same size.
pixels_differing() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Shoots the scene now into $1.
shoot_scene() {
  shoot_window "$scratch/window.png"
  scene_of "$scratch/window.png" "$1"
}

scene_is() {  # $1: reference scene; true when the scene now equals it
  shoot_scene "$scratch/now.png"
  [[ $(pixels_differing "$scratch/now.png" "$1") == 0 ]]
}

scene_differs_from() {  # $1: reference scene
  ! scene_is "$1"
}

# The scene is drawn and no longer changes: two shots 0.3 s apart agree.
scene_settled() {
  shoot_scene "$scratch/settle-a.png"
  sleep 0.3
  shoot_scene "$scratch/settle-b.png"
  [[ $(pixels_differing "$scratch/settle-a.png" "$scratch/settle-b.png") == 0 ]] &&
    [[ $(convert "$scratch/settle-a.png" -format '%k' info:) -gt 1 ]]
}

# The menu bar is the top band of the window whose left column is lighter
# than the scene's grey background. It is attached after the traces are
# written, so the first shots may show none yet.
measure_menu_bar() {
  shoot_window "$scratch/window.png"
  menu_bar_height=$(convert "$scratch/window.png" -crop "1x60+2+0" +repage -colorspace gray -depth 8 txt:- |
    awk -F'[,:]' 'NR > 1 { split($0, v, "[()]"); if (v[2] + 0 < 200) { print $2; exit } }')
  [[ -n "$menu_bar_height" && $menu_bar_height -gt 0 ]]
}

# Screen x of the middle of the n-th label of the menu bar: the labels are
# the runs of dark columns, more than 8 light columns apart.
menu_label_x() {  # $1: label number, from 1
  convert "$scratch/window.png" -crop "${ww}x$((menu_bar_height / 2))+0+$((menu_bar_height / 4))" +repage \
      -colorspace gray -scale "${ww}x1!" -depth 8 txt:- |
    awk -F'[,:]' -v want="$1" -v left="$wx" '
      BEGIN { last = -100 }
      NR > 1 { split($0, v, "[()]"); dark = v[2] + 0 < 200; x = $1 + 0
               if (dark) { if (x - last > 8) { n++; first[n] = x } last = x; end[n] = x } }
      END { if (n >= want) print left + int((first[want] + end[want]) / 2) }'
}

# The open popup menu of the viewer: an unnamed window of verrine.exe that
# is viewable. Sets px, py, pw, ph.
find_popup() {
  local id
  for id in $(xwininfo -root -children | awk '/\(has no name\): \("verrine.exe"/ { print $1 }'); do
    if xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
      eval "$(xdotool getwindowgeometry --shell "$id")"
      px=$X py=$Y pw=$WIDTH ph=$HEIGHT
      return 0
    fi
  done
  return 1
}

popup_closed() { ! find_popup; }

open_debug_menu() {
  local x
  x=$(menu_label_x 3)
  [[ -n "$x" ]] || fail "fewer than three labels in the menu bar"
  xdotool mousemove "$x" $((wy + menu_bar_height / 2)) click 1
  poll 10 find_popup || fail "the Debug menu did not open"
  sleep 0.3  # let it finish drawing
}

# The five Debug items share the popup's height, less a 3-pixel border.
debug_item_y() {  # $1: item number, from 1
  echo $((py + 3 + (ph - 6) * (2 * $1 - 1) / 10))
}

# The check-mark column of one item of the popup, as a picture.
check_mark_of() {  # $1: popup picture, $2: item number, $3: output
  local top=$(($(debug_item_y "$2") - py - (ph - 6) / 10))
  convert "$1" -crop "20x$(((ph - 6) / 5))+2+$top" +repage "$3"
}

# --- run 1: keys, the Debug menu, Escape -------------------------------------

note "run 1: keys, the Debug menu, Escape"
start_viewer keys-and-menu
check_traces
poll 30 measure_menu_bar || fail "no menu bar at the top of the window"
poll 30 scene_settled || fail "the picture did not settle after start-up"
cp "$scratch/window.png" "$artefacts/start.png"
scene_of "$artefacts/start.png" "$scratch/start-scene.png"
sleep 2

xdotool key 2
poll 10 scene_differs_from "$scratch/start-scene.png" || fail "key 2 did not change the picture"
poll 10 scene_settled || fail "the picture did not settle after key 2"
cp "$scratch/window.png" "$artefacts/key-2.png"
note "key 2 changed the picture"
xdotool key 1
poll 10 scene_is "$scratch/start-scene.png" || fail "key 1 did not bring the first picture back"
note "key 1 brought the first picture back"

open_debug_menu
shoot_window "$artefacts/debug-menu-before.png"
import -window root -crop "${pw}x${ph}+${px}+${py}" +repage "$scratch/popup-before.png"
xdotool mousemove $((px + pw / 2)) "$(debug_item_y 2)" click 1
poll 10 popup_closed || fail "choosing Debug > Show Axis left the menu open"
poll 10 scene_differs_from "$scratch/start-scene.png" || fail "Show Axis did not change the picture"
poll 10 scene_settled || fail "the picture did not settle after Show Axis"
cp "$scratch/window.png" "$artefacts/show-axis.png"
note "Debug > Show Axis changed the picture"

open_debug_menu
shoot_window "$artefacts/debug-menu-after.png"
import -window root -crop "${pw}x${ph}+${px}+${py}" +repage "$scratch/popup-after.png"
check_mark_of "$scratch/popup-before.png" 2 "$scratch/axis-before.png"
check_mark_of "$scratch/popup-after.png" 2 "$scratch/axis-after.png"
check_mark_of "$scratch/popup-before.png" 3 "$scratch/plane-before.png"
check_mark_of "$scratch/popup-after.png" 3 "$scratch/plane-after.png"
[[ $(pixels_differing "$scratch/axis-before.png" "$scratch/axis-after.png") != 0 ]] ||
  fail "no check mark appeared beside Show Axis"
[[ $(pixels_differing "$scratch/plane-before.png" "$scratch/plane-after.png") == 0 ]] ||
  fail "the check mark beside Show Base Plane changed"
note "Show Axis got its check mark; Show Base Plane kept its own"
# A second click on the label closes the menu and leaves menu mode, so the
# next key goes to the window again.
xdotool click 1
poll 10 popup_closed || fail "clicking Debug again did not close the menu"
xdotool key Escape
expect_exit_zero "Escape"

# --- run 2: the window manager's close ---------------------------------------

note "run 2: the window manager's close"
start_viewer close-request
check_traces
poll 30 scene_settled || fail "the picture did not settle after start-up"
"$scratch/send_close_request" "$window"
expect_exit_zero "the close request"

# --- run 3: a compile report on cmd's console --------------------------------

# A GUI program started from a console has no standard error on Windows;
# the viewer then writes to the console it was started from. Under Wine a
# program that cmd starts itself inherits cmd's handles, so `start /wait`
# starts it the way Windows starts a GUI program, without them. `script`
# gives Wine a terminal, so that cmd has a console of its own; the console
# draws the text with terminal escapes, and may move the cursor for spaces.
console_text() {
  sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' "$console_file" | tr -d '\r '
}

report_on_console() { console_text | grep -q -F 'Shadercompilationfailed.Printinglog:'; }

note "run 3: a broken shader's report on cmd's console"
cp -r "$run_dir" "$scratch/broken"
printf '#version 110\nvoid main() { gl_FragColor = undeclared; }\n' \
  >"$scratch/broken/resources/shaders/testFragment.txt"
console_file="$artefacts/console-broken-shader.txt"
(cd "$scratch/broken" && exec script -q -e -f -c "wine cmd /c start /wait verrine.exe" /dev/null >"$console_file" 2>&1) &
viewer_pid=$!
poll 60 find_window || fail "no window \"Verrine\" within 60 s"
poll 30 report_on_console || fail "no compile report on cmd's console; it shows:"$'\n'"$(console_text)"
note "the compile report reached cmd's console"
xdotool windowfocus --sync "$window"
sleep 2
xdotool key Escape
expect_exit_zero "Escape"

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
