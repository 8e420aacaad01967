#include "desktop/FileTypeRegistration.h"
#include "desktop/ApplicationId.h"
#include "desktop/MapDocumentIcon.h"

#include "DesktopValidators.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "storage/IoFaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <map>

namespace halvorn {
namespace {

const QString MapClass = QStringLiteral("Halvorn III Map");

using testsupport::ReadAll;
using testsupport::Snapshot;

using testsupport::RunningDesktopRefresh;

// Lets the refresh end; a test that fails here would otherwise hang on it.
void WaitForRefresh()
{
    EXPECT_TRUE(testsupport::WaitForDesktopRefresh()) << "the desktop refresh did not end";
}

// Each test gets its own data home; the one the test main set is restored.
class FileTypeRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), data_);
    }
    void TearDown() override { WaitForRefresh(); }

    bool RegisterMap(const QString& program, const QString& icon = {})
    {
        return RegisterFileType(QStringLiteral("hvm"), program, icon, MapClass, MapClass);
    }
    QString Icon(int size, const char* context = "mimetypes") const
    {
        return data_ + QStringLiteral("/icons/hicolor/%1x%1/%2/application-x-halvorn-iii-map.png")
                           .arg(QString::number(size), QLatin1String(context));
    }
    QString Entry() const
    {
        return data_ + QStringLiteral("/applications/halvorn-iii-map.desktop");
    }

    QTemporaryDir dir_;
    const QString data_ = dir_.filePath(QStringLiteral("data"));
    const testsupport::ScopedEnv dataHome_{"XDG_DATA_HOME", data_};
};

// Both files whole, each escaping the description by its own rules (how the
// arguments become written values: FileTypeRules); the user's own choice of
// program for the type is left alone.
TEST_F(FileTypeRegistration, WritesMimePackageAndDesktopEntryAndLeavesTheUsersDefault)
{
    const QByteArray choice =
        "[Default Applications]\napplication/x-halvorn-iii-map=other.desktop;\n";
    const QString list = data_ + QStringLiteral("/applications/mimeapps.list");
    ASSERT_TRUE(testsupport::WriteBytes(list, choice));
    ASSERT_TRUE(RegisterFileType(
        QStringLiteral("hvm"), QStringLiteral("/usr/lib/halvorn3/halvorn3"),
        dir_.filePath(QStringLiteral("none/hvm.png")), MapClass, QStringLiteral("1 < 2 & \"q\"")));
    EXPECT_EQ(ReadAll(data_ + QStringLiteral("/mime/packages/halvorn-iii-map.xml")),
              QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-halvorn-iii-map">
    <comment>1 &lt; 2 &amp; &quot;q&quot;</comment>
    <icon name="application-x-halvorn-iii-map"/>
    <generic-icon name="x-office-document"/>
    <glob pattern="*.hvm"/>
  </mime-type>
</mime-info>
)"));
    EXPECT_EQ(ReadAll(Entry()), QByteArray(R"([Desktop Entry]
Type=Application
Name=Halvorn III Map
Comment=1 < 2 & "q"
Exec="/usr/lib/halvorn3/halvorn3" %f
Icon=application-x-halvorn-iii-map
MimeType=application/x-halvorn-iii-map;
NoDisplay=true
Terminal=false
)"));
    EXPECT_EQ(ReadAll(list), choice);
    EXPECT_EQ(desktoptest::DesktopEntryComplaints(Entry()), QString());
    // update-mime-database, where installed, has compiled the package.
    WaitForRefresh();
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        EXPECT_TRUE(
            QFile::exists(data_ + QStringLiteral("/mime/application/x-halvorn-iii-map.xml")));
    }
}

TEST_F(FileTypeRegistration, IconFromImageFileOrPainted)
{
    // A wide picture is centred on a transparent square.
    const QString png = dir_.filePath(QStringLiteral("shipped.png"));
    ASSERT_TRUE(testsupport::WritePng(png, 64, 32, Qt::red));
    const QString program = QStringLiteral("/opt/h/halvorn3");
    // clang-format off
    const struct { const char* name; QString program, icon; bool painted; } rows[] = {
        {"a picture", program, png, false},
        {"a missing picture", program, dir_.filePath(QStringLiteral("missing.png")), true},
        {"blank: the command path", png, QStringLiteral("  "), false},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(RegisterMap(row.program, row.icon));
        for (const int size : {16, 48, 256}) {
            for (const char* context : {"apps", "mimetypes"}) {
                const QImage icon =
                    QImage(Icon(size, context)).convertToFormat(QImage::Format_ARGB32);
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

// A desktop entry can escape line breaks and tabs but no other control
// character; a program path holding one gets no files at all.
TEST_F(FileTypeRegistration, ProgramPathWithAControlCharacterWritesNothing)
{
    for (const char* program : {"/opt/a\x01"
                                "b/halvorn3",
                                "/opt/\x7f/halvorn3", "/opt/:\x0e"}) {
        SCOPED_TRACE(program);
        EXPECT_FALSE(RegisterMap(QString::fromLatin1(program)));
        EXPECT_TRUE(Snapshot(data_).empty());
    }
    ASSERT_TRUE(RegisterMap(QStringLiteral("/opt/a\nExec=x\tb\r/halvorn3")));
    EXPECT_EQ(desktoptest::DesktopEntryComplaints(Entry(), nullptr, false), QString());
    EXPECT_TRUE(QString::fromUtf8(ReadAll(Entry()))
                    .split(QLatin1Char('\n'))
                    .contains(QStringLiteral(R"(Exec="/opt/a\nExec=x\tb\r/halvorn3" %f)")));
}

// Installed from the package (or into a prefix), the program's own launcher
// opens the type: the registration then adds no second launcher, and takes
// away the one an earlier start from elsewhere wrote.
TEST_F(FileTypeRegistration, InstalledLauncherIsNotDoubled)
{
    const QString prefix = dir_.filePath(QStringLiteral("usr"));
    const QString program = prefix + QStringLiteral("/lib/halvorn3/halvorn3");
    ASSERT_TRUE(testsupport::WriteBytes(program, "#!/bin/sh\n"));
    ASSERT_TRUE(
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../lib/halvorn3/halvorn3"),
                            prefix + QStringLiteral("/bin/halvorn3")));
    const QString launcher = prefix + QStringLiteral("/share/applications/") +
                             QLatin1String(ApplicationId) + QStringLiteral(".desktop");
    const testsupport::ScopedEnv dirs("XDG_DATA_DIRS", prefix + QStringLiteral("/share"));
    const testsupport::ScopedEnv path("PATH", prefix + QStringLiteral("/bin:") +
                                                  qEnvironmentVariable("PATH"));

    const QByteArray mime = "MimeType=image/png;application/x-halvorn-iii-map;\n";
    const QByteArray installedExec = "Exec=" + (prefix + QStringLiteral("/bin/halvorn3")).toUtf8();
    // `launcher` empty: none installed.
    // clang-format off
    const struct { const char* name; QByteArray launcher; QString running; bool userEntry; } rows[] = {
        {"no launcher", {}, program, true},
        {"by its installed path", installedExec + " %f\n" + mime, program, false},
        {"by name on PATH", "Exec=halvorn3 %f\n" + mime, program, false},
        {"quoted", "Exec=\"" + program.toUtf8() + "\" %f\n" + mime, program, false},
        {"type not declared", "Exec=halvorn3 %f\n", program, true},
        {"type in another group", "Exec=halvorn3 %f\n[Desktop Action x]\n" + mime, program, true},
        {"another program", "Exec=/bin/sh %f\n" + mime, program, true},
        {"run from a build folder", "Exec=halvorn3 %f\n" + mime, dir_.filePath(QStringLiteral("build/halvorn3")), true},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(launcher);
        if (!row.launcher.isEmpty()) {
            ASSERT_TRUE(testsupport::WriteBytes(
                launcher, "[Desktop Entry]\nType=Application\nName=Halvorn III\n" + row.launcher));
        }
        // An entry of an earlier start is there each time.
        ASSERT_TRUE(testsupport::WriteBytes(Entry(), "[Desktop Entry]\nExec=/old/halvorn3 %f\n"));
        ASSERT_TRUE(testsupport::WriteBytes(row.running, "#!/bin/sh\n"));
        EXPECT_TRUE(RegisterMap(row.running));
        WaitForRefresh();
        EXPECT_EQ(QFile::exists(Entry()), row.userEntry);
        if (row.userEntry) {
            EXPECT_TRUE(ReadAll(Entry()).contains(row.running.toUtf8()));
        }
        // The document type and its icons are registered in every case.
        EXPECT_TRUE(QFile::exists(data_ + QStringLiteral("/mime/packages/halvorn-iii-map.xml")));
        EXPECT_TRUE(QFile::exists(Icon(48)));
    }
}

TEST_F(FileTypeRegistration, UnwritableDataHomeFailsQuietly)
{
    // A regular file where a folder is needed.
    // clang-format off
    const struct { const char* name; QString blocker; } rows[] = {
        {"data home is a file", data_}, {"icons folder is a file", data_ + QStringLiteral("/icons")}, {"applications folder is a file", data_ + QStringLiteral("/applications")},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(data_);
        QDir(data_).removeRecursively();
        ASSERT_TRUE(testsupport::WriteBytes(row.blocker, "not a folder"));
        EXPECT_FALSE(RegisterMap(QStringLiteral("/opt/h/halvorn3"))); // and throws nothing
        EXPECT_EQ(ReadAll(row.blocker), QByteArray("not a folder"));
    }
}

// The disk fails at each I/O call of a registration that must rewrite the
// MIME package and the desktop entry: it returns false, every file holds
// either what it held or what it was meant to get, whole, and nothing is
// left beside them.
TEST_F(FileTypeRegistration, AFailingDiskLeavesEveryFileOldOrNewAndWhole)
{
    const auto registerAs = [&](const char* program, const char* description) {
        return RegisterFileType(QStringLiteral("hvm"), QString::fromLatin1(program), QString(),
                                MapClass, QString::fromLatin1(description));
    };
    ASSERT_TRUE(registerAs("/opt/new/halvorn3", "Dungeon map"));
    WaitForRefresh();
    const auto meant = Snapshot(data_);
    QDir(data_).removeRecursively();
    ASSERT_TRUE(registerAs("/opt/old/halvorn3", "Halvorn III Map"));
    WaitForRefresh();
    const auto old = Snapshot(data_);

    iofaults::Arm(0, 0);
    ASSERT_TRUE(registerAs("/opt/new/halvorn3", "Dungeon map"));
    const int calls = iofaults::CallsMade();
    iofaults::Disarm();
    WaitForRefresh();
    ASSERT_GT(calls, 20); // both files rewritten, the icons left alone

    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        QDir(data_).removeRecursively();
        for (const auto& [path, bytes] : old)
            ASSERT_TRUE(testsupport::WriteBytes(data_ + u'/' + path, bytes));
        iofaults::Arm(n, ENOSPC);
        EXPECT_FALSE(registerAs("/opt/new/halvorn3", "Dungeon map"));
        iofaults::Disarm();
        EXPECT_EQ(RunningDesktopRefresh(), nullptr);
        const auto now = Snapshot(data_);
        ASSERT_EQ(now.size(), old.size());
        for (const auto& [path, bytes] : now) {
            SCOPED_TRACE(path.toStdString());
            ASSERT_TRUE(old.count(path));
            EXPECT_TRUE(bytes == old.at(path) || (meant.count(path) && bytes == meant.at(path)));
        }
    }
}

// Stand-ins for the two desktop tools on PATH: each logs its name and
// arguments, then waits until the test lets it go.
class DesktopToolsOnPath : public FileTypeRegistration {
protected:
    void SetUp() override
    {
        FileTypeRegistration::SetUp();
        QDir().mkpath(bin_);
    }
    void TearDown() override
    {
        testsupport::WriteBytes(Release(), "go");
        FileTypeRegistration::TearDown();
    }
    void InstallTool(const char* name)
    {
        const QString path = bin_ + QLatin1Char('/') + QLatin1String(name);
        ASSERT_TRUE(testsupport::WriteBytes(
            path, QStringLiteral("#!/bin/sh\necho \"%1 $*\" >> '%2'\n"
                                 "while [ ! -e '%3' ]; do sleep 0.02; done\n")
                      .arg(QLatin1String(name), Log(), Release())
                      .toLocal8Bit()));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Log() const { return dir_.filePath(QStringLiteral("tools.log")); }
    QString Release() const { return dir_.filePath(QStringLiteral("release")); }
    QStringList LogLines() const
    {
        return QString::fromUtf8(ReadAll(Log())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    const QString bin_ = dir_.filePath(QStringLiteral("bin"));
    const testsupport::ScopedEnv path_{"PATH", bin_};
};

TEST_F(DesktopToolsOnPath, RefreshRunsInTheBackgroundOnlyWhenAFileWasRewritten)
{
    InstallTool("update-mime-database");
    InstallTool("update-desktop-database");
    const QStringList both = {
        QStringLiteral("update-mime-database ") + data_ + QStringLiteral("/mime"),
        QStringLiteral("update-desktop-database ") + data_ + QStringLiteral("/applications")};

    // Registration returns while the first tool is still waiting to be let go.
    ASSERT_TRUE(RegisterMap(QStringLiteral("/opt/h/halvorn3")));
    EXPECT_NE(RunningDesktopRefresh(), nullptr);
    EXPECT_TRUE(LogLines().size() <= 1);
    ASSERT_TRUE(testsupport::WriteBytes(Release(), "go"));
    WaitForRefresh();
    EXPECT_EQ(LogLines(), both);

    // Nothing changed: nothing runs.
    ASSERT_TRUE(RegisterMap(QStringLiteral("/opt/h/halvorn3")));
    EXPECT_EQ(RunningDesktopRefresh(), nullptr);
    QTest::qWait(100);
    EXPECT_EQ(LogLines(), both);
}

TEST_F(DesktopToolsOnPath, StuckToolIsStoppedAndMissingToolsAreSkipped)
{
    // Only one tool installed, and it never finishes on its own.
    InstallTool("update-desktop-database");
    ASSERT_TRUE(RegisterMap(QStringLiteral("/opt/h/halvorn3")));
    ASSERT_NE(RunningDesktopRefresh(), nullptr);
    WaitForRefresh();
    EXPECT_EQ(LogLines(), QStringList{QStringLiteral("update-desktop-database ") + data_ +
                                      QStringLiteral("/applications")});
    EXPECT_FALSE(QFile::exists(Release()));
}

} // namespace
} // namespace halvorn
