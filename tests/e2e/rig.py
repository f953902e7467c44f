"""tests/e2e/rig.py — runs the real monitor under Wine on a virtual display.

A Rig owns one Xvfb display and one Wine prefix (inside the build tree), starts the
monitor with its standard output captured, runs the stand-in host editor, other writers
and the probe, and reads what the recording shared-message library received.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


def sjis(text):
    return text.encode("cp932")


def escape(data):
    """Bytes to the writers' command-line escapes (ASCII only, so no code page touches them)."""
    out = []
    for b in data:
        if b == 0x5C:
            out.append("\\\\")
        elif 0x20 <= b < 0x7F and b != 0x5C:
            out.append(chr(b))
        else:
            out.append("\\x%02X" % b)
    return "".join(out)


class Rig:
    def __init__(self, build_dir, arch, prefix=None):
        self.build = Path(build_dir).resolve()
        self.arch = arch
        self.tools = self.build / "tests" / "tools"
        self.monitor_exe = self.build / "src" / "ui" / "kgmonitor.exe"
        self.prefix = Path(prefix).resolve() if prefix else self.build / "wineprefix"
        self.tmp = Path(tempfile.mkdtemp(prefix="kg-e2e-"))
        self.display = None
        self.xvfb = None
        self.monitor = None
        self.env = dict(os.environ)
        self.env.update(
            WINEPREFIX=str(self.prefix),
            KG_WINEPREFIX=str(self.prefix),
            LANG="ja_JP.UTF-8",
            LC_ALL="ja_JP.UTF-8",
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=",
            WINESERVER="/usr/lib/wine/wineserver64",
        )
        self.wine = "/usr/lib/wine/wine64" if arch == "win64" else "/usr/lib/wine/wine"
        self.env["WINELOADER"] = self.wine
        self.record_file = self.tmp / "forwarded.txt"
        self.env["KG_RECORD_FILE"] = "Z:" + str(self.record_file).replace("/", "\\")

    # --- set-up and tear-down -------------------------------------------------------
    def start_display(self):
        for n in range(90, 140):
            if not Path(f"/tmp/.X11-unix/X{n}").exists() and not Path(f"/tmp/.X{n}-lock").exists():
                break
        self.display = n
        self.xvfb = subprocess.Popen(
            ["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if Path(f"/tmp/.X11-unix/X{n}").exists():
                break
            time.sleep(0.05)
        self.env["DISPLAY"] = f":{n}"

    def prepare_prefix(self):
        subprocess.run(["bash", "-c", f'. "{ROOT}/tests/wine/wine-env.sh" "{self.build}" {self.arch}; kg_wine_prefix_ready'],
                       check=True, env=self.env)
        # Keep one server for the whole session: each program then starts in a fraction of a second.
        subprocess.Popen(["/usr/lib/wine/wineserver64", "-p"], env=self.env).wait()
        self.drive_c = self.prefix / "drive_c"
        (self.drive_c / "usr" / "kumogata" / "socket").mkdir(parents=True, exist_ok=True)

    def install_library(self, present=True):
        target = self.drive_c / "usr" / "kumogata" / "kgjre.dll"
        if present:
            shutil.copyfile(self.tools / "kgjre.dll", target)
        elif target.exists():
            target.unlink()

    def close(self):
        self.stop_monitor()
        subprocess.run(["/usr/lib/wine/wineserver64", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # --- the monitor ----------------------------------------------------------------
    def windows_of_class(self):
        out = self.run_tool("probe.exe", "count-windows").stdout.strip()
        return int(out) if out.isdigit() else -1

    def start_monitor(self, wait=True, exe=None):
        # A monitor still closing would make this one a second instance, which only exits.
        for _ in range(100):
            if self.windows_of_class() == 0:
                break
            time.sleep(0.1)
        if self.record_file.exists():
            self.record_file.unlink()
        self.stdout_path = self.tmp / "stdout.txt"
        self.stdout_file = open(self.stdout_path, "wb")
        self.monitor = subprocess.Popen([self.wine, str(exe or self.monitor_exe)], env=self.env,
                                        stdout=self.stdout_file, stderr=subprocess.DEVNULL)
        if wait and self.probe("wait-window", "15000") != 0:
            code = self.monitor.poll()
            raise AssertionError("the monitor window did not appear; the monitor " +
                                 ("is still running" if code is None else f"exited with {code}") +
                                 f"; windows of its class: {self.windows_of_class()}")
        return self.monitor

    def wait_monitor_exit(self, timeout=10):
        code = self.monitor.wait(timeout)
        self.stdout_file.close()
        self.monitor = None
        return code

    def stop_monitor(self):
        if not self.monitor:
            return
        self.probe("close")
        try:
            self.wait_monitor_exit(10)
        except subprocess.TimeoutExpired:
            print("rig: the monitor did not exit within 10 s of its close; killed", file=sys.stderr)
            self.monitor.kill()
            self.monitor.wait()
            self.monitor = None

    def stdout(self):
        self.stdout_file.flush()
        return self.stdout_path.read_bytes().replace(b"\r\n", b"\n")

    # --- writers and the probe ------------------------------------------------------
    def run_tool(self, exe, *args, timeout=120):
        return subprocess.run([self.wine, str(self.tools / exe), *args], env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def start_tool(self, exe, *args, stdin=None, stdout=subprocess.DEVNULL):
        return subprocess.Popen([self.wine, str(self.tools / exe), *args], env=self.env,
                                stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL)

    def host(self, *texts, window=True):
        """The stand-in editor writes each text (bytes) as one debug message."""
        args = (["--window"] if window else []) + ["t:" + escape(t) for t in texts]
        return self.run_tool("kumogata.exe", *args).returncode

    def other(self, *texts):
        return self.run_tool("plainwriter.exe", *["t:" + escape(t) for t in texts]).returncode

    def probe(self, *args):
        return self.run_tool("probe.exe", *args, timeout=60).returncode

    def read_via_probe(self, what):
        path = self.tmp / f"{what}.bin"
        if path.exists():
            path.unlink()
        code = self.probe(what, "Z:" + str(path).replace("/", "\\"))
        assert code == 0, f"probe {what} failed with {code}"
        return path.read_bytes()

    def view_text(self):
        """The log view's text; the rich edit keeps line ends as CR, compare with LF."""
        return self.read_via_probe("text").replace(b"\r\n", b"\n").replace(b"\r", b"\n")

    def caption(self):
        return self.read_via_probe("caption")

    def set_filter(self, data):
        assert self.probe("filter", escape(data)) == 0

    def forwarded(self):
        out = []
        if not self.record_file.exists():
            return out
        data = self.record_file.read_bytes()
        i = 0
        while i < len(data):
            nl = data.index(b"\n", i)
            n = int(data[i:nl])
            out.append(data[nl + 1:nl + 1 + n])
            i = nl + 1 + n + 1
        return out

    def screenshot(self, path):
        xwd = subprocess.run(["xwd", "-root", "-display", f":{self.display}", "-silent"],
                             stdout=subprocess.PIPE, check=True)
        subprocess.run(["convert-im6.q16", "xwd:-", str(path)], input=xwd.stdout, check=True)


class RigTestCase(unittest.TestCase):
    """One display and one prefix for a whole class of tests; BUILD and ARCH set by the suite."""
    BUILD = ARCH = None

    @classmethod
    def setUpClass(cls):
        cls.rig = Rig(cls.BUILD, cls.ARCH)
        cls.rig.start_display()
        cls.rig.prepare_prefix()

    @classmethod
    def tearDownClass(cls):
        cls.rig.close()

    def tearDown(self):
        self.rig.stop_monitor()


class MonitorTestCase(RigTestCase):
    """Each test starts with a fresh monitor and the recording library in place."""

    def setUp(self):
        self.rig.install_library(True)
        self.rig.start_monitor()
