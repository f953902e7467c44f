#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native logic (plain, ASan+UBSan,
# TSan, the fuzz targets) and both Windows targets and their release packages, then runs
# the native tests, the fuzz replays and bounded fuzz runs, and, under Wine, the Windows
# tests and the package smoke tests. Ends with one line: "N passed, N failed, N skipped".
# Where this machine cannot run 32-bit programs, the tests that run them are skipped (all
# is still built); KG_RUN_32BIT=yes|no overrides the detection.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/setup.sh || { echo "setup failed"; exit 1; }

# Detected once here; each win32 test then reads the answer instead of asking again.
bash tests/wine/runs-32bit.sh
case $? in
  0) export KG_RUN_32BIT=yes ;;
  1) export KG_RUN_32BIT=no ;;
  *) exit 1 ;;
esac

presets=(host host-asan host-tsan host-fuzz win64 win32)
for p in "${presets[@]}"; do
  echo "== build $p"
  if [ ! -f "build/$p/build.ninja" ]; then
    cmake --preset "$p" >"build-$p.configure.log" 2>&1 || { cat "build-$p.configure.log"; exit 1; }
    rm -f "build-$p.configure.log"
  fi
  cmake --build --preset "$p" || { echo "build of $p failed"; exit 1; }
done

echo "== packages"
bash scripts/package.sh || { echo "packaging failed"; exit 1; }

passed=0 failed=0 skipped=0 failures=""
for p in "${presets[@]}"; do
  echo "== test $p"
  jobs=1
  [ "$p" = host-fuzz ] && jobs=2  # the fuzzers run side by side, one per core
  out=$(ctest --test-dir "build/$p" --output-on-failure -j "$jobs" 2>&1)
  echo "$out"
  # How much each fuzzer searched, which CTest keeps to itself for a test that passes.
  [ "$p" = host-fuzz ] && awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 }
    /^Done [0-9]+ runs in/ && name !~ /_replay$/ { print "  " name ": " $0 }' "build/$p/Testing/Temporary/LastTest.log"
  total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' <<<"$out" | tail -1)
  if [ -z "$total" ]; then
    failed=$((failed + 1))
    continue
  fi
  read -r f t <<<"$total"
  # Each failed test's telling lines (a failure, an error and the few lines after it) and
  # the end of its output, repeated at the end: a log cut to its last lines still says why.
  block=$(awk -v preset="$p" '
    /^ *Start +[0-9]+:/ || /tests passed, .* tests failed out of/ { flush(); next }
    / Test +#[0-9]+: .*\*\*\*(Failed|Timeout|Exception)/ { flush(); name = $4; n = 0; next }
    name != "" { lines[n++] = $0 }
    function flush(  i, k, shown, keep) {
      if (name == "") return
      print "---- " preset " " name ": why it failed"
      for (i = 0; i < n; i++)
        if (lines[i] ~ /: Failure$|^\[  FAILED  \]|^(FAIL|ERROR):|Traceback|Error:|Unhandled|run\.sh:|wine-env\.sh:/)
          for (k = i; k < i + 4 && k < n; k++) keep[k] = 1
      for (i = 0; i < n && shown < 30; i++) if (i in keep && i < n - 10) { print lines[i]; shown++ }
      print "---- the end of its output"
      for (i = (n > 10 ? n - 10 : 0); i < n; i++) print lines[i]
      name = ""; delete lines
    }
    END { flush() }' <<<"$out")
  [ -n "$block" ] && failures+="$block"$'\n'
  # CTest's "passed" includes the skipped ones; they are listed as "N - name (Skipped)".
  s=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' <<<"$out")
  passed=$((passed + t - f - s))
  failed=$((failed + f))
  skipped=$((skipped + s))
done
echo
[ -n "$failures" ] && printf '%s\n\n' "$failures"
[ "$KG_RUN_32BIT" = no ] && echo "this machine cannot run 32-bit programs: win32 tests skipped"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
