"""Small picture reading and statistics for the browser test, in plain Python: PNG screenshots,
the game's own 24-bit BMP pictures, thumbnails and simple comparisons."""
import math
import struct
import zlib


class Picture:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb  # rgb: bytes, row 0 at the top

    def crop(self, x, y, w, h):
        rows = [self.rgb[((y + j) * self.width + x) * 3:((y + j) * self.width + x + w) * 3]
                for j in range(h)]
        return Picture(w, h, b"".join(rows))

    def thumbnail(self, tw, th):
        """Box-averaged grey levels (0..255), tw x th, as a list."""
        out = []
        for ty in range(th):
            y0, y1 = ty * self.height // th, max(ty * self.height // th + 1, (ty + 1) * self.height // th)
            for tx in range(tw):
                x0, x1 = tx * self.width // tw, max(tx * self.width // tw + 1, (tx + 1) * self.width // tw)
                total = 0
                for y in range(y0, y1, max(1, (y1 - y0) // 4)):
                    row = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
                    total += sum(row) / max(1, len(row))
                out.append(total / len(range(y0, y1, max(1, (y1 - y0) // 4))))
        return out

    def bright_mask(self, level=200):
        """Which pixels are near white (all three channels at least `level`)."""
        c = self.rgb
        return [c[i] >= level and c[i + 1] >= level and c[i + 2] >= level for i in range(0, len(c), 3)]


def read_png(data):
    """8-bit RGB or RGBA PNG, not interlaced (what Chromium's screenshots are)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("PNG kind %d/%d/%d not read here" % (depth, colour, interlace))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    prev = bytearray(stride)
    out = bytearray()
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, prev))
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if bpp == 4:
            del line[3::4]
        out += line
    return Picture(width, height, bytes(out))


def read_bmp24(path):
    """A 24-bit BMP as the game's generator writes it (bottom-up rows)."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    if data[:2] != b"BM" or bits != 24:
        raise ValueError(path + ": not a 24-bit BMP")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        src = y if height < 0 else abs(height) - 1 - y
        row = bytearray(data[offset + src * stride:offset + src * stride + width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # BGR to RGB
        rows.append(bytes(row))
    return Picture(width, abs(height), b"".join(rows))


def mean(values):
    return sum(values) / len(values)


def spread(values):
    """Standard deviation: 0 for a blank picture."""
    m = mean(values)
    return math.sqrt(sum((v - m) ** 2 for v in values) / len(values))


def correlation(a, b):
    """Pearson correlation of two thumbnails of the same size: 1 for the same picture."""
    ma, mb = mean(a), mean(b)
    num = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    den = math.sqrt(sum((x - ma) ** 2 for x in a) * sum((y - mb) ** 2 for y in b))
    return num / den if den > 0 else 0.0


def mean_difference(a, b):
    return mean([abs(x - y) for x, y in zip(a, b)])


def mask_difference(a, b):
    """How many pixels are bright in one mask and not in the other."""
    return sum(1 for x, y in zip(a, b) if x != y)
