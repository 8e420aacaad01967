// The tile set bundled with the editor, drawn entirely in code so that a fresh
// install has full palettes. The editor reads PNG files from Floors/, Walls/
// and Objects/ beside its executable; the file name without ".png" is what the
// user sees, so names are short, lowercase and hyphenated.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace tileset {

inline constexpr int FloorSize = 72;
inline constexpr int WallSize = 18;

struct Tile {
    QString name;
    QImage image;
};

// Every call draws afresh and yields identical pixels: all randomness is seeded
// from the tile name.
std::vector<Tile> drawFloors();
std::vector<Tile> drawWalls();
std::vector<Tile> drawObjects();

// Writes Floors/, Walls/ and Objects/ under dir. With replaceOld, PNG files in
// those folders that are not part of the set are removed first, so a renamed
// tile does not linger in a build tree. Returns an error message, or an empty
// string on success.
QString writeTileset(const QString& dir, bool replaceOld);

} // namespace tileset
