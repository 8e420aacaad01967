#include "imaging/FileIdentity.h"

#include "imaging/FileNames.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace halvorn {

std::optional<FileIdentity> FileIdentityOf(const QString& path)
{
#ifdef Q_OS_UNIX
    // QFileInfo keeps times in milliseconds only: two writes within one
    // millisecond that keep the size would look like the same file.
    struct stat st {};
    if (::stat(EncodeFileName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileIdentityFromStat(path, st);
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const auto ns = [](const QDateTime& t) { return t.toMSecsSinceEpoch() * 1'000'000; };
    return FileIdentity{
        path, 0, 0, info.size(), ns(info.lastModified()), ns(info.metadataChangeTime())};
#endif
}

#ifdef Q_OS_UNIX
FileIdentity FileIdentityFromStat(const QString& path, const struct stat& st)
{
    constexpr int64_t NsPerSecond = 1'000'000'000;
    return FileIdentity{path,
                        static_cast<uint64_t>(st.st_dev),
                        static_cast<uint64_t>(st.st_ino),
                        static_cast<int64_t>(st.st_size),
                        static_cast<int64_t>(st.st_mtim.tv_sec) * NsPerSecond + st.st_mtim.tv_nsec,
                        static_cast<int64_t>(st.st_ctim.tv_sec) * NsPerSecond + st.st_ctim.tv_nsec};
}
#endif

} // namespace halvorn
