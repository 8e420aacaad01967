// Tile libraries of the size real asset packs have, generated from a seed:
// thousands of PNG pictures of real sizes with real transparency, for the
// palette's tests, benchmark and the random-use tester.
#pragma once

#include <QString>

#include <cstdint>

namespace hostile {

enum class LibraryShape {
    // Hex tiles of 72 x 72: transparent corners, a soft edge, a textured face.
    Floors,
    // Props from 18 to 512 pixels a side, most 60 to 150, oblong as often as
    // not, with soft alpha edges.
    Objects,
};

// Writes `count` pictures into the existing `folder`, named "<prefix>_<n>.png"
// with n from 1. Returns false when a file could not be written.
bool WriteGeneratedLibrary(const QString& folder, LibraryShape shape, int count, uint32_t seed,
                           const QString& prefix);

} // namespace hostile
