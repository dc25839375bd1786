#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the native and the Windows trees, and
# prepares the private Wine prefix. Safe to run again: it only does what is not done yet.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

packages=(cmake ninja-build g++ python3 wine wine64 fonts-wine xvfb xauth fonts-ipafont-gothic fonts-ipafont-mincho
          imagemagick x11-utils xdotool g++-mingw-w64-x86-64-posix mingw-w64-tools googletest libgtest-dev
          emf2svg libwmf-bin fonts-urw-base35)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
echo "Building the native tree (build/native) ..."
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$jobs"
echo "Building the Windows tree (build/win) ..."
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/win -j "$jobs"

bash scripts/prepare-prefix.sh
