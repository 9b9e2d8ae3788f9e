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

class CPicture {
public:
    // The picture in `path`, or null when the file is missing, unreadable, a
    // folder, not a picture, truncated, or announces absurd dimensions.
    // Decoded pictures are cached by path, file size and modification time, so
    // a file changed on disk is decoded again.
    static std::shared_ptr<const CPicture> Load(const QString& path);

    explicit CPicture(QImage image);

    // Sizes as GDI+ reports them: float (GetImageDimension) and integer.
    float GetWidthF() const { return static_cast<float>(m_image.width()); }
    float GetHeightF() const { return static_cast<float>(m_image.height()); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    // The decoded pixels, QImage::Format_ARGB32_Premultiplied.
    const QImage& Image() const { return m_image; }

    // Drops every cached picture (when the program ends, or a test needs fresh decoding).
    static void ClearCache();

private:
    QImage m_image;
};

// Draws `picture` with its top-left corner at (x, y), at its natural size,
// composited over what is there (transparent pixels leave the surface showing).
void DrawPicture(CDC& dc, const CPicture& picture, int x, int y);

// Draws the whole picture stretched onto (x, y, w, h), nearest neighbour.
void DrawPictureStretched(CDC& dc, const CPicture& picture, int x, int y, int w, int h);

// Fills the ellipse inscribed in (x, y, w, h) with an opaque colour, without
// anti-aliasing: exactly the pixels whose centres lie inside the ellipse
// (x + w/2, y + h/2; radii w/2 and h/2), so the fill is symmetric about both
// axes. Nothing for w <= 0 or h <= 0.
void FillEllipseOpaque(CDC& dc, COLORREF color, int x, int y, int w, int h);

// The same pixels in a GDI+ colour 0xAARRGGBB, blended over the surface by
// its alpha (255 replaces, 0 leaves the surface as it was).
void FillEllipseArgb(CDC& dc, std::uint32_t argb, int x, int y, int w, int h);
