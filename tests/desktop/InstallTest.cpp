// Installs the build into a temporary prefix, as `cmake --install` and the
// Debian package do, and checks that every file the desktop needs is there,
// is the picture or text the program means, and passes the desktop's own
// validators.
#include "desktop/ApplicationId.h"
#include "desktop/MapDocumentIcon.h"
#include "desktop/ProgramIcon.h"
#include "desktop/Version.h"

#include "DesktopValidators.h"
#include "QStringPrint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMultiMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <memory>

namespace halvorn {
namespace {

const QString Id = QString::fromLatin1(ApplicationId);
const QString MimeType = QStringLiteral("application/x-halvorn-iii-map");

struct ProgramRun {
    int exitCode = -1;
    QString output; // standard output and error together
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = std::make_unique<QTemporaryDir>();
        install_ = RunProgram(QStringLiteral(HALVORN_CMAKE),
                              {QStringLiteral("--install"), QStringLiteral(HALVORN_BUILD_DIR),
                               QStringLiteral("--prefix"), prefix_->path()});
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override { ASSERT_EQ(install_.exitCode, 0) << qPrintable(install_.output); }

    static QString At(const QString& relative)
    {
        return prefix_->path() + QLatin1Char('/') + relative;
    }
    static QByteArray Read(const QString& relative)
    {
        QFile file(At(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static inline std::unique_ptr<QTemporaryDir> prefix_;
    static inline ProgramRun install_;
};

// The values of a file, each under a key: "Key" for the "Key=Value" lines of
// a desktop entry; for XML, "path" for an element's own text and
// "path@attribute" for an attribute, the path taken below the root element
// ("provides/binary"); empty when the XML is not well formed.
QMultiMap<QString, QString> Values(const QByteArray& text, bool xml)
{
    QMultiMap<QString, QString> values;
    if (!xml) {
        for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && !line.startsWith(QLatin1Char('#')))
                values.insert(line.left(eq), line.mid(eq + 1));
        }
        return values;
    }
    QXmlStreamReader reader(text);
    QStringList path;
    QStringList texts;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path.append(reader.name().toString());
            texts.append(QString());
            const QString key = path.mid(1).join(QLatin1Char('/'));
            for (const QXmlStreamAttribute& a : reader.attributes())
                values.insert(key + QLatin1Char('@') + a.name().toString(), a.value().toString());
        } else if (reader.isCharacters() && !texts.isEmpty()) {
            texts.last() += reader.text();
        } else if (reader.isEndElement()) {
            const QString text = texts.takeLast().simplified();
            if (!text.isEmpty())
                values.insert(path.mid(1).join(QLatin1Char('/')), text);
            path.removeLast();
        }
    }
    return reader.hasError() ? QMultiMap<QString, QString>() : values;
}

// The program by its link, and every icon, the shipped hvm.png the start-up
// registration points the document type at included, the painted one.
TEST_F(Installed, ProgramLinkAndIconsAtEveryThemeSize)
{
    const QFileInfo link(At(QStringLiteral("bin/halvorn3")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget(),
              QFileInfo(At(QStringLiteral(HALVORN_INSTALL_DIR "/halvorn3"))).filePath());
    EXPECT_TRUE(QFileInfo(link.symLinkTarget()).isExecutable());
    const QImage hvm(At(QStringLiteral(HALVORN_INSTALL_DIR "/hvm.png")));
    EXPECT_EQ(hvm.convertToFormat(QImage::Format_ARGB32), MapDocumentIcon(256));
    for (const int size : ProgramIconSizes) {
        SCOPED_TRACE(size);
        const QString folder = QStringLiteral("share/icons/hicolor/%1x%1/").arg(size);
        const QImage app(At(folder + QStringLiteral("apps/") + Id + QStringLiteral(".png")));
        EXPECT_EQ(app.convertToFormat(QImage::Format_ARGB32), ProgramIcon(size));
        const QImage doc(
            At(folder + QStringLiteral("mimetypes/application-x-halvorn-iii-map.png")));
        EXPECT_EQ(doc.convertToFormat(QImage::Format_ARGB32), MapDocumentIcon(size));
    }
}

TEST_F(Installed, TileSetInTheSharedDataFolder)
{
    for (const auto& [folder, pictures] :
         {std::pair{"Floors", 18}, {"Walls", 9}, {"Objects", 31}}) {
        SCOPED_TRACE(folder);
        const QDir installed(At(QStringLiteral(HALVORN_TILESET_INSTALL_DIR "/")) +
                             QLatin1String(folder));
        EXPECT_EQ(installed.entryList({QStringLiteral("*.png")}, QDir::Files).size(), pictures);
        // Not also beside the program, where the program would look first.
        EXPECT_FALSE(
            QFileInfo::exists(At(QStringLiteral(HALVORN_INSTALL_DIR "/")) + QLatin1String(folder)));
    }
}

// The launcher opens the program from the menu, the MIME package declares the
// type the start-up registration uses, and the metainfo names them both.
TEST_F(Installed, LauncherMimePackageAndMetainfoNameTheProgramAndItsType)
{
    const QString launcher =
        QStringLiteral("share/applications/") + Id + QStringLiteral(".desktop");
    const QString mime = QStringLiteral("share/mime/packages/halvorn3.xml");
    const QString metainfo =
        QStringLiteral("share/metainfo/") + Id + QStringLiteral(".metainfo.xml");
    // clang-format off
    const struct { const QString& file; const char* key; QString value; } rows[] = {
        {launcher, "Type", QStringLiteral("Application")}, {launcher, "Name", QStringLiteral("Halvorn III")},
        {launcher, "GenericName", QStringLiteral("Dungeon Map Editor")},
        // By the installed path: the prefix's bin/ need not be on PATH.
        {launcher, "Exec", At(QStringLiteral("bin/halvorn3")) + QStringLiteral(" %f")},
        {launcher, "Icon", Id}, {launcher, "Terminal", QStringLiteral("false")}, {launcher, "MimeType", MimeType + QLatin1Char(';')},
        {launcher, "StartupWMClass", QStringLiteral("halvorn3")},
        {mime, "mime-type@type", MimeType}, {mime, "mime-type/glob@pattern", QStringLiteral("*.hvm")},
        {mime, "mime-type/icon@name", QStringLiteral("application-x-halvorn-iii-map")},
        {metainfo, "id", Id}, {metainfo, "name", QStringLiteral("Halvorn III")}, {metainfo, "launchable", Id + QStringLiteral(".desktop")},
        {metainfo, "launchable@type", QStringLiteral("desktop-id")}, {metainfo, "provides/binary", QStringLiteral("halvorn3")},
        {metainfo, "provides/mediatype", MimeType}, {metainfo, "releases/release@version", QLatin1String(VersionText)},
        {metainfo, "content_rating@type", QStringLiteral("oars-1.1")}, {metainfo, "developer/name", QStringLiteral("The Halvorn III project")},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString() + " " + row.key);
        EXPECT_EQ(Values(Read(row.file), row.file != launcher).values(QLatin1String(row.key)),
                  QStringList{row.value});
    }
    const auto keys = Values(Read(launcher), false);
    for (const char* category : {"Graphics;", "2DGraphics;", "Game;", "RolePlaying;"})
        EXPECT_TRUE(keys.value(QStringLiteral("Categories")).contains(QLatin1String(category)))
            << category;
    EXPECT_FALSE(keys.contains(QStringLiteral("NoDisplay")));
    EXPECT_FALSE(keys.value(QStringLiteral("Comment")).isEmpty());
    EXPECT_FALSE(keys.value(QStringLiteral("Keywords")).isEmpty());

    const auto info = Values(Read(metainfo), true);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d$"))
                    .match(info.value(QStringLiteral("releases/release@date")))
                    .hasMatch());
    const QStringList shots = info.values(QStringLiteral("screenshots/screenshot/image"));
    ASSERT_EQ(shots.size(), 3);
    for (const QString& shot : shots) {
        // Each one is a picture the README shows, kept in the repository.
        const QString name = shot.section(QLatin1Char('/'), -2);
        EXPECT_TRUE(shot.startsWith(QStringLiteral("https://"))) << qPrintable(shot);
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(HALVORN_SOURCE_DIR "/") + name))
            << qPrintable(name);
    }
}

TEST_F(Installed, DesktopValidatorsAccept)
{
    const QString metainfo =
        At(QStringLiteral("share/metainfo/") + Id + QStringLiteral(".metainfo.xml"));
    const QStringList strict = {QStringLiteral("--no-net"), QStringLiteral("--pedantic")};
    bool entryChecked = false, metainfoChecked = false;
    EXPECT_EQ(desktoptest::DesktopEntryComplaints(
                  At(QStringLiteral("share/applications/") + Id + QStringLiteral(".desktop")),
                  &entryChecked),
              QString());
    const QString appstream = QStringLiteral("appstreamcli");
    EXPECT_EQ(desktoptest::ValidatorComplaints(appstream,
                                               QStringList{QStringLiteral("validate")} + strict +
                                                   QStringList{metainfo},
                                               &metainfoChecked),
              QString());
    // The whole tree: the metainfo's launchable and icon are found too.
    EXPECT_EQ(
        desktoptest::ValidatorComplaints(appstream, QStringList{QStringLiteral("validate-tree")} +
                                                        strict + QStringList{prefix_->path()}),
        QString());
    if (!entryChecked || !metainfoChecked)
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed";
}

// The Debian package as cpack makes it, checked by lintian.
class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        out_ = std::make_unique<QTemporaryDir>();
        build_ =
            RunProgram(QStringLiteral(HALVORN_CPACK),
                       {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                        QStringLiteral(HALVORN_BUILD_DIR "/CPackConfig.cmake"),
                        QStringLiteral("-B"), out_->path()});
        const QStringList debs =
            QDir(out_->path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        if (!debs.isEmpty())
            deb_ = out_->filePath(debs.front());
    }
    static void TearDownTestSuite() { out_.reset(); }
    void SetUp() override
    {
        ASSERT_EQ(build_.exitCode, 0) << qPrintable(build_.output);
        ASSERT_FALSE(deb_.isEmpty()) << qPrintable(build_.output);
    }
    static QString Field(const char* name)
    {
        return RunProgram(QStringLiteral("dpkg-deb"),
                          {QStringLiteral("-f"), deb_, QLatin1String(name)})
            .output.trimmed();
    }

    static inline std::unique_ptr<QTemporaryDir> out_;
    static inline ProgramRun build_;
    static inline QString deb_;
};

TEST_F(Package, DependsNamesEachPackageOnce)
{
    const QString depends = Field("Depends");
    ASSERT_FALSE(depends.isEmpty());
    QStringList names;
    for (const QString& item : depends.split(QLatin1Char(',')))
        names << item.trimmed().section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(names.removeDuplicates(), 0) << qPrintable(depends);
    EXPECT_TRUE(names.contains(QStringLiteral("libqt6gui6"))) << qPrintable(depends);
}

TEST_F(Package, ShipsCopyrightChangelogAndManualPage)
{
    const QString contents =
        RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb_}).output;
    for (const char* file :
         {"./usr/share/doc/halvorn3/copyright", "./usr/share/doc/halvorn3/changelog.gz",
          "./usr/share/man/man1/halvorn3.1.gz", "./usr/bin/halvorn3 -> "})
        EXPECT_TRUE(contents.contains(QLatin1String(file))) << file;
    // The launcher starts the packaged program whatever PATH holds.
    const QTemporaryDir root;
    ASSERT_EQ(
        RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, root.path()}).exitCode,
        0);
    QFile launcher(root.path() + QStringLiteral("/usr/share/applications/") + Id +
                   QStringLiteral(".desktop"));
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    EXPECT_TRUE(launcher.readAll().contains("\nExec=/usr/bin/halvorn3 %f\n"));
}

TEST_F(Package, LintianFindsNoErrorOrWarning)
{
    bool installed = false;
    EXPECT_EQ(desktoptest::ValidatorComplaints(QStringLiteral("lintian"),
                                               {QStringLiteral("--fail-on"),
                                                QStringLiteral("error,warning"),
                                                QStringLiteral("--no-tag-display-limit"), deb_},
                                               &installed),
              QString());
    if (!installed)
        GTEST_SKIP() << "lintian is not installed (scripts/install-deps installs it)";
}

} // namespace
} // namespace halvorn
