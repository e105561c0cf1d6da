#!/usr/bin/env bash
# Builds the two libraries the Windows build needs and mingw-w64 lacks,
# freeglut and libepoxy, as static libraries from the upstream tarballs of
# Debian 12's source packages, and installs them (include/, lib/) into
#   ${VERRINE_WINDOWS_DEPS:-$HOME/.cache/verrine/windows-deps}
# Each library is built once; later runs find its stamp and skip it.
# GLU, opengl32, gdi32 and winmm come with mingw-w64 itself.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${VERRINE_WINDOWS_DEPS:-$HOME/.cache/verrine/windows-deps}
work="$prefix/work"
jobs=$(nproc 2>/dev/null || echo 2)

freeglut_version=3.4.0
epoxy_version=1.5.10
freeglut_stamp="$prefix/.freeglut-$freeglut_version"
epoxy_stamp="$prefix/.libepoxy-$epoxy_version"

"$repo/tools/install-deps.sh" \
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev cmake meson ninja-build

if [[ -f "$freeglut_stamp" && -f "$epoxy_stamp" ]]; then
  exit 0
fi

# apt-get source needs a deb-src entry; add the one for bookworm's main
# component (and nothing else) when no configured source offers it yet.
deb_src_list=/etc/apt/sources.list.d/verrine-deb-src.list
if ! apt-cache showsrc freeglut 2>/dev/null | grep -q "^Version: $freeglut_version-"; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "verrine: apt-get source needs a deb-src entry for Debian 12 main;" \
         "run as root, or add 'deb-src http://deb.debian.org/debian bookworm main'." >&2
    exit 1
  fi
  # apt refuses lists in which one server is given with two different
  # signed-by options: Debian 12 images name the archive keyring for
  # deb.debian.org, sources.list files from the installer do not. Follow
  # whichever the machine uses.
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main" > "$deb_src_list"
  if ! apt-cache policy >/dev/null 2>&1; then
    echo "deb-src http://deb.debian.org/debian bookworm main" > "$deb_src_list"
  fi
  # Refresh only the new entry: the other lists are left as they are.
  apt-get update -qq -o Dir::Etc::sourcelist="$deb_src_list" \
    -o Dir::Etc::sourceparts=- -o APT::Get::List-Cleanup=0
fi

rm -rf "$work"
mkdir -p "$work"
cd "$work"

# Downloads one source package and unpacks its upstream tarball, checking
# that it is the upstream version this build was made for. Only the upstream
# tarball is used: Debian's packaging part concerns the Linux packages, and
# some mirrors fail to serve it, so a failed fetch of that part alone is
# accepted. apt has checked each file it fetched against the signed index;
# the tarball is checked once more against the .dsc, whose hash apt checked.
fetch_source() {
  local package=$1 version=$2 log dsc orig expected
  log=$(apt-get source --download-only -qq -o APT::Sandbox::User=root "$package" 2>&1) || true
  dsc=$(ls "${package}_${version}"-*.dsc 2>/dev/null | head -n 1)
  orig=$(ls "${package}_${version}".orig.tar.* 2>/dev/null | head -n 1)
  if [[ -z "$dsc" || -z "$orig" ]]; then
    echo "verrine: could not fetch $package $version from Debian 12:" >&2
    echo "$log" >&2
    exit 1
  fi
  expected=$(awk -v name="$orig" '/^Checksums-Sha256:/ { inside = 1; next }
                                  /^[^ ]/ { inside = 0 }
                                  inside && $3 == name { print $1 }' "$dsc")
  echo "$expected  $orig" | sha256sum --check --quiet
  mkdir "$package-src"
  tar -xf "$orig" -C "$package-src" --strip-components=1
}

if [[ ! -f "$freeglut_stamp" ]]; then
  fetch_source freeglut "$freeglut_version"
  cmake -S freeglut-src -B freeglut-build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON
  cmake --build freeglut-build -j "$jobs"
  cmake --install freeglut-build
  touch "$freeglut_stamp"
fi

if [[ ! -f "$epoxy_stamp" ]]; then
  fetch_source libepoxy "$epoxy_version"
  cat > mingw-w64.ini <<'EOF'
[binaries]
c = 'x86_64-w64-mingw32-gcc'
cpp = 'x86_64-w64-mingw32-g++'
ar = 'x86_64-w64-mingw32-ar'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
  # Windows reaches OpenGL through WGL only: no EGL, GLX or X11 parts.
  meson setup libepoxy-build libepoxy-src --cross-file mingw-w64.ini \
    --prefix "$prefix" --libdir lib --buildtype release \
    -Ddefault_library=static -Dtests=false -Degl=no -Dglx=no -Dx11=false
  ninja -C libepoxy-build -j "$jobs" install
  touch "$epoxy_stamp"
fi

cd "$prefix"
rm -rf "$work"
