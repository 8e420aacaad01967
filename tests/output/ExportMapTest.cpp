#include "output/ExportMap.h"
#include "output/ExportFormat.h"

#include "OutputDriving.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "imaging/Imaging.h"
#include "storage/IoFaults.h"

#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImageWriter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace halvorn;
using namespace outputtest;

namespace {

const QString Png = QStringLiteral("PNG File (*.png)");
const QString Jpg = QStringLiteral("JPG File (*.jpg)");
const QString Overwrite =
    QStringLiteral("File already exists! Do you want to overwrite this file?");

// The canvas picture: every pixel differs from its neighbours, so a shifted,
// scaled or re-encoded file cannot pass for the original.
QImage Pattern(int w, int h)
{
    return testsupport::Picture(w, h).convertToFormat(QImage::Format_RGB32);
}

using testsupport::ReadAll;

class ExportMapTest : public ::testing::Test {
protected:
    void SetUp() override { InitGdip(); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Entries() const { return testsupport::Entries(dir.path()); }
    QTemporaryDir dir;
};

// The first dialog, cancelled, writes nothing; each next one offers the
// filter chosen last. (The one question before replacing: the box counts
// below; no suffix added: the next test.)
TEST_F(ExportMapTest, TheNextExportOffersTheFilterChosenLast)
{
    const QImage picture = Pattern(64, 64);
    DialogMemory memory;
    EXPECT_TRUE(RunExport(picture, memory, Png, {}, QMessageBox::Ok, [&](QFileDialog& d) {
                    EXPECT_EQ(d.windowTitle(), QStringLiteral("Export Map as picture file"));
                    EXPECT_EQ(d.nameFilters(), QStringList({Png, Jpg}));
                    // The choices the user reads, without their patterns.
                    const auto* types = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                    ASSERT_NE(types, nullptr);
                    EXPECT_EQ(types->itemText(1), QStringLiteral("JPG File"));
                    EXPECT_EQ(d.directory().absolutePath() + u'/', AppPath());
                }).empty());
    EXPECT_TRUE(memory.ExportFileName.isEmpty());
    EXPECT_EQ(Entries(), QStringList());

    RunExport(picture, memory, Jpg, Path(QStringLiteral("k1.jpg")));
    // The dialog opens at the last export. Accepted as offered: the same
    // name, the same format, after the question. An empty filter: as offered;
    // an empty name: Cancel, which keeps the choice; `offered` is the filter's
    // label as the dialog shows it.
    // clang-format off
    const struct { QString filter, name; const char* offered; int keptIndex; } rounds[] = {
        {{}, Path(QStringLiteral("k1.jpg")), "JPG File", 2}, {Png, Path(QStringLiteral("k2.png")), "JPG File", 1}, {{}, {}, "PNG File", 1},
    };
    // clang-format on
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.name.toStdString());
        const QString last = memory.ExportFileName;
        QString offered;
        RunExport(picture, memory, r.filter, r.name, QMessageBox::Yes, [&](QFileDialog& d) {
            offered = ExportFormatForFilter(d.selectedNameFilter()).label;
            EXPECT_EQ(d.selectedFiles().value(0), last);
        });
        EXPECT_EQ(memory.ExportFileName, r.name.isEmpty() ? last : r.name);
        EXPECT_EQ(offered, QString::fromLatin1(r.offered));
        EXPECT_EQ(memory.FilterIndex, r.keptIndex);
    }
    EXPECT_TRUE(ReadAll(Path(QStringLiteral("k1.jpg"))).startsWith("\xff\xd8\xff"));
}

QByteArray JpegAt(const QImage& picture, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(picture));
    return bytes;
}

// PNG pixel for pixel or JPEG at full quality, under the name as typed
// whatever it says; over an old file, hidden or not, only after asking once,
// and No keeps it (Yes replaces: the failing-disk test below). The name is
// remembered either way.
TEST_F(ExportMapTest, WritesThePicturePixelForPixelOrAsAFullQualityJpegUnderTheTypedName)
{
    const QByteArray old = "not a picture, but precious";
    const QImage picture = Pattern(270, 270);
    // clang-format off
    const struct { QString filter, name; bool jpeg, oldFile; } cases[] = {
        {Png, QStringLiteral("no_extension"), false, false}, {Jpg, QStringLiteral("disguised.png"), true, false},
        {Png, QStringLiteral("kept.png"), false, true},      {Png, QStringLiteral(".dotfile.png"), false, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ASSERT_TRUE(!c.oldFile || testsupport::WriteBytes(Path(c.name), old));
        DialogMemory memory;
        EXPECT_EQ(RunExport(picture, memory, c.filter, Path(c.name), QMessageBox::No),
                  c.oldFile
                      ? std::vector{testsupport::WarningBox(QStringLiteral("Warning"), Overwrite)}
                      : std::vector<BoxRecord>{});
        EXPECT_EQ(memory.ExportFileName, Path(c.name));
        EXPECT_EQ(Entries(), QStringList{c.name}); // nothing beside it
        const QByteArray bytes = ReadAll(Path(c.name));
        if (c.oldFile) {
            EXPECT_EQ(bytes, old);
        } else if (c.jpeg) {
            EXPECT_TRUE(bytes == JpegAt(picture, 100));
            EXPECT_FALSE(bytes == JpegAt(picture, 99));
        } else {
            EXPECT_TRUE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32) == picture);
        }
        QFile::remove(Path(c.name));
    }
}

// The box names the file and the reason in words.
BoxRecord Failure(const QString& path, const QString& why)
{
    return testsupport::ErrorBox(QStringLiteral("The map could not be exported to ") + path +
                                 QStringLiteral(".\n\n") + why);
}
// The last box shown is that failure (an old file's question comes first).
void ExpectFailure(const std::vector<BoxRecord>& boxes, const QString& path, const QString& why)
{
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), Failure(path, why));
}

TEST_F(ExportMapTest, FailedExportSaysWhyAndKeepsTheOldFile)
{
    const QByteArray old = "the previous export";
    ASSERT_TRUE(testsupport::WriteBytes(Path(QStringLiteral("old.jpg")), old));
    // Wider than JPEG allows: the encoder fails before any file is touched.
    // clang-format off
    const struct { QString path; QImage picture; QString filter, why; } cases[] = {
        {Path(QStringLiteral("missing/map.png")), Pattern(20, 20), Png, QStringLiteral("No such file or directory")},
        {Path(QStringLiteral("old.jpg")), Pattern(70000, 1), Jpg, QStringLiteral("The picture cannot be encoded as JPEG.")},
        {Path(QStringLiteral("blank.png")), QImage(), Png, QStringLiteral("Invalid Parameter: Status = 2")},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        DialogMemory memory;
        ExpectFailure(RunExport(c.picture, memory, c.filter, c.path, QMessageBox::Yes), c.path,
                      c.why);
    }
    EXPECT_EQ(ReadAll(Path(QStringLiteral("old.jpg"))), old);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("old.jpg")});
}

// A real read-only folder, as the kernel refuses it: a new file fails with
// the system's reason, a writable old file is not replaced in place.
TEST_F(ExportMapTest, ReadOnlyFolderFailsWithTheSystemReasonAndKeepsTheOldFile)
{
    // Root writes into read-only folders; until the test ends this thread (the
    // one that exports) loses the rights that allow it, as the tests run as
    // root in CI.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
    ASSERT_EQ(::syscall(SYS_capget, &header, saved), 0);
    __user_cap_data_struct lowered[2] = {saved[0], saved[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ASSERT_EQ(::syscall(SYS_capset, &header, lowered), 0);
    const auto restore = qScopeGuard([&] { ::syscall(SYS_capset, &header, saved); });
    const QByteArray old = "the previous export";
    ASSERT_TRUE(testsupport::WriteBytes(Path(QStringLiteral("old.png")), old));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString refused = QStringLiteral("Permission denied: the folder ") + dir.path() +
                            QStringLiteral(" does not allow new files. The file is only ever "
                                           "replaced by a complete copy written beside it, so it "
                                           "was left as it was.");
    for (const auto& [name, why] :
         {std::pair{QStringLiteral("new.png"), QStringLiteral("Permission denied")},
          {QStringLiteral("old.png"), refused}}) {
        DialogMemory memory;
        ExpectFailure(RunExport(Pattern(20, 20), memory, Png, Path(name), QMessageBox::Yes),
                      Path(name), why);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(Path(QStringLiteral("old.png"))), old);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("old.png")});
}

// The disk fails at each I/O call of the export in turn, over a file the user
// agreed to replace: every run shows the Error box with the system's words
// and keeps the old file byte for byte; without a fault the file holds the
// picture.
TEST_F(ExportMapTest, ADiskFailingAtAnyCallIsReportedAndTheOldFileSurvives)
{
    const QImage picture = Pattern(270, 270);
    const QByteArray old = "the previous export";
    const QString path = Path(QStringLiteral("exist.png"));
    ASSERT_TRUE(testsupport::WriteBytes(path, old));
    // Counted on that file, then put back: replacing one takes more calls
    // than writing a new one.
    iofaults::Arm(0, 0);
    GdipSaveImageToFile(picture, path, GetEncoderClsid(QStringLiteral("image/png")));
    const int calls = iofaults::CallsMade();
    iofaults::Disarm();
    ASSERT_TRUE(testsupport::WriteBytes(path, old));
    ASSERT_GT(calls, 10);

    const int errors[] = {ENOSPC, EIO, EDQUOT, EROFS};
    for (int n = 1; n <= calls; ++n) {
        const int error = errors[n % 4];
        SCOPED_TRACE(qt_error_string(error).toStdString() + ", call " + std::to_string(n));
        DialogMemory memory;
        iofaults::Arm(n, error);
        const auto boxes = RunExport(picture, memory, Png, path, QMessageBox::Yes);
        iofaults::Disarm();
        ASSERT_EQ(boxes.size(), 2u); // the overwrite question, then the failure
        EXPECT_EQ(boxes[1], Failure(path, qt_error_string(error)));
        EXPECT_EQ(ReadAll(path), old);
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("exist.png")});
    }
    DialogMemory memory;
    EXPECT_EQ(RunExport(picture, memory, Png, path, QMessageBox::Yes).size(), 1u);
    EXPECT_TRUE(QImage(path).convertToFormat(QImage::Format_RGB32) == picture);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("exist.png")});
}

} // namespace
