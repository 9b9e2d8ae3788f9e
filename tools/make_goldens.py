#!/usr/bin/env python3
"""Regenerates the GDI goldens in tests/data/platform/ from the GDI oracle.

  tools/make_goldens.py [--work DIR] [--oracle DIR] [--only NAME]

Each golden is a command file NAME.txt (the oracle's language, which the
tests replay through RasterScript) and NAME.gold, the oracle's dumps of it:
qCompress'd (4-byte big-endian length, then zlib) little-endian records

  "VGLD" uint32 count, then per dump: uint16 name length, name,
  uint32 width, uint32 height, uint16 palette size, palette (uint32
  0x00RRGGBB each), width*height palette indices (one byte each); a
  palette size of 0 means no palette and 3 bytes a pixel (B, G, R) instead.

Needs Wine and mingw-w64, like tools/oracle_compare.py, whose extended
oracle (with block copies) it builds and uses.
"""
import argparse
import os
import struct
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import oracle_compare as oc  # noqa: E402

DATA = os.path.join(oc.ROOT, 'tests', 'data', 'platform')


def grid(cells, cell_w, cell_h, columns):
    """Top-left corners of `cells` cells laid out in rows of `columns`."""
    return [((i % columns) * cell_w, (i // columns) * cell_h) for i in range(cells)]


def ellipses_small():
    """Every box from 0x0 to 40x40: outline alone, region alone, both in not-XOR.
    The regions of very narrow tall boxes have rows GDI never sets (it paints
    whatever its memory held there), so those boxes are drawn outline only."""
    boxes = [(w, h) for h in range(41) for w in range(41)]
    corners = grid(len(boxes), 44, 44, 41)
    size = 'size 1804 1804'
    out = []
    for name, setup in (('outline', ['pen 0 1 0', 'brush null']),
                        ('region', ['pen 5 1 0', 'brush solid 0x0000FF']),
                        ('notxor', ['rop2 10', 'pen 0 1 0x00C0C0C0', 'brush solid 0x00FF8000'])):
        out += [size] + setup
        for (w, h), (x, y) in zip(boxes, corners):
            if name != 'outline' and not oc.region_rows_complete(w, h):
                continue
            out.append(f'ellipse {x + 2} {y + 2} {x + 2 + w} {y + 2 + h}')
        out.append(f'dump {name}.bin')
    return out


def ellipses_large():
    boxes = [(100, 50), (97, 47), (301, 200), (640, 480), (1000, 30), (30, 700), (1801, 1001),
             (255, 256), (513, 129), (64, 64), (65, 65), (999, 998)]
    out = []
    for i, (w, h) in enumerate(boxes):
        out += [f'size {w + 8} {h + 8}', 'pen 0 1 0', 'brush solid 0x0000FF',
                f'ellipse 4 4 {4 + w} {4 + h}', f'dump filled{i}.bin',
                'rop2 10', 'pen 1 1 0', 'brush white', f'ellipse {4 + w} {4 + h} 4 4', f'dump dashed{i}.bin']
    return out


def lines():
    out = ['size 1722 1722', 'pen 0 1 0']
    # From the centre of a cell to every point of a square of radius 20 around it.
    ends = [(dx, -20) for dx in range(-20, 21)] + [(20, dy) for dy in range(-19, 21)] + \
           [(dx, 20) for dx in range(19, -21, -1)] + [(-20, dy) for dy in range(19, -20, -1)]
    for i, (dx, dy) in enumerate(ends):
        x, y = (i % 40) * 43 + 21, (i // 40) * 43 + 21
        out += [f'moveto {x} {y}', f'lineto {x + dx} {y + dy}']
        # ... and the same lines reversed, one row of cells below
        x2, y2 = x, y + 4 * 43
        out += [f'moveto {x2 + dx} {y2 + dy}', f'lineto {x2} {y2}']
    out.append('dump solid.bin')
    for style in (1, 2, 3, 4):
        out += ['size 200 200', f'pen {style} 1 0', 'rop2 10', 'bkcolor 0x00FF0000']
        for k in range(0, 200, 7):
            out += [f'moveto {k} 0', f'lineto {199 - k} 199', f'moveto 0 {k}', f'lineto 199 {199 - k // 2}']
        out += ['moveto 3 100', 'lineto 60 100', 'lineto 60 150', 'lineto 3 150', 'lineto 3 100']
        out += [f'dump styled{style}.bin', 'bkmode 1', 'moveto 0 5', 'lineto 199 7', f'dump transparent{style}.bin']
    # Clipped at every edge, far outside, and beyond the range GDI crops.
    out += ['size 64 48', 'pen 0 1 0x000080', 'rop2 10']
    for a, b in (((-30, 10), (90, 40)), ((70, -5), (-10, 60)), ((10, -1000000), (50, 1000000)),
                 ((-2000000000, 24), (2000000000, 25)), ((5, 47), (60, 47)), ((63, -7), (63, 70)),
                 ((-400000000, -300000000), (500000000, 300000000)), ((20, 20), (20, 20)),
                 ((0, 0), (64, 48)), ((63, 47), (-1, -1))):
        out += [f'moveto {a[0]} {a[1]}', f'lineto {b[0]} {b[1]}']
    out += ['dump clipped.bin', 'pen 1 1 0', 'moveto -300000000 10', 'lineto 300000000 30',
            'moveto 10 -300000000', 'lineto 40 300000000', 'dump clipped_dashed.bin']
    return out


def rectangles():
    out = ['size 300 200', 'pen 0 1 0', 'brush solid 0x0000FF']
    cases = [(10, 10, 31, 21), (31, 21, 10, 10), (31, 10, 10, 21), (40, 10, 40, 20), (45, 10, 46, 11),
             (50, 10, 52, 12), (55, 10, 57, 30), (60, 10, 90, 11), (-5, -5, 6, 6), (290, 190, 310, 210),
             (-1000000000, 100, 1000000000, 120), (150, -2000000000, 160, 2000000000)]
    out += [f'rect {l} {t} {r} {b}' for l, t, r, b in cases]
    out += ['dump outline.bin', 'size 300 200', 'pen 5 1 0', 'brush solid 0x00FF00']
    out += [f'rect {l} {t} {r} {b}' for l, t, r, b in cases]
    out += ['dump nullpen.bin', 'size 300 200']
    for i, (l, t, r, b) in enumerate(cases):
        out += [f'fillrect {l} {t + 40} {r} {b + 40} 0x{0x203040 * (i + 1) & 0xFFFFFF:06X}']
        out += [f'patblt {l + 100} {t + 100} {r - l} {b - t}']
    out += ['dump fills.bin']
    for style in (1, 2, 3, 4):
        out += ['size 120 90', f'pen {style} 1 0', 'rop2 10', 'brush white',
                'rect 5 5 100 80', 'rect 20 20 21 60', 'rect 30 30 95 31', 'rect 100 80 40 40',
                f'dump styled{style}.bin']
    for width in (2, 3, 4, 7):
        out += ['size 120 90', f'pen 0 {width} 0x00404040', 'brush solid 0x0000FFFF', 'rect 10 10 100 70',
                'rect 50 20 50 60', 'moveto 5 80', 'lineto 110 80', 'moveto 115 5', 'lineto 115 85',
                'moveto 3 3', 'lineto 3 3', f'pen 6 {width} 0', 'rect 20 30 40 50', f'dump wide{width}.bin']
    return out


def rop2():
    out = []
    for rop in range(1, 17):
        out += ['size 64 40', 'brush solid 0x00336699', 'patblt 0 0 32 40', 'brush solid 0x00CC9966',
                'patblt 32 0 32 40', f'rop2 {rop}', 'pen 0 1 0x0055AA33', 'brush solid 0x00A0B0C0',
                'rect 4 4 60 36', 'pen 1 1 0x00123456', 'bkcolor 0x00FEDCBA', 'moveto 0 20', 'lineto 64 21',
                'setpixel 30 2 0x00ABCDEF', 'ellipse 10 8 54 32', f'dump rop{rop}.bin']
    return out


def stretch():
    out = []
    cases = [(0, 0, 40, 30, 0, 0, 10, 10), (0, 0, 7, 5, 0, 0, 30, 25), (39, 29, -40, -30, 0, 0, 10, 10),
             (0, 0, 40, 30, 9, 9, -10, -10), (5, 5, 13, 3, 2, 1, 29, 17), (-10, -10, 60, 50, 0, 0, 20, 20),
             (0, 0, 17, 23, 3, 4, 17, 23), (0, 0, 40, 30, 15, 15, 20, 20), (0, 0, 40, 30, 25, 0, -40, 20),
             (35, 0, -30, 30, 0, 0, 25, 25), (0, 0, 30, 30, -10, -10, 20, 20), (1, 2, 3, 40, 0, 0, 20, 2),
             (5, 5, 1, 20, 3, 3, 5, 5), (5, 5, 20, 1, 2, 2, 6, 6), (9, 9, 1, 1, 0, 0, 4, 4), (9, 9, -1, 5, 0, 0, 4, 4)]
    for mode in (1, 2, 3):
        for i, c in enumerate(cases):
            out += ['size 40 30', 'source 25 25 7', f'stretchmode {mode}',
                    'stretchblt ' + ' '.join(map(str, c)), f'dump m{mode}c{i}.bin']
    out += ['size 40 30', 'source 25 25 3', 'bitblt 5 5 20 20 0 0', 'bitblt 30 25 -8 -8 10 10',
            'bitblt -5 -5 12 12 20 20', 'dump bitblt.bin']
    return out


SCENARIOS = {
    'ellipses_small': ellipses_small,
    'ellipses_large': ellipses_large,
    'lines': lines,
    'rectangles': rectangles,
    'rop2': rop2,
    'stretch': stretch,
}


def pack(dumps):
    raw = bytearray(b'VGLD' + struct.pack('<I', len(dumps)))
    for name, width, height, data in dumps:
        pixels = [int.from_bytes(data[i:i + 3], 'little') for i in range(0, len(data), 4)]
        palette = sorted(set(pixels))
        raw += struct.pack('<H', len(name)) + name.encode()
        if len(palette) > 256:  # stored as they are, 3 bytes a pixel
            raw += struct.pack('<IIH', width, height, 0)
            raw += b''.join(p.to_bytes(3, 'little') for p in pixels)
            continue
        index = {c: i for i, c in enumerate(palette)}
        raw += struct.pack('<IIH', width, height, len(palette))
        raw += b''.join(struct.pack('<I', c) for c in palette)
        raw += bytes(index[p] for p in pixels)
    return struct.pack('>I', len(raw)) + zlib.compress(bytes(raw), 9)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--oracle', default='/work/shared/tools/gdioracle')
    ap.add_argument('--work', default=os.path.join(tempfile.gettempdir(), 'oracle-compare'))
    ap.add_argument('--only')
    args = ap.parse_args()
    os.makedirs(args.work, exist_ok=True)
    oracle = os.path.join(args.work, 'oracle')
    if not os.path.exists(os.path.join(oracle, 'run.sh')):
        import shutil
        shutil.copytree(args.oracle, oracle, ignore=shutil.ignore_patterns('prefix', 'out'))
    exe = oc.build_oracle(oracle, args.work)
    for name, make in SCENARIOS.items():
        if args.only and name != args.only:
            continue
        lines = make()
        script = os.path.join(DATA, name + '.txt')
        open(script, 'w').write(f'# GDI golden "{name}": tools/make_goldens.py writes this file and {name}.gold\n'
                                + '\n'.join(lines) + '\n')
        outdir = os.path.join(args.work, 'gold-' + name)
        import shutil
        shutil.rmtree(outdir, ignore_errors=True)
        r = oc.run_oracle(oracle, exe, script, outdir)
        if r.returncode:
            sys.exit(f'{name}: oracle failed: {r.stderr}')
        dumps, width, height = [], 0, 0
        for line in lines:
            t = line.split()
            if t[0] == 'size':
                width, height = int(t[1]), int(t[2])
            elif t[0] == 'dump':
                data = open(os.path.join(outdir, t[1]), 'rb').read()
                dumps.append((t[1], width, height, data))
        blob = pack(dumps)
        open(os.path.join(DATA, name + '.gold'), 'wb').write(blob)
        print(f'{name}: {len(dumps)} dumps, {len(blob)} bytes')


if __name__ == '__main__':
    main()
