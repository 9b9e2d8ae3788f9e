// Writing the canvas as an uncompressed Windows bitmap file (BI_RGB, bottom
// row first), built whole in memory and then written all or nothing.
//
// Depths below 24 bits index a fixed palette, which the file carries in its
// colour table; every surface colour goes to its nearest entry (least squared
// distance in RGB, the lower index on a tie):
//  - 1 bit: black (0) and white (1).
//  - 4 bits: the 16 colours of the Windows VGA palette in their usual order:
//    black, maroon, green, olive, navy, purple, teal, silver, grey, red, lime,
//    yellow, blue, fuchsia, aqua, white.
//  - 8 bits: a 6 x 6 x 6 colour cube on the levels 0, 51, ..., 255 at index
//    36 r + 6 g + b (0..215), then 40 greys at 216..255, grey i (1..40) of
//    level round(255 i / 41), none of which the cube already has.
// 16 bits are 5-5-5 (the top five bits of each channel, as GDI keeps them);
// their table of 65536 entries is all zero, since no palette is used.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

// The layout of an uncompressed Windows bitmap file for a W x H surface of
// `bitsPerPixel` (and `planes`, 1 for every surface the program has). Every
// field is 0 when there is no such file: a side not positive, planes * bits
// below 1, a row longer than an int can say, or a file of 4 GiB or more.
// Above 24 bits the class is 32, whatever the depth.
struct BitmapLayout {
    int classBits = 0;       // C: 1, 4, 8, 16, 24 or 32
    int tableEntries = 0;    // N: 2^C below 24 bits, else 0
    int rowBytes = 0;        // S: ((W * C + 31) / 32) * 4
    std::uint32_t imageSize = 0;  // S * H
    std::uint32_t offBits = 0;    // 14 + 40 + 4N
    std::uint32_t fileSize = 0;   // offBits + S * H
};
BitmapLayout BitmapLayoutFor(int width, int height, int bitsPerPixel, int planes = 1);

// The whole file in memory for `surface` written at `bitsPerPixel` (1, 4, 8,
// 16, 24 or 32; the canvas is 32): file header, information header, colour
// table, then rows of S bytes, bottom row first, zero-padded. The fourth byte
// of a 32-bit pixel is 0, whatever the surface holds there. Empty for a null
// or empty surface, any other depth, or a file that would not fit in 4 GiB
// (refused before any pixel is read). Surfaces in a format other than
// Format_RGB32 or Format_ARGB32 (whose alpha is ignored) are converted to
// Format_RGB32 first.
QByteArray EncodeBitmapFile(const QImage& surface, int bitsPerPixel = 32);

// Writes `bytes` to `path` so that an existing file is replaced only when
// everything was written (QSaveFile: a temporary file beside the target,
// renamed over it at the end). On failure returns false, leaves any existing
// file as it was, and puts a reason a user can read in *error (e.g. the
// folder does not exist, the parent is a file, no permission, disk full).
// `error` may be null; it is left alone on success.
bool WriteBitmapFile(const QString& path, const QByteArray& bytes, QString* error);
