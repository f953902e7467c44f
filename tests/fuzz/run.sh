#!/usr/bin/env bash
# tests/fuzz/run.sh <fuzzer> <seed corpus> <seconds> <work dir>
# Fuzzes from the seeds for a bounded time, keeping new inputs in <work dir>/corpus (never
# in the repository) and any finding in <work dir>/findings. Prints the executions.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3 work=$4
mkdir -p "$work/corpus" "$work/findings"
log="$work/last-run.log"
status=0
KG_FUZZ_SLOWEST="$work/slowest-input" "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" >"$log" 2>&1 || status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|slowest match|Done)' "$log" || true
if [ "$status" -ne 0 ]; then
  tail -60 "$log"
  echo "finding kept in $work/findings/"
fi
exit "$status"
