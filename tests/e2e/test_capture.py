"""tests/e2e/test_capture.py — the real monitor receiving real debug output under Wine.

Run by CTest: python3 test_capture.py BUILD_DIR ARCH
"""
import contextlib
import shutil
import subprocess
import sys
import time
import unittest

from rig import MonitorTestCase, RigTestCase, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

RESTART_NOTICE = sjis("雲形の再起動を認識。\n\n")
KEYWORD_LABEL = sjis("変数一覧")
REPEAT_NOTICE = sjis("lua: ～同じログの繰り返しなため省略中～\n")
FORWARDED_REPEAT_NOTICE = sjis("(※) ～同じログの繰り返しなため省略中～\n")
OTHER_MONITOR = sjis("雲形デバッガー: すで別のデバッグモニター系列のアプリケーションが実行されています。\n")
LIBRARY_NOTE = sjis("雲形: kgjre.dll を読み込めません (渡さずに続けます)。理由: ")
SECTION_FAILED = sjis("雲形デバッガー:ファイルマッパーオブジェクトを生成することが出来ません。エラー番号 == 998\n")


class CaptureTest(MonitorTestCase):

    def headers(self):
        out = self.rig.stdout()
        return [int(line.split(b":")[1]) for line in out.split(b"\n") if b"ID:" in line]

    def test_host_lines_arrive_in_order_rewritten(self):
        r = self.rig
        self.assertEqual(r.host(b"xxxxxxxxxx\n", b"xxxxxxxxxx\n", b"plain\n", b"frag", b"ment\n",
                                "UTF-8 \u3042\n".encode("utf-8"), b"a showvars b showvars\n", sjis("日本語ソ\n")), 0)
        expected = [b"plain\n", b"fragment\n", b"UTF-8 \x82\xa0\n", b"a " + KEYWORD_LABEL + b" b showvars\n",
                    sjis("日本語ソ\n")]
        self.assertEqual(r.forwarded(), expected)  # the restart notice is not forwarded
        self.assertEqual(r.view_text(), RESTART_NOTICE + b"".join(expected))

    def test_other_images_and_a_host_without_its_window_are_not_shown(self):
        r = self.rig
        self.assertEqual(r.other(b"from another program\n"), 0)
        self.assertEqual(r.host(b"no editor window yet\n", window=False), 0)
        self.assertEqual(r.host(b"now it is the editor\n"), 0)
        self.assertEqual(r.forwarded(), [b"now it is the editor\n"])

    def test_header_lines_follow_writers_and_line_ends(self):
        r = self.rig
        tools_args = ["--window", "t:one\\n", "t:frag", "t:ment\\n", "t:two\\n"]
        host = r.run_tool("kumogata.exe", *tools_args)
        self.assertEqual(host.returncode, 0)
        r.other(b"x\n")  # a change of writer, not shown: no header printed for it
        r.host(b"three\n")
        pids = self.headers()
        # one, ment (after a fragment: not due, so none), two, and three from a new process
        self.assertEqual(len(pids), 3, r.stdout())
        self.assertEqual(pids[0], pids[1])
        self.assertNotEqual(pids[1], pids[2])
        self.assertIn(b"------------------------------------------------ " + sjis("プロセスID:"), r.stdout())

    def test_malformed_raw_messages_are_survived(self):
        r = self.rig
        self.assertEqual(r.run_tool("plainwriter.exe", "raw-full", "raw-empty", "raw-pid:999999:ghost\\n").returncode, 0)
        self.assertEqual(r.host(b"still alive\n"), 0)
        self.assertEqual(r.forwarded(), [b"still alive\n"])
        self.assertIsNone(r.monitor.poll())

    def test_no_message_is_lost_with_four_writers(self):
        r = self.rig
        writers, lines = 4, 500
        start = time.monotonic()
        procs = [r.start_tool("kumogata.exe", "--window", f"n:{lines}:w{w}-line-") for w in range(writers)]
        codes = [p.wait(600) for p in procs]
        elapsed = time.monotonic() - start
        self.assertEqual(codes, [0] * writers)
        got = r.forwarded()
        self.assertEqual(len(got), writers * lines)
        self.assertEqual(len(set(got)), writers * lines)
        for w in range(writers):
            mine = [g for g in got if g.startswith(f"w{w}-".encode())]
            self.assertEqual(mine, [f"w{w}-line-{i}\n".encode() for i in range(1, lines + 1)])
        print(f"\n[figure] {ARCH}: {writers} writers x {lines} lines in {elapsed:.2f} s, "
              f"{writers * lines / elapsed:.0f} messages/s", file=sys.stderr)

    def test_shutdown_while_writers_flood(self):
        r = self.rig
        # One host (the monitor thread then sends to the window) and one other writer.
        floods = [r.start_tool("kumogata.exe", "--window", "n:100000:flood-"),
                  r.start_tool("plainwriter.exe", "n:100000:flood-")]
        try:
            self.assertTrue(r.wait_for(lambda: len(r.forwarded()) >= 20), "the flood never reached the monitor")
            self.assertEqual(r.probe("close"), 0)
            # 0 only when the close stopped and joined the monitor thread, within its 5 s.
            self.assertEqual(r.wait_monitor_exit(15), 0)
        finally:
            for p in floods:
                p.kill()
                p.wait()

    def test_a_writer_that_dies_holding_the_buffer_does_not_silence_the_channel(self):
        r = self.rig
        self.assertEqual(r.write("plainwriter.exe", "die-holding"), 0)
        # Each host() fails if its line is not taken within the system's 10 s.
        r.host(b"after the writer that died\n")
        r.host(b"and the next one\n")
        self.assertEqual(r.forwarded(), [b"after the writer that died\n", b"and the next one\n"])
        self.assertEqual(r.view_text(), b"after the writer that died\nand the next one\n")

    def test_jobs_named_by_other_processes_are_never_run(self):
        r = self.rig
        writer = r.start_tool("kumogata.exe", "--window", "n:300:while-attacked-")
        # Half of them name ExitProcess with 77: run, it would end the monitor with 77.
        self.assertEqual(r.probe("attack-dispatch", "400"), 0)
        self.assertEqual(writer.wait(300), 0)
        self.assertIsNone(r.monitor.poll())
        self.assertEqual(r.forwarded(), [f"while-attacked-{i}\n".encode() for i in range(1, 301)])

    def test_one_repeat_notice_from_the_real_clock(self):
        r = self.rig
        # One line every 100 ms for 9 s: shown for 8 s, then one notice with its one replay;
        # the next notice could only come after the tenth second.
        r.write("kumogata.exe", "--window", "every:100:9000:same\\n")
        shown = r.view_text().split(b"\n")[:-1]
        notice = REPEAT_NOTICE.rstrip(b"\n")
        self.assertEqual(shown.count(notice), 1, shown)
        before = shown.index(notice)
        self.assertTrue(70 <= before <= 82, before)
        self.assertEqual(shown[:before], [b"same"] * before)
        self.assertEqual(shown[before + 1:], [b"same"])
        self.assertEqual(r.forwarded(), [b"same\n"] * before + [FORWARDED_REPEAT_NOTICE, b"same\n"])


class ChannelMadeByOthersTest(RigTestCase):

    @contextlib.contextmanager
    def made_first(self, exe, *steps, ready):
        """Another program that has the channel's objects (or one of them) before the monitor."""
        other = self.rig.start_tool(exe, *steps, stdout=subprocess.PIPE)
        try:
            self.assertEqual(other.stdout.readline().strip(), ready)
            yield other
        finally:
            other.kill()
            other.wait()
            other.stdout.close()

    def test_libraries_planted_beside_the_program_are_never_loaded(self):
        r = self.rig
        folder = r.drive_c / "planted"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir()
        shutil.copyfile(r.monitor_exe, folder / "kgmonitor.exe")
        for name in ("winmm.dll", "riched32.dll"):
            shutil.copyfile(r.tools / "planted.dll", folder / name)
        r.install_library(True)
        # Native first: Wine then loads a DLL of that name from the program's folder if
        # anything searches there.
        r.start_monitor(exe=r"C:\planted\kgmonitor.exe",
                        env={"WINEDLLOVERRIDES": "mscoree,mshtml=;winmm,riched32=n,b"})
        r.host(b"the monitor works without them\n")
        self.assertEqual(r.view_text(), b"the monitor works without them\n")
        self.assertEqual(r.forwarded(), [b"the monitor works without them\n"])
        self.assertEqual(sorted(p.name for p in folder.glob("*.loaded")), [])

    def test_the_shared_library_loads_a_helper_of_its_own_by_name_from_its_folder(self):
        r = self.rig
        folder = r.drive_c / "usr" / "kumogata"
        # First the other bitness's library (each build has one), told in the view naming the build to use.
        other = "win32" if ARCH == "win64" else "win64"
        shutil.copyfile(r.build.parent / other / "tests" / "tools" / "kgjre.dll", folder / "kgjre.dll")
        shutil.copyfile(r.tools / "kgjre.dll", folder / "kgjre_dep.dll")
        try:
            r.start_monitor()
            r.host(b"before\n", b"still before\n")
            before, note, still, end = r.view_text().split(b"\n")  # the note once, after the line that tried
            self.assertEqual((before, note[:len(LIBRARY_NOTE)], still, end),
                             (b"before", LIBRARY_NOTE, b"still before", b""))
            bits = "32 ビット版 (x86)" if other == "win32" else "64 ビット版 (x64)"
            self.assertTrue(note.endswith(sjis(bits + " のモニターを使ってください。")), note)
            shutil.copyfile(r.tools / "kgjre_loader.dll", folder / "kgjre.dll")
            r.host(b"through the library's helper\n")
            self.assertEqual(r.wait_for(r.forwarded), [b"through the library's helper\n"])
        finally:
            r.stop_monitor()  # before its libraries are replaced under it
            (folder / "kgjre_dep.dll").unlink()
            r.install_library(True)

    def test_another_monitor_holding_the_channel_is_named_and_the_monitor_goes_on(self):
        r = self.rig
        with self.made_first("bare_reader.exe", "100000", ready=b"ready"):
            r.start_monitor(wait=False)
            self.assertEqual(r.read_via_probe("box-text").rstrip(b"\n"), OTHER_MONITOR.rstrip(b"\n"))
            self.assertEqual(r.probe("dismiss-box"), 0)
            self.assertEqual(r.probe("wait-window", "15000"), 0)
            self.assertIsNone(r.monitor.poll())

    def test_a_section_made_first_but_never_committed_is_reported_not_read(self):
        r = self.rig
        with self.made_first("plainwriter.exe", "make-reserved-section", "s:30000", ready=b"section ready"):
            r.start_monitor(wait=False)
            self.assertEqual(r.read_via_probe("box-text").rstrip(b"\n"), SECTION_FAILED.rstrip(b"\n"))
            self.assertEqual(r.probe("dismiss-box"), 0)
            self.assertEqual(r.wait_monitor_exit(15), 1)

    def test_a_smaller_section_made_by_another_program_first_is_read(self):
        r = self.rig
        with self.made_first("plainwriter.exe", "make-section:1000", "s:30000", ready=b"section ready"):
            r.install_library(True)
            r.start_monitor()
        # The other program is gone; the monitor holds the section from here on.
        r.host(b"through a small section\n")
        self.assertEqual(r.forwarded(), [b"through a small section\n"])
        self.assertEqual(r.view_text(), b"through a small section\n")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])  # then test names, if any
