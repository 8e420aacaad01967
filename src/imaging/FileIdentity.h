// What tells one state of a file from another without reading its bytes:
// where it is, which file system object it is, its size and when its
// content and its metadata last changed, to the nanosecond. A decoded
// picture (or anything made from it) may be reused for a file only while its
// identity is unchanged.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <tuple>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace halvorn {

struct FileIdentity {
    QString path;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
    friend bool operator<(const FileIdentity& a, const FileIdentity& b)
    {
        return std::tie(a.path, a.device, a.inode, a.size, a.modifiedNs, a.changedNs) <
               std::tie(b.path, b.device, b.inode, b.size, b.modifiedNs, b.changedNs);
    }
};

// The identity of the regular file `path` names (links followed); nothing
// for anything else, or when it cannot be examined.
std::optional<FileIdentity> FileIdentityOf(const QString& path);

#ifdef Q_OS_UNIX
// The identity `path` has by what stat() said of it, for callers that
// examine many files of one folder through the folder's own handle.
FileIdentity FileIdentityFromStat(const QString& path, const struct stat& st);
#endif

} // namespace halvorn
