#include "RasterScript.h"

#include "platform/Picture.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The oracle reads lines with a 4096-byte buffer: longer lines arrive in
// pieces, each counted as a line of its own.
constexpr std::size_t kLineBuffer = 4096;
// Surfaces beyond this many bytes are refused, as a failed DIB section.
constexpr long long kMaxSurfaceBytes = 1LL << 30;

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && space(line[i]))
            ++i;
        if (i >= line.size() || line[i] == '#' || line[i] == '\0')
            break;
        const std::size_t start = i;
        while (i < line.size() && !space(line[i]) && line[i] != '\0')
            ++i;
        tokens.push_back(line.substr(start, i - start));
        if (i < line.size() && line[i] == '\0')
            break;
    }
    return tokens;
}

// strtol and strtoul as a 32-bit long reads them: out-of-range values saturate.
std::optional<int> ParseLong(const std::string& s)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 0);
    if (*end != '\0')
        return std::nullopt;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::optional<std::uint32_t> ParseUnsigned(const std::string& s)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(s.c_str(), &end, 0);
    if (*end != '\0')
        return std::nullopt;
    const bool overflow = errno == ERANGE;
    const bool negative = s.find('-') != std::string::npos;
    if (!negative)
        return overflow || v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v);
    const unsigned long long magnitude = overflow ? ULLONG_MAX : 0 - v;
    if (magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(magnitude));
}

}  // namespace

RasterScript::RasterScript(std::string outDir, DumpSink sink) : m_outDir(std::move(outDir)), m_sink(std::move(sink))
{
    if (!m_sink) {
        m_sink = [](const std::string& path, const QByteArray& bytes) {
            std::FILE* f = std::fopen(path.c_str(), "wb");
            if (!f)
                return false;
            const bool ok = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f) ==
                            static_cast<std::size_t>(bytes.size());
            return std::fclose(f) == 0 && ok;
        };
    }
}

RasterScript::~RasterScript() = default;

std::uint32_t RasterScript::SourcePattern(int x, int y, int seed)
{
    std::uint32_t v = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(seed) * 0xC2B2AE3Du;
    v ^= v >> 15;
    v *= 0x2C1B3C6Du;
    v ^= v >> 12;
    return v & 0x00FFFFFFu;
}

QByteArray RasterScript::DumpBytes(const QImage& surface)
{
    QByteArray bytes(static_cast<qsizetype>(surface.width()) * surface.height() * 4, '\0');
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    for (int y = 0; y < surface.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(surface.constScanLine(y));
        for (int x = 0; x < surface.width(); ++x, out += 4) {
            out[0] = static_cast<uchar>(row[x] & 0xFF);
            out[1] = static_cast<uchar>((row[x] >> 8) & 0xFF);
            out[2] = static_cast<uchar>((row[x] >> 16) & 0xFF);
        }
    }
    return bytes;
}

bool RasterScript::Fail(const std::string& message)
{
    m_error = m_fileName + ":" + std::to_string(m_line) + ": error: " + message;
    return false;
}

bool RasterScript::RunFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        m_error = "cannot open " + path;
        return false;
    }
    std::string text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        text.append(buffer, n);
    std::fclose(f);
    return Run(path, text);
}

bool RasterScript::Run(const std::string& fileName, const std::string& text)
{
    m_fileName = fileName;
    m_line = 0;
    m_error.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        // One buffer's worth, up to and including a newline.
        std::size_t end = pos;
        while (end < text.size() && end - pos < kLineBuffer - 1 && text[end] != '\n')
            ++end;
        if (end < text.size() && text[end] == '\n' && end - pos < kLineBuffer - 1)
            ++end;
        ++m_line;
        const std::vector<std::string> tokens = Split(text.substr(pos, end - pos));
        pos = end;
        if (!tokens.empty() && !Execute(tokens))
            return false;
    }
    return true;
}

bool RasterScript::Execute(const std::vector<std::string>& t)
{
    const std::string& c = t[0];
    auto expect = [&](std::size_t n) {
        if (t.size() == n + 1)
            return true;
        return Fail("'" + c + "' expects " + std::to_string(n) + " argument(s), got " + std::to_string(t.size() - 1));
    };
    auto surface = [&] { return m_dc ? true : Fail("no surface yet (use 'size W H' first)"); };
    // Arguments are read from the last to the first, as the oracle's compiler
    // evaluates them, so the first bad one reported is the same.
    auto nums = [&](std::size_t first, std::size_t count, int* out) {
        for (std::size_t i = first + count; i-- > first;) {
            if (i >= t.size())
                return Fail("missing argument");
            const std::optional<int> v = ParseLong(t[i]);
            if (!v)
                return Fail("bad integer: " + t[i]);
            out[i - first] = *v;
        }
        return true;
    };
    auto unum = [&](std::size_t i, std::uint32_t& out) {
        if (i >= t.size())
            return Fail("missing argument");
        const std::optional<std::uint32_t> v = ParseUnsigned(t[i]);
        if (!v)
            return Fail("bad number: " + t[i]);
        out = *v;
        return true;
    };
    int a[8] = {};
    std::uint32_t color = 0;

    if (c == "size") {
        if (!expect(2) || !nums(1, 2, a))
            return false;
        m_dc.reset();
        m_surface = QImage();
        if (a[0] <= 0 || a[1] <= 0)
            return Fail("size must be positive");
        if (static_cast<long long>(a[0]) * a[1] * 4 > kMaxSurfaceBytes)
            return Fail("CreateDIBSection failed");
        m_surface = QImage(a[0], a[1], QImage::Format_RGB32);
        if (m_surface.isNull())
            return Fail("CreateDIBSection failed");
        m_surface.fill(0xFF000000u);
        m_dc = std::make_unique<CDC>(m_surface);
        m_dc->PatBlt(0, 0, a[0], a[1], PATCOPY);
    } else if (c == "rop2") {
        if (!expect(1) || !surface() || !nums(1, 1, a))
            return false;
        if (!m_dc->SetROP2(a[0]))
            return Fail("SetROP2 failed");
    } else if (c == "bkmode") {
        if (!expect(1) || !surface() || !nums(1, 1, a))
            return false;
        if (!m_dc->SetBkMode(a[0]))
            return Fail("SetBkMode failed");
    } else if (c == "bkcolor") {
        if (!expect(1) || !surface() || !unum(1, color))
            return false;
        m_dc->SetBkColor(color);
    } else if (c == "stretchmode") {
        if (!expect(1) || !surface() || !nums(1, 1, a))
            return false;
        if (!m_dc->SetStretchBltMode(a[0]))
            return Fail("SetStretchBltMode failed");
    } else if (c == "pen") {
        if (!expect(3) || !surface() || !unum(3, color) || !nums(1, 2, a))
            return false;
        if (a[0] < PS_SOLID || a[0] > 6)
            return Fail("CreatePen failed");
        m_dc->SelectPen(a[0] == PS_NULL ? CPen::Null() : CPen(a[0], a[1], color));
    } else if (c == "brush") {
        if (!surface())
            return false;
        if (t.size() >= 2 && t[1] == "solid") {
            if (!expect(2) || !unum(2, color))
                return false;
            m_dc->SelectBrush(CBrush::Solid(color));
        } else if (t.size() == 2 && t[1] == "white") {
            m_dc->SelectBrush(CBrush::White());
        } else if (t.size() == 2 && t[1] == "null") {
            m_dc->SelectBrush(CBrush::Null());
        } else {
            return Fail("brush: expected 'solid COLORREF', 'white' or 'null'");
        }
    } else if (c == "moveto" || c == "lineto") {
        if (!expect(2) || !surface() || !nums(1, 2, a))
            return false;
        if (c == "moveto")
            m_dc->MoveTo(a[0], a[1]);
        else
            m_dc->LineTo(a[0], a[1]);
    } else if (c == "rect" || c == "ellipse") {
        if (!expect(4) || !surface() || !nums(1, 4, a))
            return false;
        if (c == "rect")
            m_dc->Rectangle(a[0], a[1], a[2], a[3]);
        else
            m_dc->Ellipse(a[0], a[1], a[2], a[3]);
    } else if (c == "fillrect") {
        if (!expect(5) || !surface())
            return false;
        for (std::size_t i = 1; i <= 4; ++i)  // a braced list reads in order
            if (!nums(i, 1, a + i - 1))
                return false;
        if (!unum(5, color))
            return false;
        m_dc->FillRect(RECT{a[0], a[1], a[2], a[3]}, CBrush::Solid(color));
    } else if (c == "patblt") {
        if (!expect(4) || !surface() || !nums(1, 4, a))
            return false;
        m_dc->PatBlt(a[0], a[1], a[2], a[3], PATCOPY);
    } else if (c == "setpixel") {
        if (!expect(3) || !surface() || !unum(3, color) || !nums(1, 2, a))
            return false;
        m_dc->SetPixel(a[0], a[1], color);
    } else if (c == "gpfillellipse") {
        if (!expect(5) || !surface() || !unum(5, color) || !nums(1, 4, a))
            return false;
        FillEllipseArgb(*m_dc, color, a[0], a[1], a[2], a[3]);
    } else if (c == "source") {
        if (!expect(3) || !surface() || !nums(1, 3, a))
            return false;
        if (a[0] <= 0 || a[1] <= 0 || static_cast<long long>(a[0]) * a[1] * 4 > kMaxSurfaceBytes)
            return Fail("source size must be positive");
        m_source.reset();
        m_sourceImage = QImage(a[0], a[1], QImage::Format_RGB32);
        if (m_sourceImage.isNull())
            return Fail("CreateDIBSection failed");
        for (int y = 0; y < a[1]; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(m_sourceImage.scanLine(y));
            for (int x = 0; x < a[0]; ++x)
                row[x] = 0xFF000000u | SourcePattern(x, y, a[2]);
        }
        m_source = std::make_unique<CDC>(m_sourceImage);
    } else if (c == "bitblt" || c == "stretchblt") {
        const bool stretch = c == "stretchblt";
        if (!expect(stretch ? 8 : 6) || !surface() || !nums(1, stretch ? 8 : 6, a))
            return false;
        if (!m_source)
            return Fail("no source yet (use 'source W H SEED' first)");
        if (stretch)
            m_dc->StretchBlt(a[0], a[1], a[2], a[3], *m_source, a[4], a[5], a[6], a[7], SRCCOPY);
        else
            m_dc->BitBlt(a[0], a[1], a[2], a[3], *m_source, a[4], a[5], SRCCOPY);
    } else if (c == "dump") {
        if (!expect(1) || !surface())
            return false;
        const std::string& name = t[1];
        std::string path = name;
        const bool absolute = (name.size() > 1 && name[1] == ':') || name[0] == '\\' || name[0] == '/';
        if (!m_outDir.empty() && !absolute) {
            path = m_outDir;
            if (path.back() != '/' && path.back() != '\\')
                path += '/';
            path += name;
        }
        if (!m_sink(path, DumpBytes(m_surface)))
            return Fail("cannot open for writing: " + path);
    } else {
        return Fail("unknown command: " + c);
    }
    return true;
}
