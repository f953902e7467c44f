#!/usr/bin/env bash
# tests/wine/runs-32bit_test.sh — the 32-bit detection and the skip it leads to, on fake
# loaders: one the kernel refuses (as on a machine without 32-bit support), one that
# answers, one missing; and KG_RUN_32BIT forcing either answer whatever the loader does.
set -uo pipefail
gate=$(cd "$(dirname "$0")" && pwd)/runs-32bit.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# A 32-bit ELF header: execve refuses it with "Exec format error", and the shell says 126.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000' >"$tmp/refused"
printf '#!/bin/sh\necho wine-8.0\n' >"$tmp/answers"
chmod +x "$tmp/refused" "$tmp/answers"

# expect <exit code of the check> <exit code of the gated command> <force> <loader>
expect() {
  local want_check=$1 want_gated=$2 force=$3 loader=$4 got_check got_gated ran=no out
  KG_RUN_32BIT=$force KG_WINE32_LOADER=$loader bash "$gate" >/dev/null 2>&1
  got_check=$?
  rm -f "$tmp/ran"
  out=$(KG_RUN_32BIT=$force KG_WINE32_LOADER=$loader bash "$gate" bash -c "touch '$tmp/ran'; exit 3" 2>&1)
  got_gated=$?
  [ -f "$tmp/ran" ] && ran=yes
  local want_ran=no
  [ "$want_gated" = 3 ] && want_ran=yes
  local said=yes
  if [ "$want_gated" = 77 ]; then
    [ "$out" = "this machine cannot run 32-bit programs: skipped" ] || said=no
  fi
  if [ "$got_check" != "$want_check" ] || [ "$got_gated" != "$want_gated" ] || [ "$ran" != "$want_ran" ] ||
    [ "$said" = no ]; then
    echo "FAIL KG_RUN_32BIT='$force' loader=$(basename "$loader"): check $got_check (want $want_check)," \
      "gated $got_gated (want $want_gated), command ran: $ran, said: '$out'"
    failures=$((failures + 1))
  fi
}

expect 1 77 "" "$tmp/refused"
expect 0 3 "" "$tmp/answers"
expect 1 77 "" "$tmp/missing"
expect 0 3 yes "$tmp/refused"
expect 1 77 no "$tmp/answers"
expect 2 2 maybe "$tmp/answers"

if [ "$failures" -eq 0 ]; then echo "32-bit detection: all cases pass"; fi
[ "$failures" -eq 0 ]
