#include "desktop/FileTypeRules.h"
#include "desktop/DesktopEntryEscaping.h"
#include "desktop/FileTypeNames.h"

#include <gtest/gtest.h>

namespace halvorn {
namespace {

TEST(FileTypeRules, ArgumentsBecomeWrittenValues)
{
    struct Row {
        FileTypeEntry in;
        QString extension, iconPath, className, description;
    };
    const QString exe = QStringLiteral("/opt/Halvorn/halvorn3.exe");
    const Row rows[] = {
        {{QStringLiteral("hvm"), QStringLiteral("/usr/bin/h"), QStringLiteral("/x/hvm.png"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("/x/hvm.png"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral(".hvm"), QStringLiteral("/usr/bin/h"), QStringLiteral("/x/hvm.png"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("/x/hvm.png"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("map.hvm"), QStringLiteral("/usr/bin/h"), QStringLiteral("i.png"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral("map.hvm"),
         QStringLiteral("i.png"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QString(), QStringLiteral("/usr/bin/h"), QStringLiteral("i.png"), QStringLiteral("C"),
          QStringLiteral("D")},
         QStringLiteral("."),
         QStringLiteral("i.png"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        // Blank icon: the program's own, and an .exe means its icon number 0.
        {{QStringLiteral("hvm"), exe, QString(), QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         exe + QStringLiteral(",0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), exe, QStringLiteral("   "), QStringLiteral("C"),
          QStringLiteral("D")},
         QStringLiteral(".hvm"),
         exe + QStringLiteral(",0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/usr/bin/halvorn3"), QString(),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("/usr/bin/halvorn3"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("C:/Win/Lib.Dll"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("C:/Win/Lib.Dll,0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.DLL"), QStringLiteral("C"),
          QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("x.DLL,0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.dll"), QStringLiteral("C"),
          QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("x.dll,0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.Exe"), QStringLiteral("C"),
          QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("x.Exe,0"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("x.exe.png"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("x.exe.png"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("hvm.PNG"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("hvm.PNG"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("hvm.ico"),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral("hvm.ico"),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral(" i.png "),
          QStringLiteral("C"), QStringLiteral("D")},
         QStringLiteral(".hvm"),
         QStringLiteral(" i.png "),
         QStringLiteral("C"),
         QStringLiteral("D")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("i.png"), QString(),
          QString()},
         QStringLiteral(".hvm"),
         QStringLiteral("i.png"),
         QStringLiteral("Reg.Application"),
         QStringLiteral("RegDescription")},
        {{QStringLiteral("hvm"), QStringLiteral("/b"), QStringLiteral("i.png"), QStringLiteral(" "),
          QStringLiteral(" ")},
         QStringLiteral(".hvm"),
         QStringLiteral("i.png"),
         QStringLiteral(" "),
         QStringLiteral(" ")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.in.extension + QStringLiteral("|") + row.in.iconPath).toStdString());
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
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Halvorn III Map"), QStringLiteral("halvorn-iii-map")},
        {QStringLiteral("Reg.Application"), QStringLiteral("reg-application")},
        {QStringLiteral("  --Map__of  2 Levels!"), QStringLiteral("map-of-2-levels")},
        {QString::fromUtf8("Kärte"), QStringLiteral("k-rte")},
        {QString::fromUtf8("ÄÖÜ"), QStringLiteral("document")},
        {QStringLiteral(""), QStringLiteral("document")},
    };
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
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("/usr/lib/halvorn3/halvorn3"),
         QStringLiteral(R"("/usr/lib/halvorn3/halvorn3" %f)")},
        {QStringLiteral("/home/ann/My Games/Halvorn III/halvorn3"),
         QStringLiteral(R"("/home/ann/My Games/Halvorn III/halvorn3" %f)")},
        {QStringLiteral(R"(/opt/say "hi"/h)"), QStringLiteral(R"("/opt/say \\"hi\\"/h" %f)")},
        {QStringLiteral("/opt/$HOME/`x`/h"), QStringLiteral(R"("/opt/\\$HOME/\\`x\\`/h" %f)")},
        {QStringLiteral(R"(/opt/back\slash/h)"), QStringLiteral(R"("/opt/back\\\\slash/h" %f)")},
        {QStringLiteral("/opt/100%/h"), QStringLiteral(R"("/opt/100%%/h" %f)")},
        {QStringLiteral("/opt/tab\there"), QStringLiteral(R"("/opt/tab\there" %f)")},
        {QStringLiteral(""), QStringLiteral(R"("" %f)")},
    };
    for (const auto& [program, exec] : rows) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_EQ(ExecLineForProgram(program), exec);
    }
    EXPECT_EQ(EscapeDesktopString(QStringLiteral(" a b\\c\nd")), QStringLiteral(R"(\sa b\\c\nd)"));
}

} // namespace
} // namespace halvorn
