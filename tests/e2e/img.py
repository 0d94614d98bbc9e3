"""Small picture measurements for the end-to-end tests, on PNG screenshots read
through ImageMagick (no Python imaging library needed)."""
import subprocess
import sys


def load(path):
    """Returns (width, height, rows of (r, g, b))."""
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True).stdout
    parts = []
    pos = 0
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
    data = ppm[pos:pos + width * height * 3]
    rows = [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
    return width, height, rows


def changed(a, b):
    """Number of pixels that differ between two pictures of one size."""
    wa, ha, ra = load(a)
    wb, hb, rb = load(b)
    if (wa, ha) != (wb, hb):
        raise SystemExit(f"sizes differ: {wa}x{ha} and {wb}x{hb}")
    return sum(1 for y in range(ha) for x in range(wa) if ra[y][x] != rb[y][x])


def changed_box(a, b):
    """Bounding box "x0 y0 x1 y1" of the pixels that differ, or "none"."""
    wa, ha, ra = load(a)
    _, _, rb = load(b)
    xs = [x for y in range(ha) for x in range(wa) if ra[y][x] != rb[y][x]]
    ys = [y for y in range(ha) for x in range(wa) if ra[y][x] != rb[y][x]]
    if not xs:
        return "none"
    return f"{min(xs)} {min(ys)} {max(xs)} {max(ys)}"


def main():
    cmd = sys.argv[1]
    if cmd == "changed":
        print(changed(sys.argv[2], sys.argv[3]))
    elif cmd == "changed-box":
        print(changed_box(sys.argv[2], sys.argv[3]))
    elif cmd == "size":
        w, h, _ = load(sys.argv[2])
        print(w, h)
    else:
        raise SystemExit(f"unknown command {cmd}")


if __name__ == "__main__":
    main()
