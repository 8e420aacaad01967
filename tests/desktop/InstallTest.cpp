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
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace halvorn {
namespace {

const QString Id = QString::fromLatin1(ApplicationId);
const QString MimeType = QStringLiteral("application/x-halvorn-iii-map");

using desktoptest::ProgramRun;
using desktoptest::RunProgram;

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
    static QByteArray Read(const QString& relative) { return testsupport::ReadAll(At(relative)); }

    static inline std::unique_ptr<QTemporaryDir> prefix_;
    static inline ProgramRun install_;
};

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
// type the start-up registration uses, and the metainfo names them both; the
// desktop's validators accept each file and the whole tree.
TEST_F(Installed, LauncherMimePackageAndMetainfoNameTheProgramAndItsType)
{
    const QString launcher =
        QStringLiteral("share/applications/") + Id + QStringLiteral(".desktop");
    const QString mime = QStringLiteral("share/mime/packages/halvorn3.xml");
    const QString metainfo =
        QStringLiteral("share/metainfo/") + Id + QStringLiteral(".metainfo.xml");
    // A whole line of the launcher, or a text in an XML file.
    // clang-format off
    const struct { const QString& file; QString text; } rows[] = {
        // By the installed path: the prefix's bin/ need not be on PATH.
        {launcher, QStringLiteral("\nExec=") + At(QStringLiteral("bin/halvorn3")) + QStringLiteral(" %f\n")}, {launcher, QStringLiteral("\nName=Halvorn III\n")},
        {launcher, QStringLiteral("\nIcon=") + Id + u'\n'}, {launcher, QStringLiteral("\nMimeType=") + MimeType + QStringLiteral(";\n")}, {launcher, QStringLiteral("\nStartupWMClass=halvorn3\n")},
        {mime, QStringLiteral("<mime-type type=\"") + MimeType + u'"'}, {mime, QStringLiteral("<glob pattern=\"*.hvm\"")}, {mime, QStringLiteral("<icon name=\"application-x-halvorn-iii-map\"")},
        {metainfo, QStringLiteral("<launchable type=\"desktop-id\">") + Id + QStringLiteral(".desktop</launchable>")}, {metainfo, QStringLiteral("<binary>halvorn3</binary>")},
        {metainfo, QStringLiteral("<mediatype>") + MimeType + QStringLiteral("</mediatype>")}, {metainfo, QStringLiteral("<release version=\"") + QLatin1String(VersionText) + u'"'},
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_TRUE(QString::fromUtf8(Read(row.file)).contains(row.text))
            << qPrintable(row.file) << " lacks " << qPrintable(row.text);
    EXPECT_FALSE(Read(launcher).contains("\nNoDisplay="));
    EXPECT_TRUE(
        QString::fromUtf8(Read(metainfo))
            .contains(QRegularExpression(QStringLiteral(" date=\"\\d{4}-\\d\\d-\\d\\d\""))));
    // Each screenshot is a picture the README shows, kept in the repository.
    const QRegularExpression shot(
        QStringLiteral("<image[^>]*>(https://[^<]*/([^/<]+/[^/<]+))</image>"));
    int shots = 0;
    for (auto m = shot.globalMatch(QString::fromUtf8(Read(metainfo))); m.hasNext(); ++shots)
        EXPECT_TRUE(
            QFileInfo::exists(QStringLiteral(HALVORN_SOURCE_DIR "/") + m.next().captured(2)));
    EXPECT_EQ(shots, 3);

    const QStringList strict = {QStringLiteral("--no-net"), QStringLiteral("--pedantic")};
    bool entryChecked = false, metainfoChecked = false;
    EXPECT_EQ(desktoptest::DesktopEntryComplaints(At(launcher), &entryChecked), QString());
    // The whole tree: the metainfo file itself, as strictly as `validate`
    // takes it, and its launchable and icon found.
    EXPECT_EQ(desktoptest::ValidatorComplaints(QStringLiteral("appstreamcli"),
                                               QStringList{QStringLiteral("validate-tree")} +
                                                   strict + QStringList{prefix_->path()},
                                               &metainfoChecked),
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

    static inline std::unique_ptr<QTemporaryDir> out_;
    static inline ProgramRun build_;
    static inline QString deb_;
};

// lintian stands for the package's rules: copyright, changelog, manual page,
// each dependency named once (duplicate-in-relation-field), the program the
// launcher starts in the package (desktop-command-not-in-package).
TEST_F(Package, LintianFindsNoErrorOrWarningAndTheLauncherStartsThePackagedProgram)
{
    EXPECT_TRUE(RunProgram(QStringLiteral("dpkg-deb"),
                           {QStringLiteral("-f"), deb_, QStringLiteral("Depends")})
                    .output.contains(QStringLiteral("libqt6gui6")));
    // The launcher starts the packaged program whatever PATH holds.
    const QTemporaryDir root;
    ASSERT_EQ(
        RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, root.path()}).exitCode,
        0);
    EXPECT_TRUE(testsupport::ReadAll(root.path() + QStringLiteral("/usr/share/applications/") + Id +
                                     QStringLiteral(".desktop"))
                    .contains("\nExec=/usr/bin/halvorn3 %f\n"));
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
