// Writing a whole file so that it is either replaced by a complete, verified
// copy or left exactly as it was.
//
// The bytes are written to a hidden temporary file beside the target, every
// call checked (each write, the fsync, the close), read back and compared,
// and only then renamed over the target; the folder is synced after the
// rename. Any failure removes the temporary file and leaves the old file (or
// its absence) as it was. A library's own "committed" is never trusted:
// Qt 6.4's QSaveFile::commit() returns true after its last flush failed with
// "No space left on device".
#pragma once

#include <QByteArray>
#include <QString>

namespace halvorn {

struct WriteOutcome {
    bool ok = true;
    int error = 0;  // errno of the failing call, 0 when none applies
    QString reason; // why, in the system's words ("No space left on device")
    explicit operator bool() const { return ok; }
};

// Writes `contents` to `path`. A symbolic link is followed and its target
// replaced. A file in a folder that refuses new files is not replaced (it
// could only be overwritten in place, and a failure midway would lose it):
// the reason says so.
WriteOutcome WriteFileSafely(const QString& path, const QByteArray& contents);

} // namespace halvorn
