#!/usr/bin/env bash
# Builds the libraries the Windows build needs and mingw-w64 lacks as static
# libraries from the upstream tarballs of Debian 12's source packages:
# freeglut and libepoxy for the viewer; zlib, libpng and glslang for
# verrine-check and verrine-shot. Installs them (include/, lib/) into
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
zlib_version=1.2.13
png_version=1.6.39
glslang_version=12.0.0
freeglut_stamp="$prefix/.freeglut-$freeglut_version"
epoxy_stamp="$prefix/.libepoxy-$epoxy_version"
zlib_stamp="$prefix/.zlib-$zlib_version"
png_stamp="$prefix/.libpng-$png_version"
glslang_stamp="$prefix/.glslang-$glslang_version"
stamps=("$freeglut_stamp" "$epoxy_stamp" "$zlib_stamp" "$png_stamp" "$glslang_stamp")

"$repo/tools/install-deps.sh" \
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev cmake meson ninja-build python3

missing=0
for stamp in "${stamps[@]}"; do
  [[ -f "$stamp" ]] || missing=1
done
[[ $missing -eq 1 ]] || exit 0

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

# zlib's static library alone, installed under the name every finder
# looks for; Debian's tarball is upstream's without the parts that are not
# free (".dfsg"). zconf.h is generated in the build folder.
if [[ ! -f "$zlib_stamp" ]]; then
  fetch_source zlib "$zlib_version.dfsg"
  cmake -S zlib-src -B zlib-build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
  cmake --build zlib-build -j "$jobs" --target zlibstatic
  install -D -m 644 zlib-build/libzlibstatic.a "$prefix/lib/libz.a"
  install -D -m 644 -t "$prefix/include" zlib-src/zlib.h zlib-build/zconf.h
  touch "$zlib_stamp"
fi

if [[ ! -f "$png_stamp" ]]; then
  fetch_source libpng1.6 "$png_version"
  cmake -S libpng1.6-src -B libpng-build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
  cmake --build libpng-build -j "$jobs" --target png_static
  cmake --install libpng-build
  touch "$png_stamp"
fi

# The default resource limits belong to the stand-alone programs, which need
# std::mutex, absent from mingw-w64's Win32 threads; that one source file is
# compiled by itself instead.
if [[ ! -f "$glslang_stamp" ]]; then
  fetch_source glslang "$glslang_version"
  cmake -S glslang-src -B glslang-build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DENABLE_OPT=OFF -DENABLE_HLSL=OFF -DBUILD_TESTING=OFF \
    -DENABLE_CTEST=OFF -DENABLE_GLSLANG_BINARIES=OFF -DENABLE_SPVREMAPPER=OFF
  cmake --build glslang-build -j "$jobs"
  cmake --install glslang-build
  x86_64-w64-mingw32-g++ -std=c++11 -O2 -I glslang-src -c glslang-src/StandAlone/ResourceLimits.cpp \
    -o glslang-build/ResourceLimits.obj
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libglslang-default-resource-limits.a" glslang-build/ResourceLimits.obj
  touch "$glslang_stamp"
fi

cd "$prefix"
rm -rf "$work"
