#include "platform/WinTypes.h"

#include <cstdlib>
#include <cstring>
#include <limits>

QString FaceName(const LOGFONT& lf)
{
    int n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n] != 0)
        ++n;
    return QString::fromUtf16(lf.lfFaceName, n);
}

void SetFaceName(LOGFONT& lf, const QString& face)
{
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), char16_t{0});
    const int n = std::min<int>(static_cast<int>(face.size()), LF_FACESIZE - 1);
    for (int i = 0; i < n; ++i)
        lf.lfFaceName[i] = face.at(i).unicode();
}

bool operator==(const LOGFONT& a, const LOGFONT& b)
{
    return std::memcmp(&a, &b, sizeof(LOGFONT)) == 0;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long num = static_cast<long long>(a) * b;
    long long q = num / c;
    const long long rem = num % c;
    // Round half away from zero.
    if (2 * std::llabs(rem) >= std::llabs(static_cast<long long>(c)))
        q += ((num < 0) != (c < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(q);
}

RECT NormalizedRect(const RECT& r)
{
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

RECT InflatedRect(const RECT& r, int d)
{
    return RECT{r.left - d, r.top - d, r.right + d, r.bottom + d};
}

RECT OffsetRectBy(const RECT& r, int dx, int dy)
{
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
