"""tests/e2e/test_commands.py — the command line and the log view's context menu, under Wine.

Run by CTest: python3 test_commands.py BUILD_DIR ARCH

Enter is a real key press (SendInput through the probe): the monitor reads the key's
state, which a posted message does not set. The stand-in command sender records what it
found at each start and relays the command to the stand-in editor, whose answer, a debug
line, comes back through the monitor like any other.
"""
import re
import shutil
import sys
import unittest

from rig import RigTestCase, escape, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

SENDER = r"C:\usr\kumogata\socket\se_socket.exe"
HANDOFF = r"C:\usr\kumogata\socket\se_socket.txt"
ANSWER = sjis("コマンド受信: ")
ENTER, ESCAPE, UP = "13", "27", "38"
COPY, SELECT_ALL, SAVE_AS, SHOW_TIME = "40101", "40102", "40103", "40106"


class CommandLineTest(RigTestCase):
    """The sender installed and the stand-in editor serving; each test starts the monitor."""

    def setUp(self):
        r = self.rig
        r.install_library(True)
        r.install_sender(True)
        handoff = r.handoff_file()
        if handoff.is_dir():
            shutil.rmtree(handoff)
        elif handoff.exists():
            handoff.unlink()
        self.editor = r.start_tool("kumogata.exe", "--window", "serve:120000")

    def tearDown(self):
        try:
            self.rig.stop_monitor()
        finally:
            self.editor.kill()
            self.editor.wait()

    def enter(self, data):
        r = self.rig
        self.assertEqual(r.probe("set-command", escape(data)), 0)
        self.assertEqual(r.probe("key-command", ENTER), 0)

    def records(self, count):
        r = self.rig
        got = r.wait_for(lambda: len(r.sender_records()) >= count and r.sender_records())
        self.assertEqual(len(got or []), count, got)
        return got

    def assert_reported(self, kept, *parts):
        """A box says each part (what failed, the path...); once it is dismissed the text is still there."""
        r = self.rig
        text = r.read_via_probe("box-text")
        for part in parts:
            self.assertIn(sjis(part), text)
        self.assertEqual(r.probe("dismiss-box"), 0)
        self.assertEqual(r.read_via_probe("command-text"), kept)
        return text

    def answered(self, command):
        r = self.rig
        line = ANSWER + command + b"\n"
        self.assertTrue(r.wait_for(lambda: line in r.forwarded()), r.forwarded())
        return line

    def test_commands_reach_the_sender_byte_for_byte_hidden_and_are_answered_in_the_view(self):
        r = self.rig
        r.start_monitor()
        ascii_command, japanese = b"macro.run('x', 1)", sjis("表示 ソース一覧")
        self.enter(ascii_command)
        first = self.records(1)[0]
        self.assertEqual(first["args"], [b"-file"])
        self.assertEqual(first["show"], (1, 0))  # told to start hidden (SW_HIDE)
        self.assertEqual(first["console"], 0)  # started as a plain process with no console, not by the shell
        self.assertEqual(first["file"], ascii_command)
        self.assertEqual(r.read_via_probe("command-text"), b"")  # emptied once handed off
        answer = self.answered(ascii_command)
        self.enter(japanese)
        self.assertEqual(self.records(2)[1]["file"], japanese)
        self.assertEqual(r.view_text(), answer + self.answered(japanese))
        # Up recalls the last command into the line, Escape empties it.
        self.assertEqual(r.probe("key-command", UP), 0)
        self.assertEqual(r.wait_for(lambda: r.read_via_probe("command-text") == japanese), True)
        self.assertEqual(r.probe("key-command", ESCAPE), 0)
        self.assertEqual(r.wait_for(lambda: r.read_via_probe("command-text") == b""), True)

    def test_up_to_4095_bytes_are_sent_whole_and_a_longer_command_is_refused_with_its_text_kept(self):
        r = self.rig
        r.start_monitor()
        # The line's limit counts characters: Japanese passes 4095 bytes well before it.
        for command in ((b"0123456789abcdef" * 256)[:4096], sjis("長") * 3000):
            self.enter(command)
            self.assert_reported(command, "コマンドが長すぎるため送れません。", f"{len(command)} バイト", "4095 バイトまで")
        self.assertEqual(r.sender_records(), [])
        command = (b"0123456789abcdef" * 256)[:4095]
        self.enter(command)
        self.assertEqual(self.records(1)[0]["file"], command)

    def test_commands_entered_back_to_back_wait_for_a_slow_sender_and_arrive_whole_in_order(self):
        r = self.rig
        r.start_monitor(env={"KG_SENDER_DELAY_MS": "1500"})
        self.enter(b"first command")
        self.enter(b"second, longer command")
        self.assertEqual([x["file"] for x in self.records(2)], [b"first command", b"second, longer command"])

    def test_a_sender_removed_after_start_is_reported_and_the_text_kept(self):
        r = self.rig
        r.start_monitor()
        r.install_sender(False)
        self.enter(b"nobody to send it")
        self.assert_reported(b"nobody to send it", "コマンド送信プログラムを起動できませんでした。", SENDER)

    def test_a_blocked_or_linked_hand_off_file_starts_no_sender_and_is_reported(self):
        r = self.rig
        handoff = r.handoff_file()
        handoff.mkdir()
        r.start_monitor()
        self.enter(b"blocked command")
        self.assert_reported(b"blocked command", "コマンドを書き込めませんでした。", HANDOFF)
        self.assertEqual(r.sender_records(), [])
        handoff.rmdir()
        # A link at its name is refused alike, says where it leads, and what it points to is
        # left as it was.
        theirs = r.drive_c / "theirs.txt"
        theirs.write_bytes(b"another user's file")
        handoff.symlink_to(theirs)
        r.probe("key-command", ENTER)
        self.assert_reported(b"blocked command", HANDOFF, r"(C:\theirs.txt)", "別名を持つため", "== 4395")
        self.assertEqual(theirs.read_bytes(), b"another user's file")
        handoff.unlink()
        # A folder on the way that leads elsewhere (a junction to another drive, say): the
        # file made there is refused, named, and removed again.
        socket, elsewhere = r.handoff_dir(), r.drive_c / "elsewhere"
        elsewhere.mkdir()
        shutil.copyfile(socket / "se_socket.exe", elsewhere / "se_socket.exe")
        socket.rename(r.drive_c / "socket-real")
        try:
            socket.symlink_to(elsewhere)
            r.probe("key-command", ENTER)
            self.assert_reported(b"blocked command", HANDOFF, r"(C:\elsewhere\se_socket.txt)", "== 4395")
            self.assertEqual(sorted(p.name for p in elsewhere.iterdir()), ["se_socket.exe"])
        finally:
            socket.unlink()
            (r.drive_c / "socket-real").rename(socket)
            shutil.rmtree(elsewhere)
        self.assertEqual(r.sender_records(), [])
        self.enter(b"unblocked command")  # the same line works once the path is free
        self.assertEqual(self.records(1)[0]["file"], b"unblocked command")

    def test_without_a_sender_there_is_no_command_line_until_one_is_installed_and_tab_reaches_it(self):
        r = self.rig
        r.install_sender(False)
        r.start_monitor()
        r.host(b"alpha ERROR\n", b"beta\n")
        self.assertEqual(r.probe("shot-ready"), 0)
        rects = r.rects()
        cx, cy, w, h = rects["client"]
        self.assertEqual(rects["command-line"], (0, 0, 0, 0))
        self.assertEqual(rects["log-view"], (cx + 5, cy + 40, w - 10, h - 45))  # as it always was
        r.install_sender(True)
        self.assertEqual(r.probe("activate"), 0)
        self.assertEqual(r.probe("shot-ready"), 0)
        rects = r.rects()
        self.assertEqual(rects["command-line"], (cx + 80, cy + h - 27, w - 85, 22))
        self.assertEqual(rects["log-view"], (cx + 5, cy + 40, w - 10, h - 72))
        focus = lambda: r.run_tool("probe.exe", "focus").stdout.decode().strip()  # noqa: E731
        r.probe("press", "filter")  # from the filter box round the window with Tab, then back with Shift+Tab
        order = ["stop", "clear", "view", "command"]
        for key, names in (("9", order + ["filter"]), ("shift+9", order[::-1] + ["filter"])):
            for name in names:
                r.probe("press", "here", key)
                self.assertTrue(r.wait_for(lambda: focus() == name, 10), (key, name, focus()))
        self.assertEqual((r.view_text(), r.read_via_probe("command-text")), (b"alpha ERROR\nbeta\n", b""))  # no tab typed
        r.probe("press", "here", "9", "27")  # to the stop button, where Escape does nothing
        for key, caption in (("32", "受信再開"), ("32", "受信停止"), ("13", "受信再開")):  # Space, Space, Enter
            r.probe("press", "here", key)
            self.assertTrue(r.wait_for(lambda: r.caption() == sjis(caption), 10), (key, r.caption()))
        r.set_filter(b"beta")  # Tab into the box selects it: what is typed replaces it
        r.probe("press", "here", "shift+9", "69", "82", "82")  # back in the filter box: "err" typed
        self.assertTrue(r.wait_for(lambda: r.view_text() == b"alpha ERROR\n", 10), r.view_text())


class LogViewMenuTest(RigTestCase):

    def setUp(self):
        self.rig.install_library(True)
        self.rig.start_monitor()

    def test_copy_and_save_give_exactly_what_the_view_shows(self):
        r = self.rig
        lines = [sjis("雲形マクロ: 保存のテスト\n"), b"ascii line\n", sjis("ソース表示\n")]
        r.host(*lines)
        crlf = b"".join(line[:-1] + b"\r\n" for line in lines)
        r.probe("command", SELECT_ALL)
        r.probe("command", COPY)
        self.assertEqual(r.read_via_probe("clipboard").replace(b"\r\n", b"\n").replace(b"\r", b"\n"), b"".join(lines))
        saved = r.drive_c / "saved-log.txt"
        saved.write_bytes(b"an older file of that name")
        self.assertEqual(r.probe("post-command", SAVE_AS), 0)  # the dialog is modal
        self.assertEqual(r.probe("save-as", r"C:\saved-log.txt"), 0)
        self.assertEqual(r.probe("press-yes"), 0)  # asked whether to replace the older file
        self.assertEqual(r.wait_for(lambda: saved.read_bytes() == crlf), True, saved.read_bytes())
        self.assertEqual(sorted(p.name for p in r.drive_c.glob("saved-log.txt*")), ["saved-log.txt"])
        # Each line's time and the time since the line before, as shown and as saved.
        r.probe("command", SHOW_TIME)
        shown = r.view_text()
        prefix = rb"\d\d:\d\d:\d\d\.\d{3} +\+\d+\.\d{3} "
        self.assertRegex(shown, b"^" + b"".join(prefix + re.escape(line) for line in lines) + b"$")
        timed = r.drive_c / "saved-times.txt"
        timed.unlink(missing_ok=True)
        self.assertEqual(r.probe("post-command", SAVE_AS), 0)
        self.assertEqual(r.probe("save-as", r"C:\saved-times.txt"), 0)
        self.assertEqual(r.wait_for(lambda: timed.exists() and timed.read_bytes() == shown.replace(b"\n", b"\r\n")), True)

    def test_saving_over_a_read_only_file_is_refused_and_keeps_it(self):
        r = self.rig
        r.host(b"not to be saved there\n")
        kept = r.drive_c / "kept.txt"
        kept.write_bytes(b"a read-only file")
        kept.chmod(0o444)  # what Wine shows as read-only
        try:
            self.assertEqual(r.probe("post-command", SAVE_AS), 0)
            self.assertEqual(r.probe("save-as", r"C:\kept.txt"), 0)
            self.assertEqual(r.probe("press-yes"), 0)
            text = r.read_via_probe("box-text")
            self.assertIn(sjis("保存できませんでした。"), text)
            self.assertIn(b"== 5", text)
            self.assertEqual(r.probe("dismiss-box"), 0)
            self.assertEqual(kept.read_bytes(), b"a read-only file")
            self.assertEqual(sorted(p.name for p in r.drive_c.glob("kept.txt*")), ["kept.txt"])
        finally:
            kept.chmod(0o644)

    def test_the_menu_key_opens_the_menu_at_the_caret_inside_the_view(self):
        r = self.rig
        r.host(b"first line\n", b"second line\n", b"third line\n")
        out = r.run_tool("probe.exe", "menu-key-view", "29").stdout.decode().split("\n")  # "third |line"
        at = {f[0]: (int(f[1]), int(f[2])) for f in (line.split() for line in out) if len(f) == 3}
        self.assertEqual(r.probe("close-menu"), 0)
        (mx, my), (cx, cy) = at["menu"], at["caret"]
        self.assertLessEqual(abs(mx - cx) + abs(my - cy), 3, at)
        x, y, w, h = r.rects()["log-view"]
        self.assertTrue(x < cx < x + w and y + 20 < cy < y + h, (at, (x, y, w, h)))  # below the first lines

    def test_a_right_click_opens_the_menu(self):
        r = self.rig
        r.host(sjis("右クリックのメニュー\n"))
        self.assertEqual(r.probe("right-click-view"), 0)
        self.assertEqual(r.probe("menu-open"), 0)
        self.artefact("context-menu")  # for the eye: the entries and their states
        self.assertEqual(r.probe("close-menu"), 0)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])  # then test names, if any
