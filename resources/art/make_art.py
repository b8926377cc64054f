#!/usr/bin/python3
"""Draws the program's embedded images: the two texture images and the application icon.

    resources/art/make_art.py [output folder]   (default: the resources folder)

Writes images/texture-wide.jpg (700 x 230), images/texture-tall.jpg (230 x 700) and
icons/ostrel.ico (32-bit images of 16, 32 and 64 pixels). Everything is drawn here with cairo;
the JPEG files are encoded by cjpeg. Needs the Debian packages python3-cairo and
libjpeg-turbo-progs. The output is deterministic, so running it again gives the same files.
"""

import math
import os
import struct
import subprocess
import sys

import cairo

# The program's palette: slate backgrounds, the bright green and orange of its graph.
SLATE_DARK = (0.075, 0.105, 0.135)
SLATE = (0.145, 0.195, 0.240)
SLATE_LIGHT = (0.245, 0.315, 0.375)
GREEN = (0.604, 0.808, 0.008)
ORANGE = (1.000, 0.647, 0.000)
PAPER = (0.925, 0.945, 0.955)


class Lcg:
    """A small fixed-seed generator, so that every run draws the same scattering."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def draw_texture(ctx, width, height, seed):
    """Slate ground, rows of faint list cells, ripples of change spreading from two points and an
    activity trace along the long side."""
    long_side = max(width, height)
    horizontal = width >= height

    ground = cairo.LinearGradient(0, 0, width, height)
    ground.add_color_stop_rgb(0.0, *SLATE_LIGHT)
    ground.add_color_stop_rgb(0.55, *SLATE)
    ground.add_color_stop_rgb(1.0, *SLATE_DARK)
    ctx.set_source(ground)
    ctx.paint()

    rng = Lcg(seed)
    cell = 14
    for row in range(0, (height if horizontal else width) // cell + 1):
        offset = 0.0
        while offset < long_side:
            length = 30 + rng.next() * 110
            shade = 0.025 + rng.next() * 0.05
            if horizontal:
                rounded_rect(ctx, offset, row * cell + 3, length, cell - 6, 3)
            else:
                rounded_rect(ctx, row * cell + 3, offset, cell - 6, length, 3)
            ctx.set_source_rgba(1, 1, 1, shade)
            ctx.fill()
            offset += length + 6 + rng.next() * 26

    for cx, cy, colour, count in ((0.22, 0.62, GREEN, 9), (0.78, 0.30, ORANGE, 7)):
        px, py = (cx * width, cy * height) if horizontal else (cy * width, cx * height)
        for i in range(count):
            radius = 12 + i * 19
            ctx.set_line_width(2.2 - i * 0.18)
            ctx.set_source_rgba(*colour, 0.55 * (1 - i / count))
            ctx.arc(px, py, radius, 0, 2 * math.pi)
            ctx.stroke()
        glow = cairo.RadialGradient(px, py, 0, px, py, 26)
        glow.add_color_stop_rgba(0, *colour, 0.9)
        glow.add_color_stop_rgba(1, *colour, 0.0)
        ctx.set_source(glow)
        ctx.arc(px, py, 26, 0, 2 * math.pi)
        ctx.fill()

    # The activity trace: a calm baseline with bursts, as the disk graph draws it.
    ctx.set_line_width(2.0)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_source_rgba(*GREEN, 0.85)
    steps = long_side // 4
    for step in range(steps + 1):
        t = step / steps
        burst = math.exp(-((t - 0.35) ** 2) / 0.002) + 0.6 * math.exp(-((t - 0.68) ** 2) / 0.0008)
        wobble = 0.08 * math.sin(t * 53.0) + 0.05 * math.sin(t * 131.0)
        level = (burst + wobble) * 0.22
        along = t * long_side
        across = 0.86 - level
        x, y = (along, across * height) if horizontal else ((1 - across) * width, along)
        if step == 0:
            ctx.move_to(x, y)
        else:
            ctx.line_to(x, y)
    ctx.stroke()

    vignette = cairo.RadialGradient(width / 2, height / 2, long_side * 0.2, width / 2, height / 2, long_side * 0.75)
    vignette.add_color_stop_rgba(0, 0, 0, 0, 0)
    vignette.add_color_stop_rgba(1, 0, 0, 0, 0.45)
    ctx.set_source(vignette)
    ctx.paint()


def draw_icon(ctx, size):
    """A slate tile holding a folder with a live activity trace across it. Line widths and the
    geometry are snapped per size so that the small images stay crisp."""
    s = size / 64.0
    tile = 1.0 * s if size >= 32 else 0.5
    rounded_rect(ctx, tile, tile, size - 2 * tile, size - 2 * tile, 12 * s)
    ground = cairo.LinearGradient(0, 0, 0, size)
    ground.add_color_stop_rgb(0, *SLATE_LIGHT)
    ground.add_color_stop_rgb(1, *SLATE_DARK)
    ctx.set_source(ground)
    ctx.fill()

    def snap(v):
        return round(v) if size <= 16 else v

    # Folder: tab, then the body.
    left, right = snap(10 * s), snap(54 * s)
    top, tab_bottom, bottom = snap(16 * s), snap(22 * s), snap(50 * s)
    ctx.move_to(left, bottom)
    ctx.line_to(left, top + 2 * s)
    ctx.line_to(left + 2 * s, top)
    ctx.line_to(snap(26 * s), top)
    ctx.line_to(snap(30 * s), tab_bottom)
    ctx.line_to(right, tab_bottom)
    ctx.line_to(right, bottom)
    ctx.close_path()
    ctx.set_source_rgb(*PAPER)
    ctx.fill()
    ctx.rectangle(left, snap(27 * s), right - left, bottom - snap(27 * s))
    ctx.set_source_rgb(0.80, 0.84, 0.86)
    ctx.fill()

    # Activity trace over the folder, in the graph's green with a dark edge for contrast.
    points = [(6, 39), (18, 39), (23, 30), (29, 47), (35, 24), (41, 42), (45, 36), (58, 36)]
    if size <= 16:
        points = [(6, 40), (20, 40), (28, 26), (36, 48), (44, 36), (58, 36)]
    width = 2.0 * s if size > 16 else 1.5
    edge = 2.2 * s if size > 16 else 1.0
    for colour, extra in ((SLATE_DARK, edge), (GREEN, 0.0)):
        ctx.set_line_width(width + extra)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for i, (x, y) in enumerate(points):
            (ctx.move_to if i == 0 else ctx.line_to)(x * s, y * s)
        ctx.set_source_rgb(*colour)
        ctx.stroke()

    # The orange mark of a fresh change; in the corner of the small image, clear of the folder.
    mx, my = (50 * s, 14 * s) if size > 16 else (12.5, 3.5)
    ctx.arc(mx, my, 5.5 * s if size > 16 else 2.6, 0, 2 * math.pi)
    ctx.set_source_rgb(*SLATE_DARK)
    ctx.fill()
    ctx.arc(mx, my, 4.0 * s if size > 16 else 1.9, 0, 2 * math.pi)
    ctx.set_source_rgb(*ORANGE)
    ctx.fill()


def write_jpeg(surface, path):
    surface.flush()
    width, height, stride = surface.get_width(), surface.get_height(), surface.get_stride()
    data = surface.get_data()
    rgb = bytearray()
    little = sys.byteorder == "little"
    for y in range(height):
        row = data[y * stride: y * stride + width * 4]
        for x in range(width):
            b, g, r, a = row[4 * x: 4 * x + 4] if little else row[4 * x: 4 * x + 4][::-1]
            rgb += bytes((r, g, b))
    ppm = b"P6 %d %d 255\n" % (width, height) + bytes(rgb)
    jpeg = subprocess.run(["cjpeg", "-quality", "88", "-optimize"], input=ppm, capture_output=True, check=True).stdout
    with open(path, "wb") as out:
        out.write(jpeg)


def icon_image(size):
    """One ICO image: a 40-byte DIB header, bottom-up straight-alpha BGRA rows, the AND mask."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size, size)
    draw_icon(cairo.Context(surface), size)
    surface.flush()
    data, stride = surface.get_data(), surface.get_stride()
    little = sys.byteorder == "little"
    pixels = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        mask_row = bytearray(mask_stride)
        for x in range(size):
            px = data[y * stride + 4 * x: y * stride + 4 * x + 4]
            b, g, r, a = px if little else px[::-1]
            if a:
                b, g, r = (min(255, (c * 255 + a // 2) // a) for c in (b, g, r))
            else:
                mask_row[x // 8] |= 0x80 >> (x % 8)
            pixels += bytes((b, g, r, a))
        mask += mask_row
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, sizes):
    images = [icon_image(size) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    os.makedirs(os.path.join(root, "images"), exist_ok=True)
    os.makedirs(os.path.join(root, "icons"), exist_ok=True)
    for name, width, height, seed in (("texture-wide.jpg", 700, 230, 131), ("texture-tall.jpg", 230, 700, 132)):
        surface = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
        draw_texture(cairo.Context(surface), width, height, seed)
        write_jpeg(surface, os.path.join(root, "images", name))
    write_ico(os.path.join(root, "icons", "ostrel.ico"), [16, 32, 64])


if __name__ == "__main__":
    main()
