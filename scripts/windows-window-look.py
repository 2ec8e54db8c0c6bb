#!/usr/bin/env python3
"""What a picture of the Windows window shows, read from its pixels, for
test-windows-window.sh. Places come from the layout (pixels at 96 dots per
inch, scaled to DPI as the window scales them) and from what the picture
itself shows: the black Value column, the white edit boxes.

    windows-window-look.py grid PNG DPI       a parameter page: the whole grid
    windows-window-look.py headers PNG DPI    a parameter page: every header whole
    windows-window-look.py labels PNG DPI     the ECU information page: every label whole
    windows-window-look.py counters PNG DPI   the same page: each counter box shows the mask's colon
    windows-window-look.py box PNG            a message box painted: its face and a text
    windows-window-look.py highlight PNG X Y W H
                                              the first and last row of the selection's
                                              colour in that part (nothing when none)

Exits 1, saying what is wrong, when the picture does not show it.
"""
import subprocess
import sys


class Picture:
    def __init__(self, path):
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                              stdout=subprocess.PIPE).stdout
        # P6, width, height, maximum, then the pixels (no comments from convert).
        fields = data.split(maxsplit=4)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = fields[4]

    def rgb(self, x, y):
        at = 3 * (y * self.width + x)
        return self.pixels[at], self.pixels[at + 1], self.pixels[at + 2]

    def dark(self, x, y):
        # Text: black, where frames and edges are greys of 105 and more.
        return max(self.rgb(x, y)) < 60

    def grey(self, x, y):
        # The grid's button shadow: no text colour, no face, no black.
        r, g, b = self.rgb(x, y)
        return r == g == b and 64 <= r <= 208

    def white(self, x, y):
        return self.rgb(x, y) == (255, 255, 255)


def scaled(pixels, dpi):
    # MulDiv(pixels, dpi, 96), as the window scales its layout.
    return (pixels * dpi + 48) // 96


def longest_run(flags):
    best = run = 0
    for flag in flags:
        run = run + 1 if flag else 0
        best = max(best, run)
    return best


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def value_column(picture):
    """The Value column: its left edge (its cells' black starts a pixel in),
    its right edge, its first and last black row."""
    black = [sum(picture.rgb(x, y) == (0, 0, 0) for y in range(picture.height))
             for x in range(picture.width)]
    columns = [x for x in range(picture.width) if black[x] >= picture.height // 2]
    if not columns:
        fail("no black Value column on the page")
    left, right = columns[0], columns[-1]
    # Rows of black cells, not the black text of the header above them.
    rows = [y for y in range(picture.height)
            if sum(picture.rgb(x, y) == (0, 0, 0) for x in range(left, right + 1))
            > (right - left) // 2]
    return left - 1, right, rows[0], rows[-1]


def column_edges(picture, dpi):
    """The left edges of the four columns and the right edge of the last, and
    the first and last row of the cells."""
    value_left, _, top, bottom = value_column(picture)
    edges = [value_left - scaled(400, dpi), value_left - scaled(300, dpi), value_left]
    edges += [value_left + scaled(80, dpi), value_left + scaled(80, dpi) + scaled(100, dpi)]
    return edges, top, bottom


def check_grid(picture, dpi):
    edges, top, bottom = column_edges(picture, dpi)
    height = bottom - top + 1
    # A column line runs unbroken from the first row to the last, at the
    # column's last pixel.
    for column, edge in enumerate(edges[1:]):
        if not any(longest_run(picture.grey(x, y) for y in range(top, bottom + 1)) >= height - 3
                   for x in range(edge - 2, edge + 1)):
            fail(f"no whole line at the right of column {column} (x {edge - 1})")
    # A row line runs unbroken across the columns.
    start, end = edges[0] + 2, edges[-1] - 1
    width = end - start + 1
    horizontals = [y for y in range(top, min(bottom + 4, picture.height))
                   if longest_run(picture.grey(x, y) for x in range(start, end + 1)) >= width - 3]
    rows = [y for i, y in enumerate(horizontals) if i == 0 or horizontals[i - 1] != y - 1]
    if len(rows) < 16:
        fail(f"{len(rows)} whole row lines at y {rows}, not one under each of the sixteen rows")
    print(f"grid: four column lines, {len(rows)} row lines")


def blobs(columns):
    """Runs of neighbouring ink columns, as (first, last)."""
    runs = []
    for x in columns:
        if runs and runs[-1][1] == x - 1:
            runs[-1][1] = x
        else:
            runs.append([x, x])
    return runs


def check_headers(picture, dpi):
    edges, top, _ = column_edges(picture, dpi)
    # The header: from below the list's frame, the first line above the
    # cells that crosses the whole list, down to its own bottom edge.
    span = range(edges[0], edges[-1])
    frame = top - 3
    while frame > 0 and sum(picture.grey(x, frame) or picture.dark(x, frame)
                            for x in span) < 0.9 * len(span):
        frame -= 1
    band = range(frame + 1, top - 3)
    for column in range(4):
        cell_left, cell_right = edges[column], edges[column + 1]
        inside = range(cell_left + 2, cell_right - 2)
        ink = [(x, y) for y in band for x in inside if picture.dark(x, y)]
        if not ink:
            fail(f"header {column}: no text")
        xs = sorted({x for x, _ in ink})
        if xs[-1] >= cell_right - 3:
            fail(f"header {column}: the text runs into the column's edge")
        # An ellipsis ends a text cut short: dots, lower than any letter.
        text_height = max(y for _, y in ink) - min(y for _, y in ink) + 1
        last = blobs(xs)[-1]
        last_ys = [y for x, y in ink if last[0] <= x <= last[1]]
        if max(last_ys) - min(last_ys) + 1 < 0.4 * text_height:
            fail(f"header {column}: the text ends in a dot (cut short by an ellipsis)")
    print("headers: four whole texts")


def boxes(picture, dpi):
    """The white insides of the page's edit boxes, top to bottom: (left, top, right, bottom)."""
    x = picture.width // 2
    runs, start = [], None
    for y in range(picture.height + 1):
        white = y < picture.height and picture.white(x, y)
        if white and start is None:
            start = y
        elif not white and start is not None:
            if y - start >= scaled(12, dpi):
                runs.append((start, y - 1))
            start = None
    found = []
    for top, bottom in runs:
        middle = (top + bottom) // 2
        left = x
        while left > 0 and picture.white(left - 1, middle):
            left -= 1
        right = x
        while right + 1 < picture.width and picture.white(right + 1, middle):
            right += 1
        # An edit box of the page, not the tab strip or another white area.
        if scaled(100, dpi) <= right - left + 1 <= scaled(121, dpi) and \
                bottom - top + 1 <= scaled(21, dpi):
            found.append((left, top, right, bottom))
    if len(found) != 14:
        fail(f"{len(found)} edit boxes on the page, not fourteen")
    return found


# The labels of the ECU information page in page pixels: left, top, width and
# height; the identification's boxes first, then the counters'.
LABELS = [(3, 16 + 24 * i, 242, 21) for i in range(8)] + [
    (8 if i == 5 else 10, 217 + 20 + 24 * i, 233, 13) for i in range(6)]
BOX_TOPS = [16 + 24 * i for i in range(8)] + [217 + 16 + 24 * i for i in range(6)]
BOX_LEFT = 248
BORDER = 2  # the edit boxes' sunken edge


def check_labels(picture, dpi):
    found = boxes(picture, dpi)
    for index, ((left, top, width, height), box) in enumerate(zip(LABELS, found)):
        page_left = box[0] - BORDER - scaled(BOX_LEFT, dpi)
        page_top = box[1] - BORDER - scaled(BOX_TOPS[index], dpi)
        x0, y0 = page_left + scaled(left, dpi), page_top + scaled(top, dpi)
        x1, y1 = x0 + scaled(width, dpi), y0 + scaled(height, dpi)  # past the label
        ink = [(x, y) for y in range(y0, y1) for x in range(x0, x1) if picture.dark(x, y)]
        if not ink:
            fail(f"label {index}: no text")
        xs = [x for x, _ in ink]
        ys = [y for _, y in ink]
        # A text cut at an edge of its label has ink in the label's last pixels.
        if max(xs) >= x1 - 1 or min(xs) <= x0:
            fail(f"label {index}: the text runs into the label's side "
                 f"(ink {min(xs)}..{max(xs)}, label {x0}..{x1 - 1})")
        # A descender may fill the label's last row (a font's descent is
        # rounded down); the first row stays clear above a capital.
        if min(ys) <= y0:
            fail(f"label {index}: the text runs into the label's top "
                 f"(ink {min(ys)}..{max(ys)}, label {y0}..{y1 - 1})")
    print("labels: fourteen whole texts")


def check_counters(picture, dpi):
    for index, (left, top, right, bottom) in enumerate(boxes(picture, dpi)[8:]):
        ink = [(x, y) for y in range(top, bottom + 1) for x in range(left, right + 1)
               if picture.dark(x, y)]
        if not ink:
            fail(f"counter box {index}: empty, not the mask")
        xs = sorted({x for x, _ in ink})
        ys = sorted({y for _, y in ink})
        # "    :  ": a colon alone, two dots one above the other.
        if xs[-1] - xs[0] + 1 > max(3, scaled(3, dpi)) or len(blobs(ys)) != 2:
            fail(f"counter box {index}: shows more than the mask's colon")
    print("counters: six masks")


def check_box(picture):
    pixels = [picture.rgb(x, y) for y in range(picture.height) for x in range(picture.width)]
    face = sum(min(p) >= 200 for p in pixels)
    text = sum(max(p) < 60 for p in pixels)
    if face < len(pixels) // 2 or text < 20:
        fail(f"the box is not painted ({face} face pixels, {text} text pixels)")
    print("box: painted")


def highlight(picture, left, top, width, height):
    def selected(x, y):
        r, g, b = picture.rgb(x, y)
        return b >= 200 and r <= 100 and 100 <= g <= 200
    rows = [y for y in range(top, min(top + height, picture.height))
            if any(selected(x, y) for x in range(left, min(left + width, picture.width)))]
    if rows:
        print(rows[0], rows[-1])


def main(argv):
    what, path = argv[1], argv[2]
    picture = Picture(path)
    if what == "box":
        check_box(picture)
        return
    if what == "highlight":
        highlight(picture, *(int(a) for a in argv[3:7]))
        return
    dpi = int(argv[3])
    {"grid": check_grid, "headers": check_headers, "labels": check_labels,
     "counters": check_counters}[what](picture, dpi)


if __name__ == "__main__":
    main(sys.argv)
