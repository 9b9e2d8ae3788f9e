// Pictures, as the program reads them: a file in any format the toolkit
// decodes (BMP, PNG, JPEG, GIF, ...), without colour management, drawn at its
// natural size or stretched into a rectangle; and a solid ellipse fill without
// anti-aliasing. This is the part of the program that stands in for GDI+.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class CPicture {
public:
    // The picture in `path`, or null when the file is missing, unreadable, a
    // folder, not a picture, truncated, or announces absurd dimensions (more
    // than 16384 pixels a side or 100 million in all: refused from the header,
    // before decoding). The content decides the format, not the name. Pixels
    // are taken as stored: an embedded colour space is ignored, and so is an
    // orientation tag. Decoded pictures are cached by path, file size and
    // modification time (256 pictures, 256 MB at most), so a file changed on
    // disk is decoded again. Safe to call from any thread.
    static std::shared_ptr<const CPicture> Load(const QString& path);

    // While a batch lives, Load on its thread gives for each path the answer
    // it first gave in the batch, without asking the file system again: one
    // drawing sees one version of every file, and a redraw of many pictures
    // looks each one up once. A batch opened inside another adds nothing.
    class Batch {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        struct Answers;

    private:
        std::unique_ptr<Answers> m_answers;
    };

    explicit CPicture(QImage image);

    // Sizes as GDI+ reports them: float (GetImageDimension) and integer.
    float GetWidthF() const { return static_cast<float>(m_image.width()); }
    float GetHeightF() const { return static_cast<float>(m_image.height()); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    // The decoded pixels, QImage::Format_ARGB32_Premultiplied.
    const QImage& Image() const { return m_image; }

    // The picture drawn at its natural size over white, as a 32-bit RGB
    // surface: what a white memory DC holds after DrawPicture at (0, 0).
    // Made once per decoded picture, so redraws that stretch or tile it do
    // not composite it again. Safe to call from any thread.
    const QImage& OnWhite() const;
    // Whether every pixel is opaque (drawing it over anything gives itself).
    bool IsOpaque() const { return m_opaque; }

    // OnWhite stretched (SRCCOPY, `stretchMode`) onto a |w| x |h| surface:
    // the pixels StretchBlt(x, y, w, h) of its whole area shows when the
    // destination lies wholly on its surface; negative sizes mirror, as they
    // do there. The last few stretches are kept (8, and 64 MB at most; a
    // larger one is made and not kept), so redraws at the same sizes cost
    // block copies only. Null for a zero size. Safe to call from any thread.
    QImage StretchedOnWhite(int w, int h, int stretchMode) const;

    // Drops every cached picture (when the program ends, or a test needs fresh decoding).
    static void ClearCache();

private:
    QImage m_image;
    bool m_opaque = true;
    mutable std::once_flag m_onWhiteOnce;
    mutable QImage m_onWhite;
    struct Stretch {
        int w, h, mode;
        QImage image;
    };
    mutable std::mutex m_stretchMutex;
    mutable std::vector<Stretch> m_stretches;  // newest last
};

// Draws `picture` with its top-left corner at (x, y), at its natural size (one
// picture pixel a surface pixel), composited over what is there: source over,
// so transparent pixels leave the surface showing and half-transparent red
// over white gives 0xFF7F7F. Clipped at the surface edges.
void DrawPicture(CDC& dc, const CPicture& picture, int x, int y);

// Draws the whole picture stretched onto (x, y, w, h), composited as
// DrawPicture; negative sizes mirror. Where no side shrinks, destination pixel
// k of a side takes source pixel ((2k + 1) * S) / 2D, the one under its
// centre. Where one does, the picture is averaged as the HALFTONE stretch
// averages (platform/GdiBltArea.h): each pixel the mean of the area it covers.
void DrawPictureStretched(CDC& dc, const CPicture& picture, int x, int y, int w, int h);

// Fills the ellipse inscribed in (x, y, w, h) with an opaque colour, without
// anti-aliasing: exactly the pixels whose centres lie inside the ellipse or on
// it (centre x + w/2, y + h/2; radii w/2 and h/2), computed in exact integer
// arithmetic, so the fill is symmetric about both axes and its middle row and
// column reach the box's edges. Nothing for w <= 0 or h <= 0. The ROP2 does
// not apply.
void FillEllipseOpaque(CDC& dc, COLORREF color, int x, int y, int w, int h);

// The same pixels in a GDI+ colour 0xAARRGGBB, blended over the surface by
// its alpha (255 replaces, 0 leaves the surface as it was).
void FillEllipseArgb(CDC& dc, std::uint32_t argb, int x, int y, int w, int h);
