"""tests/e2e/test_packages.py — the release packages, as a user on a clean machine meets them.

Run by CTest: python3 test_packages.py BUILD_DIR ARCH DIST_DIR VERSION

In a fresh Wine prefix (a copy of one never used; the build tree on no path): the zip is
unpacked and its monitor run; the installer is run silently, its monitor run, run again over
the installed copy, and uninstalled silently; run as a user does, its licence page shows the
licence the packages ship. Each monitor must receive a line from the stand-in editor into
its log view and hand it to the recording library, and exit with 0.
Installing over a copy runs only the uninstaller its entry records; a file held open stops
both the uninstall and the install over it, and keeps the entry.
"""
import re
import shutil
import subprocess
import sys
import unittest
import zipfile
from pathlib import Path

from rig import ROOT, Rig, escape, sjis

BUILD, ARCH, DIST, VERSION = sys.argv[1:5]
TITLE = "雲形エディタ・デバッグ出力モニター"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KumogataDebugMonitor"
# Each installer has its program's bitness: its own Program Files and registry view.
PROGRAM_FILES, OTHER_PROGRAM_FILES = ("Program Files", "Program Files (x86)")[::1 if ARCH == "win64" else -1]
VIEW, OTHER_VIEW = ("/reg:64", "/reg:32")[::1 if ARCH == "win64" else -1]
SHORTCUT = TITLE if ARCH == "win64" else f"{TITLE} (32 ビット)"
DISPLAY_NAME = f"{TITLE} (64 ビット)" if ARCH == "win64" else f"{TITLE} (32 ビット)"
NAME = f"kgmonitor-{VERSION}-{ARCH}"
INSTALLED = rf"C:\{PROGRAM_FILES}\Kumogata Debug Monitor"


def fresh_prefix():
    """A copy of a prefix that nothing was ever installed in (made once, then copied)."""
    build = Path(BUILD).resolve()
    pristine, fresh = build / "pristine-prefix", build / "package-prefix"
    env_script = Path(__file__).resolve().parents[1] / "wine" / "wine-env.sh"
    subprocess.run(["bash", "-c", f'KG_WINEPREFIX="{pristine}"; . "{env_script}" "{build}" {ARCH}; '
                                  'kg_wine_prefix_ready && "$WINESERVER" -w'], check=True)
    shutil.rmtree(fresh, ignore_errors=True)
    subprocess.run(["cp", "-a", str(pristine), str(fresh)], check=True)
    return fresh


def files_under(root):
    # Wine keeps its own temporary files and fonts cache; they are not the package's.
    skip = ("users/", "windows/", "unpacked")
    return {str(p.relative_to(root)) for p in root.rglob("*")
            if not str(p.relative_to(root)).startswith(skip)}


class PackageTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.rig = Rig(BUILD, ARCH, prefix=fresh_prefix())
        cls.addClassCleanup(cls.rig.close)  # also when the set-up fails
        cls.rig.start_display()
        cls.rig.prepare_prefix()
        cls.rig.install_library(True)

    def wine(self, *args, timeout=120, env=None):
        return subprocess.run([self.rig.wine, *args], env=env or self.rig.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def registry(self, view=VIEW):
        query = self.wine("reg", "query", UNINSTALL_KEY, view)
        return query.stdout.decode("cp932", "replace") if query.returncode == 0 else ""

    def setup(self, *args, env=None):
        return self.wine(str(Path(DIST).resolve() / f"{NAME}-setup.exe"), "/S", *args, env=env).returncode

    def uninstall_in_place(self, windows_dir):
        """Runs the uninstaller the way an install over it does, and gives its exit code.

        NSIS takes the rest of the command line after _?= as the folder, unquoted; Wine joins
        its arguments with spaces and quotes each one that holds a space, so pass the words."""
        return self.wine(rf"{windows_dir}\uninstall.exe", "/S", *f"_?={windows_dir}".split(" ")).returncode

    def installed(self):
        return self.rig.drive_c / PROGRAM_FILES / "Kumogata Debug Monitor"

    def uninstall(self):
        installed = self.installed()
        self.assertEqual(self.wine(str(installed / "uninstall.exe"), "/S").returncode, 0)
        # The uninstaller goes on from a copy of itself in the temporary folder.
        self.assertTrue(self.rig.wait_for(lambda: not installed.exists() and self.registry() == "", 30))

    def assert_monitor_runs(self, windows_exe):
        r = self.rig
        r.start_monitor(exe=windows_exe)
        line = sjis("パッケージから起動したモニターへ\n")
        self.assertEqual(r.host(line), 0)
        self.assertEqual(r.view_text(), line)
        self.assertEqual(r.forwarded(), [line])
        r.probe("close")
        self.assertEqual(r.wait_monitor_exit(15), 0)

    def test_zip_unpacks_and_runs(self):
        target = self.rig.drive_c / "unpacked"
        with zipfile.ZipFile(Path(DIST) / f"{NAME}.zip") as z:
            self.assertEqual(sorted(z.namelist()), [f"{NAME}/LICENSE.txt", f"{NAME}/README.txt",
                                                    f"{NAME}/THIRD-PARTY-NOTICES.txt", f"{NAME}/kgmonitor.exe"])
            z.extractall(target)
        licence = (target / NAME / "LICENSE.txt").read_bytes()
        self.assertEqual(licence, (ROOT / "LICENSE").read_bytes().replace(b"\n", b"\r\n"))
        readme = (target / NAME / "README.txt").read_bytes()
        self.assertIn(sjis(TITLE), readme)
        self.assertEqual(readme.split(b"\r\n")[0], sjis(f"{TITLE} {VERSION} ({ARCH})"))  # the guide's own has none
        self.assertIn(b"\r\n", readme)
        self.assertIn(b"Oniguruma LICENSE", (target / NAME / "THIRD-PARTY-NOTICES.txt").read_bytes())
        self.assert_monitor_runs(rf"C:\unpacked\{NAME}\kgmonitor.exe")

    def test_installer_installs_reinstalls_and_uninstalls_cleanly(self):
        r = self.rig
        before = files_under(r.drive_c)
        installed = self.installed()
        shortcut = r.drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / f"{SHORTCUT}.lnk"

        for _ in range(2):  # the second time over the installed copy
            self.assertEqual(self.setup(), 0)
            self.assertTrue(r.wait_for(lambda: (installed / "uninstall.exe").exists(), 30))
            self.assertEqual(sorted(p.name for p in installed.iterdir()),
                             ["LICENSE.txt", "README.txt", "THIRD-PARTY-NOTICES.txt", "kgmonitor.exe", "uninstall.exe"])
            self.assertFalse((r.drive_c / OTHER_PROGRAM_FILES / "Kumogata Debug Monitor").exists())
            self.assertTrue(shortcut.exists())
            entry = self.registry()
            self.assertRegex(entry, rf"DisplayName\s+REG_SZ\s+{re.escape(DISPLAY_NAME)}\r?\n")
            self.assertRegex(entry, rf"DisplayVersion\s+REG_SZ\s+{VERSION}")
            self.assertRegex(entry, r"Publisher\s+REG_SZ\s+\S")
            self.assertEqual(self.registry(OTHER_VIEW), "")
            self.assert_monitor_runs(rf"{INSTALLED}\kgmonitor.exe")

        self.uninstall()
        self.assertFalse(shortcut.exists())
        self.assertEqual(files_under(r.drive_c) - before, set())

    def test_installer_shows_the_licence_the_packages_ship(self):
        setup = subprocess.Popen([self.rig.wine, str(Path(DIST).resolve() / f"{NAME}-setup.exe")], env=self.rig.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = self.rig.read_via_probe("licence-page")  # then cancelled there
        self.assertEqual(setup.wait(30), 1)  # cancelled by the user
        with zipfile.ZipFile(Path(DIST) / f"{NAME}.zip") as z:
            shipped = z.read(f"{NAME}/LICENSE.txt")
        shown, shipped = (t.replace(b"\r\n", b"\n").replace(b"\r", b"\n").strip() for t in (shown, shipped))
        self.assertEqual(shown, shipped)  # line ends aside: the rich edit keeps its own
        self.assertFalse(self.installed().exists())

    def test_install_elsewhere_runs_the_recorded_uninstaller_never_one_found_there(self):
        r = self.rig
        record = r.tmp / "ran.txt"
        env = dict(r.env, KG_RAN_RECORD=r.windows_path(record))
        elsewhere = r.drive_c / "elsewhere"
        elsewhere.mkdir()
        shutil.copyfile(r.tools / "bystander.exe", elsewhere / "uninstall.exe")
        # The stranger's uninstaller records each run of it.
        subprocess.run([r.wine, str(elsewhere / "uninstall.exe"), "/S"], env=env, check=True)
        self.assertTrue(record.exists())
        record.unlink()

        self.assertEqual(self.setup(), 0)
        self.assertEqual(self.setup(r"/D=C:\elsewhere", env=env), 0)
        self.assertFalse(record.exists())
        # The copy its entry recorded was uninstalled; the entry now names the new place.
        self.assertFalse(self.installed().exists(), (list(self.installed().glob("*")), self.registry()))
        self.assertRegex(self.registry(), r"InstallLocation\s+REG_SZ\s+C:\\elsewhere\s")
        self.assertTrue((elsewhere / "kgmonitor.exe").exists())

        self.assertEqual(self.uninstall_in_place(r"C:\elsewhere"), 0)
        self.assertEqual(self.registry(), "")
        self.assertEqual(sorted(p.name for p in elsewhere.iterdir()), ["uninstall.exe"])
        shutil.rmtree(elsewhere)

    @unittest.skipUnless(ARCH == "win32", "only the x86 installer meets an older x86 copy beside an x64 one")
    def test_over_an_older_x86_copy_the_x64_copys_shortcut_is_kept(self):
        r = self.rig
        programs = r.drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
        theirs, record = programs / f"{TITLE}.lnk", r.tmp / "ran.txt"
        # An x64 copy (its entry in the 64-bit view, its shortcut) beside an older x86 copy whose
        # uninstaller, a stand-in here, removes that shortcut's name, as older ones did.
        for folder, view in ((r.drive_c / "x64-copy", "/reg:64"), (self.installed(), "/reg:32")):
            folder.mkdir()
            location = rf"C:\{folder.relative_to(r.drive_c)}".replace("/", "\\")
            self.wine("reg", "add", UNINSTALL_KEY, "/v", "InstallLocation", "/d", location, view, "/f")
        (r.drive_c / "x64-copy" / "kgmonitor.exe").write_bytes(b"the x64 copy")
        shutil.copyfile(r.tools / "bystander.exe", self.installed() / "uninstall.exe")
        theirs.write_bytes(b"the x64 copy's shortcut")
        env = dict(r.env, KG_RAN_RECORD=r.windows_path(record), KG_RAN_DELETE=escape(sjis(r.windows_path(theirs))))
        try:
            self.assertEqual(self.setup(env=env), 0)
            self.assertTrue(record.exists())  # the older copy's uninstaller ran and removed it
            self.assertTrue(theirs.exists())  # and it was made again, for the x64 copy
            self.assertNotEqual(theirs.read_bytes(), b"the x64 copy's shortcut")
            self.assertTrue((programs / f"{SHORTCUT}.lnk").exists())
            self.uninstall()
            self.assertTrue(theirs.exists())
        finally:
            self.wine("reg", "delete", UNINSTALL_KEY, "/reg:64", "/f")
            shutil.rmtree(r.drive_c / "x64-copy")
            theirs.unlink(missing_ok=True)

    def test_a_file_held_open_stops_uninstall_and_install_over_it_and_keeps_the_entry(self):
        r = self.rig
        installed = self.installed()
        self.assertEqual(self.setup(), 0)
        holder = r.start_tool("bystander.exe", "hold", rf"{INSTALLED}\README.txt",
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            self.assertEqual(self.uninstall_in_place(INSTALLED), 2)
            self.assertIn(TITLE, self.registry())
            self.assertTrue((installed / "uninstall.exe").exists())
            self.assertEqual(self.setup(), 2)
            self.assertIn(TITLE, self.registry())
            self.assertTrue((installed / "uninstall.exe").exists())
            self.assertFalse((installed / "kgmonitor.exe").exists())  # removed, and not installed again
        finally:
            holder.stdin.close()
            self.assertEqual(holder.wait(30), 0)
            holder.stdout.close()
        # Once the file is free, the same uninstaller removes everything.
        self.uninstall()


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
