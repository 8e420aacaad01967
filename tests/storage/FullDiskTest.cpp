// Export, printing to a PDF file and the .hvm registration on a real file
// system that is full: a small tmpfs mounted for the test (root only; the
// test is skipped with a message where mounting is not allowed).
#include "desktop/FileTypeRegistration.h"
#include "imaging/Imaging.h"

#include "QStringPrint.h"
#include "TestSupport.h"
#include "output/OutputDriving.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace halvorn;

using testsupport::ReadAll;
using testsupport::Snapshot;

namespace {

// A picture that compresses badly: its PNG is far larger than the space left.
QImage Noise(int size)
{
    return testsupport::Picture(size, size, size, testsupport::Alpha::Opaque, true)
        .convertToFormat(QImage::Format_RGB32);
}

// Exports through the real dialog, answering Yes to the overwrite question,
// or prints to a PDF file; the texts of the boxes shown.
QStringList Export(const QImage& picture, const QString& path)
{
    outputtest::DialogMemory memory;
    return outputtest::Texts(outputtest::RunExport(picture, memory, {}, path, QMessageBox::Yes));
}

QStringList PrintToPdf(const QImage& picture, const QString& path)
{
    return outputtest::Texts(
        outputtest::RunPrint(picture, path, outputtest::PrintAnswer::PrintUnchecked));
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitGdip();
        ASSERT_TRUE(dir_.isValid());
        disk_ = dir_.filePath(QStringLiteral("disk"));
        ASSERT_TRUE(QDir().mkpath(disk_));
        if (::mount("tmpfs", QFile::encodeName(disk_).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=4m,mode=0700") != 0)
            GTEST_SKIP() << "no tmpfs can be mounted here (" << std::strerror(errno)
                         << "), so the full disk is not tried; run the tests as root";
        mounted_ = true;
        ASSERT_TRUE(QDir().mkpath(Maps()));
        ASSERT_TRUE(QDir().mkpath(disk_ + QStringLiteral("/filler")));
    }
    void TearDown() override
    {
        if (!mounted_)
            return;
        const QByteArray path = QFile::encodeName(disk_);
        if (::umount2(path.constData(), 0) != 0) {
            ADD_FAILURE() << "unmounting the tmpfs: " << std::strerror(errno);
            ::umount2(path.constData(), MNT_DETACH);
        }
    }

    QString Maps() const { return disk_ + QStringLiteral("/maps"); }
    QString Map(const char* name) const { return Maps() + u'/' + QLatin1String(name); }

    // Fills the disk until only `freeBytes` (whole pages) are left.
    void Fill(qint64 freeBytes)
    {
        struct statvfs disk {};
        ASSERT_EQ(::statvfs(QFile::encodeName(disk_).constData(), &disk), 0);
        const QByteArray path = QFile::encodeName(disk_ + QStringLiteral("/filler/filler"));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
        EXPECT_EQ(::posix_fallocate(fd, 0, free - freeBytes), 0);
        ::close(fd);
    }
    void Unfill() { QFile::remove(disk_ + QStringLiteral("/filler/filler")); }

    QTemporaryDir dir_;
    QString disk_;
    bool mounted_ = false;
};

// The failures of a full disk, reported in words; nothing written half.
TEST_F(FullDisk, ExportAndPdfPrintSayNoSpaceAndKeepTheOldFiles)
{
    const QImage good = Noise(60);
    const QImage picture = Noise(540); // its PNG is about 0.9 MB
    const QString exist = Map("exist.png");
    const QString pdf = Map("exist.pdf");
    ASSERT_TRUE(Export(good, exist).isEmpty());
    ASSERT_TRUE(PrintToPdf(good, pdf).isEmpty());
    const auto old = Snapshot(Maps());
    const QString noSpace = QStringLiteral(".\n\nNo space left on device");
    const QString question =
        QStringLiteral("File already exists! Do you want to overwrite this file?");

    Fill(128 << 10);
    // clang-format off
    const struct { const char* name; std::function<QStringList()> act; QStringList boxes; } rows[] = {
        {"export over an existing file", [&] { return Export(picture, exist); }, {question, QStringLiteral("The map could not be exported to ") + exist + noSpace}},
        {"export to a new file", [&] { return Export(picture, Map("new.png")); }, {QStringLiteral("The map could not be exported to ") + Map("new.png") + noSpace}},
        {"PDF print over an existing file", [&] { return PrintToPdf(picture, pdf); }, {QStringLiteral("The map could not be printed to ") + pdf + noSpace}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.act(), row.boxes);
        EXPECT_TRUE(Snapshot(Maps()) == old); // nothing new beside them, hidden or not
    }

    // With room again the same export and print succeed.
    Unfill();
    EXPECT_EQ(Export(picture, exist), QStringList{question});
    EXPECT_TRUE(QImage(exist).convertToFormat(QImage::Format_RGB32) == picture);
    EXPECT_TRUE(PrintToPdf(picture, pdf).isEmpty());
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF") && ReadAll(pdf).trimmed().endsWith("%%EOF"));
}

// A registration that must rewrite its files on a full disk fails quietly
// and leaves the registration already there byte for byte.
TEST_F(FullDisk, RegistrationKeepsTheFilesAlreadyWritten)
{
    const QString data = disk_ + QStringLiteral("/data");
    const testsupport::ScopedEnv dataHome("XDG_DATA_HOME", data);
    const QString mapClass = QStringLiteral("Halvorn III Map");
    ASSERT_TRUE(RegisterFileType(QStringLiteral("hvm"), QStringLiteral("/opt/h/halvorn3"),
                                 QString(), mapClass, mapClass));
    // Lets the background refresh of the desktop's caches write its files.
    testsupport::WaitForDesktopRefresh();
    const auto before = Snapshot(data);
    ASSERT_TRUE(before.count(QStringLiteral("mime/packages/halvorn-iii-map.xml")));

    Fill(0);
    EXPECT_FALSE(RegisterFileType(QStringLiteral("hvm"), QStringLiteral("/opt/h/halvorn3"),
                                  QString(), mapClass, QStringLiteral("Dungeon map")));
    EXPECT_TRUE(Snapshot(data) == before);
    Unfill();
}

} // namespace
