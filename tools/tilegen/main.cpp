// Build-time generator of the bundled tile set. Draws without fonts, so no
// QGuiApplication (and no display) is needed.
#include "Tileset.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    bool replace = false;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replace") == 0)
            replace = true;
        else if (!out)
            out = argv[i];
        else
            out = nullptr, i = argc;
    }
    if (!out) {
        std::fprintf(stderr, "usage: halvorn3-tilegen [--replace] OUTPUT_DIR\n");
        return 2;
    }
    const QString error = tileset::writeTileset(QString::fromLocal8Bit(out), replace);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "halvorn3-tilegen: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
