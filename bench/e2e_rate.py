"""bench/e2e_rate.py — one writer's OutputDebugStringA rate, end to end under Wine.

The same writer sends COUNT distinct 80-byte host lines, first to a bare reader of the
channel that only acknowledges, then to the monitor showing every line (window visible,
virtual display). Prints both rates and their ratio.

    python3 bench/e2e_rate.py [BUILD_DIR] [ARCH] [COUNT]
"""
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from rig import Rig  # noqa: E402

build = sys.argv[1] if len(sys.argv) > 1 else str(ROOT / "build" / "win64")
arch = sys.argv[2] if len(sys.argv) > 2 else "win64"
count = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
prefix = "bench line " + "x" * 58 + " #"  # with the number and the newline, 80 bytes

rig = Rig(build, arch)
try:
    rig.start_display()
    rig.prepare_prefix()
    rig.install_library(False)

    reader = subprocess.Popen([rig.wine, str(rig.tools / "bare_reader.exe"), str(count)], env=rig.env,
                              stdout=subprocess.PIPE)
    reader.stdout.readline()
    start = time.monotonic()
    rig.run_tool("kumogata.exe", "--window", f"n:{count}:{prefix}", timeout=3600)
    bare = count / (time.monotonic() - start)
    reader.wait()

    rig.start_monitor()
    start = time.monotonic()
    rig.run_tool("kumogata.exe", "--window", f"n:{count}:{prefix}", timeout=3600)
    shown = count / (time.monotonic() - start)
    rig.stop_monitor()

    costs = [subprocess.run([rig.wine, str(rig.tools / "richedit_cost.exe"), "300", mode], env=rig.env,
                            stdout=subprocess.PIPE).stdout.decode().strip() for mode in ("visible", "hidden")]
    print(f"{arch}: {count} lines of 80 bytes")
    print(f"  bare reader:            {bare:8.0f} calls/s")
    print(f"  monitor showing all:    {shown:8.0f} calls/s")
    print(f"  ratio:                  {shown / bare:8.3f}")
    for cost in costs:
        print(f"  rich edit alone, {cost}")
finally:
    rig.close()
