#!/usr/bin/env bash
# tests/wine/runs-32bit.sh [command...]
# Whether this machine can run 32-bit programs. Some kernels cannot (no 32-bit support),
# though Wine's 32-bit part installs there without complaint; so ask the loader itself.
#   without a command: exit 0 if it can, 1 if it cannot;
#   with a command: run it where it can; where it cannot, say why and exit 77, which
#   CTest counts as skipped (SKIP_RETURN_CODE).
# KG_RUN_32BIT=yes|no forces the answer (CI machines of either kind, the test of this
# script); unset, the loader KG_WINE32_LOADER (Wine's 32-bit one) must answer --version.
set -uo pipefail

case "${KG_RUN_32BIT:-}" in
  yes) can=1 ;;
  no) can=0 ;;
  "")
    can=0
    "${KG_WINE32_LOADER:-/usr/lib/wine/wine}" --version >/dev/null 2>&1 && can=1
    ;;
  *)
    echo "KG_RUN_32BIT must be yes, no or unset, not '$KG_RUN_32BIT'" >&2
    exit 2
    ;;
esac

if [ $# -eq 0 ]; then
  [ "$can" = 1 ]
  exit
fi
if [ "$can" = 0 ]; then
  echo "this machine cannot run 32-bit programs: skipped"
  exit 77
fi
exec "$@"
