#!/usr/bin/env bash
# Fuzzes each target for longer than the test command does: SECONDS each (default 600),
# all three at once. New inputs are kept between runs in build/host-fuzz/fuzz-long/<target>;
# a finding is saved there under findings/ and the run ends with a non-zero status.
set -euo pipefail
seconds=${1:-600}
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash scripts/setup.sh
[ -f build/host-fuzz/build.ninja ] || cmake --preset host-fuzz >/dev/null
cmake --build --preset host-fuzz
targets=(encoding filter pipeline)
pids=()
for t in "${targets[@]}"; do
  tests/fuzz/run.sh "build/host-fuzz/tests/fuzz/${t}_fuzz" "tests/fuzz/corpus/$t" "$seconds" \
    "build/host-fuzz/fuzz-long/$t" >"build/host-fuzz/fuzz-long-$t.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  wait "${pids[$i]}" || status=1
  echo "== ${targets[$i]}"
  cat "build/host-fuzz/fuzz-long-${targets[$i]}.log"
done
exit "$status"
