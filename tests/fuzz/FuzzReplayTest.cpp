#include "Doors.h"
#include "TestSupport.h"

#include <QDir>
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

} // namespace
} // namespace halvorn::doors
