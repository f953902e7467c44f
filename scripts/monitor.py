"""scripts/monitor.py — starts the monitor under Wine with a short demo (see scripts/run.sh).

The demo's stand-in editor also answers commands: a stand-in for the editor's command
sender is installed, so the window has its command line, and one command is entered and
answered before the screenshot (or before you take over).
"""
import contextlib
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from rig import Rig, escape, sjis  # noqa: E402

SHOW_TIME, MARKER, COLOURS = "40106", "40107", "40108"  # the log view's menu entries
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


class Failed(Exception):
    """What the run command could not do, as the one line it ends with."""


@contextlib.contextmanager
def doing(what, output):
    """Turns any failure inside into one line: what could not be done, why, and where
    Wine's own output is."""
    try:
        yield
    except Failed:
        raise
    except Exception as error:
        if isinstance(error, subprocess.CalledProcessError):
            why = f"exit status {error.returncode}"
        elif isinstance(error, subprocess.TimeoutExpired):
            why = f"no end within {error.timeout:g} s"
        else:
            why = " ".join(str(error).split()) or type(error).__name__
        where = f"; Wine's own output is in {output}" if output else ""
        raise Failed(f"could not {what} ({why}){where}") from None


def crop(shot, rect, out):
    """The window alone, for the README. Without dates in the file the same picture gives
    the same bytes, so the committed one changes only when the window looks different."""
    x, y, width, height = rect
    subprocess.run(["convert-im6.q16", str(shot), "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-strip",
                    "-define", "png:exclude-chunks=date,time", str(out)], check=True)


def demo(rig, started, stopping):
    own_display = not os.environ.get("DISPLAY")
    log = rig.wine_output.name
    with doing("start a virtual display", None):
        if own_display:
            rig.start_display()
    with doing(f"make the Wine prefix {rig.prefix}", rig.build / "pristine-prefix.log"):
        rig.prepare_prefix()
    # From here Ctrl-C (or a stop) closes the monitor the way its window would be closed.
    signal.signal(signal.SIGINT, lambda *_: stopping.append(1))
    signal.signal(signal.SIGTERM, lambda *_: stopping.append(1))
    with doing("start the monitor", log):
        rig.install_library(False)
        rig.install_sender(True)
        rig.start_monitor()
    with doing("run the demo", log):
        # Each line's time and the colours on, and a marker between two runs of a macro.
        for command in (SHOW_TIME, COLOURS):
            rig.probe("command", command)
        rig.host(*DEMO[:-1])
        rig.probe("command", MARKER)
        rig.host(DEMO[1], *DEMO[-1:])  # the macro run again
        # The stand-in editor stays, answering each command the sender relays to it.
        started.append(rig.start_tool("kumogata.exe", "--window", "serve:86400000"))
        rig.probe("set-command", escape(DEMO_COMMAND))
        rig.probe("key-command", "13")
        rig.wait_for(lambda: ANSWER.rstrip(b"\n") in rig.view_text(), 15)
    print("The monitor is running with a demo from the stand-in editor; a command was entered and answered.")
    if own_display:
        # Nobody can see or close a window on a virtual display: show it, then close it.
        shot, window = ROOT / "build" / "monitor.png", ROOT / "docs" / "monitor.png"
        with doing("save a screenshot", log):
            rig.probe("shot-ready")
            rig.screenshot(shot)
            crop(shot, rig.rects()["window"], window)
        print(f"No display here: a screenshot of the display is at {shot}, of the window alone at {window}")
    else:
        print("Type commands into its bottom line; the stand-in editor answers them. Press Ctrl-C to close it.")
        while not stopping and rig.monitor.poll() is None:
            time.sleep(0.2)
    print("Closing the monitor...")
    with doing("close the monitor", log):
        if rig.monitor.poll() is None:
            rig.probe("close")
        code = rig.wait_monitor_exit(15)
    print(f"The monitor exited with code {code}.")
    return code


INTERRUPTED = "run.sh: interrupted; what it had started has ended"


def interrupt(*_):
    raise KeyboardInterrupt


def main():
    rig = Rig(ROOT / "build" / "win64", "win64")
    rig.keep_wine_output(rig.build / "monitor-wine.log")
    signal.signal(signal.SIGTERM, interrupt)  # until the monitor runs: end what was started, then stop
    started, stopping, message = [], [], None
    try:
        code = demo(rig, started, stopping)
    except Failed as failure:
        # Ctrl-C reaches every program of the terminal's: what fails after it is its doing.
        code, message = (130, INTERRUPTED) if stopping else (1, f"run.sh: {failure}")
    except KeyboardInterrupt:
        code, message = 130, INTERRUPTED
    # Whatever happened: the display, the Wine server and every program it ran end here.
    try:
        with doing("end the demo's programs", rig.wine_output.name):
            for program in started:
                program.kill()
                program.wait()
            rig.close()
    except Failed as failure:
        code, message = code or 1, message or f"run.sh: {failure}"
    if message:
        print(message, file=sys.stderr)
    return code


if __name__ == "__main__":
    sys.exit(main())
