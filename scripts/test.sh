#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs every test: the
# unit tests (the GTK dialog's and the art tool's among them) on the release
# and the ASan+UBSan builds, LeakSanitizer watching, then every CTest suite
# of the release build (the Linux end-to-end suites under Xvfb, the real
# daemon's, and the Windows build's under Wine). Its last lines are CTest's.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/deps.sh || exit 1
jobs=$(nproc)

step() {  # step NAME COMMAND...: a step that fails ends the run
  echo "=== $1"
  "${@:2}" || { echo "failed: $1"; exit 1; }
}
build() {  # build PRESET
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

step "build (release)" build default
step "build (ASan+UBSan)" build asan
step "unit tests (ASan+UBSan)" ctest --preset asan
step "build (Windows, and the Wine suites' helper programs)" build windows
step "build (Windows installer)" cmake --build --preset windows --target installer
# Everything of the release build: its unit tests, then the suites that stage
# it (build/default/stage) or run build/windows/bin/mofu.scr.
echo "=== all suites"
ctest --preset default
