#!/usr/bin/env python3
"""Compare rasterdump with the GDI oracle (real GDI under Wine), pixel for pixel.

  tools/oracle_compare.py [--soups N] [--commands M] [--seed S] [--examples]
                          [--oracle DIR] [--rasterdump PATH] [--work DIR]

Builds (once) an extended copy of the oracle in the work folder: the shared
oracle plus the block-copy commands "source", "stretchmode", "bitblt" and
"stretchblt" that rasterdump also understands. Then it runs the oracle's own
example files (--examples) and N random command soups of M commands each
through both programs and compares every dump, the fourth byte of each pixel
aside. A soup that differs is kept in the work folder with a report of the
first differing pixels, so it can be replayed by hand:

  rasterdump WORK/soup-7.txt OUT && ./run.sh WORK/soup-7.txt OUT2

Needs Wine and the mingw-w64 compiler (apt-get install wine64
g++-mingw-w64-x86-64); a developer tool, not part of the test suite. The
copied oracle makes its own Wine prefix (about 700 MB) unless WINEPREFIX
names an existing one.

Known difference: the oracle's example stress.txt dump big4.bin. GDI leaves
some rows of the elliptic region of a very narrow, tall box unset (from a
height of about 2 (w - 1)^2 on) and paints whatever its memory held there;
we leave those rows empty. Soups avoid such boxes.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Extra oracle commands (block copies from a patterned source surface).
EXT_GLOBALS = r'''
static HDC g_srcdc = NULL;
static HBITMAP g_srcbmp = NULL, g_srcold = NULL;
static unsigned src_pattern(int x, int y, int seed)
{
    unsigned v = (unsigned)x * 0x9E3779B1u ^ (unsigned)y * 0x85EBCA77u ^ (unsigned)seed * 0xC2B2AE3Du;
    v ^= v >> 15; v *= 0x2C1B3C6Du; v ^= v >> 12;
    return v & 0x00FFFFFFu;
}
'''
EXT_COMMANDS = r'''    } else if (c == "source") {
        nargs(t, 3); need_surface();
        int seed = (int)num(t, 3), sh = (int)num(t, 2), sw = (int)num(t, 1);
        if (sw <= 0 || sh <= 0) fail("source size must be positive");
        if (g_srcdc) { SelectObject(g_srcdc, g_srcold); DeleteObject(g_srcbmp); DeleteDC(g_srcdc); }
        BITMAPINFO bmi; memset(&bmi, 0, sizeof bmi);
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER); bmi.bmiHeader.biWidth = sw;
        bmi.bmiHeader.biHeight = -sh; bmi.bmiHeader.biPlanes = 1; bmi.bmiHeader.biBitCount = 32;
        void *bits = NULL;
        g_srcdc = CreateCompatibleDC(NULL);
        g_srcbmp = CreateDIBSection(g_srcdc, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
        if (!g_srcbmp || !bits) fail("CreateDIBSection failed");
        g_srcold = (HBITMAP)SelectObject(g_srcdc, g_srcbmp);
        for (int y = 0; y < sh; y++)
            for (int x = 0; x < sw; x++) ((DWORD *)bits)[y * sw + x] = src_pattern(x, y, seed);
        GdiFlush();
    } else if (c == "stretchmode") {
        nargs(t, 1); need_surface();
        if (!SetStretchBltMode(g_dc, (int)num(t, 1))) fail("SetStretchBltMode failed");
    } else if (c == "bitblt" || c == "stretchblt") {
        bool st = c == "stretchblt";
        nargs(t, st ? 8 : 6); need_surface();
        long a[8]; for (int i = (st ? 8 : 6); i >= 1; i--) a[i - 1] = num(t, i);
        if (!g_srcdc) fail("no source yet (use 'source W H SEED' first)");
        if (st) StretchBlt(g_dc, a[0], a[1], a[2], a[3], g_srcdc, a[4], a[5], a[6], a[7], SRCCOPY);
        else BitBlt(g_dc, a[0], a[1], a[2], a[3], g_srcdc, a[4], a[5], SRCCOPY);
'''


def build_oracle(oracle_dir, work):
    exe = os.path.join(work, 'gdioracle_ext.exe')
    src = open(os.path.join(oracle_dir, 'gdioracle.cpp')).read()
    src = src.replace('static std::string g_outdir;', 'static std::string g_outdir;\n' + EXT_GLOBALS, 1)
    src = src.replace('    } else if (c == "dump") {', EXT_COMMANDS + '    } else if (c == "dump") {', 1)
    path = os.path.join(work, 'gdioracle_ext.cpp')
    if os.path.exists(exe) and os.path.exists(path) and open(path).read() == src:
        return exe
    open(path, 'w').write(src)
    subprocess.run(['x86_64-w64-mingw32-g++', '-O2', '-static', '-o', exe, path,
                    '-lgdiplus', '-lgdi32', '-luser32'], check=True)
    return exe


def run_oracle(oracle_dir, exe, cmdfile, outdir):
    os.makedirs(outdir, exist_ok=True)
    env = dict(os.environ, GDIORACLE_EXE=exe)
    return subprocess.run([os.path.join(oracle_dir, 'run.sh'), cmdfile, outdir], env=env,
                          capture_output=True, text=True)


def run_ours(rasterdump, cmdfile, outdir):
    os.makedirs(outdir, exist_ok=True)
    return subprocess.run([rasterdump, cmdfile, outdir], capture_output=True, text=True)


def diff_dumps(a, b, width):
    """Pixels (x, y, oracle, ours) that differ, the fourth byte aside."""
    da, db = open(a, 'rb').read(), open(b, 'rb').read()
    if len(da) != len(db):
        return [('size', len(da), len(db))]
    out = []
    for i in range(0, len(da), 4):
        if da[i:i + 3] != db[i:i + 3]:
            p = i // 4
            out.append((p % width, p // width, da[i:i + 3][::-1].hex(), db[i:i + 3][::-1].hex()))
    return out


def region_rows_complete(w, h):
    """Whether GDI's elliptic region sets every row of a w x h box. Very
    narrow, tall ellipses leave rows that the oracle fills from whatever its
    memory held, so soups avoid them."""
    if w <= 2 or h <= 2 or h < 2 * (w - 1) ** 2:
        return True  # rows go unset only from a height of about 2 (w - 1)^2 on
    if h > 5000:
        return False  # not worth walking: such boxes are left out
    a, b = w - 1, h - 1
    asq, bsq = 8 * a * a, 8 * b * b
    dx, dy = 4 * b * b * (1 - a), 4 * a * a * (1 + b % 2)
    err = dx + dy + a * a * (b % 2)
    x, y = 0, h // 2
    while x <= w // 2:
        e2 = 2 * err
        if e2 >= dx:
            x += 1
            dx += bsq
            err += dx
        if e2 <= dy:
            y += 1
            dy += asq
            err += dy
    return y >= h - 1


def soup(rng, commands):
    """A random command file: every primitive, clipped at the edges."""
    w, h = rng.choice([(rng.randint(1, 40), rng.randint(1, 40)), (rng.randint(40, 320), rng.randint(40, 240))])
    lines = [f'size {w} {h}']
    widths = {}

    def coord(limit):
        r = rng.random()
        if r < 0.04:
            return rng.choice([-1, 1]) * rng.randint(10 ** 6, 2 * 10 ** 9)
        if r < 0.5:
            return rng.randint(-5, limit + 5)
        return rng.randint(-limit // 2 - 20, limit + limit // 2 + 20)

    def box():
        while True:
            b = [coord(w), coord(h), coord(w), coord(h)]
            if rng.random() < 0.3:  # a small box near an edge or corner
                x, y = rng.choice([-3, 0, w - 3, w // 2]), rng.choice([-3, 0, h - 3, h // 2])
                b = [x, y, x + rng.randint(-12, 12), y + rng.randint(-12, 12)]
            bw, bh = abs(b[2] - b[0]), abs(b[3] - b[1])
            if region_rows_complete(bw, bh) and bw + bh <= 1 << 18:
                return b

    wide = False
    for i in range(commands):
        r = rng.random()
        if r < 0.06:
            lines.append(f'rop2 {rng.choice([10, 13, 13, 10, 7, 1, 4, 6, 9, 16, rng.randint(1, 16)])}')
        elif r < 0.12:
            style = rng.choice([0, 0, 1, 2, 3, 4, 5, 6])
            width = 1 if rng.random() < 0.85 else rng.randint(0, 4)
            wide = width > 1 and style != 5
            lines.append(f'pen {style} {width} 0x{rng.randint(0, 0xFFFFFF):06X}')
        elif r < 0.17:
            lines.append(rng.choice(['brush white', 'brush null', f'brush solid 0x{rng.randint(0, 0xFFFFFF):06X}']))
        elif r < 0.20:
            lines.append(rng.choice([f'bkmode {rng.choice([1, 2])}', f'bkcolor 0x{rng.randint(0, 0xFFFFFF):06X}']))
        elif r < 0.36:
            # wide pens are compared along the axes only
            x0, y0 = coord(w), coord(h)
            lines.append(f'moveto {x0} {y0}')
            if wide:
                lines.append(rng.choice([f'lineto {coord(w)} {y0}', f'lineto {x0} {coord(h)}']))
            else:
                lines.append(f'lineto {coord(w)} {coord(h)}')
        elif r < 0.48:
            lines.append('rect ' + ' '.join(map(str, box())))
        elif r < 0.62 and not wide:
            lines.append('ellipse ' + ' '.join(map(str, box())))
        elif r < 0.70:
            lines.append('fillrect ' + ' '.join(map(str, box())) + f' 0x{rng.randint(0, 0xFFFFFF):06X}')
        elif r < 0.76:
            lines.append(f'patblt {coord(w)} {coord(h)} {rng.randint(-w, w)} {rng.randint(-h, h)}')
        elif r < 0.82:
            lines.append(f'setpixel {rng.randint(-2, w + 1)} {rng.randint(-2, h + 1)} 0x{rng.randint(0, 0xFFFFFF):06X}')
        elif r < 0.84:
            lines.append(f'source {rng.randint(1, 60)} {rng.randint(1, 60)} {rng.randint(0, 99)}')
        elif r < 0.86:
            lines.append(f'stretchmode {rng.choice([1, 1, 2, 3])}')
        elif r < 0.95:
            if not any(l.startswith('source') for l in lines):
                lines.append(f'source {rng.randint(1, 60)} {rng.randint(1, 60)} {rng.randint(0, 99)}')
            dw, dh = rng.randint(-80, 80), rng.randint(-80, 80)
            sw, sh = rng.randint(-70, 70), rng.randint(-70, 70)
            if rng.random() < 0.3:
                lines.append(f'bitblt {coord(w)} {coord(h)} {dw} {dh} {rng.randint(-5, 40)} {rng.randint(-5, 40)}')
            else:
                lines.append(f'stretchblt {rng.randint(-20, w)} {rng.randint(-20, h)} {dw} {dh} '
                             f'{rng.randint(0, 30)} {rng.randint(0, 30)} {sw} {sh}')
        else:
            lines.append(f'dump d{i}.bin')
    lines.append('dump final.bin')
    return lines, w


def compare_file(args, exe, cmdfile, name, width_of):
    ora = os.path.join(args.work, name + '.oracle')
    ours = os.path.join(args.work, name + '.ours')
    shutil.rmtree(ora, ignore_errors=True)
    shutil.rmtree(ours, ignore_errors=True)
    r1 = run_oracle(args.oracle, exe, cmdfile, ora)
    r2 = run_ours(args.rasterdump, cmdfile, ours)
    problems = []
    if (r1.returncode != 0) != (r2.returncode != 0):
        problems.append(f'exit status: oracle {r1.returncode}, ours {r2.returncode}')
    if r1.returncode and r2.returncode:
        e1 = r1.stderr.strip().splitlines()[-1].split(': error: ')[-1] if r1.stderr.strip() else ''
        e2 = r2.stderr.strip().split(': error: ')[-1]
        if e1 != e2 and 'cannot open for writing' not in e1:
            problems.append(f'error: oracle "{e1}", ours "{e2}"')
    for dump in sorted(os.listdir(ora)) if os.path.isdir(ora) else []:
        if not dump.endswith('.bin') or width_of(dump) is None:
            continue
        mine = os.path.join(ours, dump)
        if not os.path.exists(mine):
            problems.append(f'{dump}: missing')
            continue
        d = diff_dumps(os.path.join(ora, dump), mine, width_of(dump))
        if d:
            problems.append(f'{dump}: {len(d)} px differ, first {d[:5]}')
    if not problems:
        shutil.rmtree(ora, ignore_errors=True)
        shutil.rmtree(ours, ignore_errors=True)
    return problems


def dump_widths(lines):
    """Surface width of each dump, None for dumps after a GDI+ fill."""
    widths, w, gp = {}, 0, False
    for line in lines:
        t = line.split('#')[0].split()
        if not t:
            continue
        if t[0] == 'size':
            w, gp = int(t[1], 0), False
        elif t[0] == 'gpfillellipse':
            gp = True
        elif t[0] == 'dump':
            widths[os.path.basename(t[1])] = None if gp else w
    return widths


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--soups', type=int, default=20)
    ap.add_argument('--commands', type=int, default=2000)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--examples', action='store_true', help='also run the oracle example files')
    ap.add_argument('--oracle', default='/work/shared/tools/gdioracle')
    ap.add_argument('--rasterdump', default=os.path.join(ROOT, 'build', 'bin', 'rasterdump'))
    ap.add_argument('--work', default=os.path.join(tempfile.gettempdir(), 'oracle-compare'))
    args = ap.parse_args()
    os.makedirs(args.work, exist_ok=True)
    oracle = os.path.join(args.work, 'oracle')
    if not os.path.exists(os.path.join(oracle, 'run.sh')):
        shutil.copytree(args.oracle, oracle, ignore=shutil.ignore_patterns('prefix', 'out'))
    args.oracle = oracle
    exe = build_oracle(oracle, args.work)
    if not os.path.exists(args.rasterdump):
        sys.exit(f'{args.rasterdump} not found: build the rasterdump target first')

    failures = 0
    if args.examples:
        examples = os.path.join(oracle, 'examples')
        for f in sorted(os.listdir(examples)):
            lines = open(os.path.join(examples, f)).read().splitlines()
            widths = dump_widths(lines)
            problems = compare_file(args, exe, os.path.join(examples, f), 'example-' + f[:-4], widths.get)
            print(f'example {f}: ' + ('ok' if not problems else '; '.join(problems)))
            failures += bool(problems)
    rng = random.Random(args.seed)
    for n in range(args.soups):
        lines, _ = soup(rng, args.commands)
        path = os.path.join(args.work, f'soup-{n}.txt')
        open(path, 'w').write('\n'.join(lines) + '\n')
        widths = dump_widths(lines)
        problems = compare_file(args, exe, path, f'soup-{n}', widths.get)
        print(f'soup {n} ({len(lines)} lines): ' + ('ok' if not problems else '; '.join(problems[:3])), flush=True)
        if problems:
            failures += 1
        else:
            os.remove(path)
    print(f'{failures} file(s) differ')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
