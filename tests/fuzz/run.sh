#!/usr/bin/env bash
# tests/fuzz/run.sh <fuzzer> <seed corpus> <seconds> <work dir>
# Fuzzes from the seeds for a bounded time, keeping new inputs in <work dir>/corpus (never
# in the repository) and any finding in <work dir>/findings. Prints the executions. A
# failure here is a new finding by chance (the seeds' replay is the deterministic test), so
# it says what was found, where the input is kept and how to run it again.
set -euo pipefail
fuzzer=$(realpath "$1") seeds=$(realpath "$2") seconds=$3 work=$4
mkdir -p "$work/corpus" "$work/findings"
work=$(realpath "$work")
log="$work/last-run.log"
limits=(-timeout=20 -rss_limit_mb=2048)
status=0
KG_FUZZ_SLOWEST="$work/slowest-input" "$fuzzer" -max_total_time="$seconds" "${limits[@]}" -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" >"$log" 2>&1 || status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|slowest match|Done)' "$log" || true
if [ "$status" -ne 0 ]; then
  tail -40 "$log"
  what=$(grep -m1 -E '^SUMMARY: ' "$log" || grep -m1 -E 'ERROR: libFuzzer' "$log" || echo "the fuzzer ended with status $status")
  input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
  echo "NEW FINDING by $(basename "$fuzzer") (not one of the seeds, which the replay test runs):"
  echo "  what:      $what"
  grep -m3 -E '^invariant broken' "$log" | sed 's/^/  detail:    /' || true
  if [ -n "$input" ]; then
    echo "  input:     $input"
    echo "  reproduce: $fuzzer ${limits[*]} $input"
    echo "  once fixed, copy the input into $seeds/ so that the replay keeps it"
  else
    echo "  input:     none written; the whole log is $log"
  fi
fi
exit "$status"
