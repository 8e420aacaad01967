#include "desktop/ApplicationId.h"
#include "desktop/FileTypeRegistration.h"
#include "desktop/MapDocumentIcon.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace halvorn {
namespace {

const QString MapClass = QStringLiteral("Halvorn III Map");
const QString IconName = QStringLiteral("application-x-halvorn-iii-map");

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Checked with desktop-file-validate where it is installed.
void ExpectValidDesktopEntry(const QString& path)
{
    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    if (validate.isEmpty())
        return;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(validate, {path});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
}

// The background refresh of the desktop's caches, while it runs.
QObject* RunningRefresh()
{
    return QCoreApplication::instance()->findChild<QObject*>(QStringLiteral("DesktopDatabaseRefresh"),
                                                             Qt::FindDirectChildrenOnly);
}

// Lets the refresh end; a test that fails here would otherwise hang on it.
void WaitForRefresh(int ms = 20000)
{
    const QPointer<QObject> refresh = RunningRefresh();
    QElapsedTimer clock;
    clock.start();
    while (refresh && clock.elapsed() < ms) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qWait(20);
    }
    EXPECT_TRUE(refresh.isNull()) << "the desktop refresh did not end";
}

std::map<QString, QByteArray> Snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(root).relativeFilePath(path)] = ReadAll(path);
    }
    return files;
}

// Each test gets its own data home; the one the test main set is restored.
class FileTypeRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        saved_ = qgetenv("XDG_DATA_HOME");
        data_ = dir_.filePath(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", data_.toLocal8Bit());
        ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), data_);
    }
    void TearDown() override
    {
        WaitForRefresh();
        qputenv("XDG_DATA_HOME", saved_);
    }

    bool RegisterMap(const QString& program, const QString& icon)
    {
        return RegisterFileType(QStringLiteral("hvm"), program, icon, MapClass, MapClass);
    }
    QString Icon(int size, const char* context = "mimetypes") const
    {
        return QStringLiteral("%1/icons/hicolor/%2x%2/%3/%4.png")
            .arg(data_)
            .arg(size)
            .arg(QLatin1String(context), IconName);
    }

    QTemporaryDir dir_;
    QByteArray saved_;
    QString data_;
};

TEST_F(FileTypeRegistration, WritesMimePackageAndDesktopEntry)
{
    ASSERT_TRUE(RegisterMap("/usr/lib/halvorn3/halvorn3", dir_.filePath("none/hvm.png")));
    EXPECT_EQ(ReadAll(data_ + "/mime/packages/halvorn-iii-map.xml"),
              QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-halvorn-iii-map">
    <comment>Halvorn III Map</comment>
    <icon name="application-x-halvorn-iii-map"/>
    <generic-icon name="x-office-document"/>
    <glob pattern="*.hvm"/>
  </mime-type>
</mime-info>
)"));
    const QString entry = data_ + "/applications/halvorn-iii-map.desktop";
    EXPECT_EQ(ReadAll(entry), QByteArray(R"([Desktop Entry]
Type=Application
Name=Halvorn III Map
Comment=Halvorn III Map
Exec="/usr/lib/halvorn3/halvorn3" %f
Icon=application-x-halvorn-iii-map
MimeType=application/x-halvorn-iii-map;
NoDisplay=true
Terminal=false
)"));
    ExpectValidDesktopEntry(entry);
    // update-mime-database, where installed, has compiled the package.
    WaitForRefresh();
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
        EXPECT_TRUE(QFile::exists(data_ + "/mime/application/x-halvorn-iii-map.xml"));
    }
}

TEST_F(FileTypeRegistration, IconFromImageFileOrPainted)
{
    // A wide picture is centred on a transparent square.
    const QString png = dir_.filePath("shipped.png");
    ASSERT_TRUE(testsupport::WritePng(png, 64, 32, Qt::red));
    struct Row {
        QString program, icon;
        bool painted;
    };
    const Row rows[] = {
        {"/opt/h/halvorn3", png, false},
        {"/opt/h/halvorn3", dir_.filePath("missing.png"), true},
        // No icon: the program's, which as an .exe becomes "…exe,0", no image.
        {"/opt/h/halvorn3.exe", "", true},
        {png, "  ", false}, // blank icon path falls back to the command path
        {"/opt/h/halvorn3", dir_.filePath("shipped.png.DLL"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.program + "|" + row.icon).toStdString());
        ASSERT_TRUE(RegisterMap(row.program, row.icon));
        for (const int size : {16, 48, 256}) {
            for (const char* context : {"apps", "mimetypes"}) {
                const QImage icon = QImage(Icon(size, context)).convertToFormat(QImage::Format_ARGB32);
                ASSERT_EQ(icon.size(), QSize(size, size)) << context;
                if (row.painted) {
                    EXPECT_EQ(icon, MapDocumentIcon(size));
                } else {
                    EXPECT_EQ(icon.pixel(size / 2, size / 2), qRgb(255, 0, 0));
                    EXPECT_EQ(qAlpha(icon.pixel(size / 2, 0)), 0);
                }
            }
        }
    }
}

TEST_F(FileTypeRegistration, ArgumentsReachTheFiles)
{
    struct Row {
        QString extension, program, className, description;
        QString id, exec, name, comment, xmlLines;
    };
    const Row rows[] = {
        {".hvm", "/home/ann/My Games/Halvorn III/halvorn3", MapClass, "Dungeon map",
         "halvorn-iii-map", R"(Exec="/home/ann/My Games/Halvorn III/halvorn3" %f)",
         "Name=Halvorn III Map", "Comment=Dungeon map",
         "<comment>Dungeon map</comment>|<glob pattern=\"*.hvm\"/>"},
        {"hvm", "/opt/h", "", "", "reg-application", R"(Exec="/opt/h" %f)",
         "Name=Reg.Application", "Comment=RegDescription",
         "<comment>RegDescription</comment>|<glob pattern=\"*.hvm\"/>"},
        {"map.hvm", "/opt/$x/h", "A & B <map>", "1 < 2 & \"q\"", "a-b-map",
         R"(Exec="/opt/\\$x/h" %f)", "Name=A & B <map>", "Comment=1 < 2 & \"q\"",
         "<comment>1 &lt; 2 &amp; &quot;q&quot;</comment>|<glob pattern=\"*map.hvm\"/>"},
        {"hvm", R"(/opt/a\b%c/h)", "Back", "", "back", R"(Exec="/opt/a\\\\b%%c/h" %f)",
         "Name=Back", "Comment=RegDescription", "<glob pattern=\"*.hvm\"/>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id.toStdString());
        ASSERT_TRUE(RegisterFileType(row.extension, row.program, "", row.className, row.description));
        const QString path = data_ + "/applications/" + row.id + ".desktop";
        ExpectValidDesktopEntry(path);
        const QString entry = QString::fromUtf8(ReadAll(path));
        const QStringList lines = entry.split('\n');
        for (const QString& line : {row.exec, row.name, row.comment,
                                    "MimeType=application/x-" + row.id + ";"})
            EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\n" << entry.toStdString();
        const QString xml = QString::fromUtf8(ReadAll(data_ + "/mime/packages/" + row.id + ".xml"));
        for (const QString& line : row.xmlLines.split('|'))
            EXPECT_TRUE(xml.contains("    " + line + "\n")) << line.toStdString() << "\n" << xml.toStdString();
    }
}

// A desktop entry can escape line breaks and tabs but no other control
// character; a program path holding one gets no files at all.
TEST_F(FileTypeRegistration, ProgramPathWithAControlCharacterWritesNothing)
{
    for (const char* program : {"/opt/a\x01" "b/halvorn3", "/opt/\x7f/halvorn3", "/opt/:\x0e"}) {
        SCOPED_TRACE(program);
        EXPECT_FALSE(RegisterMap(QString::fromLatin1(program), ""));
        EXPECT_TRUE(Snapshot(data_).empty());
    }
    ASSERT_TRUE(RegisterMap(QStringLiteral("/opt/a\nExec=x\tb\r/halvorn3"), ""));
    const QString path = data_ + "/applications/halvorn-iii-map.desktop";
    ExpectValidDesktopEntry(path);
    EXPECT_TRUE(QString::fromUtf8(ReadAll(path)).split('\n').contains(
        R"(Exec="/opt/a\nExec=x\tb\r/halvorn3" %f)"));
}

TEST_F(FileTypeRegistration, RunningTwiceLeavesTheSameFiles)
{
    ASSERT_TRUE(RegisterMap("/home/ann/My Games/halvorn3", ""));
    WaitForRefresh();
    const auto first = Snapshot(data_);
    EXPECT_TRUE(first.count("icons/hicolor/256x256/apps/" + IconName + ".png"));
    ASSERT_TRUE(RegisterMap("/home/ann/My Games/halvorn3", ""));
    WaitForRefresh();
    const auto second = Snapshot(data_);
    EXPECT_EQ(first.size(), second.size());
    for (const auto& [path, bytes] : first) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(second.count(path));
        EXPECT_TRUE(second.at(path) == bytes);
    }
}

// Installed from the package (or into a prefix), the program's own launcher
// opens the type: the registration then adds no second launcher, and takes
// away the one an earlier start from elsewhere wrote.
TEST_F(FileTypeRegistration, InstalledLauncherIsNotDoubled)
{
    const QString prefix = dir_.filePath("usr");
    const QString program = prefix + "/lib/halvorn3/halvorn3";
    ASSERT_TRUE(WriteAll(program, "#!/bin/sh\n"));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QDir().mkpath(prefix + "/bin"));
    ASSERT_TRUE(QFile::link("../lib/halvorn3/halvorn3", prefix + "/bin/halvorn3"));
    const QString launcher = prefix + "/share/applications/" + QLatin1String(ApplicationId) + ".desktop";
    const QString userEntry = data_ + "/applications/halvorn-iii-map.desktop";
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("XDG_DATA_DIRS", (prefix + "/share").toLocal8Bit());
    qputenv("PATH", (prefix + "/bin:" + savedPath).toLocal8Bit());

    const QByteArray mime = "MimeType=image/png;application/x-halvorn-iii-map;\n";
    const struct {
        const char* name;
        QByteArray launcher; // empty: none installed
        QString running;
        bool userEntry;
    } rows[] = {
        {"no launcher", {}, program, true},
        {"by its installed path", "Exec=" + (prefix + "/bin/halvorn3").toUtf8() + " %f\n" + mime, program, false},
        {"by name on PATH", "Exec=halvorn3 %f\n" + mime, program, false},
        {"quoted", "Exec=\"" + program.toUtf8() + "\" %f\n" + mime, program, false},
        {"type not declared", "Exec=halvorn3 %f\n", program, true},
        {"type in another group", "Exec=halvorn3 %f\n[Desktop Action x]\n" + mime, program, true},
        {"another program", "Exec=/bin/sh %f\n" + mime, program, true},
        {"run from a build folder", "Exec=halvorn3 %f\n" + mime, dir_.filePath("build/halvorn3"), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(launcher);
        if (!row.launcher.isEmpty()) {
            ASSERT_TRUE(WriteAll(launcher, "[Desktop Entry]\nType=Application\nName=Halvorn III\n" + row.launcher));
        }
        // An entry of an earlier start is there each time.
        ASSERT_TRUE(WriteAll(userEntry, "[Desktop Entry]\nExec=/old/halvorn3 %f\n"));
        ASSERT_TRUE(WriteAll(row.running, "#!/bin/sh\n"));
        EXPECT_TRUE(RegisterMap(row.running, ""));
        WaitForRefresh();
        EXPECT_EQ(QFile::exists(userEntry), row.userEntry);
        if (row.userEntry) {
            EXPECT_TRUE(ReadAll(userEntry).contains(row.running.toUtf8()));
        }
        // The document type and its icons are registered in every case.
        EXPECT_TRUE(QFile::exists(data_ + "/mime/packages/halvorn-iii-map.xml"));
        EXPECT_TRUE(QFile::exists(Icon(48)));
    }
    qputenv("XDG_DATA_DIRS", savedDirs);
    qputenv("PATH", savedPath);
}

TEST_F(FileTypeRegistration, UserDefaultApplicationIsLeftAlone)
{
    const QByteArray choice = "[Default Applications]\napplication/x-halvorn-iii-map=other.desktop;\n";
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QStringList lists = {config + "/mimeapps.list", data_ + "/applications/mimeapps.list"};
    for (const QString& list : lists)
        ASSERT_TRUE(WriteAll(list, choice));
    ASSERT_TRUE(RegisterMap("/opt/h/halvorn3", ""));
    for (const QString& list : lists)
        EXPECT_EQ(ReadAll(list), choice) << list.toStdString();
    QFile::remove(lists.first());
}

TEST_F(FileTypeRegistration, UnwritableDataHomeFailsQuietly)
{
    struct Row {
        const char* name;
        QString blocker; // a regular file where a folder is needed
    };
    const Row rows[] = {
        {"data home is a file", data_},
        {"icons folder is a file", data_ + "/icons"},
        {"applications folder is a file", data_ + "/applications"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(data_);
        QDir(data_).removeRecursively();
        ASSERT_TRUE(WriteAll(row.blocker, "not a folder"));
        bool ok = true;
        EXPECT_NO_THROW(ok = RegisterMap("/opt/h/halvorn3", ""));
        EXPECT_FALSE(ok);
        EXPECT_EQ(ReadAll(row.blocker), QByteArray("not a folder"));
    }
}

// Stand-ins for the two desktop tools on PATH: each logs its name and
// arguments, then waits until the test lets it go.
class DesktopToolsOnPath : public FileTypeRegistration {
protected:
    void SetUp() override
    {
        FileTypeRegistration::SetUp();
        savedPath_ = qgetenv("PATH");
        bin_ = dir_.filePath("bin");
        QDir().mkpath(bin_);
        qputenv("PATH", bin_.toLocal8Bit());
    }
    void TearDown() override
    {
        WriteAll(Release(), "go");
        WaitForRefresh();
        qputenv("PATH", savedPath_);
        FileTypeRegistration::TearDown();
    }
    void InstallTool(const char* name)
    {
        const QString path = bin_ + '/' + name;
        ASSERT_TRUE(WriteAll(path, QStringLiteral("#!/bin/sh\necho \"%1 $*\" >> '%2'\n"
                                                  "while [ ! -e '%3' ]; do sleep 0.02; done\n")
                                       .arg(name, Log(), Release())
                                       .toLocal8Bit()));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Log() const { return dir_.filePath("tools.log"); }
    QString Release() const { return dir_.filePath("release"); }
    QStringList LogLines() const
    {
        return QString::fromUtf8(ReadAll(Log())).split('\n', Qt::SkipEmptyParts);
    }

    QByteArray savedPath_;
    QString bin_;
};

TEST_F(DesktopToolsOnPath, RefreshRunsInTheBackgroundOnlyWhenAFileWasRewritten)
{
    InstallTool("update-mime-database");
    InstallTool("update-desktop-database");
    const QStringList both = {"update-mime-database " + data_ + "/mime",
                              "update-desktop-database " + data_ + "/applications"};

    // Registration returns while the first tool is still waiting to be let go.
    ASSERT_TRUE(RegisterMap("/opt/h/halvorn3", ""));
    EXPECT_NE(RunningRefresh(), nullptr);
    EXPECT_TRUE(LogLines().size() <= 1);
    ASSERT_TRUE(WriteAll(Release(), "go"));
    WaitForRefresh();
    EXPECT_EQ(LogLines(), both);

    // Nothing changed: nothing runs.
    ASSERT_TRUE(RegisterMap("/opt/h/halvorn3", ""));
    EXPECT_EQ(RunningRefresh(), nullptr);
    QTest::qWait(100);
    EXPECT_EQ(LogLines(), both);

    // One file changed (here: removed behind the program's back): both run again.
    ASSERT_TRUE(QFile::remove(data_ + "/applications/halvorn-iii-map.desktop"));
    ASSERT_TRUE(RegisterMap("/opt/h/halvorn3", ""));
    EXPECT_NE(RunningRefresh(), nullptr);
    WaitForRefresh();
    EXPECT_EQ(LogLines(), both + both);
}

TEST_F(DesktopToolsOnPath, StuckToolIsStoppedAndMissingToolsAreSkipped)
{
    // Only one tool installed, and it never finishes on its own.
    InstallTool("update-desktop-database");
    ASSERT_TRUE(RegisterMap("/opt/h/halvorn3", ""));
    ASSERT_NE(RunningRefresh(), nullptr);
    WaitForRefresh();
    EXPECT_EQ(LogLines(), QStringList{"update-desktop-database " + data_ + "/applications"});
    EXPECT_FALSE(QFile::exists(Release()));
}

} // namespace
} // namespace halvorn
