"""tests/e2e/test_gui.py — the whole application as a user meets it, under Wine and Xvfb.

Run by CTest: python3 test_gui.py BUILD_DIR ARCH
"""
import os
import shutil
import sys
import unittest

from rig import MonitorTestCase, RigTestCase, Shot, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

RESTART_NOTICE = sjis("雲形の再起動を認識。\n\n")
CUT_OFF_NOTICE = sjis("\n雲形: エラーが多くなっています。受信を停止します。\n")
STOP, RESUME = sjis("受信停止"), sjis("受信再開")
STOP_RESUME, CLEAR, EXIT, FONT, COLOURS = "50001", "50005", "40002", "40003", "40108"
VIEW_BACKGROUND = (0, 0, 51)


def dark(p):
    return max(p) < 100  # the label's RGB(30, 0, 0), and its edges, on white


def label_rect(client):
    cx, cy, cw, _ = client
    return (cx + cw - 285, cy + 13, 126, 14)


class GuiTest(MonitorTestCase):

    def test_host_lines_appear_exactly_with_one_restart_notice_per_run(self):
        r = self.rig
        lines = [sjis("雲形マクロ: 開始\n"), b"ascii line\n", sjis("ソースの表示\n")]
        r.host(b"xxxxxxxxxx\n", b"xxxxxxxxxx\n", *lines, b"xxxxxxxxxx\n")
        self.assertEqual(r.view_text(), RESTART_NOTICE + b"".join(lines) + RESTART_NOTICE)

    def test_filter_narrows_the_view_as_it_is_set(self):
        r = self.rig
        r.host(b"alpha ERROR\n", b"beta info\n", b"gamma Error\n", sjis("日本語の行\n"))
        r.set_filter(b"err")
        self.assertEqual(r.view_text(), b"alpha ERROR\ngamma Error\n")
        r.host(b"delta\n")  # kept, though not shown under this filter
        self.assertEqual(r.view_text(), b"alpha ERROR\ngamma Error\n")
        r.set_filter(sjis("日本"))
        self.assertEqual(r.view_text(), sjis("日本語の行\n"))
        r.set_filter(b"(")
        self.assertEqual(r.view_text(), b"")
        r.set_filter(b"")
        self.assertEqual(r.view_text(), b"alpha ERROR\nbeta info\ngamma Error\n" + sjis("日本語の行\n") + b"delta\n")
        r.set_filter(b"(")
        r.probe("press", "filter", "ctrl+77")  # Ctrl+M from the filter box: a marker, whatever the filter
        self.assertRegex(r.wait_for(lambda: r.view_text()).decode("cp932"), "^─{8} [0-2]\\d:[0-5]\\d:[0-5]\\d ─{8}\n$")
        self.assertEqual((r.read_via_probe("filter-text"), len(r.forwarded())), (b"(", 5))

    def test_clear_keeps_the_filter_and_stop_resume_gates_everything(self):
        r = self.rig
        r.host(b"one x\n", b"two\n")
        r.set_filter(b"x")
        r.probe("command", CLEAR)
        self.assertEqual(r.view_text(), b"")
        self.assertEqual(r.read_via_probe("filter-text"), b"x")
        r.host(b"three x\n", b"four\n")
        self.assertEqual(r.view_text(), b"three x\n")

        self.assertEqual(r.caption(), STOP)
        r.probe("command", STOP_RESUME)
        self.assertEqual(r.caption(), RESUME)
        before = r.forwarded()
        r.host(b"while stopped x\n")
        self.assertEqual(r.view_text(), b"three x\n")
        self.assertEqual(r.forwarded(), before)
        r.probe("command", STOP_RESUME)
        self.assertEqual(r.caption(), STOP)
        r.host(b"resumed x\n")
        self.assertEqual(r.view_text(), b"three x\nresumed x\n")

    def test_eleventh_error_line_stops_reception(self):
        r = self.rig
        r.probe("command", COLOURS)
        r.host(*[f"KUMOGATAERR: e{i}\n".encode() for i in range(1, 12)])
        view = r.view_text()
        self.assertTrue(view.endswith(b"KUMOGATAERR: e11\n" + CUT_OFF_NOTICE), view[-120:])
        notice = view.decode("cp932").index("雲形")  # the monitor's own line, after the error lines
        colour = lambda at: r.run_tool("probe.exe", "colour", str(at)).stdout.split()  # noqa: E731
        self.assertEqual([colour(0), colour(notice)], [b"255 120 120".split(), b"150 170 220".split()])
        self.assertEqual(r.caption(), RESUME)
        self.assertNotIn(CUT_OFF_NOTICE, b"".join(r.forwarded()))
        r.probe("command", STOP_RESUME)
        r.host(*[f"KUMOGATAERR: again{i}\n".encode() for i in range(1, 11)])
        self.assertEqual(r.caption(), STOP)
        r.host(b"KUMOGATAERR: again11\n")
        self.assertEqual(r.caption(), RESUME)

    def test_history_over_800_is_cut_to_its_last_200_and_long_lines_all_show(self):
        r = self.rig
        # 801 lines of about 500 bytes: far past the rich edit's default limit of 64K
        # characters, within the monitor's 10,485,760.
        self.assertEqual(r.run_tool("probe.exe", "limit").stdout.strip(), b"10485760")
        long = "x" * 494 + " line-"
        r.write("kumogata.exe", "--window", f"n:801:{long}", timeout=600)
        shown = r.view_text().split(b"\n")[:-1]
        self.assertEqual(len(shown), 801)  # the trim runs before a line is added
        self.assertEqual(shown[-1], f"{long}801".encode())
        r.host(f"{long}802\n".encode())  # its trim finds 801 entries and keeps the last 200
        shown = r.view_text().split(b"\n")[:-1]
        self.assertEqual(len(shown), 201)
        self.assertEqual(shown[0], f"{long}602".encode())
        self.assertEqual(shown[-1], f"{long}802".encode())

    def test_every_message_brings_the_hidden_window_back_into_the_topmost_band(self):
        r = self.rig
        for write in (lambda: r.host(b"from the editor\n"), lambda: r.other(b"from another program\n")):
            self.assertEqual(r.probe("hide"), 0)
            self.assertNotEqual(r.probe("topmost"), 0)
            write()
            self.assertEqual(r.probe("topmost"), 0)

    def test_a_resize_moves_the_filter_box_and_label_grows_the_view_and_leaves_the_buttons(self):
        r = self.rig
        self.assertEqual(r.probe("shot-ready"), 0)
        before = r.rects()
        self.assertEqual(r.probe("resize", "700", "520"), 0)  # 200 wider, 40 higher
        self.assertEqual(r.probe("shot-ready"), 0)
        after, objects = r.rects(), r.objects()  # Wine makes a few objects of its own at the first resize

        def moved(name, dx, dw, dh):
            x, y, w, h = before[name]
            return (x + dx, y, w + dw, h + dh)

        self.assertEqual(after["filter-box"], moved("filter-box", 200, 0, 0))
        self.assertEqual(after["log-view"], moved("log-view", 0, 200, 40))
        self.assertEqual([after["stop-button"], after["clear-button"]], [before["stop-button"], before["clear-button"]])
        shot = Shot(self.artefact("resized"))
        self.assertGreater(shot.count(label_rect(after["client"]), dark), 100)
        self.assertEqual(shot.count(label_rect(before["client"]), dark), 0)  # nothing left where it was
        for width, height in (("600", "500"), ("800", "560"), ("700", "520")):
            r.probe("resize", width, height)
            self.assertEqual(r.probe("shot-ready"), 0)
        self.assertEqual(r.objects()[0], objects[0])  # every paint used the one label font

    def test_lines_keep_arriving_under_the_font_dialog(self):
        r = self.rig
        self.assertEqual(r.probe("post-command", FONT), 0)
        self.assertTrue(r.wait_for(lambda: r.probe("dialog-open") == 0, 5))
        r.host(b"under the dialog\n")
        self.assertEqual(r.view_text(), b"under the dialog\n")
        self.assertEqual(r.probe("cancel-dialog"), 0)

    def test_screenshot_shows_the_window_its_dark_view_its_lines_and_its_label(self):
        r = self.rig
        r.host(sjis("雲形エディタのマクロ出力: こんにちは\n"), b"plug-in: loaded 3 items\n",
               "UTF-8 から変換: ソース\n".encode("utf-8"), sjis("変数一覧: a=1 b=2\n"))
        self.assertEqual(r.probe("shot-ready"), 0)
        shot, rects = Shot(self.artefact("monitor")), r.rects()
        wx, wy, ww, _ = rects["window"]
        cx, cy, cw, _ = rects["client"]
        vx, vy, vw, vh = rects["log-view"]
        # The frame: caption and menu bar, drawn over the black desktop.
        frame = (wx + 2, wy + 2, ww - 4, cy - wy - 4)
        self.assertGreater(shot.count(frame, lambda p: p != (0, 0, 0)), 0.9 * frame[2] * frame[3])
        # The view's lower right quarter holds no text: its background only.
        empty = (vx + vw // 2, vy + vh // 2, vw // 2 - 8, vh // 2 - 8)
        self.assertEqual(shot.count(empty, lambda p: p == VIEW_BACKGROUND), empty[2] * empty[3])
        # The four lines: white text in the view's first rows, none below them.
        self.assertGreater(shot.count((vx + 4, vy + 4, vw // 2, 48), lambda p: min(p) > 180), 300)
        self.assertEqual(shot.count((vx + 4, vy + 80, vw // 2, 48), lambda p: min(p) > 180), 0)
        self.assertGreater(shot.count(label_rect(rects["client"]), dark), 100)


class StartAndCloseTest(RigTestCase):
    """Start-up and shutdown: each test starts the monitor itself."""

    def test_second_start_exits_0_and_restores_the_first(self):
        r = self.rig
        handoff = r.handoff_file()
        handoff.write_bytes(b"command")
        r.start_monitor()
        self.assertEqual(r.probe("shot-ready"), 0)  # deleted before the message loop runs
        self.assertFalse(handoff.exists())
        handoff.write_bytes(b"command")
        r.probe("minimize")
        self.assertEqual(r.probe("is-iconic"), 0)
        second = r.run_tool("../../src/ui/kgmonitor.exe")
        self.assertEqual(second.returncode, 0)
        self.assertTrue(handoff.exists())  # the second start touches nothing
        self.assertNotEqual(r.probe("is-iconic"), 0)
        self.assertEqual(r.run_tool("probe.exe", "count-windows").stdout.strip(), b"1")
        handoff.unlink()

    def test_the_hand_off_file_is_never_deleted_through_a_link_or_a_second_name(self):
        r = self.rig
        socket, handoff = r.handoff_dir(), r.handoff_file()
        elsewhere = r.drive_c / "elsewhere"
        shutil.rmtree(elsewhere, ignore_errors=True)
        elsewhere.mkdir()
        theirs = elsewhere / "se_socket.txt"
        theirs.write_bytes(b"another user's file")
        cases = {
            "a link at its name": lambda: handoff.symlink_to(theirs),
            "a second name of another file": lambda: os.link(theirs, handoff),
            "its folder a link": lambda: (shutil.rmtree(socket), socket.symlink_to(elsewhere)),
        }
        for case, make in cases.items():
            with self.subTest(case):
                make()
                try:
                    r.start_monitor()
                    self.assertEqual(r.probe("shot-ready"), 0)
                    self.assertEqual(theirs.read_bytes(), b"another user's file")
                    self.assertTrue(os.path.lexists(handoff))
                    r.stop_monitor()
                finally:
                    if socket.is_symlink():
                        socket.unlink()
                        socket.mkdir()
                    elif os.path.lexists(handoff):
                        handoff.unlink()

    def test_close_box_exits_0(self):
        r = self.rig
        r.start_monitor()
        r.probe("close")
        self.assertEqual(r.wait_monitor_exit(10), 0)

    def test_menu_exit_exits_0(self):
        r = self.rig
        r.start_monitor()
        r.probe("post-command", EXIT)
        self.assertEqual(r.wait_monitor_exit(10), 0)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])  # then test names, if any
