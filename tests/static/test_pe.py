"""tests/static/test_pe.py — the built Windows files, read without running them.

Run by CTest: python3 test_pe.py BUILD_DIR ARCH DIST_DIR VERSION VERSION_TEXT

It guards what can be seen in the files themselves (machine type, subsystem, security flags,
manifest, version record, imports, exports), also where this machine cannot run them. It is
no substitute for running them: the suites under Wine do that.
"""
import sys
import unittest
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

import pefile

BUILD, ARCH, DIST, VERSION, VERSION_TEXT = sys.argv[1:6]
TITLE = "雲形エディタ・デバッグ出力モニター"
MACHINE = pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64" if ARCH == "win64" else "IMAGE_FILE_MACHINE_I386"]
NAME = f"kgmonitor-{VERSION}-{ARCH}"
EXPORT_NAME = b"SetSharedMessage"
# Windows 7, 8, 8.1, and 10 and 11.
SUPPORTED_OS = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
# Missing from older Windows: imported, they would keep the program from starting there.
LATE_USER32 = {b"GetDpiForWindow", b"GetDpiForSystem", b"AdjustWindowRectExForDpi", b"SetThreadDpiAwarenessContext",
               b"SystemParametersInfoForDpi", b"EnableNonClientDpiScaling"}

# KnownDLLs (and ntdll, in every process before anything) are always mapped from the system
# folder, never searched for in the program's own, so a DLL planted beside it cannot stand in.
KNOWN_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "setupapi.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "ws2_32.dll", "ntdll.dll",
}


def load(path):
    return pefile.PE(str(path))


def monitors():
    """The monitor as built (what the tests run) and as shipped in the zip (stripped)."""
    yield "built", load(Path(BUILD) / "src" / "ui" / "kgmonitor.exe")
    with zipfile.ZipFile(Path(DIST) / f"{NAME}.zip") as z:
        yield "shipped", pefile.PE(data=z.read(f"{NAME}/kgmonitor.exe"))


def imported_dlls(pe):
    names = set()
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        names |= {e.dll.decode("ascii").lower() for e in getattr(pe, attr, [])}
    return names


def exported_names(pe):
    if not hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        return set()
    return {s.name for s in pe.DIRECTORY_ENTRY_EXPORT.symbols}


def imported_functions(pe, dll):
    return {i.name for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) if e.dll.decode().lower() == dll
            for i in e.imports}


def manifest_elements(manifest):
    """Each element's text, or else its attributes, by its name without namespace."""
    found = {}
    for e in ET.fromstring(manifest).iter():
        found.setdefault(e.tag.split("}")[-1], []).append((e.text or "").strip() or e.attrib)
    return found


def resource(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            data = entry.directory.entries[0].directory.entries[0].data.struct
            return pe.get_data(data.OffsetToData, data.Size)
    return None


class MonitorImageTest(unittest.TestCase):

    def test_machine_subsystem_and_security_flags(self):
        for which, pe in monitors():
            with self.subTest(which):
                opt = pe.OPTIONAL_HEADER
                self.assertEqual(pe.FILE_HEADER.Machine, MACHINE)
                self.assertEqual(opt.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
                self.assertTrue(opt.IMAGE_DLLCHARACTERISTICS_NX_COMPAT)
                self.assertTrue(opt.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE)
                if ARCH == "win64":
                    self.assertTrue(opt.IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA)
                # ASLR can move only an image that keeps its relocations.
                self.assertFalse(pe.FILE_HEADER.IMAGE_FILE_RELOCS_STRIPPED)
                reloc = opt.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
                self.assertGreater(reloc.Size, 0)

    def test_manifest_icon_and_version_record(self):
        for which, pe in monitors():
            with self.subTest(which):
                manifest = resource(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
                self.assertIsNotNone(manifest)
                self.assertIn(f'version="{VERSION_TEXT}"'.encode(), manifest)
                self.assertIn(b'level="asInvoker"', manifest)
                found = manifest_elements(manifest)
                # Per-monitor v2, else system-aware: never v1, which scales neither frame nor dialogs.
                self.assertEqual(found["dpiAwareness"], ["PerMonitorV2, System"])
                self.assertEqual(found["dpiAware"], ["true"])
                self.assertEqual({os["Id"] for os in found["supportedOS"]}, SUPPORTED_OS)
                self.assertIn({"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
                               "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"},
                              found["assemblyIdentity"])
                # The icon at every size Windows asks for from 100 % to 250 %, and Explorer's largest.
                icons = resource(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])  # 14 bytes an image after 6
                self.assertEqual({icons[6 + 14 * i] or 256 for i in range(icons[4])}, {16, 20, 24, 32, 40, 48, 256})
                fixed = pe.VS_FIXEDFILEINFO[0]
                parts = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                         fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
                self.assertEqual(".".join(map(str, parts)), VERSION_TEXT)
                strings = {}
                for info in pe.FileInfo[0]:
                    for table in getattr(info, "StringTable", []):
                        strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
                self.assertEqual(strings.get("FileVersion"), VERSION_TEXT)
                self.assertEqual(strings.get("ProductName"), TITLE)

    def test_imports_only_known_system_dlls(self):
        for which, pe in monitors():
            with self.subTest(which):
                dlls = imported_dlls(pe)
                self.assertIn("kernel32.dll", dlls)
                # Loaded at run time from the system folder, never imported: an import is
                # searched for in the program's folder first.
                self.assertEqual(dlls & {"winmm.dll", "riched32.dll"}, set())
                self.assertEqual(dlls - KNOWN_DLLS, set())
                self.assertEqual(imported_functions(pe, "user32.dll") & LATE_USER32, set())


class SharedMessageLibraryTest(unittest.TestCase):

    def test_recording_library_exports_the_name_the_monitor_looks_up(self):
        monitor = (Path(BUILD) / "src" / "ui" / "kgmonitor.exe").read_bytes()
        self.assertIn(b"\0" + EXPORT_NAME + b"\0", monitor)
        tools = Path(BUILD) / "tests" / "tools"
        recording, lacking = load(tools / "kgjre.dll"), load(tools / "kgjre_noexport.dll")
        for pe in (recording, lacking):
            self.assertEqual(pe.FILE_HEADER.Machine, MACHINE)
        self.assertIn(EXPORT_NAME, exported_names(recording))
        self.assertNotIn(EXPORT_NAME, exported_names(lacking))
        self.assertIn(b"SomethingElse", exported_names(lacking))


class InstallerTest(unittest.TestCase):

    def test_installer_has_the_programs_bitness(self):
        # x64: a 64-bit installer (no registry or file-system redirection); x86: one that
        # also runs on 32-bit Windows.
        pe = load(Path(DIST) / f"{NAME}-setup.exe")
        self.assertEqual(pe.FILE_HEADER.Machine, MACHINE)
        # All that 32-bit Windows can show of an x64 program it refuses to run.
        strings = {k.decode(): v.decode() for info in pe.FileInfo[0] for table in getattr(info, "StringTable", [])
                   for k, v in table.entries.items()}
        needs = "64 ビット版 Windows 専用"
        self.assertEqual(needs in strings.get("FileDescription", ""), ARCH == "win64", strings)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
