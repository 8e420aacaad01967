#include "Doors.h"
#include "TestSupport.h"
#include "desktop/FileTypeDocuments.h"
#include "desktop/FileTypeNames.h"
#include "desktop/FileTypeRules.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace halvorn::doors {
namespace {

using Door = QStringList (*)(QByteArrayView);

struct Target {
    const char* name;
    Door door;
};

// clang-format off
const Target Targets[] = {{"picture", PictureDoor}, {"settings", SettingsDoor}, {"names", NamesDoor}, {"registration", RegistrationDoor}};
// clang-format on

QStringList InputsOf(const char* target)
{
    QStringList files;
    for (const char* folder : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(HALVORN_FUZZ_DIR "/%1/%2")
                           .arg(QLatin1String(folder), QLatin1String(target)));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    return files;
}

class Replay : public ::testing::TestWithParam<Target> {};

TEST_P(Replay, EverySeedAndFormerFindingKeepsTheRules)
{
    const QStringList inputs = InputsOf(GetParam().name);
    // A target without seeds would replay nothing and pass.
    ASSERT_GE(inputs.size(), 3);
    for (const QString& input : inputs) {
        const QStringList broken = GetParam().door(testsupport::ReadAll(input));
        EXPECT_TRUE(broken.isEmpty()) << input.toStdString() << ":\n"
                                      << broken.join(QLatin1Char('\n')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Doors, Replay, ::testing::ValuesIn(Targets),
                         [](const auto& info) { return std::string(info.param.name); });

// The registration door's rules are ours; the desktop's own validator must
// agree on every entry the replayed paths give.
TEST(RegistrationReplay, DesktopFileValidateAcceptsEveryEntry)
{
    const QString validate =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int checked = 0;
    for (const QString& input : InputsOf("registration")) {
        const QString program = QFile::decodeName(testsupport::ReadAll(input));
        const FileTypeEntry entry = ApplyFileTypeRules({QStringLiteral("hvm"), program, QString(),
                                                        QStringLiteral("Halvorn III Map"),
                                                        QStringLiteral("Halvorn III Map")});
        const QByteArray text = DesktopEntryText(entry, NamesForClass(entry.className));
        if (text.isEmpty())
            continue;
        const QString path = dir.filePath(QStringLiteral("halvorn-iii-map.desktop"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(text) == text.size());
        file.close();
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(validate, {path});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << input.toStdString() << "\n"
                                   << p.readAll().toStdString() << text.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

} // namespace
} // namespace halvorn::doors
