#include "storage/SafeWrite.h"

#include "storage/IoFaults.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvorn {

namespace iofaults {
namespace {
std::atomic<bool> armed{false};
std::atomic<int> failAt{0};
std::atomic<int> failError{0};
std::atomic<Fault> failKind{Fault::Fail};
std::atomic<int> calls{0};
} // namespace

void Arm(int n, int error, Fault fault)
{
    calls = 0;
    failAt = n;
    failError = error;
    failKind = fault;
    armed = true;
}

void Disarm()
{
    armed = false;
    failAt = 0;
    calls = 0;
}

int CallsMade()
{
    return calls;
}

} // namespace iofaults

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("SafeWrite", text);
}

enum class Injected { None, Fail, Lie };

// Counts one I/O call for the test seam and says what it should do instead
// of its work; a failing call gets the seam's errno.
Injected NextCall(bool isWrite = false)
{
    using iofaults::Fault;
    if (!iofaults::armed)
        return Injected::None;
    const int n = ++iofaults::calls;
    const int at = iofaults::failAt;
    if (at <= 0)
        return Injected::None;
    if (iofaults::failKind == Fault::Lie) {
        // The first write from the n-th call on stores less than it reports.
        if (isWrite && n >= at) {
            iofaults::failAt = 0;
            return Injected::Lie;
        }
        return Injected::None;
    }
    if (n != at)
        return Injected::None;
    errno = iofaults::failError;
    return Injected::Fail;
}

int Open(const QByteArray& path, int flags, mode_t mode = 0)
{
    if (NextCall() == Injected::Fail)
        return -1;
    int fd;
    do
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t Write(int fd, const char* data, size_t size)
{
    const Injected injected = NextCall(true);
    if (injected == Injected::Fail)
        return -1;
    if (injected == Injected::Lie && size > 0) {
        const ssize_t written = ::write(fd, data, size - 1);
        return written < 0 ? written : static_cast<ssize_t>(size);
    }
    return ::write(fd, data, size);
}

ssize_t Read(int fd, char* data, size_t size)
{
    if (NextCall() == Injected::Fail)
        return -1;
    return ::read(fd, data, size);
}

int Fsync(int fd)
{
    return NextCall() == Injected::Fail ? -1 : ::fsync(fd);
}

// The descriptor is gone afterwards whatever the result; a failing close is
// where network file systems report what the writes could not store.
int Close(int fd)
{
    if (NextCall() == Injected::Fail) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return ::close(fd);
}

int Fchmod(int fd, mode_t mode)
{
    return NextCall() == Injected::Fail ? -1 : ::fchmod(fd, mode);
}

int Link(const QByteArray& from, const QByteArray& to)
{
    return NextCall() == Injected::Fail ? -1 : ::link(from.constData(), to.constData());
}

int Rename(const QByteArray& from, const QByteArray& to)
{
    return NextCall() == Injected::Fail ? -1 : ::rename(from.constData(), to.constData());
}

WriteOutcome Failed(int error)
{
    return {false, error, qt_error_string(error)};
}

WriteOutcome Failed(int error, const QString& reason)
{
    return {false, error, reason};
}

// A file the clean-up removes unless it was handed on: the temporary file
// until the rename, the old file's second name until the new one is safe.
class Scratch {
public:
    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch()
    {
        if (fd >= 0)
            ::close(fd);
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
    QByteArray path;
    int fd = -1;
};

// Names beside the target, hidden, at most 255 bytes long whatever the
// target's name.
QByteArray ScratchName(const QByteArray& folder, const QByteArray& name, const char* suffix)
{
    const quint32 random = QRandomGenerator::global()->generate();
    return folder + "/." + name.left(200) + '.' + QByteArray::number(random, 36) + suffix;
}

WriteOutcome WriteAll(int fd, const QByteArray& contents)
{
    const char* data = contents.constData();
    qsizetype left = contents.size();
    while (left > 0) {
        // In pieces, so that a file system that takes only part of a piece
        // gets the rest asked again.
        const auto piece = static_cast<size_t>(std::min<qsizetype>(left, qsizetype(1) << 20));
        const ssize_t written = Write(fd, data, piece);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Failed(errno);
        }
        if (written == 0)
            return Failed(ENOSPC);
        data += written;
        left -= written;
    }
    return {};
}

// What the disk gives back, compared with what was meant to be on it. The
// cached pages were dropped after the fsync where the system allows it, so
// the comparison reads what the device holds.
WriteOutcome ReadBack(const QByteArray& path, const QByteArray& contents)
{
    const int fd = Open(path, O_RDONLY);
    if (fd < 0)
        return Failed(errno);
    qsizetype at = 0;
    bool same = true;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = Read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return Failed(error);
        }
        if (got == 0)
            break;
        if (at + got > contents.size() ||
            std::memcmp(buffer, contents.constData() + at, static_cast<size_t>(got)) != 0)
            same = false;
        at += got;
    }
    if (Close(fd) != 0)
        return Failed(errno);
    if (!same || at != contents.size())
        return Failed(EIO, Tr("The written file does not read back as it was written."));
    return {};
}

WriteOutcome SyncFolder(const QByteArray& folder)
{
    const int fd = Open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return Failed(errno);
    // Some file systems cannot sync a folder at all; they say EINVAL.
    if (Fsync(fd) != 0 && errno != EINVAL) {
        const int error = errno;
        ::close(fd);
        return Failed(error);
    }
    if (Close(fd) != 0)
        return Failed(errno);
    return {};
}

// Overwriting the file in place would be possible, but a write that fails
// halfway would leave neither the old file nor the new one.
QString ReadOnlyFolderReason(int error, const QString& folder)
{
    return Tr("%1: the folder %2 does not allow new files. The file is only ever replaced by a "
              "complete copy written beside it, so it was left as it was.")
        .arg(qt_error_string(error), folder);
}

} // namespace

WriteOutcome WriteFileSafely(const QString& path, const QByteArray& contents)
{
    if (path.isEmpty())
        return Failed(ENOENT);
    QString target = path;
    const QFileInfo link(path);
    if (link.isSymLink()) {
        const QString canonical = link.canonicalFilePath();
        target = canonical.isEmpty() ? link.symLinkTarget() : canonical;
    }
    const QFileInfo info(target);
    const QByteArray finalPath = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray name = QFile::encodeName(info.fileName());

    struct stat old {};
    const bool exists = ::stat(finalPath.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return Failed(EISDIR);
    if (exists && !S_ISREG(old.st_mode))
        return Failed(EINVAL, Tr("It is not a regular file."));

    Scratch temp;
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        temp.path = ScratchName(folder, name, ".tmp");
        // A new file gets the permissions the user's umask gives; a replaced
        // one keeps its own, set below once the file exists.
        temp.fd = Open(temp.path, O_WRONLY | O_CREAT | O_EXCL, exists ? 0600 : 0666);
        if (temp.fd >= 0)
            break;
        const int error = errno;
        temp.path.clear();
        if (error == EEXIST && attempt < 100)
            continue;
        if ((error == EACCES || error == EPERM) && exists &&
            ::access(finalPath.constData(), W_OK) == 0)
            return Failed(error, ReadOnlyFolderReason(error, info.absolutePath()));
        return Failed(error);
    }
    if (exists && Fchmod(temp.fd, old.st_mode & 07777) != 0)
        return Failed(errno);
    if (WriteOutcome written = WriteAll(temp.fd, contents); !written)
        return written;
    if (Fsync(temp.fd) != 0)
        return Failed(errno);
    ::posix_fadvise(temp.fd, 0, 0, POSIX_FADV_DONTNEED);
    const int fd = temp.fd;
    temp.fd = -1;
    if (Close(fd) != 0)
        return Failed(errno);
    if (WriteOutcome read = ReadBack(temp.path, contents); !read)
        return read;

    // The old file keeps a second name until the new one is safely in its
    // place, so that a failure after the rename can still bring it back.
    // File systems without hard links go on without it.
    Scratch backup;
    if (exists) {
        backup.path = ScratchName(folder, name, ".old");
        if (Link(finalPath, backup.path) != 0) {
            const int error = errno;
            backup.path.clear();
            if (error != EPERM && error != EOPNOTSUPP && error != EMLINK && error != ENOSYS)
                return Failed(error);
        }
    }
    if (Rename(temp.path, finalPath) != 0)
        return Failed(errno);
    temp.path.clear();
    if (WriteOutcome synced = SyncFolder(folder); !synced) {
        if (!backup.path.isEmpty() && ::rename(backup.path.constData(), finalPath.constData()) == 0)
            backup.path.clear();
        else if (!exists)
            ::unlink(finalPath.constData());
        return synced;
    }
    return {};
}

} // namespace halvorn
