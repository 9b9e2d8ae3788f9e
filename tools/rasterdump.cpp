// rasterdump: runs a GDI oracle command file through the program's device
// context and writes the same raw dumps, so the two can be compared byte for
// byte.
//   rasterdump CMDFILE [OUTDIR]
// Exit status: 0 done, 1 a bad command file ("FILE:LINE: error: ..."), 2 usage.
#include "RasterScript.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CMDFILE [OUTDIR]\n", argv[0]);
        return 2;
    }
    RasterScript script(argc == 3 ? argv[2] : "");
    if (!script.RunFile(argv[1])) {
        std::fprintf(stderr, "%s\n", script.Error().c_str());
        return script.Error().rfind("cannot open ", 0) == 0 ? 2 : 1;
    }
    return 0;
}
