"""tests/e2e/test_capture.py — the real monitor receiving real debug output under Wine.

Run by CTest: python3 test_capture.py BUILD_DIR ARCH
"""
import subprocess
import sys
import time
import unittest

from rig import MonitorTestCase, RigTestCase, sjis

BUILD, ARCH = sys.argv[1], sys.argv[2]
RigTestCase.BUILD, RigTestCase.ARCH = BUILD, ARCH

RESTART_NOTICE = sjis("雲形の再起動を認識。\n\n")
KEYWORD_LABEL = sjis("変数一覧")


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
        writers, lines = 4, 2000
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
        time.sleep(1.0)
        start = time.monotonic()
        self.assertEqual(r.probe("close"), 0)
        code = r.wait_monitor_exit(15)
        took = time.monotonic() - start
        for p in floods:
            p.kill()
            p.wait()
        self.assertEqual(code, 0)
        self.assertLess(took, 5.0)


class SmallSectionTest(RigTestCase):

    def test_a_smaller_section_made_by_another_program_first_is_read(self):
        r = self.rig
        holder = r.start_tool("plainwriter.exe", "make-section:1000", "s:30000", stdout=subprocess.PIPE)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"section ready")
            r.install_library(True)
            r.start_monitor()
        finally:
            holder.kill()  # the monitor holds the section from here on
            holder.wait()
        self.assertEqual(r.host(b"through a small section\n"), 0)
        self.assertEqual(r.forwarded(), [b"through a small section\n"])
        self.assertEqual(r.view_text(), b"through a small section\n")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
