// The averaging shrink of pictures: each destination pixel the mean of the
// source area it covers.
//
// Along a side that shrinks (S source pixels onto D < S destination pixels),
// destination pixel k covers the source interval [k S / D, (k + 1) S / D),
// and every source pixel it overlaps counts by the length of the overlap,
// exactly (in whole units of 1/D pixel), so a pixel cut by the interval's
// edge counts by its share. Along a side that does not shrink, destination
// pixel k takes the one source pixel ((2k + 1) S + bias) / 2D, as the
// nearest-neighbour stretch of the caller picks it. Each of the four bytes of
// a pixel (alpha too) is the weighted mean of the same byte of its source
// pixels, rounded half up; in integers, so a uniform source stays uniform.
//
// Only pixels inside the source surface count. A destination pixel whose area
// holds none of them is not written. A pixel's value does not depend on which
// other pixels are drawn, so a stretch cut by a surface edge or a clip shows
// exactly the pixels of the whole stretch there.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace gdi {

// One side of a stretch: `dstLen` destination pixels taking `srcLen` source
// pixels from `srcStart` on, in the direction `srcInc` (+1 or -1).
struct StretchSide {
    long long srcStart = 0;
    long long srcLen = 0;
    int srcInc = 1;
    long long dstLen = 0;
    int nearestBias = 0;  // the side's nearest-neighbour rule, when it does not shrink
    bool Shrinks() const { return srcLen > dstLen; }
};

// The destination steps [kx0, kx1) across (counted from the side's start) of
// an averaging stretch of `source`, a surface of 32-bit pixels, row by row.
class AreaStretch {
public:
    AreaStretch(const QImage& source, const StretchSide& across, const StretchSide& down, long long kx0,
                long long kx1);
    // Row ky's pixels into out[0 .. kx1 - kx0). False when the row reads no
    // source pixel; otherwise out[i] is valid where Reads(i).
    bool Row(long long ky, std::uint32_t* out) const;
    bool Reads(std::size_t i) const { return m_total[i] != 0; }

private:
    // The source pixels of one destination step and their weights.
    struct Taps {
        std::vector<long long> coord;
        std::vector<std::uint64_t> weight;
        std::uint64_t total = 0;
    };
    static void StepTaps(const StretchSide& side, long long lo, long long hi, long long k, Taps& taps);
    template <class Acc>
    bool RowAs(long long ky, std::uint32_t* out) const;

    const QImage& m_source;
    StretchSide m_down;
    // Across: the taps of every step, flattened; step i owns [m_first[i], m_first[i + 1]).
    std::vector<std::size_t> m_first;
    std::vector<int> m_coord;
    std::vector<std::uint64_t> m_weight;
    std::vector<std::uint64_t> m_total;
    bool m_wide = false;  // sums that need more than 64 bits
    mutable Taps m_rowTaps;
};

}  // namespace gdi
