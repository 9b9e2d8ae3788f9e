// The averaging shrink: exact area weights, integer sums, rounded means.
#include "platform/GdiBltArea.h"

#include <algorithm>

namespace gdi {

namespace {

__extension__ using Wide = unsigned __int128;

// What one destination pixel's taps add up to at most along a side: S units
// of 1/D pixel when it shrinks, one pixel otherwise.
std::uint64_t FullWeight(const StretchSide& side) { return side.Shrinks() ? static_cast<std::uint64_t>(side.srcLen) : 1; }

}  // namespace

void AreaStretch::StepTaps(const StretchSide& side, long long lo, long long hi, long long k, Taps& taps)
{
    taps.coord.clear();
    taps.weight.clear();
    taps.total = 0;
    // The source indices whose pixels lie in [lo, hi).
    long long iLo, iHi;
    if (side.srcInc > 0) {
        iLo = std::max(0LL, lo - side.srcStart);
        iHi = std::min(side.srcLen, hi - side.srcStart);
    } else {
        iLo = std::max(0LL, side.srcStart - hi + 1);
        iHi = std::min(side.srcLen, side.srcStart - lo + 1);
    }
    const long long S = side.srcLen, D = side.dstLen;
    auto add = [&](long long i, std::uint64_t w) {
        taps.coord.push_back(side.srcStart + side.srcInc * i);
        taps.weight.push_back(w);
        taps.total += w;
    };
    if (!side.Shrinks()) {
        const Wide num = static_cast<Wide>(2 * k + 1) * static_cast<Wide>(S);  // at least 1
        const Wide biased = side.nearestBias < 0 ? num - static_cast<Wide>(-side.nearestBias)
                                                 : num + static_cast<Wide>(side.nearestBias);
        const long long i = static_cast<long long>(biased / static_cast<Wide>(2 * D));
        if (i >= iLo && i < iHi)
            add(i, 1);
        return;
    }
    // In units of 1/D pixel, step k covers [k S, (k + 1) S) and source pixel i
    // covers [i D, (i + 1) D).
    const long long from = k * S, to = (k + 1) * S;
    const long long first = std::max(from / D, iLo), last = std::min((to - 1) / D, iHi - 1);
    for (long long i = first; i <= last; ++i)
        add(i, static_cast<std::uint64_t>(std::min((i + 1) * D, to) - std::max(i * D, from)));
}

AreaStretch::AreaStretch(const QImage& source, const StretchSide& across, const StretchSide& down, long long kx0,
                         long long kx1)
    : m_source(source), m_down(down)
{
    const std::size_t n = static_cast<std::size_t>(std::max(0LL, kx1 - kx0));
    m_first.reserve(n + 1);
    m_total.reserve(n);
    Taps taps;
    for (long long k = kx0; k < kx1; ++k) {
        StepTaps(across, 0, source.width(), k, taps);
        m_first.push_back(m_coord.size());
        for (std::size_t j = 0; j < taps.coord.size(); ++j) {
            m_coord.push_back(static_cast<int>(taps.coord[j]));
            m_weight.push_back(taps.weight[j]);
        }
        m_total.push_back(taps.total);
    }
    m_first.push_back(m_coord.size());
    // A mean's sum is at most 255 times its whole weight; rounding adds half of that.
    m_wide = static_cast<Wide>(FullWeight(across)) * FullWeight(down) * 256 > static_cast<Wide>(~std::uint64_t{0});
}

bool AreaStretch::Row(long long ky, std::uint32_t* out) const
{
    return m_wide ? RowAs<Wide>(ky, out) : RowAs<std::uint64_t>(ky, out);
}

template <class Acc>
bool AreaStretch::RowAs(long long ky, std::uint32_t* out) const
{
    StepTaps(m_down, 0, m_source.height(), ky, m_rowTaps);
    if (m_rowTaps.total == 0)
        return false;
    const std::size_t n = m_total.size();
    std::vector<Acc> sums(4 * n, 0);
    for (std::size_t t = 0; t < m_rowTaps.coord.size(); ++t) {
        const auto* s = reinterpret_cast<const std::uint32_t*>(m_source.constScanLine(static_cast<int>(m_rowTaps.coord[t])));
        const Acc wy = m_rowTaps.weight[t];
        for (std::size_t i = 0; i < n; ++i) {
            // The row's share of step i, byte by byte; at most 255 S, well inside 64 bits.
            std::uint64_t b0 = 0, b1 = 0, b2 = 0, b3 = 0;
            for (std::size_t j = m_first[i]; j < m_first[i + 1]; ++j) {
                const std::uint32_t v = s[m_coord[j]];
                const std::uint64_t w = m_weight[j];
                b0 += w * (v & 0xFF);
                b1 += w * ((v >> 8) & 0xFF);
                b2 += w * ((v >> 16) & 0xFF);
                b3 += w * (v >> 24);
            }
            Acc* sum = &sums[4 * i];
            sum[0] += wy * b0;
            sum[1] += wy * b1;
            sum[2] += wy * b2;
            sum[3] += wy * b3;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (m_total[i] == 0)
            continue;
        const Acc whole = static_cast<Acc>(m_total[i]) * m_rowTaps.total;
        const Acc* sum = &sums[4 * i];
        std::uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c)
            pixel |= static_cast<std::uint32_t>((sum[c] + whole / 2) / whole) << (8 * c);
        out[i] = pixel;
    }
    return true;
}

}  // namespace gdi
