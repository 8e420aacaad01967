#include "desktop/FileTypeRules.h"
#include "desktop/DesktopEntryEscaping.h"
#include "desktop/FileTypeNames.h"

#include <gtest/gtest.h>

namespace halvorn {
namespace {

// The written values from the arguments: the extension gets its dot, a blank
// icon is the program's own (an .exe or .dll one means its icon number 0),
// and empty names fall back to the registry's defaults.
TEST(FileTypeRules, ArgumentsBecomeWrittenValues)
{
    const QString exe = QStringLiteral("/opt/Halvorn/halvorn3.exe");
    const QString c = QStringLiteral("C"), d = QStringLiteral("D");
    struct Row {
        const char* name;
        FileTypeEntry in;
        QString extension, iconPath, className, description;
    };
    // clang-format off
    const Row rows[] = {
        {"extension without dot", {QStringLiteral("hvm"), QStringLiteral("/usr/bin/h"), QStringLiteral("/x/hvm.png"), c, d}, QStringLiteral(".hvm"), QStringLiteral("/x/hvm.png"), c, d},
        {"extension with dot", {QStringLiteral(".hvm"), QStringLiteral("/usr/bin/h"), QStringLiteral("/x/hvm.png"), c, d}, QStringLiteral(".hvm"), QStringLiteral("/x/hvm.png"), c, d},
        {"no extension", {QString(), QStringLiteral("/usr/bin/h"), QStringLiteral("i.png"), c, d}, QStringLiteral("."), QStringLiteral("i.png"), c, d},
        {"blank icon, an .exe", {QStringLiteral("hvm"), exe, QStringLiteral("   "), c, d}, QStringLiteral(".hvm"), exe + QStringLiteral(",0"), c, d},
        {"no icon, a program", {QStringLiteral("hvm"), QStringLiteral("/usr/bin/halvorn3"), QString(), c, d}, QStringLiteral(".hvm"), QStringLiteral("/usr/bin/halvorn3"), c, d},
        {"icon a .DLL", {QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.DLL"), c, d}, QStringLiteral(".hvm"), QStringLiteral("x.DLL,0"), c, d},
        {"icon .exe.png", {QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.exe.png"), c, d}, QStringLiteral(".hvm"), QStringLiteral("x.exe.png"), c, d},
        {"icon with blanks", {QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral(" i.png "), c, d}, QStringLiteral(".hvm"), QStringLiteral(" i.png "), c, d},
        {"no names", {QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("i.png"), QString(), QString()}, QStringLiteral(".hvm"), QStringLiteral("i.png"), QStringLiteral("Reg.Application"), QStringLiteral("RegDescription")},
        {"blank names", {QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("i.png"), QStringLiteral(" "), QStringLiteral(" ")}, QStringLiteral(".hvm"), QStringLiteral("i.png"), QStringLiteral(" "), QStringLiteral(" ")},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FileTypeEntry out = ApplyFileTypeRules(row.in);
        EXPECT_EQ(out.extension, row.extension);
        EXPECT_EQ(out.commandPath, row.in.commandPath);
        EXPECT_EQ(out.iconPath, row.iconPath);
        EXPECT_EQ(out.className, row.className);
        EXPECT_EQ(out.description, row.description);
    }
}

TEST(FileTypeNames, DerivedFromClassName)
{
    // clang-format off
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Halvorn III Map"), QStringLiteral("halvorn-iii-map")}, {QStringLiteral("Reg.Application"), QStringLiteral("reg-application")},
        {QStringLiteral("  --Map__of  2 Levels!"), QStringLiteral("map-of-2-levels")}, {QString::fromUtf8("Kärte"), QStringLiteral("k-rte")},
        {QString::fromUtf8("ÄÖÜ"), QStringLiteral("document")}, {QStringLiteral(""), QStringLiteral("document")},
    };
    // clang-format on
    for (const auto& [className, id] : rows) {
        SCOPED_TRACE(className.toStdString());
        const FileTypeNames names = NamesForClass(className);
        EXPECT_EQ(names.id, id);
        EXPECT_EQ(names.mimeType, QStringLiteral("application/x-") + id);
        EXPECT_EQ(names.iconName, QStringLiteral("application-x-") + id);
    }
}

TEST(DesktopEntryEscaping, ExecQuotesTheProgram)
{
    // clang-format off
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("/home/ann/My Games/Halvorn III/halvorn3"), QStringLiteral(R"("/home/ann/My Games/Halvorn III/halvorn3" %f)")},
        {QStringLiteral(R"(/opt/say "hi"/h)"), QStringLiteral(R"("/opt/say \\"hi\\"/h" %f)")},
        {QStringLiteral("/opt/$HOME/`x`/h"), QStringLiteral(R"("/opt/\\$HOME/\\`x\\`/h" %f)")},
        {QStringLiteral(R"(/opt/back\slash/h)"), QStringLiteral(R"("/opt/back\\\\slash/h" %f)")},
        {QStringLiteral("/opt/100%/h"), QStringLiteral(R"("/opt/100%%/h" %f)")},
        {QStringLiteral("/opt/tab\there"), QStringLiteral(R"("/opt/tab\there" %f)")},
        {QStringLiteral(""), QStringLiteral(R"("" %f)")},
    };
    // clang-format on
    for (const auto& [program, exec] : rows) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_EQ(ExecLineForProgram(program), exec);
    }
    EXPECT_EQ(EscapeDesktopString(QStringLiteral(" a b\\c\nd")), QStringLiteral(R"(\sa b\\c\nd)"));
}

} // namespace
} // namespace halvorn
