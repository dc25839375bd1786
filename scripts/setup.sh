#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and prepares the private Wine prefix. Safe to
# run again: it only does what is not done yet.
#   setup.sh        everything the tests need: the native and the Windows trees, every test
#   setup.sh run    only what running the program needs: plumbo.exe, no GoogleTest, no tests
#   setup.sh release  plumbo.exe and what packages it (zip, NSIS), no Wine prefix
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
what="${1:-all}"
source scripts/wine-env.sh

# Running needs the cross compiler, Wine with Japanese fonts, a display and the tools the run
# script waits and looks with; the tests add the native compiler, GoogleTest, Python for the
# layer check and the readers of exported pictures. Wine's preloader is only recommended, and
# without it Wine now and then cannot map its shared user data at the fixed address, and a
# program fails to start ("failed to map the shared user data: c0000018").
packages=(cmake ninja-build wine wine64 wine64-preloader fonts-wine xvfb xauth fonts-ipafont-gothic fonts-ipafont-mincho
          imagemagick x11-utils xdotool g++-mingw-w64-x86-64-posix mingw-w64-tools)
# The release's zip and installer; the tests build and install it.
[ "$what" = run ] || packages+=(zip nsis)
if [ "$what" = all ]; then
  packages+=(unzip g++ python3 googletest libgtest-dev emf2svg libwmf-bin librsvg2-bin fonts-urw-base35)
  # The test target also as a 32-bit program, and Wine's 32-bit half to run it: the tests read
  # another program's controls in a 32-bit program's structures too. Running needs neither, and
  # a kernel that runs no 32-bit programs could not start them.
  if plumbo_runs_32bit; then
    packages+=(g++-mingw-w64-i686-posix wine32:i386)
  else
    echo "This machine's kernel runs no 32-bit programs: the test target's 32-bit build is left out."
  fi
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
win_configure=(cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
if [ "$what" != all ]; then
  # A tree the tests configured already builds plumbo.exe as well; a new one leaves them out.
  if [ ! -f build/win/CMakeCache.txt ]; then
    "${win_configure[@]}" -DPLUMBO_TESTS=OFF >/dev/null
  fi
  echo "Building plumbo.exe (build/win) ..."
  cmake --build build/win -j "$jobs" --target plumbo
else
  echo "Building the native tree (build/native) ..."
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLUMBO_TESTS=ON >/dev/null
  cmake --build build/native -j "$jobs"
  echo "Building the Windows tree (build/win) ..."
  testtarget32=OFF
  plumbo_runs_32bit && testtarget32=ON
  "${win_configure[@]}" -DPLUMBO_TESTS=ON -DPLUMBO_TESTTARGET32=$testtarget32 >/dev/null
  cmake --build build/win -j "$jobs"
fi

[ "$what" = release ] || bash scripts/prepare-prefix.sh
