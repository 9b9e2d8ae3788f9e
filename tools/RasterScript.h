// Drawing command files in the language of the GDI pixel oracle, run through
// our device context: the developer tool rasterdump and the golden tests both
// replay them, so our pixels can be compared byte for byte with real GDI's.
//
// One command a line, '#' starts a comment, numbers as strtol(..., 0) reads
// them (decimal, 0x hex, 0 octal) within 32 bits, COLORREFs 0x00BBGGRR:
//   size W H              new W x H surface, all state reset, filled white
//   rop2 N | bkmode N | bkcolor C | pen STYLE WIDTH C
//   brush solid C | brush white | brush null
//   moveto X Y | lineto X Y | rect L T R B | ellipse L T R B
//   fillrect L T R B C | patblt X Y W H | setpixel X Y C
//   gpfillellipse X Y W H ARGB   (our opaque-ellipse rule, alpha blended)
//   dump FILE             W*H*4 bytes B,G,R,X top-down; relative names go
//                         into the output folder
// and, for block copies, a source surface of a fixed pseudo-random pattern:
//   source W H SEED | stretchmode N
//   bitblt X Y W H SX SY | stretchblt X Y W H SX SY SW SH
// A bad line stops the run with "FILE:LINE: error: MESSAGE".
#pragma once

#include "platform/Gdi.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class RasterScript {
public:
    // Receives each dump: the resolved path and the bytes. Returns false when
    // the dump cannot be written.
    using DumpSink = std::function<bool(const std::string& path, const QByteArray& bytes)>;

    // Dumps go to files in `outDir` (or the current folder) unless `sink` is given.
    explicit RasterScript(std::string outDir = {}, DumpSink sink = {});
    ~RasterScript();
    RasterScript(const RasterScript&) = delete;
    RasterScript& operator=(const RasterScript&) = delete;

    // Runs the command file at `path`; false if it cannot be read (Error()
    // says so, without a line) or at its first bad line.
    bool RunFile(const std::string& path);
    // Runs `text` as if read from a file called `fileName`.
    bool Run(const std::string& fileName, const std::string& text);

    const std::string& Error() const { return m_error; }
    // The current surface (null before the first "size").
    const QImage& Surface() const { return m_surface; }

    // The pixel of the pattern that "source W H SEED" fills a source with.
    static std::uint32_t SourcePattern(int x, int y, int seed);
    // The dump bytes of a surface: B, G, R, then 0.
    static QByteArray DumpBytes(const QImage& surface);

private:
    bool Execute(const std::vector<std::string>& tokens);
    bool Fail(const std::string& message);

    std::string m_outDir;
    DumpSink m_sink;
    std::string m_fileName;
    int m_line = 0;
    std::string m_error;
    QImage m_surface;
    std::unique_ptr<CDC> m_dc;
    QImage m_sourceImage;
    std::unique_ptr<CDC> m_source;
};
