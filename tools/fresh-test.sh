#!/usr/bin/env bash
# The README's commands on a fresh Debian 12, as a newcomer has it: a
# minimal root made by mmdebstrap with make, git and ca-certificates only,
# into which the commit checked out here is cloned. Three roots, one each:
#   test     make test, then make package: the suite passes, the .deb is made
#            and lintian finds no error or warning
#   run      make run alone builds the viewer, its window "Verrine" opens on
#            an X server outside the root, and Escape ends it with status 0
#   package  apt-get installs that .deb; every program in it has its manual
#            page there (dpkg -L: the root has no man), verrine-check names
#            its version and passes on the installed shaders, verrine-shot
#            draws, and verrine, started from /tmp, opens its window and ends
#            with status 0 on Escape
# Every step says how long it took. Needs root (unshare, chroot).
#
# Each root lives in namespaces of its own (unshare --mount --pid), on a
# tmpfs mounted there: its mounts (the tmpfs, /proc, /dev, the X socket
# folder) are never seen outside, and when its namespaces end, all of it
# goes, files and processes. They end when the check is done with the root,
# and when the check itself ends, however it ends (even by SIGKILL), so no
# root is ever left behind. A tmpfs also spares dpkg's many syncs to disk.
#
# The root as mmdebstrap makes it is kept as a tarball in
# ~/.cache/verrine/fresh-root for a week; the packages installed in a root
# never are. Logs and the .deb are in VERRINE_FRESH_DIR (/var/tmp/verrine-fresh).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
work=${VERRINE_FRESH_DIR:-/var/tmp/verrine-fresh}
cache=${VERRINE_FRESH_CACHE:-$HOME/.cache/verrine/fresh-root}
tarball="$cache/bookworm-minbase.tar"
tarball_days=7
logs="$work/logs"

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
rm -rf "$logs" "$work"/*.deb
mkdir -p "$logs"

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

# --- the tarball -------------------------------------------------------------

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
  timed "a fresh Debian 12 root (mmdebstrap)" "$logs/mmdebstrap.log" make_tarball
else
  say "a fresh Debian 12 root: the one made on $(date -r "$tarball" +%F)"
fi

# --- roots -------------------------------------------------------------------

background=()  # what this script started in the background, by process id
cleanup() {
  local pid
  for pid in "${background[@]}"; do
    pkill -P "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

# The X server outside the roots that their windows open on. Like the roots
# it ends when this script does, however that ends (--pdeathsig).
rm -f "$work/display"
setpriv --pdeathsig KILL Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$work/display" 2>"$logs/xvfb.log" 9>&- &
background+=($!)
for _ in {1..50}; do
  [[ -s "$work/display" ]] && break
  sleep 0.2
done
[[ -s "$work/display" ]] || fail "Xvfb did not start; see $logs/xvfb.log"
x_display=":$(cat "$work/display")"

declare -A holder   # root name -> the process that holds its namespaces
declare -A display  # root name -> the DISPLAY its commands get, if any
# Where each root is, inside its namespaces; every root has its own tmpfs
# there, seen by none of the others.
root_path="$work/root"

# Lays a root out in namespaces of its own, with this machine's name server,
# and as asked the commit cloned into /root/verrine and the X server above.
# Only a root that starts no X server of its own sees this machine's socket
# folder: one that did would put its sockets there, beside this machine's.
# The namespaces are held by a sleeping process; its unshare is killed when
# this script dies (--pdeathsig), and takes the namespaces with it
# (--kill-child).
start_root() {  # $1: name, then "clone", "display" or both
  local name=$1 start=$SECONDS ready="$work/ready-$1" unshare_pid pid
  shift
  display[$name]=""
  [[ " $* " == *" display "* ]] && display[$name]=$x_display
  rm -f "$ready"
  setpriv --pdeathsig KILL unshare --mount --pid --fork --kill-child /bin/sh -ec '
    root=$1
    mkdir -p "$root"
    mount -t tmpfs -o mode=755 verrine-fresh-root "$root"
    tar -xf "$2" -C "$root"
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    if [ -n "$4" ]; then
      mkdir -p "$root/tmp/.X11-unix"
      mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    fi
    touch "$3"
    exec sleep infinity' sh "$root_path" "$tarball" "$ready" "${display[$name]}" 9>&- 2>>"$logs/$name.log" &
  unshare_pid=$!
  background+=("$unshare_pid")
  until [[ -e "$ready" ]]; do
    kill -0 "$unshare_pid" 2>/dev/null || fail "the $name root could not be laid out; see $logs/$name.log"
    sleep 0.1
  done
  pid=$(cat "/proc/$unshare_pid/task/$unshare_pid/children")
  pid=${pid%% *}
  rm -f "$ready"
  holder[$name]=$pid
  in_namespace "$name" cp /etc/resolv.conf "$root_path/etc/resolv.conf"
  if [[ " $* " == *" clone "* ]]; then
    in_namespace "$name" git clone --quiet --no-checkout "$repo" "$root_path/root/verrine"
    in_namespace "$name" git -C "$root_path/root/verrine" checkout --quiet --detach "$commit"
  fi
  say "$name root laid out: $((SECONDS - start)) s"
}

# Runs a command of this machine in a root's mount namespace, where both
# this machine's files and the root's (under $root_path) are seen.
in_namespace() {  # $1: name, then the command
  local name=$1
  shift
  nsenter --target "${holder[$name]}" --mount "$@" 9>&-
}

# Ends a root: its holder, and with it its namespaces and all in them. The
# holder is the first process of its PID namespace, which from outside
# takes no signal but SIGKILL.
end_root() {  # $1: name
  kill -KILL "${holder[$1]}"
}

# Runs a shell command in a root, as root in /root/verrine (or /root), with
# a clean environment: DISPLAY only where the root sees the X server above.
in_root() {  # $1: name, $2: command
  nsenter --target "${holder[$1]}" --mount --pid \
    chroot "$root_path" /usr/bin/env -i HOME=/root TERM=dumb ${display[$1]:+DISPLAY=${display[$1]}} \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/sh -ec "cd /root/verrine 2>/dev/null || cd /root; $2" 9>&-
}

# Starts a command in a root that ends in the viewer, waits up to the given
# time for the window "Verrine", presses Escape in it and expects status 0.
# Says how long the window took from the start.
expect_window() {  # $1: what, $2: root name, $3: command, $4: seconds to wait, $5: log
  local what=$1 start=$SECONDS window="" status=0 viewer
  in_root "$2" "$3" >>"$5" 2>&1 &
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

start_root test clone
(
  timed "test root: make test" "$logs/test.log" in_root test "make test"
  grep -E '^[0-9]+% tests passed' "$logs/test.log" | sed 's/^/fresh-test: test root: /'
  timed "test root: make package" "$logs/test.log" in_root test "make package"
  grep -E '^[EW]: ' "$logs/test.log" | sed 's/^/fresh-test: lintian: /' || true
) &
test_pid=$!
background+=("$test_pid")

start_root run clone display
expect_window "run root: make run" run "make run" 900 "$logs/run.log"
end_root run

wait "$test_pid" || fail "the test root failed; see above"
in_namespace test sh -c 'cp "$1"/root/verrine/build/verrine_*.deb "$2"' sh "$root_path" "$work"
deb=$(basename "$(ls "$work"/verrine_*.deb)")
end_root test

start_root package display
in_namespace package cp "$work/$deb" "$root_path/root/"
timed "package root: apt-get install ./$deb" "$logs/package.log" in_root package \
  "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./$deb"
timed "package root: a manual page for each program" "$logs/package.log" in_root package \
  'dpkg -L verrine >/tmp/files
   for program in $(grep "^/usr/bin/" /tmp/files); do
     grep -qx "/usr/share/man/man1/${program##*/}.1.gz" /tmp/files || { echo "no manual page for $program"; exit 1; }
   done'
timed "package root: verrine-check --version" "$logs/package.log" in_root package \
  'verrine-check --version | grep "^verrine-check [0-9]"'
timed "package root: verrine-check on the installed shaders" "$logs/package.log" in_root package \
  "verrine-check /usr/share/verrine"
timed "package root: verrine-shot" "$logs/package.log" in_root package \
  "cd /usr/share/verrine && verrine-shot /tmp/shot.png && test -s /tmp/shot.png"
expect_window "package root: verrine from /tmp" package "cd /tmp && verrine" 60 "$logs/package.log"
end_root package

say "all passed in $SECONDS s; logs in $logs"
