"""Small picture measurements for the end-to-end tests, on PNG screenshots read
through ImageMagick (no Python imaging library needed)."""
import subprocess
import sys


def load_raw(*paths):
    """Each picture as (width, height, its RGB bytes, row after row), read by
    one ImageMagick process for all of them."""
    ppm = subprocess.run(["convert", *paths, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    pictures, pos = [], 0
    for _ in paths:
        parts = []
        while len(parts) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos)
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            parts.append(ppm[pos:end])
            pos = end
        pos += 1
        width, height = int(parts[1]), int(parts[2])
        pictures.append((width, height, ppm[pos:pos + width * height * 3]))
        pos += width * height * 3
    return pictures


def load(path):
    """Returns (width, height, rows of (r, g, b))."""
    [(width, height, data)] = load_raw(path)
    rows = [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
    return width, height, rows


def differences(a, b):
    """The pixels (x, y) that differ between two pictures of one size; whole
    rows are compared first, so a small change costs little."""
    (wa, ha, da), (wb, hb, db) = load_raw(a, b)
    if (wa, ha) != (wb, hb):
        raise SystemExit(f"sizes differ: {wa}x{ha} and {wb}x{hb}")
    stride = wa * 3
    out = []
    for y in range(ha):
        ra, rb = da[y * stride:(y + 1) * stride], db[y * stride:(y + 1) * stride]
        if ra != rb:
            out += [(x, y) for x in range(wa) if ra[x * 3:x * 3 + 3] != rb[x * 3:x * 3 + 3]]
    return out


def changed(a, b):
    """Number of pixels that differ between two pictures of one size."""
    return len(differences(a, b))


def changed_box(a, b):
    """Bounding box "x0 y0 x1 y1" of the pixels that differ, or "none"."""
    diff = differences(a, b)
    if not diff:
        return "none"
    xs, ys = [x for x, _ in diff], [y for _, y in diff]
    return f"{min(xs)} {min(ys)} {max(xs)} {max(ys)}"


def find_kite(shot, back, sheet, scale):
    """Where the display in `shot` shows the kite: "x y frame" of the one frame,
    composed from the background and the sprite sheet, that the screenshot shows
    exactly (every display pixel a scale x scale block of one colour). Exits with
    the reason when no frame fits."""
    width, height, kite_w, kite_h = 376, 346, 30, 60
    (w, h, screen), (back_w, _, b), (sheet_w, _, k) = load_raw(shot, back, sheet)
    if (w, h) != (width * scale, height * scale):
        raise SystemExit(f"the display measures {w} x {h}, not {width * scale} x {height * scale}")
    # The display's own pixels, each the top-left one of its block; every
    # screen row must be its display row with each pixel repeated.
    f, blurred = [], 0
    for y in range(height):
        top = screen[y * scale * w * 3:(y * scale + 1) * w * 3]
        row = [top[x * scale * 3:x * scale * 3 + 3] for x in range(width)]
        wide = b"".join(p * scale for p in row)
        blurred += sum(screen[(y * scale + i) * w * 3:(y * scale + i + 1) * w * 3] != wide for i in range(scale))
        f.append(row)
    if blurred:
        raise SystemExit(f"{blurred} screen rows differ from their block's: the display is not sharp")

    def pixel(data, stride, x, y):
        return data[(y * stride + x) * 3:(y * stride + x) * 3 + 3]

    def composed(x, y, frame, px, py):
        """The frame's pixel at (px, py) with the kite's cell at (x, y)."""
        sx, sy = (frame - 1) * kite_w + px - x, py - y
        back_px = pixel(b, back_w, px, py)
        if not (0 <= px - x < kite_w and 0 <= sy < kite_h):
            return back_px
        mask, pic = pixel(k, sheet_w, sx, sy + kite_h), pixel(k, sheet_w, sx, sy)
        return bytes((c | m) & p for c, m, p in zip(back_px, mask, pic))

    diff = [(x, y) for y in range(height) for x in range(width) if f[y][x] != pixel(b, back_w, x, y)]
    if not diff:
        raise SystemExit("the display shows no kite")
    x0, x1 = min(p[0] for p in diff), max(p[0] for p in diff)
    y0, y1 = min(p[1] for p in diff), max(p[1] for p in diff)
    if x1 - x0 >= kite_w or y1 - y0 >= kite_h:
        raise SystemExit(f"pixels off the background span {x0}..{x1} x {y0}..{y1}: more than one kite cell")
    for frame in range(1, 7):
        for y in range(y1 - kite_h + 1, y0 + 1):
            for x in range(x1 - kite_w + 1, x0 + 1):
                if any(f[py][px] != composed(x, y, frame, px, py) for px, py in diff):
                    continue
                cell = [(px, py) for py in range(max(y, 0), min(y + kite_h, height))
                        for px in range(max(x, 0), min(x + kite_w, width))]
                if all(f[py][px] == composed(x, y, frame, px, py) for px, py in cell):
                    return f"{x} {y} {frame}"
    raise SystemExit(f"no composed frame shows what the display shows around {x0}..{x1} x {y0}..{y1}")


def main():
    cmd = sys.argv[1]
    if cmd == "changed":
        print(changed(sys.argv[2], sys.argv[3]))
    elif cmd == "changed-box":
        print(changed_box(sys.argv[2], sys.argv[3]))
    elif cmd == "find-kite":
        print(find_kite(sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])))
    elif cmd == "size":
        w, h, _ = load(sys.argv[2])
        print(w, h)
    else:
        raise SystemExit(f"unknown command {cmd}")


if __name__ == "__main__":
    main()
