#include "storage/SafeWrite.h"

#include "QStringPrint.h"
#include "TestSupport.h"
#include "storage/IoFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace halvorn;

namespace {

using testsupport::ReadAll;

using testsupport::Entries;

// Bytes that differ from their neighbours, so a piece written twice or
// left out shows.
QByteArray Contents(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

// One run with the seam armed; disarmed again whatever happens.
WriteOutcome WriteWithFault(const QString& path, const QByteArray& contents, int n, int error,
                            iofaults::Fault fault = iofaults::Fault::Fail)
{
    iofaults::Arm(n, error, fault);
    WriteOutcome outcome = WriteFileSafely(path, contents);
    iofaults::Disarm();
    return outcome;
}

// Every I/O call of a write fails once, with each error a failing disk
// gives: every run is reported with the system's words, leaves the old file
// (or no file) exactly as it was and nothing beside it. The run without a
// fault writes the file.
TEST(SafeWrite, EveryFailingCallIsReportedAndKeepsTheOldFile)
{
    // clang-format off
    const struct { int error; const char* words; } errors[] = {
        {ENOSPC, "No space left on device"}, {EIO, "Input/output error"},
        {EDQUOT, "Disk quota exceeded"}, {EROFS, "Read-only file system"},
    };
    const struct { const char* name; qsizetype size; bool oldFile; int errorCount; } rows[] = {
        {"small file over an old one", 100, true, 4},
        {"small new file", 100, false, 4},
        {"1.5 MiB in two writes over an old one", (3 << 20) / 2, true, 1},
    };
    // clang-format on
    const QByteArray old = "the old file, which must survive";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.png"));
        const QByteArray contents = Contents(row.size);
        const auto reset = [&] {
            for (const QString& entry : Entries(dir.path()))
                QFile::remove(dir.filePath(entry));
            EXPECT_TRUE(!row.oldFile || testsupport::WriteBytes(path, old));
        };
        const QStringList before =
            row.oldFile ? QStringList{QStringLiteral("map.png")} : QStringList{};

        reset();
        iofaults::Arm(0, 0);
        const WriteOutcome clean = WriteFileSafely(path, contents);
        const int calls = iofaults::CallsMade();
        iofaults::Disarm();
        EXPECT_TRUE(clean.ok) << clean.reason.toStdString();
        EXPECT_TRUE(ReadAll(path) == contents);
        EXPECT_GT(calls, 10);

        for (int e = 0; e < row.errorCount; ++e) {
            for (int n = 1; n <= calls; ++n) {
                SCOPED_TRACE(std::string(errors[e].words) + ", call " + std::to_string(n));
                reset();
                const WriteOutcome outcome = WriteWithFault(path, contents, n, errors[e].error);
                EXPECT_FALSE(outcome.ok);
                EXPECT_EQ(outcome.error, errors[e].error);
                EXPECT_EQ(outcome.reason, QString::fromLatin1(errors[e].words));
                EXPECT_EQ(Entries(dir.path()), before);
                EXPECT_EQ(ReadAll(path), row.oldFile ? old : QByteArray("<missing>"));
            }
        }

        // A disk that stores less than it reports is caught by the read-back.
        reset();
        const WriteOutcome lied = WriteWithFault(path, contents, 1, 0, iofaults::Fault::Lie);
        EXPECT_FALSE(lied.ok);
        EXPECT_EQ(lied.reason,
                  QStringLiteral("The written file does not read back as it was written."));
        EXPECT_EQ(Entries(dir.path()), before);
        EXPECT_EQ(ReadAll(path), row.oldFile ? old : QByteArray("<missing>"));
    }
}

// What the write refuses, with the reason the user reads; nothing changes.
TEST(SafeWrite, RefusesWhatItCannotReplaceSafely)
{
    QTemporaryDir dir;
    const QByteArray old = "the old file";
    const QString oldPath = dir.filePath(QStringLiteral("old.png"));
    ASSERT_TRUE(testsupport::WriteBytes(oldPath, old));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
    const QString readOnlyFolder =
        QStringLiteral("Permission denied: the folder ") + dir.path() +
        QStringLiteral(" does not allow new files. The file is only ever replaced by a complete "
                       "copy written beside it, so it was left as it was.");
    // clang-format off
    const struct { const char* name; QString path; int failFirstCall; int error; QString reason; } rows[] = {
        // The folder refuses the temporary file; root is never refused, so the seam stands in.
        {"writable file, folder refuses new files", oldPath, EACCES, EACCES, readOnlyFolder},
        {"new file, folder refuses new files", dir.filePath(QStringLiteral("new.png")), EACCES, EACCES, QStringLiteral("Permission denied")},
        {"a folder of that name", dir.filePath(QStringLiteral("folder.png")), 0, EISDIR, QStringLiteral("Is a directory")},
        {"missing folder", dir.filePath(QStringLiteral("missing/new.png")), 0, ENOENT, QStringLiteral("No such file or directory")},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const WriteOutcome outcome = row.failFirstCall
                                         ? WriteWithFault(row.path, "new", 1, row.failFirstCall)
                                         : WriteFileSafely(row.path, "new");
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.error, row.error);
        EXPECT_EQ(outcome.reason, row.reason);
        EXPECT_EQ(ReadAll(oldPath), old);
        EXPECT_EQ(Entries(dir.path()),
                  QStringList({QStringLiteral("folder.png"), QStringLiteral("old.png")}));
    }
}

// A replaced file keeps its permissions, a new one gets the umask's, and a
// link stays a link to the replaced file.
TEST(SafeWrite, KeepsPermissionsAndLinks)
{
    QTemporaryDir dir;
    const mode_t savedMask = ::umask(022);
    const QString kept = dir.filePath(QStringLiteral("kept.png"));
    ASSERT_TRUE(testsupport::WriteBytes(kept, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    const QString fresh = dir.filePath(QStringLiteral("fresh.png"));
    const QString link = dir.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(QFile::link(kept, link));
    ASSERT_TRUE(WriteFileSafely(kept, "new").ok);
    ASSERT_TRUE(WriteFileSafely(fresh, "new").ok);
    ASSERT_TRUE(WriteFileSafely(link, "linked").ok);
    ::umask(savedMask);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(kept).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(kept), QByteArray("linked"));
    EXPECT_EQ(ReadAll(fresh), QByteArray("new"));
    EXPECT_EQ(Entries(dir.path()),
              QStringList({QStringLiteral("fresh.png"), QStringLiteral("kept.png"),
                           QStringLiteral("link.png")}));
}

} // namespace
