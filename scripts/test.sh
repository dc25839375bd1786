#!/usr/bin/env bash
# Sets up and runs every test: native unit tests, the Win32 tests under Wine and the
# end-to-end tests in a private Wine desktop. Exits non-zero on any failure.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh || { echo "setup failed"; exit 1; }

logs="$root/build/test-logs"
mkdir -p "$logs"

echo "== Layers"
python3 tools/check_layers.py 2>&1 | tee "$logs/layers.txt"
layers_rc=${PIPESTATUS[0]}

echo "== Native tests"
ctest --test-dir build/native --output-on-failure 2>&1 | tee "$logs/native.txt"
native_rc=${PIPESTATUS[0]}

echo "== Windows tests (under Wine)"
bash scripts/wine-ctest.sh build/win 2>&1 | tee "$logs/win.txt"
win_rc=${PIPESTATUS[0]}

echo "== Release (built, installed, started and uninstalled under Wine)"
{ bash scripts/package.sh && bash tests/release/release_test.sh; } 2>&1 | tee "$logs/release.txt"
release_rc=${PIPESTATUS[0]}

count() {  # passed failed from a ctest summary line
  sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n 1
}
read -r nf nt < <(count "$logs/native.txt"; echo "0 0")
read -r wf wt < <(count "$logs/win.txt"; echo "0 0")
read -r rp rf < <(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$logs/release.txt"; echo "0 1")
failed=$((nf + wf + rf))
passed=$((nt - nf + wt - wf + rp))
if [ "$layers_rc" -ne 0 ]; then
  echo "The include layers are broken (see above)."
  failed=$((failed + 1))
fi
echo
echo "$passed passed, $failed failed"
if [ "$layers_rc" -ne 0 ] || [ "$native_rc" -ne 0 ] || [ "$win_rc" -ne 0 ] || [ "$release_rc" -ne 0 ] || [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
  exit 1
fi
