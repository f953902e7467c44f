"""tests/e2e/test_reading.py — reading the log: the window at every display scale, find, auto-scroll.

Run by CTest: python3 test_reading.py BUILD_DIR ARCH

The system DPI is set in the suite's own prefix and takes effect with a fresh Wine server.
This Wine gives every program the system DPI and applies no manifest: test_pe.py reads it.
"""
import re
import subprocess
import sys
import unittest

from rig import MonitorTestCase, RigTestCase, Shot, escape, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

COPY, AUTO_SCROLL, WRAP, FONT = "40101", "40105", "40109", "40003"
CTRL_F, CTRL_HOME, F3, SHIFT_F3, UP, ENTER, CTRL_0 = "ctrl+70", "ctrl+36", "114", "shift+114", "38", "13", "ctrl+48"
WINESERVER = "/usr/lib/wine/wineserver64"


def set_system_dpi(rig, dpi):
    subprocess.run([rig.wine, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                    "/d", str(dpi), "/f"], env=rig.env, check=True, stdout=subprocess.DEVNULL)
    for args in (["-k"], ["-w"], ["-p"]):
        subprocess.run([WINESERVER, *args], env=rig.env)


def figures(rects):
    """What the design fixes of each control whatever the client area's size: the edges it
    keeps from the client area's, and its width and height where they are fixed."""
    cx, cy, cw, ch = rects["client"]
    edges = {name: (x - cx, y - cy, cx + cw - x - w, cy + ch - y - h, w, h) for name, (x, y, w, h) in rects.items()}
    pick = {"stop-button": (0, 1, 4, 5), "clear-button": (0, 1, 4, 5), "filter-box": (2, 1, 4, 5),
            "log-view": (0, 1, 2, 3)}
    return {name: [edges[name][i] for i in fields] for name, fields in pick.items()}


class ReadingTest(MonitorTestCase):

    def number(self, *args):
        return [int(x) for x in self.rig.run_tool("probe.exe", *args).stdout.split()]

    def selection_is(self, expected):
        """The view's selection, once the keys pressed before have been handled."""
        self.assertTrue(self.rig.wait_for(lambda: self.number("view-state")[:2] == expected, 10),
                        (self.number("view-state"), expected))

    def focus_is(self, name):
        focus = lambda: self.rig.run_tool("probe.exe", "focus").stdout.decode().strip()  # noqa: E731
        self.assertTrue(self.rig.wait_for(lambda: focus() == name, 10), (focus(), name))

    def menu(self, *keys):
        """A real right click in the view, then keys in its menu."""
        self.assertEqual(self.rig.probe("right-click-view"), 0)
        self.assertEqual(self.rig.probe("menu-open"), 0)
        self.rig.probe("press", "here", *keys)

    def test_at_144_and_192_dpi_the_window_is_its_96_dpi_design_scaled_also_after_a_dpi_change(self):
        r = self.rig
        self.addCleanup(set_system_dpi, r, 96)
        measured = {}
        for dpi in (96, 144, 192):
            r.stop_monitor()
            set_system_dpi(r, dpi)
            r.start_monitor()
            r.host(b"first line\n", b"second line\n")
            self.assertEqual(r.probe("shot-ready"), 0)
            measured[dpi] = r.rects(), self.number("line-height")[0]
        base, base_line = measured[96]
        # The client area scaled (at 192 DPI the 1024 x 768 display limits the window's height).
        self.assertLessEqual(abs(measured[144][0]["client"][3] - base["client"][3] * 1.5), 2)
        for dpi, (rects, line) in ((144, measured[144]), (192, measured[192])):
            scale = dpi / 96
            self.assertLessEqual(abs(rects["client"][2] - base["client"][2] * scale), 2)
            for name, got in figures(rects).items():
                want = [round(x * scale) for x in figures(base)[name]]
                self.assertTrue(all(abs(g - w) <= 2 for g, w in zip(got, want)), (dpi, name, got, want))
            self.assertLessEqual(abs(line / base_line - scale), 0.15, (dpi, line, base_line))
        cx, cy, cw, _ = rects["client"]
        label = (cx + cw - 570, cy + 26, 252, 28)  # its place and size at 96 DPI, doubled
        shot = Shot(self.artefact("dpi-192"))
        self.assertGreater(shot.count(label, lambda p: max(p) < 100), 400)
        self.assertEqual(shot.count((label[0] - 100, label[1], 90, 28), lambda p: max(p) < 100), 0)

        # Moved to monitors of other scales while lines flood in, under the font dialog.
        flood = r.start_tool("kumogata.exe", "--window", "n:300:flood ")
        self.assertEqual(r.probe("post-command", FONT), 0)
        self.assertTrue(r.wait_for(lambda: r.probe("dialog-open") == 0, 5))
        for change in (("96", "192"), ("144", "96"), ("96", "144")):
            self.assertEqual(r.probe("dpi-changed", *change), 0)
        self.assertEqual(r.probe("cancel-dialog"), 0)
        self.assertEqual(flood.wait(120), 0)
        self.assertEqual(r.forwarded()[-300:], [f"flood {i}\n".encode() for i in range(1, 301)])
        self.assertEqual(r.probe("shot-ready"), 0)
        self.assertEqual(figures(r.rects()), figures(base))  # the design's own figures again
        self.assertLessEqual(abs(self.number("line-height")[0] - base_line), 1)
        objects = r.objects()
        for change in (("144", "96"), ("192", "144"), ("96", "192")):
            self.assertEqual(r.probe("dpi-changed", *change), 0)
        self.assertEqual(r.probe("shot-ready"), 0)
        self.assertEqual(r.objects(), objects)  # each change's fonts replaced, none kept
        # The user's zoom on top of the DPI's, kept across a clear (on a move: the zoom's own table).
        def line_at(scale):
            return r.wait_for(lambda: abs(self.number("line-height")[0] / base_line - scale) <= 0.15, 10)
        self.assertEqual(r.probe("wheel", "3"), 0)  # 130 %
        self.assertTrue(line_at(1.3), self.number("line-height"))
        r.probe("command", "50005")  # the clear button
        r.host(b"first line\n", b"second line\n")
        self.assertTrue(line_at(1.3), self.number("line-height"))
        r.probe("press", "here", CTRL_0)
        self.assertTrue(line_at(1), self.number("line-height"))

    def test_find_selects_exactly_the_word_f3_goes_on_and_a_missing_word_is_told(self):
        r = self.rig
        self.menu(UP, UP, ENTER)  # "折り返し", above the last entry ("クリア")
        # ソ is 83 5C: its second byte and "macro" are the bytes of "\\macro" too.
        # Each line end is one in the view however the writer ended it, wrapped or not.
        lines = [b"w" * 500 + b"\r\n", sjis("ソmacro\r\r\n"), b"C:\\kumogata\\macro\r\r\r\n", sjis("ソースを表示\r"),
                 sjis("表示のソース\n")]
        r.host(*lines)
        text = re.sub(rb"\r*\n|\r", b"\n", b"".join(lines)).decode("cp932")  # the view counts characters, so does this
        self.assertEqual(r.view_text(), text.encode("cp932"))
        self.assertGreater(self.number("view-state")[3], 6)  # more lines than the text's six
        self.assertEqual(self.number("scroll-bars")[0], 0)  # and no horizontal scroll bar
        first, second, backslash = text.index("ソース"), text.rindex("ソース"), text.index("\\macro")
        # The caret is at the end, where auto-scroll leaves it: a search down starts at the top.
        self.menu(*[UP] * 7, ENTER)  # "検索...", above the auto-scroll entry and the view's choices
        self.assertEqual(r.probe("find", escape(sjis("ソース"))), 0)
        self.selection_is([first, first + 3])
        r.probe("command", COPY)
        self.assertEqual(r.read_via_probe("clipboard"), sjis("ソース"))
        self.assertEqual(r.probe("close-find"), 0)
        self.focus_is("view")  # the dialog closed, the focus back in the view
        r.probe("press", "here", F3)
        self.selection_is([second, second + 3])
        r.host(b"arrives after the match\n")  # the match turned auto-scroll off: it stays
        r.probe("press", "filter", SHIFT_F3)
        self.selection_is([first, first + 3])
        r.probe("press", "filter", SHIFT_F3)  # nothing before the first
        self.focus_is("box:main")  # no dialog open: the window's box
        self.assertEqual(r.read_via_probe("box-text"), sjis("「ソース」が見つかりません。"))
        self.assertEqual(r.probe("dismiss-box"), 0)
        self.focus_is("filter")
        self.selection_is([first, first + 3])
        r.probe("press", "view", CTRL_HOME, CTRL_F)
        r.probe("find", escape(b"\\macro"))
        self.selection_is([backslash, backslash + 6])
        r.probe("command", WRAP)
        self.assertEqual([self.number("scroll-bars")[0], self.number("view-state")[3]], [1, 7])  # one line arrived since
        self.assertEqual(r.probe("find-open"), 0)
        r.probe("find", "nowhere")
        self.focus_is("box:find")  # not found with the dialog open: its box, across a DPI change
        self.assertEqual(r.probe("dpi-changed", "144", "96"), 0)
        self.assertEqual(r.read_via_probe("box-text"), sjis("「nowhere」が見つかりません。"))
        self.assertEqual(r.probe("dismiss-box"), 0)
        self.focus_is("find")  # back in the dialog, still open
        r.stop_monitor()  # closes with the dialog open, and exits 0

    def arrive(self, lines):
        """The stand-in editor writes each line from its standard input (too many for a command line)."""
        editor = self.rig.start_tool("kumogata.exe", "--window", "-", stdin=subprocess.PIPE)
        editor.communicate("".join(f"t:{escape(line)}\n" for line in lines).encode(), timeout=600)
        self.assertEqual(editor.returncode, 0)

    def test_auto_scroll_off_holds_the_view_while_2000_lines_arrive_and_on_shows_the_last(self):
        r = self.rig
        r.host(*[f"before {i} {'.' * 100}\n".encode() for i in range(1, 101)])  # each two lines once wrapped
        self.menu(*[UP] * 6, ENTER)  # above the view's choices and the last entry ("クリア")
        r.probe("scroll-to", "20")
        r.probe("press", "view", "shift+38", "shift+38")  # a selection made upwards
        held = self.number("view-state")
        self.assertEqual(held[2], 20)
        self.assertLess(held[0], held[1])
        endings = [b"\n", b"\r\n", b"\r\r\n", b"\r\r\r\n", b"\rcr\n"]
        arrived = [f"arrived {i}".encode() + endings[i % 5] for i in range(1, 2001)] + [b"the needle\n"]
        self.arrive(arrived[:650])  # within the history's bound: nothing trimmed yet
        r.probe("command", WRAP)
        start, end, top, count = self.number("view-state")
        wrapped = (count - held[3] - 650 - 650 // 5) // 100 + 1  # lines each "before" line now takes
        self.assertEqual([start, end, top], held[:2] + [20 * wrapped])  # the same text at the top
        self.arrive(arrived[650:])
        self.assertEqual(r.forwarded()[100:], arrived)  # forwarded byte for byte
        text = r.view_text().decode("cp932")
        r.probe("press", "here", CTRL_F)
        r.probe("find", "needle")
        self.selection_is([text.index("needle"), text.index("needle") + 6])
        self.assertEqual(r.probe("close-find"), 0)
        r.probe("command", AUTO_SCROLL)  # on again: at the end at once
        start, end, top, count = self.number("view-state")
        shown = r.rects()["log-view"][3] // self.number("line-height")[0]
        self.assertEqual(start, end)
        self.assertGreater(top, 20)
        self.assertGreaterEqual(top + shown, count - 1)  # the last line and the empty one after it


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])  # then test names, if any
