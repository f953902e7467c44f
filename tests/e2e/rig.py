"""tests/e2e/rig.py — runs the real monitor under Wine on a virtual display.

A Rig owns one Xvfb display and one Wine prefix (inside the build tree, one per suite:
build/<preset>/wineprefix-<suite>, copied from the build's pristine prefix, so that a
demo, a benchmark or another suite never shares its Wine server or its files), starts the
monitor with its standard output captured, runs the stand-in host editor, other writers
and the probe, and reads what the recording shared-message library and the stand-in
command sender received.
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

from records import Records, escape, sjis  # noqa: F401 (the suites take them from here)
from shot import Shot  # noqa: F401

ROOT = Path(__file__).resolve().parents[2]


def suite_name():
    """The running script's name without "test_": capture, gui, ..."""
    return Path(sys.argv[0]).stem.replace("test_", "")


class Rig:
    def __init__(self, build_dir, arch, prefix=None):
        self.build = Path(build_dir).resolve()
        self.arch = arch
        self.tools = self.build / "tests" / "tools"
        self.monitor_exe = self.build / "src" / "ui" / "kgmonitor.exe"
        self.prefix = Path(prefix).resolve() if prefix else self.build / f"wineprefix-{suite_name()}"
        self.tmp = Path(tempfile.mkdtemp(prefix="kg-e2e-"))
        self.display = None
        self.xvfb = None
        self.monitor = None
        self.wine_output = None
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
        self.env["KG_RECORD_FILE"] = self.windows_path(self.record_file)
        self.sender_file = self.tmp / "sender.txt"
        self.env["KG_SENDER_RECORD"] = self.windows_path(self.sender_file)

    @staticmethod
    def windows_path(path):
        return "Z:" + str(path).replace("/", "\\")

    # --- set-up and tear-down -------------------------------------------------------
    def start_display(self):
        # Xvfb picks a free display itself and names it once it is listening.
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as pipe:
            number = pipe.readline().strip()
        if not number.isdigit():
            self.xvfb.kill()
            err = self.xvfb.communicate()[1].decode(errors="replace").strip()
            raise RuntimeError(f"Xvfb did not start (exit {self.xvfb.returncode}): {err[-300:]}")
        self.display = int(number)
        self.env["DISPLAY"] = f":{self.display}"

    def keep_wine_output(self, path):
        """From now on Wine's own output (the prefix's set-up, every program's standard error)
        goes to path instead of the caller's standard error or nowhere."""
        self.wine_output = open(path, "wb")

    def _stderr(self):
        return self.wine_output or subprocess.DEVNULL

    def prepare_prefix(self):
        subprocess.run(["bash", "-c", f'. "{ROOT}/tests/wine/wine-env.sh" "{self.build}" {self.arch}; kg_wine_prefix_ready'],
                       check=True, env=self.env, stderr=self.wine_output)
        # Keep one server for the whole session: each program then starts in a fraction of a second.
        subprocess.Popen(["/usr/lib/wine/wineserver64", "-p"], env=self.env).wait()
        self.drive_c = self.prefix / "drive_c"
        (self.drive_c / "usr" / "kumogata" / "socket").mkdir(parents=True, exist_ok=True)

    def install_library(self, present=True):
        self._install("kgjre.dll", self.drive_c / "usr" / "kumogata" / "kgjre.dll", present)

    def install_sender(self, present=True):
        """The stand-in for the editor's command sender, at the sender's path."""
        self._install("se_socket.exe", self.handoff_dir() / "se_socket.exe", present)

    def _install(self, tool, target, present):
        if present:
            shutil.copyfile(self.tools / tool, target)
        elif target.exists():
            target.unlink()

    def handoff_dir(self):
        return self.drive_c / "usr" / "kumogata" / "socket"

    def handoff_file(self):
        return self.handoff_dir() / "se_socket.txt"

    def close(self):
        try:
            self.stop_monitor()
        finally:
            # Every Wine process of the prefix, and then its server, end before this returns.
            subprocess.run(["/usr/lib/wine/wineserver64", "-k"], env=self.env, stderr=subprocess.DEVNULL)
            subprocess.run(["/usr/lib/wine/wineserver64", "-w"], env=self.env, stderr=subprocess.DEVNULL)
            if self.xvfb and self.xvfb.returncode is None:
                self.xvfb.terminate()
                self.xvfb.communicate()
            if self.wine_output:
                self.wine_output.close()
            shutil.rmtree(self.tmp, ignore_errors=True)

    # --- the monitor ----------------------------------------------------------------
    def windows_of_class(self):
        out = self.run_tool("probe.exe", "count-windows").stdout.strip()
        return int(out) if out.isdigit() else -1

    def start_monitor(self, wait=True, exe=None, env=None):
        # A monitor still closing would make this one a second instance, which only exits:
        # the test would then drive the dying one.
        for _ in range(100):
            if self.windows_of_class() == 0:
                break
            time.sleep(0.1)
        else:
            raise AssertionError("a monitor window from before is still there after 10 s")
        for record in (self.record_file, self.sender_file):
            if record.exists():
                record.unlink()
        self.stdout_path = self.tmp / "stdout.txt"
        self.stdout_file = open(self.stdout_path, "wb")
        self.monitor = subprocess.Popen([self.wine, str(exe or self.monitor_exe)], env=dict(self.env, **(env or {})),
                                        stdout=self.stdout_file, stderr=self._stderr())
        # Shown and painted, not only made: the first activation, and the start-up's own
        # work (the hand-off file's delete), are then behind the test, not racing it.
        if wait and (self.probe("wait-window", "15000") != 0 or self.probe("shot-ready") != 0):
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
        """Closes the monitor; one that hangs at close is killed and fails the test."""
        if not self.monitor:
            return
        self.probe("close")
        try:
            code = self.wait_monitor_exit(10)
        except subprocess.TimeoutExpired:
            self.monitor.kill()
            self.monitor.wait()
            self.monitor = None
            raise AssertionError("the monitor did not exit within 10 s of its close (killed)")
        if code != 0:
            raise AssertionError(f"the monitor exited with {code} after its close")

    def stdout(self):
        self.stdout_file.flush()
        return self.stdout_path.read_bytes().replace(b"\r\n", b"\n")

    # --- writers and the probe ------------------------------------------------------
    def run_tool(self, exe, *args, timeout=120, stderr=None):
        # Never a pipe for stderr: Wine's own services, started by the first program, keep
        # it open and the read would wait for them.
        return subprocess.run([self.wine, str(self.tools / exe), *args], env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=stderr or self._stderr())

    def start_tool(self, exe, *args, stdin=None, stdout=subprocess.DEVNULL):
        return subprocess.Popen([self.wine, str(self.tools / exe), *args], env=self.env,
                                stdin=stdin, stdout=stdout, stderr=self._stderr())

    def write(self, exe, *args, timeout=120):
        """Runs a writer; one that could not deliver (or failed otherwise) fails the test."""
        with tempfile.TemporaryFile() as err:
            done = self.run_tool(exe, *args, timeout=timeout, stderr=err)
            if done.returncode != 0:
                err.seek(0)
                raise AssertionError(f"{exe} exited with {done.returncode}: {err.read().decode(errors='replace').strip()}")
        return done.returncode

    def host(self, *texts, window=True):
        """The stand-in editor writes each text (bytes) as one debug message."""
        return self.write("kumogata.exe", *(["--window"] if window else []), *["t:" + escape(t) for t in texts])

    def other(self, *texts):
        return self.write("plainwriter.exe", *["t:" + escape(t) for t in texts])

    def probe(self, *args):
        return self.run_tool("probe.exe", *args, timeout=60).returncode

    def read_via_probe(self, what):
        path = self.tmp / f"{what}.bin"
        if path.exists():
            path.unlink()
        code = self.probe(what, self.windows_path(path))
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
        """Each text the recording library was given, in order."""
        records = Records(self.record_file)
        return [records.field() for _ in iter(records.more, False)]

    def sender_records(self):
        """What each start of the stand-in command sender found: dicts of args, show, console, file."""
        records, out = Records(self.sender_file), []
        while records.more():
            assert records.line() == b"start"
            args = [records.field() for _ in range(int(records.line().split()[1]))]
            show = tuple(int(x) for x in records.line().split()[1:])
            console = int(records.line().split()[1])
            assert records.line() == b"file"
            out.append({"args": args, "show": show, "console": console, "file": records.field()})
        return out

    def wait_for(self, condition, seconds=15):
        """Polls condition until it holds or the time is up; returns its last value."""
        until = time.monotonic() + seconds
        while True:
            value = condition()
            if value or time.monotonic() > until:
                return value
            time.sleep(0.1)

    def objects(self):
        """The monitor's GDI and USER object counts."""
        gdi, user = self.run_tool("probe.exe", "objects").stdout.split()
        return int(gdi), int(user)

    def rects(self):
        out = self.run_tool("probe.exe", "rects").stdout.decode().split("\n")
        return {f[0]: tuple(int(x) for x in f[1:]) for f in (l.split() for l in out) if len(f) == 5}

    def screenshot(self, path):
        # ImageMagick's import, not xwd: xwd leaves Wine's popup menus black.
        subprocess.run(["import-im6.q16", "-window", "root", str(path)], env=self.env, check=True)


class RigTestCase(unittest.TestCase):
    """One display and one prefix for a whole class of tests; BUILD and ARCH set by the suite."""
    BUILD = ARCH = None

    @classmethod
    def setUpClass(cls):
        cls.rig = Rig(cls.BUILD, cls.ARCH)
        # A class clean-up, not tearDownClass: it also runs when the set-up fails.
        cls.addClassCleanup(cls.rig.close)
        cls.rig.start_display()
        cls.rig.prepare_prefix()

    def tearDown(self):
        self.rig.stop_monitor()

    def artefact(self, name):
        """A screenshot of the display, kept as build/<preset>/e2e-artifacts/<name>-<arch>.png."""
        out = self.rig.build / "e2e-artifacts"
        out.mkdir(exist_ok=True)
        path = out / f"{name}-{self.rig.arch}.png"
        self.rig.screenshot(path)
        print(f"\n[artefact] screenshot: {path}", file=sys.stderr)
        return path


class MonitorTestCase(RigTestCase):
    """Each test starts with a fresh monitor and the recording library in place."""

    def setUp(self):
        self.rig.install_library(True)
        self.rig.start_monitor()
