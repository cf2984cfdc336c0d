#!/usr/bin/env python3
"""Draws the window's toolbar, tree and header images as 32-bit icons.

Every picture is a few flat shapes in one palette around the header strip's
blue, described on a small design grid and rasterised here at each size the
window asks for, so that the icons are the same byte for byte on every run.
Run from the repository root; it rewrites the .ico files in src/ui/win32/res.
Standard library only.
"""

import math
import os
import struct
import sys

# The palette: the header strip's blue with a darker and a lighter step, a
# warm folder amber, and green and red for the actions that add and remove.
BLUE = (101, 152, 214)
BLUE_DARK = (46, 94, 158)
BLUE_LIGHT = (178, 206, 240)
AMBER = (247, 198, 94)
AMBER_DARK = (199, 140, 38)
AMBER_LIGHT = (252, 224, 156)
GREEN = (72, 168, 98)
GREEN_DARK = (38, 120, 62)
RED = (214, 80, 72)
RED_DARK = (160, 46, 42)
PAPER = (250, 251, 253)
WHITE = (255, 255, 255)

SAMPLES = 4  # per pixel edge: 16 samples give smooth diagonals and curves


# Shapes are inside-tests in design units with a bounding box.
class Shape:
    def __init__(self, inside, box):
        self.inside = inside
        self.box = box


def rect(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return Shape(inside, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def polygon(*points):
    def inside(x, y):
        result = False
        count = len(points)
        for i in range(count):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % count]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result

    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, inner, outer, start, end):
    """A band of a ring from angle start to end, in degrees clockwise from east."""

    def inside(x, y):
        distance = math.hypot(x - cx, y - cy)
        if not inner <= distance <= outer:
            return False
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (angle - start) % 360 <= (end - start) % 360

    return Shape(inside, (cx - outer, cy - outer, cx + outer, cy + outer))


def bar(ax, ay, bx, by, width):
    """A straight stroke from a to b."""
    length = math.hypot(bx - ax, by - ay)
    nx, ny = -(by - ay) / length * width / 2, (bx - ax) / length * width / 2
    return polygon((ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny))


def clipped(shape, box):
    x0, y0, x1, y1 = box
    return Shape(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and shape.inside(x, y),
                 (max(x0, shape.box[0]), max(y0, shape.box[1]), min(x1, shape.box[2]), min(y1, shape.box[3])))


def at_polar(cx, cy, radius, degrees):
    return (cx + radius * math.cos(math.radians(degrees)), cy + radius * math.sin(math.radians(degrees)))


class Canvas:
    """Premultiplied RGBA pixels; shapes are composited over in order."""

    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, colour, opacity=1.0):
        x0, y0, x1, y1 = shape.box
        left, top = max(0, int(x0 * self.scale)), max(0, int(y0 * self.scale))
        right = min(self.width, int(math.ceil(x1 * self.scale)) + 1)
        bottom = min(self.height, int(math.ceil(y1 * self.scale)) + 1)
        step = 1.0 / SAMPLES
        for py in range(top, bottom):
            for px in range(left, right):
                hits = 0
                for sy in range(SAMPLES):
                    y = (py + (sy + 0.5) * step) / self.scale
                    for sx in range(SAMPLES):
                        if shape.inside((px + (sx + 0.5) * step) / self.scale, y):
                            hits += 1
                if not hits:
                    continue
                alpha = opacity * hits / (SAMPLES * SAMPLES)
                pixel = self.pixels[py * self.width + px]
                for channel in range(3):
                    pixel[channel] = colour[channel] / 255.0 * alpha + pixel[channel] * (1 - alpha)
                pixel[3] = alpha + pixel[3] * (1 - alpha)

    def pixel_width(self):
        """One device pixel in design units, two from double size on."""
        return max(1, int(self.scale + 0.25)) / self.scale

    def bgra_rows_bottom_up(self):
        rows = []
        for y in reversed(range(self.height)):
            row = bytearray()
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                if a <= 0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, round(c / a * 255)) for c in (b, g, r))
                row.append(min(255, round(a * 255)))
            rows.append(bytes(row))
        return rows


def snap(canvas, value):
    """A rectangle edge on a whole device pixel, so that flat edges stay crisp."""
    return round(value * canvas.scale) / canvas.scale


def framed_rect(canvas, x0, y0, x1, y1, edge, face, radius=0.0):
    x0, y0, x1, y1 = (snap(canvas, v) for v in (x0, y0, x1, y1))
    line = canvas.pixel_width()
    canvas.fill(rect(x0, y0, x1, y1, radius), edge)
    canvas.fill(rect(x0 + line, y0 + line, x1 - line, y1 - line, max(0.0, radius - line)), face)


def badge(canvas, cx, cy, radius, edge, face):
    """A round mark over the lower right of a picture, parted from it by a white ring."""
    line = canvas.pixel_width()
    canvas.fill(ellipse(cx, cy, radius + line * 1.5), WHITE)
    canvas.fill(ellipse(cx, cy, radius), edge)
    canvas.fill(ellipse(cx, cy, radius - line), face)


# Tree images, on a 16 by 16 grid.

def closed_folder(canvas):
    framed_rect(canvas, 1, 2, 7, 6, AMBER_DARK, AMBER_DARK, 1)
    framed_rect(canvas, 1, 4, 15, 14, AMBER_DARK, AMBER)
    line = canvas.pixel_width()
    canvas.fill(rect(snap(canvas, 1) + line, snap(canvas, 4) + line, snap(canvas, 15) - line,
                     snap(canvas, 6)), AMBER_LIGHT)


def open_folder(canvas):
    framed_rect(canvas, 1, 2, 7, 6, AMBER_DARK, AMBER_DARK, 1)
    framed_rect(canvas, 1, 4, 14, 14, AMBER_DARK, AMBER_DARK)
    canvas.fill(polygon((0.3, 14), (3.6, 7.2), (15.8, 7.2), (12.6, 14)), AMBER_DARK)
    canvas.fill(polygon((1.9, 13), (4.3, 8.2), (14.2, 8.2), (11.9, 13)), AMBER_LIGHT)


def startup_folder(canvas):
    closed_folder(canvas)
    badge(canvas, 11.5, 11.5, 4.3, GREEN_DARK, GREEN)
    canvas.fill(polygon((10.2, 9.2), (10.2, 13.8), (14.0, 11.5)), WHITE)


def registry(canvas):
    for x, y in ((1, 9), (9, 9), (1, 1)):
        framed_rect(canvas, x, y, x + 6, y + 6, BLUE_DARK, BLUE)
    framed_rect(canvas, 9.5, 0.5, 15.5, 6.5, BLUE_DARK, BLUE_LIGHT)


def person(canvas, cx, top, size, edge, face):
    """Head and shoulders, size 1 filling the 16 grid's height."""
    line = canvas.pixel_width()
    head = 3.1 * size
    head_y = top + head
    shoulders_y = top + 15.5 * size
    body = clipped(ellipse(cx, shoulders_y, 6.3 * size, 6.6 * size), (0, 0, 16, shoulders_y - 1.2 * size))
    canvas.fill(ellipse(cx, head_y, head + line), edge)
    canvas.fill(ellipse(cx, head_y, head), face)
    canvas.fill(body, edge)
    canvas.fill(clipped(ellipse(cx, shoulders_y, 6.3 * size - line, 6.6 * size - line),
                        (0, 0, 16, shoulders_y - 1.2 * size - line)), face)


def one_user(canvas):
    person(canvas, 8, 0.8, 1.0, BLUE_DARK, BLUE)


def all_users(canvas):
    person(canvas, 10.6, 0.6, 0.8, BLUE_DARK, BLUE_LIGHT)
    line = canvas.pixel_width()
    canvas.fill(ellipse(6.0, 6.2, 2.8 + 2.5 * line), WHITE)
    canvas.fill(clipped(ellipse(6.0, 16.3, 5.4 + 1.5 * line, 5.6 + 1.5 * line), (0, 0, 16, 15.2)), WHITE)
    person(canvas, 6.0, 3.2, 0.82, BLUE_DARK, BLUE)


def packaged_app(canvas):
    """A package's tiles: four squares, the one on the upper right lit."""
    for x, y in ((1, 1), (1, 9), (9, 9)):
        framed_rect(canvas, x, y, x + 6, y + 6, GREEN_DARK, GREEN, 1)
    framed_rect(canvas, 9, 1, 15, 7, BLUE_DARK, BLUE_LIGHT, 1)


def scheduled_task(canvas):
    """A clock face with its two hands."""
    line = canvas.pixel_width()
    canvas.fill(ellipse(8, 8, 7.2), BLUE_DARK)
    canvas.fill(ellipse(8, 8, 7.2 - 1.5 * line), PAPER)
    canvas.fill(bar(8, 8, 8, 3.2, 1.4), BLUE_DARK)
    canvas.fill(bar(8, 8, 11.4, 9.8, 1.4), BLUE_DARK)
    canvas.fill(ellipse(8, 8, 1.1), BLUE_DARK)


# Toolbar images, on a 32 by 32 grid. The entry actions share one picture of
# a program window with a mark of what they do.

def program_window(canvas, right=28, bottom=25):
    framed_rect(canvas, 3, 5, right, bottom, BLUE_DARK, PAPER, 1.5)
    framed_rect(canvas, 3, 5, right, 10, BLUE_DARK, BLUE, 1.5)
    canvas.fill(rect(snap(canvas, 3), snap(canvas, 8), snap(canvas, right), snap(canvas, 10)), BLUE_DARK)
    canvas.fill(rect(snap(canvas, 3) + canvas.pixel_width(), snap(canvas, 8), snap(canvas, right) - canvas.pixel_width(),
                     snap(canvas, 9)), BLUE)


def window_lines(canvas, left=7, right=24):
    for y in (13, 16.5, 20):
        canvas.fill(rect(snap(canvas, left), snap(canvas, y), snap(canvas, right), snap(canvas, y + 1.5)), BLUE_LIGHT)


def add_image(canvas):
    program_window(canvas)
    window_lines(canvas, 7, 16)
    badge(canvas, 23, 23, 7.5, GREEN_DARK, GREEN)
    canvas.fill(rect(snap(canvas, 22), snap(canvas, 18.5), snap(canvas, 24), snap(canvas, 27.5)), WHITE)
    canvas.fill(rect(snap(canvas, 18.5), snap(canvas, 22), snap(canvas, 27.5), snap(canvas, 24)), WHITE)


def delete_image(canvas):
    program_window(canvas)
    window_lines(canvas, 7, 16)
    badge(canvas, 23, 23, 7.5, RED_DARK, RED)
    canvas.fill(bar(19.8, 19.8, 26.2, 26.2, 2.2), WHITE)
    canvas.fill(bar(26.2, 19.8, 19.8, 26.2, 2.2), WHITE)


def properties_image(canvas):
    program_window(canvas)
    window_lines(canvas, 7, 16)
    badge(canvas, 23, 23, 7.5, BLUE_DARK, BLUE)
    canvas.fill(ellipse(23, 19.3, 1.4), WHITE)
    canvas.fill(rect(snap(canvas, 22), snap(canvas, 21.5), snap(canvas, 24), snap(canvas, 27.5)), WHITE)


def folders_image(canvas):
    program_window(canvas)
    line = canvas.pixel_width()
    canvas.fill(rect(snap(canvas, 3) + line, snap(canvas, 10), snap(canvas, 13), snap(canvas, 25) - line),
                BLUE_LIGHT)
    canvas.fill(rect(snap(canvas, 13), snap(canvas, 10), snap(canvas, 13) + line, snap(canvas, 25) - line),
                BLUE_DARK)
    for y in (12.5, 16.5, 20.5):
        framed_rect(canvas, 5.5, y, 10.5, y + 2.5, AMBER_DARK, AMBER)
    window_lines(canvas, 16, 25)


def refresh_image(canvas):
    cx, cy, inner, outer = 16, 16, 8, 12
    middle = (inner + outer) / 2
    for start, end in ((200, 318), (20, 138)):
        canvas.fill(arc(cx, cy, inner, outer, start, end), BLUE)
        canvas.fill(polygon(at_polar(cx, cy, inner - 3.2, end), at_polar(cx, cy, outer + 3.2, end),
                            at_polar(cx, cy, middle, end + 32)), BLUE)


def run_image(canvas):
    canvas.fill(ellipse(16, 16, 13.5), GREEN_DARK)
    canvas.fill(ellipse(16, 16, 13.5 - canvas.pixel_width()), GREEN)
    canvas.fill(polygon((12.5, 9.5), (12.5, 22.5), (23, 16)), WHITE)


# The header strip's picture, white on the strip's blue, on a 17 by 16 grid.

def header_image(canvas):
    canvas.fill(arc(8.5, 8, 5.6, 7.2, 0, 359.999), WHITE)
    canvas.fill(polygon((6.7, 4.8), (6.7, 11.2), (11.9, 8)), WHITE)


TREE_SIZES = (16, 20, 24, 32)
TOOLBAR_SIZES = (32, 40, 48, 64)
HEADER_HEIGHTS = (16, 20, 24, 32)

IMAGES = [
    # file name, drawing, design grid (width, height), pixel heights
    ("tree-closed-folder.ico", closed_folder, (16, 16), TREE_SIZES),
    ("tree-open-folder.ico", open_folder, (16, 16), TREE_SIZES),
    ("tree-startup-folder.ico", startup_folder, (16, 16), TREE_SIZES),
    ("tree-registry.ico", registry, (16, 16), TREE_SIZES),
    ("tree-user.ico", one_user, (16, 16), TREE_SIZES),
    ("tree-users.ico", all_users, (16, 16), TREE_SIZES),
    ("tree-app.ico", packaged_app, (16, 16), TREE_SIZES),
    ("tree-task.ico", scheduled_task, (16, 16), TREE_SIZES),
    ("toolbar-add.ico", add_image, (32, 32), TOOLBAR_SIZES),
    ("toolbar-delete.ico", delete_image, (32, 32), TOOLBAR_SIZES),
    ("toolbar-folders.ico", folders_image, (32, 32), TOOLBAR_SIZES),
    ("toolbar-properties.ico", properties_image, (32, 32), TOOLBAR_SIZES),
    ("toolbar-refresh.ico", refresh_image, (32, 32), TOOLBAR_SIZES),
    ("toolbar-run.ico", run_image, (32, 32), TOOLBAR_SIZES),
    ("header.ico", header_image, (17, 16), HEADER_HEIGHTS),
]


def icon_image(canvas):
    """One icon directory image: a bottom-up 32-bit bitmap and its AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour_rows = canvas.bgra_rows_bottom_up()
    mask_stride = (canvas.width + 31) // 32 * 4
    mask = bytearray()
    for row in colour_rows:
        bits = bytearray(mask_stride)
        for x in range(canvas.width):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + b"".join(colour_rows) + bytes(mask)


def icon_file(canvases):
    directory = struct.pack("<HHH", 0, 1, len(canvases))
    offset = len(directory) + 16 * len(canvases)
    entries, images = b"", b""
    for canvas in canvases:
        image = icon_image(canvas)
        entries += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32, len(image),
                               offset + len(images))
        images += image
    return directory + entries + images


def draw(drawing, grid, height):
    scale = height / grid[1]
    canvas = Canvas(round(grid[0] * scale), height, scale)
    drawing(canvas)
    return canvas


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join("src", "ui", "win32", "res")
    for name, drawing, grid, heights in IMAGES:
        with open(os.path.join(out, name), "wb") as file:
            file.write(icon_file([draw(drawing, grid, height) for height in heights]))


if __name__ == "__main__":
    main()
