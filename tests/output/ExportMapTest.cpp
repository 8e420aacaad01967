#include "output/ExportMap.h"

#include "OutputTestSupport.h"
#include "render/Imaging.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace halvorn;
using testsupport::BoxRecord;

namespace {

const QString Png = QStringLiteral("PNG File (*.png)");
const QString Jpg = QStringLiteral("JPG File (*.jpg)");

// An opaque picture whose every pixel differs from its neighbours, so a
// shifted, scaled or re-encoded file cannot pass for the original.
QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) * 3 % 256));
    return img;
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What the save dialog looked like when it opened.
struct DialogSeen {
    int count = 0;
    QString objectName, title, directory, selectedFilter, prefilled;
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QFileDialog::Options options;
    QString defaultSuffix;
};

struct Outcome {
    DialogSeen dialog;
    std::vector<BoxRecord> boxes;
};

// Runs the export; the dialog is cancelled when `name` is empty, otherwise the
// filter is picked first (Qt rewrites a typed extension when the filter
// changes) and then the name typed. Boxes get the first of `answers` they offer.
Outcome RunExport(const QImage& picture, QString& exportFileName, const QString& filter,
                  const QString& name,
                  std::initializer_list<QMessageBox::StandardButton> answers = {QMessageBox::Ok})
{
    Outcome out;
    testsupport::DriveModals([&] { ExportMap(nullptr, picture, exportFileName); },
                             [&](QWidget* modal) {
                                 if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                                     testsupport::AnswerBox(*box, out.boxes, answers);
                                     return;
                                 }
                                 auto* dialog = qobject_cast<QFileDialog*>(modal);
                                 ASSERT_NE(dialog, nullptr);
                                 DialogSeen& d = out.dialog;
                                 ++d.count;
                                 d.objectName = dialog->objectName();
                                 d.title = dialog->windowTitle();
                                 d.directory = dialog->directory().absolutePath() + u'/';
                                 d.filters = dialog->nameFilters();
                                 d.selectedFilter = dialog->selectedNameFilter();
                                 d.prefilled = dialog->selectedFiles().value(0);
                                 d.mode = dialog->acceptMode();
                                 d.options = dialog->options();
                                 d.defaultSuffix = dialog->defaultSuffix();
                                 if (name.isEmpty()) {
                                     dialog->reject();
                                     return;
                                 }
                                 dialog->selectNameFilter(filter);
                                 // Typed, as the user would: selectFile() leaves a
                                 // focused name box alone.
                                 auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
                                 ASSERT_NE(edit, nullptr);
                                 edit->setText(name);
                                 // QFileDialog hides accept(); its override still runs.
                                 static_cast<QDialog*>(dialog)->accept();
                             });
    return out;
}

class ExportMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitGdip();
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dir;
};

TEST_F(ExportMapTest, CancelWritesNothingShowsNothingAndKeepsTheName)
{
    const QString previous = Path("earlier.png");
    for (const QString& start : {QString(), previous}) {
        SCOPED_TRACE(start.toStdString());
        QString exportFileName = start;
        const Outcome out = RunExport(Pattern(40, 40), exportFileName, Png, {});
        EXPECT_EQ(out.dialog.count, 1);
        EXPECT_EQ(out.dialog.objectName, "CommonDialog1");
        EXPECT_EQ(out.dialog.title, "Export Map as picture file");
        EXPECT_EQ(out.dialog.filters, QStringList({Png, Jpg}));
        EXPECT_EQ(out.dialog.selectedFilter, Png);
        EXPECT_EQ(out.dialog.mode, QFileDialog::AcceptSave);
        EXPECT_TRUE(out.dialog.options.testFlag(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(out.dialog.defaultSuffix.isEmpty());
        // A previous export opens in its own folder, the first in the program's.
        EXPECT_EQ(out.dialog.directory, start.isEmpty() ? AppPath() : dir.path() + u'/');
        EXPECT_TRUE(out.boxes.empty());
        EXPECT_EQ(exportFileName, start);
        EXPECT_TRUE(Entries().isEmpty());
    }
}

TEST_F(ExportMapTest, WritesThePicturePixelForPixelInTheFilterFormatUnderTheTypedName)
{
    struct Case {
        int size;
        QString filter;
        QString name;
        bool png;
    };
    const Case cases[] = {
        {1080, Png, "full.png", true},     {540, Png, "half.png", true},
        {270, Png, "quarter.png", true},   {1080, Jpg, "full.jpg", false},
        {270, Jpg, "disguised.png", false}, {540, Png, "no_extension", true},
        {270, Jpg, ".hidden", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = Path(c.name);
        const QImage picture = Pattern(c.size, c.size);
        QString exportFileName;
        const Outcome out = RunExport(picture, exportFileName, c.filter, path);
        EXPECT_TRUE(out.boxes.empty());
        EXPECT_EQ(exportFileName, path);
        // Exactly the typed name: no suffix added, nothing left beside it.
        EXPECT_EQ(Entries(), QStringList{c.name});

        const QByteArray bytes = Bytes(path);
        const QImage written = QImage::fromData(bytes);
        EXPECT_EQ(written.size(), picture.size());
        if (c.png) {
            EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
            EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), picture);
        } else {
            EXPECT_TRUE(bytes.startsWith("\xff\xd8\xff"));
        }
        QFile::remove(path);
    }
}

TEST_F(ExportMapTest, SecondExportOpensWithThePreviousFullPath)
{
    QString exportFileName;
    RunExport(Pattern(30, 30), exportFileName, Png, Path("first.png"));
    ASSERT_EQ(exportFileName, Path("first.png"));

    const Outcome second = RunExport(Pattern(30, 30), exportFileName, Png, {});
    EXPECT_EQ(second.dialog.prefilled, Path("first.png"));
    EXPECT_EQ(exportFileName, Path("first.png"));
}

TEST_F(ExportMapTest, AsksOnceBeforeOverwritingAndOnlyYesReplaces)
{
    struct Case {
        QString name;
        QMessageBox::StandardButton answer;
        bool replaced;
    };
    const Case cases[] = {
        {"kept.png", QMessageBox::No, false},
        {"replaced.png", QMessageBox::Yes, true},
        {".dotfile.png", QMessageBox::No, false},
    };
    const QByteArray old = "not a picture, but precious";
    const QImage picture = Pattern(64, 64);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = Path(c.name);
        ASSERT_TRUE(WriteBytes(path, old));
        QString exportFileName;
        const Outcome out = RunExport(picture, exportFileName, Png, path, {c.answer});
        ASSERT_EQ(out.boxes.size(), 1u);
        EXPECT_EQ(out.boxes[0].title, "Warning");
        EXPECT_EQ(out.boxes[0].text, "File already exists! Do you want to overwrite this file?");
        EXPECT_EQ(out.boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(exportFileName, path);
        if (c.replaced) {
            EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), picture);
        } else {
            EXPECT_EQ(Bytes(path), old);
        }
    }
}

TEST_F(ExportMapTest, FailedExportSaysWhyAndKeepsTheOldFile)
{
    const QByteArray old = "the previous export";
    ASSERT_TRUE(WriteBytes(Path("old.jpg"), old));
    struct Case {
        QString path;
        QImage picture;
        QString filter;
        QString why; // the start of what follows the file name
    };
    const Case cases[] = {
        {Path("missing/map.png"), Pattern(20, 20), Png, "Win32 Error: Status = 7\n"},
        // Wider than JPEG allows: the encoder fails after the file was opened.
        {Path("old.jpg"), Pattern(70000, 1), Jpg, "Win32 Error: Status = 7\n"},
        {Path("blank.png"), QImage(), Png, "Invalid Parameter: Status = 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString exportFileName;
        const Outcome out =
            RunExport(c.picture, exportFileName, c.filter, c.path, {QMessageBox::Yes, QMessageBox::Ok});
        ASSERT_FALSE(out.boxes.empty());
        const BoxRecord& error = out.boxes.back();
        EXPECT_EQ(error.title, "Error");
        EXPECT_EQ(error.icon, QMessageBox::Warning);
        const QString head = "The map could not be exported to " + c.path + ".\n\n" + c.why;
        EXPECT_TRUE(error.text.startsWith(head)) << error.text.toStdString();
        EXPECT_GT(error.text.size(), head.size() - 1);
        EXPECT_EQ(exportFileName, c.path);
    }
    EXPECT_EQ(Bytes(Path("old.jpg")), old);
    EXPECT_EQ(Entries(), QStringList{"old.jpg"});
}

TEST_F(ExportMapTest, ReadOnlyFolderFailsWithTheSystemReasonAndKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QByteArray old = "the previous export";
    ASSERT_TRUE(WriteBytes(Path("old.png"), old));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    for (const QString& name : {QStringLiteral("new.png"), QStringLiteral("old.png")}) {
        SCOPED_TRACE(name.toStdString());
        QString exportFileName;
        const Outcome out = RunExport(Pattern(20, 20), exportFileName, Png, Path(name),
                                      {QMessageBox::Yes, QMessageBox::Ok});
        ASSERT_FALSE(out.boxes.empty());
        const QString head =
            "The map could not be exported to " + Path(name) + ".\n\nWin32 Error: Status = 7\n";
        EXPECT_TRUE(out.boxes.back().text.startsWith(head)) << out.boxes.back().text.toStdString();
        EXPECT_GT(out.boxes.back().text.size(), head.size());
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Bytes(Path("old.png")), old);
    EXPECT_EQ(Entries(), QStringList{"old.png"});
}

} // namespace
