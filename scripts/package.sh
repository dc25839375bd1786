#!/usr/bin/env bash
# Builds the release into build/release: the portable zip, the installer (NSIS, run natively)
# and SHA256SUMS. The version is the project's, from CMakeLists.txt. Builds plumbo.exe first
# when needed, as scripts/run.sh does; installs what is missing (Debian 12).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh release

version="$(sed -n 's/^project(Plumbo VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "no version in CMakeLists.txt"; exit 1; }
bin="$root/build/win/bin"
out="$root/build/release"
stage="$out/stage"
rm -rf "$out"
mkdir -p "$stage"

# What both carry: the program, its help pages and their style sheet, and the readme with the
# notice, in Windows' line ends. Times are the last commit's, so that the same sources give the
# same zip.
cp "$bin/plumbo.exe" "$bin/plHelp.html" "$bin/plHelp_en.html" "$bin/plHelp.css" "$stage/"
# UTF-8 with its mark, so that every Notepad reads the Japanese in it.
{ printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/; s/\$/\r/" res/release/readme.txt; } > "$stage/readme.txt"
stamp="$(git log -1 --format=%ct 2>/dev/null || date +%s)"
touch -d "@$stamp" "$stage"/*

zip_name="plumbo-$version-win64.zip"
(cd "$stage" && TZ=UTC zip -q -X -9 "$out/$zip_name" plumbo.exe plHelp.html plHelp_en.html plHelp.css readme.txt)

setup_name="plumbo-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DBIN="$stage" -DTEXTS="$stage" -DICON="$root/res/plumbo.ico" \
  -DOUTFILE="$out/$setup_name" res/release/plumbo.nsi

rm -rf "$stage"
(cd "$out" && sha256sum "$zip_name" "$setup_name" > SHA256SUMS)
echo "Release $version in build/release:"
(cd "$out" && ls -l "$zip_name" "$setup_name" | awk '{print "  " $5 " bytes  " $9}' && sed 's/^/  /' SHA256SUMS)
