#!/usr/bin/env bash
# Fuzzes the picture decoder and the settings reader with libFuzzer: runs the
# targets of tests/fuzz/ (built by the `fuzz` preset, Debian's clang with
# AddressSanitizer and UndefinedBehaviorSanitizer), each for a bounded time,
# all side by side. Not part of the tests: run it by hand, niced, and copy
# the summary into bench/results.md.
# Usage: bench/fuzz.sh [SECONDS per target, default 60] [TARGET...]
#   targets: picture settings (default: both)
# Crashes are left in build/fuzz/crashes/; the grown corpus in
# build/fuzz/corpus/TARGET (seeded from tests/fuzz/corpus/TARGET).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" _fuzz.cpp)"); done
fi

out=build/fuzz
{ cmake --preset fuzz && cmake --build --preset fuzz -j2; } >"$out.log" 2>&1 ||
  { tail -n 20 "$out.log" >&2; echo "the fuzz preset did not build (is clang installed?)" >&2; exit 1; }
mkdir -p "$out/crashes"

pids=()
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  cp -n tests/fuzz/corpus/"$t"/* "$out/corpus/$t/" 2>/dev/null
  dict=()
  [ -f "tests/fuzz/$t.dict" ] && dict=(-dict="tests/fuzz/$t.dict")
  # A picture or settings file that wants more than this is refused long
  # before: a larger allocation is itself a finding.
  # Forked jobs, so that a finding is written down and the run goes on.
  nice -n 19 "$out/bin/${t}_fuzz" "$out/corpus/$t" "${dict[@]}" -fork=1 -ignore_crashes=1 \
    -ignore_ooms=1 -ignore_timeouts=1 -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=1024 -malloc_limit_mb=512 -artifact_prefix="$out/crashes/$t-" \
    >"$out/$t.log" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done

for t in "${targets[@]}"; do
  log=$out/$t.log
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$last")
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  files=$(find "$out/corpus/$t" -type f | wc -l)
  crashes=$(find "$out/crashes" -name "$t-*" | wc -l)
  echo "$t: ${seconds} s, ${runs:-?} runs, cov ${cov:-?}, ft ${ft:-?}, corpus $files files, crashes $crashes"
done
exit "$status"
