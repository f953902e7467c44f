"""tests/e2e/test_teardown.py — a suite whose set-up fails still ends what it started.

Run by CTest: python3 test_teardown.py BUILD_DIR ARCH
"""
import sys
import unittest
from pathlib import Path

from rig import RigTestCase

RigTestCase.BUILD, RigTestCase.ARCH = sys.argv[1], sys.argv[2]


def running(rig):
    """The rig's display server, if it still runs, and every process of its Wine prefix."""
    mark = b"\0WINEPREFIX=" + str(rig.prefix).encode() + b"\0"
    found = [f"Xvfb {rig.xvfb.pid}"] if rig.xvfb and Path(f"/proc/{rig.xvfb.pid}").exists() else []
    for proc in Path("/proc").iterdir():
        try:
            if proc.name.isdigit() and mark in b"\0" + (proc / "environ").read_bytes():
                found.append((proc / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace"))
        except OSError:
            pass  # ended meanwhile
    return found


class SetUpMadeToFail(RigTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.rig.start_monitor()
        cls.before = running(cls.rig)
        raise RuntimeError("a set-up made to fail")

    def test_never_runs(self):
        pass


class TearDownTest(unittest.TestCase):

    def test_a_failed_class_set_up_leaves_no_display_and_no_wine_process(self):
        result = unittest.TestResult()
        unittest.defaultTestLoader.loadTestsFromTestCase(SetUpMadeToFail).run(result)
        rig = SetUpMadeToFail.rig
        self.addCleanup(rig.close)  # where the suite did not
        self.assertEqual([str(error[1]).splitlines()[-1] for error in result.errors],
                         ["RuntimeError: a set-up made to fail"])
        self.assertEqual(result.testsRun, 0)
        # The display, the Wine server and the monitor ran when it failed; nothing runs now.
        self.assertIn(f"Xvfb {rig.xvfb.pid}", SetUpMadeToFail.before)
        self.assertTrue(any("wineserver" in p for p in SetUpMadeToFail.before), SetUpMadeToFail.before)
        self.assertTrue(any("kgmonitor.exe" in p for p in SetUpMadeToFail.before), SetUpMadeToFail.before)
        self.assertEqual(running(rig), [])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"], defaultTest="TearDownTest")
