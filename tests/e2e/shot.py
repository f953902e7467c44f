"""tests/e2e/shot.py — a screenshot's pixels, for the suites that look at the window."""
import subprocess


class Shot:
    """A screenshot's pixels, read through ImageMagick as PPM (no imaging library needed)."""

    def __init__(self, png):
        ppm = subprocess.run(["convert-im6.q16", str(png), "ppm:-"], stdout=subprocess.PIPE, check=True).stdout
        fields, at = [], 0
        while len(fields) < 4:  # P6, width, height, maximum; then one whitespace byte
            while ppm[at:at + 1].isspace():
                at += 1
            end = at
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[at:end])
            at = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[at + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def count(self, rect, test):
        """Pixels in (x, y, width, height) for which test((r, g, b)) holds."""
        x0, y0, w, h = rect
        return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w) if test(self.pixel(x, y)))
