#!/usr/bin/env bash
# How long a pose change can hold the loop: LoadPicture on the largest
# pictures the limits let through, and on pictures they refuse. Nothing is
# seen of the input while a picture decodes, so this is the longest a key
# can wait on account of a picture.
# Usage: bash bench/picture_decode.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d /tmp/mofu-decode.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
# Built by CMake in the bench tree, so it links the picture reader and the
# careful file reader from wherever the sources live.
(cd "$ROOT" && cmake --preset bench >/dev/null &&
  cmake --build --preset bench --target mofu-picture-decode >/dev/null)
cp "$ROOT/build/bench/bin/mofu-picture-decode" "$WORK/decode"
cd "$WORK"
cp "$ROOT/assets/neko1.gif" cat.gif
convert -size 1024x512 xc:black black-1024x512.gif
convert -size 1024x512 plasma:fractal -colors 16 plasma-1024x512.gif
convert -size 4096x128 plasma:fractal -colors 16 plasma-4096x128.gif
convert -size 1024x513 xc:black black-1024x513.gif
printf 'GIF89a\x80\x3e\x80\x3e\x80\x00\x00\x00\x00\x00\xff\xff\xff\x2c\x00\x00\x00\x00\x80\x3e\x80\x3e\x00\x02\x02\x44\x01\x00\x3b' >declares-16000x16000.gif
echo "| picture | outcome | CPU ms, median | wall ms, median | wall ms, worst |"
echo "|---|---|---|---|---|"
./decode cat.gif black-1024x512.gif plasma-1024x512.gif plasma-4096x128.gif black-1024x513.gif \
  declares-16000x16000.gif
