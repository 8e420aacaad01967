// Tile libraries of the size real asset packs have, generated from a seed:
// thousands of PNG pictures of real sizes with real transparency, for the
// palette's tests, benchmark and the random-use tester.
#pragma once

#include <QString>

#include <cstdint>

namespace hostile {

enum class LibraryShape {
    Floors,  // tiles of 72 x 72
    Objects, // props from 18 to 512 pixels a side, most 60 to 150, oblong as often as not
    // Art packs as people buy them: props from 16 to 512 pixels a side, and
    // one picture in 500 a large painted piece of 1,200 to 2,400 pixels
    // (the first of them exactly 2,400 square).
    Packs,
};

// Writes `count` pictures into the existing `folder`, named "<prefix>_<n>.png"
// with n from 1, each with a clear corner and soft alpha edges. Returns
// false when a file could not be written.
bool WriteGeneratedLibrary(const QString& folder, LibraryShape shape, int count, uint32_t seed,
                           const QString& prefix);

} // namespace hostile
