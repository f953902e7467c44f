"""tests/e2e/records.py — bytes as the test tools take and give them.

Shift_JIS texts, the tools' ASCII command-line escapes, and the record files that the
recording library and the stand-in command sender write.
"""


def sjis(text):
    return text.encode("cp932")


def escape(data):
    """Bytes to the writers' command-line escapes (ASCII only, so no code page touches them)."""
    out = []
    for b in data:
        if b == 0x5C:
            out.append("\\\\")
        elif 0x20 <= b < 0x7F and b != 0x5C:
            out.append(chr(b))
        else:
            out.append("\\x%02X" % b)
    return "".join(out)


class Records:
    """The test tools' record files: lines, and fields written as "<byte count>\n<bytes>\n"."""

    def __init__(self, path):
        self.data, self.at = (path.read_bytes() if path.exists() else b""), 0

    def more(self):
        return self.at < len(self.data)

    def line(self):
        end = self.data.index(b"\n", self.at)
        text, self.at = self.data[self.at:end], end + 1
        return text

    def field(self):
        """A field's bytes; None for a count of -1 (nothing to record)."""
        n = int(self.line())
        if n < 0:
            return None
        value, self.at = self.data[self.at:self.at + n], self.at + n + 1
        return value
