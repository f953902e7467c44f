"""tests/e2e/test_no_32bit.py — the win64 build on a machine that cannot run 32-bit programs.

Run by CTest (win64): python3 test_no_32bit.py BUILD_DIR ARCH

Where this machine can run 32-bit programs, the test runs itself again in a private mount
namespace with /dev/null over Wine's 32-bit loader: the kernel then refuses that loader
(exit 126), as one without 32-bit support does, 64-bit Wine's set-up meets the same refusal,
and nothing outside the namespace changes. There, from nothing, it makes a build tree's
Wine prefix with the project's own code and runs the monitor end to end in it. Where the
namespace cannot be made (not root, no unshare), it is skipped with the reason (exit 77).
"""
import os
import shutil
import subprocess
import sys
import unittest
from pathlib import Path

from rig import ROOT, Rig

BUILD, ARCH = Path(sys.argv[1]).resolve(), sys.argv[2]
LOADER32 = "/usr/lib/wine/wine"
DETECT = ROOT / "tests" / "wine" / "runs-32bit.sh"
HIDDEN = "KG_32BIT_LOADER_HIDDEN"


# The question itself is asked, here and by the prefix code: a forced answer
# (KG_RUN_32BIT, as the test command passes on) would prove nothing about what Wine does.
os.environ.pop("KG_RUN_32BIT", None)


def detection():
    """The test command's own detection: 0 can run 32-bit programs, 1 cannot."""
    return subprocess.run(["bash", str(DETECT)]).returncode


def enter_namespace():
    """Runs this test again where the 32-bit loader is hidden; returns only to skip."""
    if os.geteuid() != 0:
        return "not root: a private mount namespace cannot be made"
    if not shutil.which("unshare"):
        return "no unshare: a private mount namespace cannot be made"
    hide = f"mount --bind /dev/null {LOADER32} && exec \"$0\" \"$@\""
    trial = subprocess.run(["unshare", "--mount", "bash", "-c", hide, "true"], stderr=subprocess.PIPE)
    if trial.returncode != 0:
        return "the namespace could not be made: " + trial.stderr.decode(errors="replace").strip()
    os.execvpe("unshare", ["unshare", "--mount", "bash", "-c", hide, sys.executable, *sys.argv],
               dict(os.environ, **{HIDDEN: "1"}))


class NoThirtyTwoBitTest(unittest.TestCase):

    def test_a_fresh_win64_prefix_is_made_and_the_monitor_runs_in_it(self):
        if os.environ.get(HIDDEN):
            refused = subprocess.run(["bash", "-c", f"{LOADER32} --version"], stderr=subprocess.DEVNULL)
            self.assertEqual(refused.returncode, 126, "the 32-bit loader should be refused here")
        self.assertEqual(detection(), 1, "the detection should answer that 32-bit programs cannot run")
        # A build tree of its own, whose programs are the real build's: its prefix is made
        # from nothing on every run, and the build's own prefixes are never touched.
        tree = BUILD / "no-32bit"
        shutil.rmtree(tree, ignore_errors=True)
        tree.mkdir()
        for part in ("src", "tests"):
            (tree / part).symlink_to(BUILD / part)
        rig = Rig(tree, ARCH)
        self.addCleanup(rig.close)
        rig.start_display()
        rig.prepare_prefix()
        # Wine's set-up met the machine it was meant to: its 32-bit half could not start.
        self.assertFalse((tree / "pristine-prefix/drive_c/windows/syswow64/kernel32.dll").exists())

        rig.install_library(True)
        rig.start_monitor()
        line = b"a line on a machine without 32-bit support\n"
        rig.host(line)
        self.assertTrue(rig.wait_for(lambda: rig.view_text() == line), rig.view_text())
        rig.stop_monitor()  # closed, and exited with 0
        self.assertEqual(rig.forwarded(), [line])
        self.doCleanups()
        shutil.rmtree(tree)  # kept only after a failure, with Wine's own output in it


if __name__ == "__main__":
    if not os.environ.get(HIDDEN) and detection() == 0:
        print(f"skipped: {enter_namespace()}")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], "-v"])
