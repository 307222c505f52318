#!/usr/bin/python3
"""Tells whether a virtual X screen shows a window, and keeps a picture of it.

Usage: screenshot.py XWD PNG

XWD is the screen file that Xvfb keeps with -fbdir. An empty screen has a single
colour; a window with text on it has many. Exit status 0 when the screen shows
more than a handful of colours (the picture is then written to PNG), 1 when it
does not yet, 2 when the file cannot be read.
"""
import struct
import sys
import zlib


def read_screen(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, version = fields[0], fields[1]
    width, height = fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    if version != 7 or bits_per_pixel != 32:
        raise ValueError("not a 32-bit XWD screen")
    start = header_size + 12 * ncolors
    rows = []
    for y in range(height):
        row = data[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
        if len(row) < 4 * width:
            raise ValueError("the screen file is cut short")
        # Xvfb stores a pixel as 0x00RRGGBB in the server's byte order.
        red, green, blue = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = row[red::4], row[green::4], row[blue::4]
        rows.append(bytes(rgb))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


def main():
    try:
        width, height, rows = read_screen(sys.argv[1])
    except (OSError, ValueError, struct.error) as error:
        print("screenshot: cannot read the screen:", error, file=sys.stderr)
        return 2
    colours = set()
    for row in rows:
        colours.update(row[i:i + 3] for i in range(0, len(row), 3))
        if len(colours) > 16:
            write_png(sys.argv[2], width, height, rows)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
