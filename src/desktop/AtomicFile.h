// Writing a file so that readers see either the old or the new contents.
#pragma once

#include <QByteArray>
#include <QString>

namespace halvorn {

// Writes `contents` to `path` through WriteFileSafely (storage/SafeWrite.h),
// making the folder first: on failure the old file is kept byte for byte. A
// file that already holds exactly these bytes is left alone. Returns false
// when anything fails. `rewrote`, when given, is set true when the file was
// (re)written, and left as it was otherwise.
bool WriteFileAtomically(const QString& path, const QByteArray& contents, bool* rewrote = nullptr);

} // namespace halvorn
