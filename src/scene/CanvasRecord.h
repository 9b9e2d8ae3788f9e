// What the canvas holds: the figures and background it was last drawn from,
// and the conditions of that drawing. A refresh compares the record with the
// design and redraws only the rectangles where the two can differ; whatever
// the record cannot vouch for (an unknown canvas, another brush or stretch
// mode, another canvas size) asks for the whole redraw instead.
//
// Figures are compared by what their drawing depends on (kind, rectangle,
// colours, tile sizes, picture path) and pictures by the decoded picture the
// cache hands out, so a file changed on disk counts as a change of every
// figure that shows it.
#pragma once

#include "platform/DamageRegion.h"
#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ShapeFigure.h"

#include <map>
#include <memory>
#include <vector>

class CPicture;

// The pixels a figure's drawing can change, as a rectangle cut to the canvas
// (empty when it draws nothing there). Text figures draw nothing.
RECT DrawingBounds(const CShapeFigure& fig, int cxCanvas, int cyCanvas);

// The figures of the list (by index) that later figures hide: walked from
// the top down over a grid of 16 x 16 canvas cells, a figure is hidden when
// every cell it can reach lies wholly inside the opaque box of a figure above
// it (a plain rectangle's box; a picture rectangle's stretch, when its
// picture can be read; the middle of an ellipse whose inside `brush` paints). Each pixel of a hidden figure is painted again by a figure above
// it, so a redraw that skips them leaves the same pixels. A figure that
// reaches no canvas pixel counts as hidden too.
std::vector<bool> HiddenFigures(const CFigureList& figures, int cxCanvas, int cyCanvas, const CBrush& brush);

// Whether the full redraw draws the figure: lines, rectangles, ellipses and
// borders (text boxes paint themselves).
inline bool IsDrawnKind(int kind)
{
    return kind == FK_LINE || kind == FK_RECTANGLE || kind == FK_ELLIPSE || kind == FK_BORDER;
}

// The state of the canvas DC and canvas that every figure's pixels depend on.
struct CanvasConditions {
    int cxCanvas = 0;
    int cyCanvas = 0;
    CBrush brush;     // paints the cleared canvas and the inside of outlines
    int stretchMode = 0;
    friend bool operator==(const CanvasConditions&, const CanvasConditions&) = default;
};

// The background as the redraw shows it: a picture at (10, 10) when on.
struct BackgroundState {
    bool on = false;
    CString path;
};

class CCanvasRecord {
public:
    // One drawn figure as recorded.
    struct Entry {
        FigureKind kind = FK_NONE;
        RECT rect{};
        COLORREF line = 0, fill = 0;
        double tileWidth = 0, tileHeight = 0;
        CString picture;
        RECT bounds{};  // DrawingBounds at the time
        bool SameDrawing(const CShapeFigure& fig) const;
        bool SameDrawing(const Entry& other) const;
    };

    // The canvas holds something no record describes.
    void Forget() { m_known = false; }
    bool Known() const { return m_known; }
    // The canvas was cleared: no figures, no background.
    void Cleared(const CanvasConditions& conditions);
    // The canvas was redrawn whole from `figures` and `background`.
    void Redrawn(const CFigureList* figures, const BackgroundState& background, const CanvasConditions& conditions);
    // Adds to `damage` every rectangle where the canvas as recorded and the
    // redraw of `figures` and `background` can differ, then records the
    // design as drawn. False (nothing added) when only the whole redraw will
    // do; the record is then as unknown.
    bool Update(const CFigureList* figures, const BackgroundState& background, const CanvasConditions& conditions,
                CDamageRegion& damage);

    // The drawn figures, in the list's order, with their bounds.
    const std::vector<Entry>& Entries() const { return m_entries; }
    // Whether any recorded figure or the background names a picture file.
    bool ShowsPictures() const { return !m_pictures.empty(); }
    // Where the background picture lies on the canvas (empty when off or unreadable).
    const RECT& BackgroundBounds() const { return m_backgroundBounds; }

private:
    Entry MakeEntry(const CShapeFigure& fig) const;
    RECT MeasureBackground(const BackgroundState& background);
    std::shared_ptr<const CPicture> NotePicture(const CString& path);

    bool m_known = false;
    CanvasConditions m_conditions;
    std::vector<Entry> m_entries;
    BackgroundState m_background;
    RECT m_backgroundBounds{};
    // The picture each path gave when last drawn; expired when the cache has
    // let it go, which counts as a change.
    struct Version {
        std::weak_ptr<const CPicture> picture;
        bool missing = false;  // the file could not be read
    };
    std::map<CString, Version> m_pictures;
};
