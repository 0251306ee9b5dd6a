#!/usr/bin/env bash
# The saver's presents watched from outside (DAMAGE on its window, the cat's
# left edge read back after each present), on a private 800x600 X server
# where the cat enters sooner. Counts of pixels per present, not timings.
# Usage: frames_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu)
set -u
PREFIX=$(cd "$1" && pwd)
MOFU="$PREFIX/bin/mofu"
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"

WORK=$(mktemp -d)
at_exit "rm -rf $WORK"
cc -O2 -o "$WORK/present_watch" "$HERE/../../bench/present_watch.c" -lX11 -lXdamage ||
  { fail "cannot build present_watch"; summary; }

field() {  # field KEY LINE: one value of the watcher's key=value line
  sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"
}

moves_of() {  # moves_of PX LINE: presents that moved the cat by PX
  field moves "$2" | tr ',' '\n' | sed -n "s/^$1://p"
}

# watch SSPEED SECONDS: runs the saver at that speed ("-" for none stored);
# LINE is the watcher's report once the cat has walked for SECONDS.
watch() {
  fresh_home
  [ "$1" = - ] || store sspeed "$1"
  "$MOFU" /s >/dev/null 2>&1 &
  STARTED+=($!)
  LINE=$("$WORK/present_watch" --seconds "$2" --wait-cat 15) || fail "the watcher saw no cat"
  echo "    sspeed=$1: $LINE"
}

# The figures every row relies on: the cat was followed through most
# presents, and it only ever walked left.
watched_enough() {  # watched_enough LINE MIN_MOVED
  local presents tracked
  presents=$(field presents "$1")
  tracked=$(field tracked "$1")
  [ "${presents:-0}" -gt 0 ] || { fail "no presents watched: $1"; return 1; }
  [ $((tracked * 10)) -ge $((presents * 8)) ] ||
    fail "the cat was followed through only $tracked of $presents presents: $1"
  [ "$(field moved "$1")" -ge "$2" ] || fail "only $(field moved "$1") presents moved the cat: $1"
  [ "$(field back "$1")" -eq 0 ] || fail "the cat stepped right: $1"
}

# Up to the display's refresh rate every step of the cat is its own present.
one_pixel_a_present() {  # one_pixel_a_present SSPEED
  begin_case
  local moved ones
  watch "$1" 6
  watched_enough "$LINE" 60 || return 1
  moved=$(field moved "$LINE")
  ones=$(moves_of 1 "$LINE")
  [ $((ones * 100)) -ge $((moved * 90)) ] ||
    fail "only $ones of $moved presents that moved the cat moved it by 1 px"
}

# Above it the saver presents at the refresh rate and the cat takes at most
# two steps a present.
refresh_rate_two_at_most() {  # refresh_rate_two_at_most SSPEED
  begin_case
  local rate
  watch "$1" 5
  watched_enough "$LINE" 50 || return 1
  rate=$(field presents_per_s "$LINE")
  awk "BEGIN { exit !($rate >= 50) }" || fail "$rate presents a second while the cat walks"
  [ "$(field max_move "$LINE")" -le 2 ] ||
    fail "a present moved the cat by $(field max_move "$LINE") px"
}

start_xvfb 800x600 || exit 1
check "default speed: at least 90% of the cat's moves are 1 px a present" one_pixel_a_present -
check "sspeed=1: 50 presents a second or more, no move above 2 px" refresh_rate_two_at_most 1
summary
