#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds Mofu Saver, stages
# it under build/stage and runs the saver. With no X display it runs on a
# virtual one for 30 seconds and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build run test
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
cmake --install build/default --prefix build/stage >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  exec build/stage/bin/mofu "${@:-/s}"
fi
echo "No display: running the saver on a virtual 1920x1080 screen for 30 s."
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  build/stage/bin/mofu /s & pid=$!
  sleep 30
  import -window root build/saver.png
  kill $pid'
echo "Screenshot: build/saver.png"
