#include "scene/CanvasRecord.h"

#include "platform/Picture.h"

#include <QHash>

#include <algorithm>
#include <unordered_map>

namespace {

constexpr int kBackgroundOffset = 10;  // the background's top-left lands at (10, 10)

std::size_t HashOf(const CCanvasRecord::Entry& e)
{
    return qHashMulti(0, static_cast<int>(e.kind), e.rect.left, e.rect.top, e.rect.right, e.rect.bottom, e.line,
                      e.fill, e.tileWidth, e.tileHeight, e.picture);
}

// For each position of `seq` (-1 for none), whether it belongs to one longest
// strictly increasing subsequence of the values that are not -1.
std::vector<bool> LongestIncreasing(const std::vector<int>& seq)
{
    std::vector<int> tails;         // indices into seq: the smallest tail of each length
    std::vector<int> previous(seq.size(), -1);
    for (std::size_t j = 0; j < seq.size(); ++j) {
        if (seq[j] < 0)
            continue;
        const auto at = std::lower_bound(tails.begin(), tails.end(), seq[j],
                                         [&](int index, int value) { return seq[static_cast<std::size_t>(index)] < value; });
        if (at != tails.begin())
            previous[j] = *(at - 1);
        if (at == tails.end())
            tails.push_back(static_cast<int>(j));
        else
            *at = static_cast<int>(j);
    }
    std::vector<bool> kept(seq.size(), false);
    for (int j = tails.empty() ? -1 : tails.back(); j >= 0; j = previous[static_cast<std::size_t>(j)])
        kept[static_cast<std::size_t>(j)] = true;
    return kept;
}

}  // namespace

bool CCanvasRecord::Entry::SameDrawing(const CShapeFigure& fig) const
{
    return kind == fig.m_nKind && rect == fig.m_rect && line == fig.LineColor() && fill == fig.FillColor() &&
           tileWidth == fig.m_dTileWidth && tileHeight == fig.m_dTileHeight && picture == fig.m_strPicture;
}

bool CCanvasRecord::Entry::SameDrawing(const Entry& o) const
{
    return kind == o.kind && rect == o.rect && line == o.line && fill == o.fill && tileWidth == o.tileWidth &&
           tileHeight == o.tileHeight && picture == o.picture;
}

CCanvasRecord::Entry CCanvasRecord::MakeEntry(const CShapeFigure& fig) const
{
    return Entry{fig.m_nKind,       fig.m_rect,        fig.LineColor(),  fig.FillColor(),
                 fig.m_dTileWidth,  fig.m_dTileHeight, fig.m_strPicture,
                 DrawingBounds(fig, m_conditions.cxCanvas, m_conditions.cyCanvas)};
}

std::shared_ptr<const CPicture> CCanvasRecord::NotePicture(const CString& path)
{
    std::shared_ptr<const CPicture> picture = CPicture::Load(path);
    m_pictures[path] = Version{picture, picture == nullptr};
    return picture;
}

RECT CCanvasRecord::MeasureBackground(const BackgroundState& background)
{
    if (!background.on)
        return RECT{};
    const auto picture = NotePicture(background.path);
    if (!picture)
        return RECT{};
    const RECT placed{kBackgroundOffset, kBackgroundOffset, kBackgroundOffset + picture->GetWidth(),
                      kBackgroundOffset + picture->GetHeight()};
    return IntersectedRect(placed, RECT{0, 0, m_conditions.cxCanvas, m_conditions.cyCanvas});
}

void CCanvasRecord::Cleared(const CanvasConditions& conditions)
{
    m_known = true;
    m_conditions = conditions;
    m_entries.clear();
    m_background = BackgroundState{};
    m_backgroundBounds = RECT{};
    m_pictures.clear();
}

void CCanvasRecord::Redrawn(const CFigureList* figures, const BackgroundState& background,
                            const CanvasConditions& conditions)
{
    Cleared(conditions);
    if (figures) {
        for (const auto& fig : *figures) {
            if (!fig || !IsDrawnKind(fig->m_nKind))
                continue;
            m_entries.push_back(MakeEntry(*fig));
            if (!fig->m_strPicture.isEmpty() && !m_pictures.contains(fig->m_strPicture))
                NotePicture(fig->m_strPicture);
        }
    }
    m_background = background;
    m_backgroundBounds = MeasureBackground(background);
}

bool CCanvasRecord::Update(const CFigureList* figures, const BackgroundState& background,
                           const CanvasConditions& conditions, CDamageRegion& damage)
{
    if (!m_known || !(conditions == m_conditions)) {
        m_known = false;
        return false;
    }
    CDamageRegion changed;

    // Pictures whose file now decodes to another picture (or none).
    std::vector<CString> changedPaths;
    for (auto& [path, version] : m_pictures) {
        std::shared_ptr<const CPicture> now = CPicture::Load(path);
        const bool same = now ? (!version.missing && version.picture.lock() == now) : version.missing;
        if (!same)
            changedPaths.push_back(path);
        version = Version{now, now == nullptr};
    }

    // The drawn figures, compared with the record: a common beginning and
    // end, and between them the figures matched by their drawing. Matched
    // figures that keep their order among themselves are unchanged; every
    // other figure, old or new, is damage where it lies.
    std::vector<const CShapeFigure*> now;
    if (figures) {
        now.reserve(static_cast<std::size_t>(figures->GetSize()));
        for (const auto& fig : *figures)
            if (fig && IsDrawnKind(fig->m_nKind))
                now.push_back(fig.get());
    }
    const std::size_t m = m_entries.size(), n = now.size();
    std::size_t p = 0;
    while (p < m && p < n && m_entries[p].SameDrawing(*now[p]))
        ++p;
    std::size_t s = 0;
    while (s < m - p && s < n - p && m_entries[m - 1 - s].SameDrawing(*now[n - 1 - s]))
        ++s;
    if (p + s < m || p + s < n) {
        std::vector<Entry> middle;
        middle.reserve(n - p - s);
        for (std::size_t j = p; j < n - s; ++j)
            middle.push_back(MakeEntry(*now[j]));
        // Old figures of the window by their drawing, earliest first.
        std::unordered_map<std::size_t, std::vector<std::size_t>> byHash;
        for (std::size_t i = p; i < m - s; ++i)
            byHash[HashOf(m_entries[i])].push_back(i);
        std::vector<bool> used(m, false);
        std::vector<int> matched(middle.size(), -1);
        for (std::size_t j = 0; j < middle.size(); ++j) {
            const auto it = byHash.find(HashOf(middle[j]));
            if (it == byHash.end())
                continue;
            for (std::size_t i : it->second) {
                if (!used[i] && m_entries[i].SameDrawing(middle[j])) {
                    used[i] = true;
                    matched[j] = static_cast<int>(i);
                    break;
                }
            }
        }
        const std::vector<bool> kept = LongestIncreasing(matched);
        std::vector<bool> oldKept(m, false);
        for (std::size_t j = 0; j < middle.size(); ++j) {
            if (kept[j])
                oldKept[static_cast<std::size_t>(matched[j])] = true;
            else
                changed.Add(middle[j].bounds);
        }
        for (std::size_t i = p; i < m - s; ++i)
            if (!oldKept[i])
                changed.Add(m_entries[i].bounds);
        for (const Entry& e : middle)
            if (!e.picture.isEmpty() && !m_pictures.contains(e.picture))
                NotePicture(e.picture);
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(p),
                        m_entries.begin() + static_cast<std::ptrdiff_t>(m - s));
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(p), std::make_move_iterator(middle.begin()),
                         std::make_move_iterator(middle.end()));
    }
    if (!changedPaths.empty()) {
        for (const Entry& e : m_entries)
            if (!e.picture.isEmpty() && std::find(changedPaths.begin(), changedPaths.end(), e.picture) != changedPaths.end())
                changed.Add(e.bounds);
    }

    // The background: another picture, or the same path decoding otherwise.
    const bool backgroundChanged =
        background.on != m_background.on || (background.on && background.path != m_background.path) ||
        (background.on && std::find(changedPaths.begin(), changedPaths.end(), background.path) != changedPaths.end());
    if (backgroundChanged) {
        changed.Add(m_backgroundBounds);
        m_background = background;
        m_backgroundBounds = MeasureBackground(background);
        changed.Add(m_backgroundBounds);
    }
    damage.Add(changed);
    return true;
}
