"""tests/e2e/test_reading.py — reading the log: the window at every display scale, find, auto-scroll.

Run by CTest: python3 test_reading.py BUILD_DIR ARCH

The system DPI is set in the suite's own prefix (HKCU\\Control Panel\\Desktop\\LogPixels) and
takes effect for a fresh Wine server. This Wine hands every program the system DPI and
applies no manifest awareness: the manifest itself is checked by tests/static/test_pe.py.
"""
import subprocess
import sys
import unittest

from rig import MonitorTestCase, RigTestCase, Shot, escape, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

COPY, FONT = "40101", "40003"
CTRL_F, F3, SHIFT_F3, UP, ENTER = "ctrl+70", "114", "shift+114", "38", "13"
WINESERVER = "/usr/lib/wine/wineserver64"


def set_system_dpi(rig, dpi):
    subprocess.run([rig.wine, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                    "/d", str(dpi), "/f"], env=rig.env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    subprocess.run([WINESERVER, "-k"], env=rig.env)
    subprocess.run([WINESERVER, "-w"], env=rig.env)
    subprocess.Popen([WINESERVER, "-p"], env=rig.env).wait()


def fixed_figures(rects):
    """What the design fixes of each control, whatever the client area's size: the edges it
    keeps from the client area's (left, top, right, bottom) and its fixed width and height."""
    cx, cy, cw, ch = rects["client"]
    edges = {name: (x - cx, y - cy, cx + cw - x - w, cy + ch - y - h, w, h) for name, (x, y, w, h) in rects.items()}
    pick = {"stop-button": (0, 1, 4, 5), "clear-button": (0, 1, 4, 5), "filter-box": (2, 1, 4, 5),
            "log-view": (0, 1, 2, 3)}
    return {name: tuple(edges[name][i] for i in fields) for name, fields in pick.items()}


class ScaleTest(RigTestCase):

    def measure(self):
        r = self.rig
        self.assertEqual(r.probe("shot-ready"), 0)
        return r.rects(), int(r.run_tool("probe.exe", "line-height").stdout)

    def assert_scaled(self, rects, base, scale, what):
        """The design's 96-DPI figures scaled: the client area's width, every control's figures."""
        self.assertLessEqual(abs(rects["client"][2] - base["client"][2] * scale), 2, (what, rects["client"]))
        for name, figures in fixed_figures(rects).items():
            for got, want in zip(figures, fixed_figures(base)[name]):
                self.assertLessEqual(abs(got - want * scale), 2, (what, name, figures, fixed_figures(base)[name]))

    def test_at_144_and_192_dpi_the_window_is_its_96_dpi_design_scaled_also_after_a_dpi_change(self):
        r = self.rig
        self.addCleanup(set_system_dpi, r, 96)
        measured = {}
        for dpi in (96, 144, 192):
            set_system_dpi(r, dpi)
            r.start_monitor()
            r.host(b"first line\n", b"second line\n")
            measured[dpi] = self.measure()
            if dpi != 192:
                r.stop_monitor()
        (base, base_line) = measured[96]
        # At 192 DPI the 1024 x 768 display is lower than the window: the system limits its height.
        self.assertLessEqual(abs(measured[144][0]["client"][3] - base["client"][3] * 1.5), 2)
        for dpi in (144, 192):
            rects, line = measured[dpi]
            self.assert_scaled(rects, base, dpi / 96, dpi)
            self.assertLessEqual(abs(line / base_line - dpi / 96), 0.15, (dpi, line, base_line))
        shot = Shot(self.artefact("dpi-192"))
        cx, cy, cw, _ = rects["client"]
        label = (cx + cw - 570, cy + 26, 252, 28)  # the label's place at 96 DPI, doubled
        self.assertGreater(shot.count(label, lambda p: max(p) < 100), 400)
        self.assertEqual(shot.count((label[0] - 100, label[1], 90, 28), lambda p: max(p) < 100), 0)

        # Moved to a 96-DPI monitor while lines flood in and the font dialog is open.
        flood = r.start_tool("kumogata.exe", "--window", "n:300:flood ")
        self.assertEqual(r.probe("post-command", FONT), 0)
        self.assertTrue(r.wait_for(lambda: r.probe("dialog-open") == 0, 5))
        for now, was in (("96", "192"), ("144", "96"), ("96", "144")):
            self.assertEqual(r.probe("dpi-changed", now, was), 0)
        self.assertEqual(r.probe("cancel-dialog"), 0)
        self.assertEqual(flood.wait(120), 0)
        rects, line = self.measure()
        self.assertEqual(fixed_figures(rects), fixed_figures(base))  # the design's own figures again
        self.assertLessEqual(abs(line - base_line), 1)
        self.assertEqual(r.forwarded()[-300:], [f"flood {i}\n".encode() for i in range(1, 301)])
        objects = r.objects()
        for now, was in (("144", "96"), ("192", "144"), ("96", "192")):
            self.assertEqual(r.probe("dpi-changed", now, was), 0)
        self.assertEqual(r.probe("shot-ready"), 0)
        self.assertEqual(r.objects(), objects)  # each change's fonts replaced, none kept


class FindTest(MonitorTestCase):

    def state(self):
        return tuple(int(x) for x in self.rig.run_tool("probe.exe", "view-state").stdout.split())

    def test_find_selects_exactly_the_word_f3_goes_on_and_a_missing_word_is_told(self):
        r = self.rig
        # ソ is 83 5C: its second byte and "macro" make the bytes of "\\macro" too.
        lines = [sjis("ソmacro\n"), b"C:\\kumogata\\macro\n", sjis("ソースを表示\n"), b"plain\n", sjis("表示のソース\n")]
        r.host(*lines)
        text = b"".join(lines).decode("cp932")  # the view counts characters: the oracle does too
        first, second = text.index("ソース"), text.rindex("ソース")
        self.assertEqual(r.probe("press", "view", CTRL_F), 0)
        self.assertEqual(r.probe("find-open"), 0)
        r.probe("set-selection", "0", "0")
        self.assertEqual(r.probe("find", escape(sjis("ソース"))), 0)
        self.assertEqual(self.state()[:2], (first, first + 3))
        r.probe("command", COPY)
        self.assertEqual(r.read_via_probe("clipboard"), sjis("ソース"))
        self.assertEqual(r.probe("close-find"), 0)
        r.probe("press", "here", F3)  # the dialog gone, the focus back in the view
        self.assertEqual(self.state()[:2], (second, second + 3))
        r.host(b"arrives after the match\n")  # the match turned auto-scroll off: it stays
        self.assertEqual(self.state()[:2], (second, second + 3))
        r.probe("press", "filter", SHIFT_F3)
        self.assertEqual(self.state()[:2], (first, first + 3))

        r.probe("press", "filter", SHIFT_F3)  # nothing before the first
        self.assertEqual(r.read_via_probe("box-text"), sjis("「ソース」が見つかりません。"))
        self.assertEqual(r.probe("dismiss-box"), 0)
        self.assertEqual(self.state()[:2], (first, first + 3))
        # A backslash is found as itself, never as ソ's second byte.
        r.probe("press", "view", CTRL_F)
        r.probe("set-selection", "0", "0")
        r.probe("find", escape(b"\\macro"))
        self.assertEqual(self.state()[:2], (text.index("\\macro"), text.index("\\macro") + 6))
        # The window closes with its find dialog open.
        self.assertEqual(r.probe("find-open"), 0)
        r.stop_monitor()


class AutoScrollTest(MonitorTestCase):

    def state(self):
        return tuple(int(x) for x in self.rig.run_tool("probe.exe", "view-state").stdout.split())

    def menu(self, *keys):
        """A real right click in the view, then keys in its menu."""
        r = self.rig
        self.assertEqual(r.probe("right-click-view"), 0)
        self.assertEqual(r.probe("menu-open"), 0)
        self.assertEqual(r.probe("press", "here", *keys), 0)

    def test_off_the_view_holds_still_while_300_lines_arrive_and_on_it_shows_the_last(self):
        r = self.rig
        r.host(*[f"before {i}\n".encode() for i in range(1, 101)])
        self.menu(UP, UP, ENTER)  # the entry above the last ("クリア"), past a separator
        r.probe("scroll-to", "20")
        r.probe("set-selection", "250", "260")
        held = self.state()
        self.assertEqual((held[0], held[1], held[2]), (250, 260, 20))
        r.write("kumogata.exe", "--window", "n:300:arrived ")
        self.assertEqual(self.state(), held[:3] + (held[3] + 300,))
        self.assertEqual(r.forwarded()[100:], [f"arrived {i}\n".encode() for i in range(1, 301)])
        self.menu(UP, UP, ENTER)  # on again: the end at once
        start, end, top, count = self.state()
        height = int(r.run_tool("probe.exe", "line-height").stdout)
        visible = r.rects()["log-view"][3] // height
        self.assertEqual(start, end)
        self.assertGreaterEqual(top + visible, count - 1)  # the last line (and the empty one after it) in view
        self.assertGreater(top, 20)
        self.menu(UP, UP, UP, ENTER)  # "検索...", past the second separator
        self.assertTrue(r.wait_for(lambda: r.probe("find-open") == 0, 5))


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])  # then test names, if any
