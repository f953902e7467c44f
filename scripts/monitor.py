"""scripts/monitor.py — starts the monitor under Wine with a short demo (see scripts/run.sh).

The demo's stand-in editor also answers commands: a stand-in for the editor's command
sender is installed, so the window has its command line, and one command is entered and
answered before the screenshot (or before you take over).
"""
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from rig import Rig, escape, sjis  # noqa: E402

DEMO_COMMAND = sjis("マクロ実行 整形.js")
ANSWER = sjis("コマンド受信: ") + DEMO_COMMAND + b"\n"

DEMO = [
    b"xxxxxxxxxx\n",
    sjis("雲形マクロ「整形.js」を開始します\n"),
    b"plug-in: loaded 3 items\n",
    "UTF-8 で書かれた行: ソースを表示\n".encode("utf-8"),
    sjis("途中までの行…"), sjis("…ここで完成\n"),
    b"showvars: a=1 b=2\n",
] + [b"the same line again\n"] * 3 + [b"KUMOGATAERR: demo error line\n"]


def main():
    rig = Rig(ROOT / "build" / "win64", "win64")
    own_display = not os.environ.get("DISPLAY")
    if own_display:
        rig.start_display()
    rig.prepare_prefix()
    rig.install_library(False)
    rig.install_sender(True)
    stopping = False

    def stop(*_):
        nonlocal stopping
        stopping = True

    signal.signal(signal.SIGINT, stop)
    signal.signal(signal.SIGTERM, stop)
    editor = None
    try:
        rig.start_monitor()
        rig.host(*DEMO)
        # The stand-in editor stays, answering each command the sender relays to it.
        editor = rig.start_tool("kumogata.exe", "--window", "serve:86400000")
        rig.probe("set-command", escape(DEMO_COMMAND))
        rig.probe("key-command", "13")
        rig.wait_for(lambda: ANSWER.rstrip(b"\n") in rig.view_text(), 15)
        print("The monitor is running with a demo from the stand-in editor; a command was entered and answered.")
        if own_display:
            # Nobody can see or close a window on a virtual display: show it, then close it.
            rig.probe("shot-ready")
            shot = ROOT / "build" / "monitor.png"
            rig.screenshot(shot)
            print(f"No display here: a screenshot of the window is at {shot}")
        else:
            print("Type commands into its bottom line; the stand-in editor answers them. Press Ctrl-C to close it.")
            while not stopping and rig.monitor.poll() is None:
                time.sleep(0.2)
        print("Closing the monitor...")
        if rig.monitor.poll() is None:
            rig.probe("close")
        code = rig.wait_monitor_exit(15)
        print(f"The monitor exited with code {code}.")
        return code
    finally:
        if editor:
            editor.kill()
            editor.wait()
        rig.close()


if __name__ == "__main__":
    sys.exit(main())
