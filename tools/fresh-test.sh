#!/usr/bin/env bash
# The README's commands on a fresh Debian 12, as a newcomer has it: a
# minimal root made by mmdebstrap with make, git and ca-certificates only,
# into which the commit checked out here is cloned. Three roots, one each:
#   test     make test, then make package: the suite passes, the .deb is made
#            and lintian finds no error
#   run      make run alone builds the viewer, its window "Verrine" opens on
#            an X server outside the root, and Escape ends it with status 0
#   package  apt-get installs that .deb; verrine-check passes on the installed
#            shaders, verrine-shot draws, and verrine, started from /tmp,
#            opens its window and ends with status 0 on Escape
# Every step says how long it took. Needs root (unshare, chroot).
#
# Each root runs in namespaces of its own (unshare --mount --pid): its
# mounts (/proc, /dev, the X socket folder) are never seen outside and
# vanish with it, and when the check is stopped, everything started inside
# ends with it. A root left behind by a stopped check is removed by the next.
#
# The root as mmdebstrap makes it is kept as a tarball in
# ~/.cache/verrine/fresh-root for a week; the packages installed in a root
# never are. Roots, logs and the .deb are in VERRINE_FRESH_DIR
# (/var/tmp/verrine-fresh); a root whose check failed stays there.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
work=${VERRINE_FRESH_DIR:-/var/tmp/verrine-fresh}
cache=${VERRINE_FRESH_CACHE:-$HOME/.cache/verrine/fresh-root}
tarball="$cache/bookworm-minbase.tar"
tarball_days=7

say() { echo "fresh-test: $*"; }
fail() { echo "fresh-test: FAIL: $*" >&2; exit 1; }

[[ $(id -u) -eq 0 ]] || fail "needs root, for unshare and chroot"
commit=$(git -C "$repo" rev-parse HEAD)
if [[ -n $(git -C "$repo" status --porcelain --untracked-files=no) ]]; then
  say "note: uncommitted changes here are not part of the check; it checks $commit"
fi

unset DISPLAY
mkdir -p "$work" "$cache"
# One check at a time. Nothing started below inherits the lock (9>&-), so a
# check that was killed leaves it free.
exec 9>"$work/lock"
flock -n 9 || fail "another check is using $work"

# Runs a command and says how long it took; on failure, names the log.
timed() {  # $1: what, $2: log file, then the command
  local what=$1 log=$2 start=$SECONDS
  shift 2
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    fail "$what failed after $((SECONDS - start)) s; the whole log is $log"
  fi
  say "$what: $((SECONDS - start)) s"
}

# --- roots -------------------------------------------------------------------

# Removes a root, ending first whatever still runs in it (only a check
# killed outright leaves anything running). Its mounts lived in the
# namespace of the check that made it; should one still show here, the
# root is left alone rather than removed through it.
remove_root() {  # $1: root folder
  local proc
  for proc in /proc/[0-9]*; do
    [[ $(readlink "$proc/root" 2>/dev/null) == "$1" ]] && kill -KILL "${proc#/proc/}" 2>/dev/null || true
  done
  if awk -v root="$1" 'index($5, root) == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo; then
    fail "$1 still has mounts; unmount them (umount -R) and run again"
  fi
  rm -rf --one-file-system "$1"
}

for left in "$work"/root-*; do
  [[ -e "$left" ]] || continue
  say "removing $left, left behind by an earlier check"
  remove_root "$left"
done
rm -rf "$work/logs" "$work"/*.deb
mkdir -p "$work/logs"

# The mirrors apt uses here for Debian 12 (bookworm and its updates and
# security suites); mmdebstrap's own defaults when there are none.
mirrors() {
  apt-get indextargets --format '$(CREATED_BY) $(ORIGIN) $(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk '$1 == "Packages" && $2 == "Debian" && $3 == "deb" && $5 ~ /^bookworm/ { print "deb", $4, $5, $6 }' |
    sort -u
}

make_tarball() {
  local lines=()
  mapfile -t lines < <(mirrors)
  mmdebstrap --variant=minbase --mode=root --include=make,git,ca-certificates \
    bookworm "$tarball.part.tar" "${lines[@]}" && mv "$tarball.part.tar" "$tarball"
}

if [[ -z $(find "$tarball" -mtime -"$tarball_days" 2>/dev/null) ]]; then
  rm -f "$tarball.part.tar"
  timed "a fresh Debian 12 root (mmdebstrap)" "$work/logs/mmdebstrap.log" make_tarball
else
  say "a fresh Debian 12 root: the one made on $(date -r "$tarball" +%F)"
fi

# Lays a root from the tarball, with this machine's name server and, when
# asked, the commit cloned into /root/verrine.
new_root() {  # $1: name, $2: "clone" or nothing; prints the root's folder
  local root="$work/root-$1"
  mkdir "$root"
  tar -xf "$tarball" -C "$root"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  if [[ "${2:-}" == clone ]]; then
    git clone --quiet --no-checkout "$repo" "$root/root/verrine"
    git -C "$root/root/verrine" checkout --quiet --detach "$commit"
  fi
  echo "$root"
}

# Runs a shell command in a root, as root in /root/verrine (or /root), with
# a clean environment; DISPLAY passes in with the X socket folder when set.
in_root() {  # $1: root folder, $2: command
  unshare --mount --pid --fork --kill-child /bin/sh -ec '
    root=$1
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    if [ -n "$DISPLAY" ]; then
      mkdir -p "$root/tmp/.X11-unix"
      mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    fi
    exec chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb DISPLAY="$DISPLAY" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/sh -ec "cd /root/verrine 2>/dev/null || cd /root; $2"' sh "$1" "$2" 9>&-
}

# --- the X server outside the roots ------------------------------------------

# Commands started in the background (each in a subshell of this script) and
# the X server: a subshell's child unshare ends its root's namespace, and
# all in it, as it goes.
background=()
cleanup() {
  local pid
  for pid in "${background[@]}"; do
    pkill -P "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

start_x_server() {
  Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$work/display" 2>"$work/logs/xvfb.log" 9>&- &
  background+=($!)
  local tries=50
  until [[ -s "$work/display" ]]; do
    tries=$((tries - 1))
    [[ $tries -gt 0 ]] || fail "Xvfb did not start; see $work/logs/xvfb.log"
    sleep 0.2
  done
  x_display=":$(cat "$work/display")"
}

# Starts a command in a root that ends in the viewer, on the X server above,
# waits up to the given time for the window "Verrine", presses Escape in it
# and expects status 0. Says how long the window took from the start.
expect_window() {  # $1: what, $2: root, $3: command, $4: seconds to wait, $5: log
  local what=$1 start=$SECONDS window="" status=0 viewer
  DISPLAY=$x_display in_root "$2" "$3" >>"$5" 2>&1 &
  viewer=$!
  background+=("$viewer")
  while [[ -z "$window" ]]; do
    kill -0 "$viewer" 2>/dev/null || { tail -n 40 "$5" >&2; fail "$what ended before its window opened; see $5"; }
    [[ $((SECONDS - start)) -lt $4 ]] || fail "$what: no window \"Verrine\" within $4 s; see $5"
    sleep 0.5
    window=$(DISPLAY=$x_display xdotool search --name '^Verrine$' 2>/dev/null | head -n 1 || true)
  done
  say "$what: the window after $((SECONDS - start)) s"
  # Without a window manager xdotool warns that nothing has the focus.
  DISPLAY=$x_display xdotool key --window "$window" Escape 2>/dev/null
  wait "$viewer" || status=$?
  [[ $status -eq 0 ]] || { tail -n 40 "$5" >&2; fail "$what: exit status $status after Escape; see $5"; }
  say "$what: exit status 0 after Escape"
}

# --- the three roots ---------------------------------------------------------
# The test root and the run root go side by side: much of each is waiting for
# the mirror, and together they take less than one after the other. The
# package root needs the package the test root makes.

say "checking $commit"
logs="$work/logs"
start_x_server

test_root=$(new_root test clone)
(
  timed "test root: make test" "$logs/test.log" in_root "$test_root" "make test"
  grep -E '^[0-9]+% tests passed' "$logs/test.log" | sed 's/^/fresh-test: test root: /'
  timed "test root: make package" "$logs/test.log" in_root "$test_root" "make package"
  grep -E '^[EW]: ' "$logs/test.log" | sed 's/^/fresh-test: lintian: /' || true
) &
test_pid=$!
background+=("$test_pid")

run_root=$(new_root run clone)
expect_window "run root: make run" "$run_root" "make run" 900 "$logs/run.log"
remove_root "$run_root"

wait "$test_pid" || fail "the test root failed; see above"
cp "$test_root"/root/verrine/build/verrine_*.deb "$work/"
deb=$(basename "$(ls "$work"/verrine_*.deb)")
remove_root "$test_root"

root=$(new_root package)
cp "$work/$deb" "$root/root/"
timed "package root: apt-get install ./$deb" "$logs/package.log" in_root "$root" \
  "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./$deb"
timed "package root: verrine-check on the installed shaders" "$logs/package.log" in_root "$root" \
  "verrine-check /usr/share/verrine"
DISPLAY=$x_display timed "package root: verrine-shot" "$logs/package.log" in_root "$root" \
  "cd /usr/share/verrine && verrine-shot /tmp/shot.png && test -s /tmp/shot.png"
expect_window "package root: verrine from /tmp" "$root" "cd /tmp && verrine" 60 "$logs/package.log"
remove_root "$root"

say "all passed in $SECONDS s; logs in $logs"
