"""bench/soak.py — hours instead of seconds: the real monitor under Wine for N minutes.

    python3 bench/soak.py build/win64 win64 --minutes 30

A realistic day compressed: the stand-in editor writes a changing line every 300-500 ms
and never pauses long enough to end the burst; now and then a burst of one repeated line,
a line in two fragments and an error line (fewer than the cut-off); another program writes
too; every few minutes the filter is changed and the log cleared through the probe. Every
10 s it samples the monitor's resident memory (its Wine process) and its GDI and USER
object counts. At the end it closes the monitor and checks, against what was written, that
every line that had to reach the shared-message library did, and nothing else's did.
Prints first, largest and last figures and the growth after the first minute. A
benchmark, not a test: it runs in its own Wine prefix (build/<arch>/soak-prefix).
"""
import argparse
import random
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from rig import Rig, escape  # noqa: E402


def rss_kb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def subsequence_missing(expected, got):
    """The expected texts, in order, that `got` does not hold in that order."""
    missing, i = [], 0
    for text in expected:
        j = i
        while j < len(got) and got[j] != text:
            j += 1
        if j == len(got):
            missing.append(text)
        else:
            i = j + 1
    return missing


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("arch", choices=["win64", "win32"])
    ap.add_argument("--minutes", type=float, default=30)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--probe64", default=str(ROOT / "build" / "win64" / "tests" / "tools" / "probe.exe"),
                    help="a 64-bit probe: a 32-bit one cannot read a 32-bit process's GDI table under WOW64")
    ap.add_argument("--csv", help="write every sample to this file")
    args = ap.parse_args()
    rnd = random.Random(args.seed)
    build = Path(args.build).resolve()
    rig = Rig(build, args.arch, prefix=build / "soak-prefix")
    expected, other_lines = [], []
    samples = []  # (seconds, rss kB, gdi, user)
    try:  # the display and the Wine server end on every path, a failed set-up included
        rig.start_display()
        rig.prepare_prefix()
        rig.install_library(True)
        rig.start_monitor()
        pid = rig.monitor.pid
        host = rig.start_tool("kumogata.exe", "--window", "-", stdin=subprocess.PIPE)
        other = rig.start_tool("plainwriter.exe", "-", stdin=subprocess.PIPE)

        def write(proc, data):
            proc.stdin.write(("t:" + escape(data) + "\n").encode("ascii"))
            proc.stdin.flush()

        def sample(now):
            env = dict(rig.env, WINELOADER="/usr/lib/wine/wine64")
            out = subprocess.run(["/usr/lib/wine/wine64", args.probe64, "objects"], env=env, timeout=60,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()
            gdi, user = (int(out[0]), int(out[1])) if len(out) == 2 else (-1, -1)
            samples.append((now, rss_kb(pid), gdi, user))

        total = args.minutes * 60
        start = time.monotonic()
        every = {"change": 0.0, "burst": 20.0, "fragment": 7.0, "error": total / 10, "other": 0.5,
                 "filter": min(180.0, total / 3), "clear": min(180.0, total / 3) + 90, "sample": 0.0}
        n = {k: 0 for k in every}
        burst_left, quiet_until, last_probe_action = 0, 0.0, -60.0
        while True:
            now = time.monotonic() - start
            if now >= total:
                break
            if now >= every["sample"]:
                sample(now)
                every["sample"] += 10
            if now >= every["change"]:
                n["change"] += 1
                text = f"changing line {n['change']} at {now:.1f} s: value={rnd.randrange(10**6)}\n".encode()
                write(host, text)
                expected.append(text)
                every["change"] = now + rnd.uniform(0.3, 0.5)
            if burst_left == 0 and now >= every["burst"]:
                n["burst"] += 1
                burst_left = 30
                every["burst"] = now + 60
            if burst_left:
                text = f"burst {n['burst']}: the same line again\n".encode()
                write(host, text)
                if burst_left == 30:
                    expected.append(text)  # the first of a new text is always shown
                burst_left -= 1
            if now >= every["fragment"] and now - last_probe_action < 10:
                every["fragment"] = now + 5  # a re-render holds writers back: not now
            if now >= every["fragment"]:
                # Fragments join across writers, and writers held back by a busy monitor
                # are let go in any order: keep the other program quiet well around them.
                n["fragment"] += 1
                quiet_until = now + 5.0
                write(host, f"fragment {n['fragment']}: first half, ".encode())
                write(host, b"second half\n")
                expected.append(f"fragment {n['fragment']}: first half, second half\n".encode())
                every["fragment"] = now + 30
            if now >= every["error"] and n["error"] < 9:
                n["error"] += 1
                text = f"KUMOGATAERR: soak error {n['error']}\n".encode()
                write(host, text)
                expected.append(text)
                every["error"] = now + total / 10
            if now >= every["other"] and now >= quiet_until and now + 5.0 < every["fragment"]:
                n["other"] += 1
                text = f"another program's line {n['other']}\n".encode()
                write(other, text)
                other_lines.append(text)
                every["other"] = now + 1.0
            if now >= every["filter"]:
                n["filter"] += 1
                rig.set_filter(b"changing|burst")
                rig.set_filter(b"")
                every["filter"] = now + 180
                last_probe_action = time.monotonic() - start
            if now >= every["clear"]:
                n["clear"] += 1
                rig.probe("command", "50005")
                every["clear"] = now + 180
                last_probe_action = time.monotonic() - start
            time.sleep(0.1)
        sample(time.monotonic() - start)
        for proc in (host, other):
            proc.stdin.close()
            proc.wait(60)
        rig.probe("close")
        code = rig.wait_monitor_exit(30)
        got = rig.forwarded()
    finally:
        rig.close()

    missing = subsequence_missing(expected, got)
    other_set = set(other_lines)
    leaked = [t for t in got if t in other_set]
    if args.csv:
        Path(args.csv).write_text("seconds,rss_kb,gdi,user\n" + "".join(f"{t:.0f},{m},{g},{u}\n" for t, m, g, u in samples))
    first, last = samples[0], samples[-1]
    warm = next((s for s in samples if s[0] >= 60), first)
    half = next((s for s in samples if s[0] >= last[0] / 2), first)
    after = [s for s in samples if s[0] >= warm[0]]
    print(f"soak {args.arch}: {args.minutes:g} min, {len(samples)} samples, "
          f"{n['change']} changing lines, {n['burst']} bursts, {n['fragment']} fragments, "
          f"{n['error']} error lines, {n['other']} lines from another program, "
          f"{n['filter']} filter changes, {n['clear']} clears")
    for i, name, unit in ((1, "resident memory", "kB"), (2, "GDI objects", ""), (3, "USER objects", "")):
        print(f"  {name}: first {first[i]}{unit}, largest {max(s[i] for s in samples)}{unit}, last {last[i]}{unit}, "
              f"after the first minute: from {warm[i]} to largest {max(s[i] for s in after)}, "
              f"growth {last[i] - warm[i]:+d}{unit} (second half {last[i] - half[i]:+d}{unit})")
    print(f"  forwarded {len(got)} texts; {len(expected)} lines had to arrive, {len(missing)} missing; "
          f"{len(leaked)} of another program's lines forwarded; exit code {code}")
    for text in missing[:10]:
        print(f"  missing: {text!r}")
    ok = code == 0 and not missing and not leaked
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
