// Where the tile pictures are when the user has not chosen a folder.
//
// A program run from its build folder, or unpacked into one folder, has
// Floors/, Walls/ and Objects/ beside it. An installed program keeps its
// executable in <prefix>/lib/halvorn3 and the tile set, which is the same on
// every architecture, in <prefix>/share/halvorn3; that second place is found
// from the program's folder, so an installation under any prefix works.
#pragma once

#include <QString>

namespace halvorn {

// The installed tile set's folder for a program in `programFolder` (ending
// in "/"), as the build laid the installation out; ends in "/".
QString InstalledTileSet(const QString& programFolder);

// `folderName` beside the program when that folder exists, else in the
// installed tile set when it exists there, else beside the program (where
// the user is told to put pictures).
QString DefaultTileFolderFor(const QString& programFolder, const QString& folderName);

// The same for the running program (AppPath()).
QString DefaultTileFolder(const QString& folderName);

} // namespace halvorn
