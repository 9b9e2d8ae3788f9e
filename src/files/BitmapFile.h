// Writing the canvas as an uncompressed Windows bitmap file (BI_RGB, bottom
// row first), built whole in memory and then written all or nothing.
//
// The program's surfaces are all 32-bit, and so are its files; the layout
// arithmetic still follows the format for any depth.
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

// The whole file in memory for `surface` at 32 bits a pixel: file header,
// information header (no colour table), then rows of S bytes, bottom row
// first. The fourth byte of a pixel is 0, whatever the surface holds there.
// Empty for a null or empty surface, or a file that would not fit in 4 GiB
// (refused before any pixel is read). Surfaces in a format other than
// Format_RGB32 or Format_ARGB32 (whose alpha is ignored) are converted to
// Format_RGB32 first.
QByteArray EncodeBitmapFile(const QImage& surface);

// Writes `bytes` to `path` so that an existing file is replaced only when
// everything was written (QSaveFile: a temporary file beside the target,
// renamed over it at the end). On failure returns false, leaves any existing
// file as it was, and puts a reason a user can read in *error (e.g. the
// folder does not exist, the parent is a file, no permission, disk full).
// `error` may be null; it is left alone on success.
bool WriteBitmapFile(const QString& path, const QByteArray& bytes, QString* error);
