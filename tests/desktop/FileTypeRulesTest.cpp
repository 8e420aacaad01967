#include "desktop/DesktopEntryEscaping.h"
#include "desktop/FileTypeNames.h"
#include "desktop/FileTypeRules.h"

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
        {{"hvm", "/usr/bin/h", "/x/hvm.png", "C", "D"}, ".hvm", "/x/hvm.png", "C", "D"},
        {{".hvm", "/usr/bin/h", "/x/hvm.png", "C", "D"}, ".hvm", "/x/hvm.png", "C", "D"},
        {{"map.hvm", "/usr/bin/h", "i.png", "C", "D"}, "map.hvm", "i.png", "C", "D"},
        {{"", "/usr/bin/h", "i.png", "C", "D"}, ".", "i.png", "C", "D"},
        // Blank icon: the program's own, and an .exe means its icon number 0.
        {{"hvm", exe, "", "C", "D"}, ".hvm", exe + ",0", "C", "D"},
        {{"hvm", exe, "   ", "C", "D"}, ".hvm", exe + ",0", "C", "D"},
        {{"hvm", "/usr/bin/halvorn3", "", "C", "D"}, ".hvm", "/usr/bin/halvorn3", "C", "D"},
        {{"hvm", "/b", "C:/Win/Lib.Dll", "C", "D"}, ".hvm", "C:/Win/Lib.Dll,0", "C", "D"},
        {{"hvm", "/b", "x.DLL", "C", "D"}, ".hvm", "x.DLL,0", "C", "D"},
        {{"hvm", "/b", "x.dll", "C", "D"}, ".hvm", "x.dll,0", "C", "D"},
        {{"hvm", "/b", "x.Exe", "C", "D"}, ".hvm", "x.Exe,0", "C", "D"},
        {{"hvm", "/b", "x.exe.png", "C", "D"}, ".hvm", "x.exe.png", "C", "D"},
        {{"hvm", "/b", "hvm.PNG", "C", "D"}, ".hvm", "hvm.PNG", "C", "D"},
        {{"hvm", "/b", "hvm.ico", "C", "D"}, ".hvm", "hvm.ico", "C", "D"},
        {{"hvm", "/b", " i.png ", "C", "D"}, ".hvm", " i.png ", "C", "D"},
        {{"hvm", "/b", "i.png", "", ""}, ".hvm", "i.png", "Reg.Application", "RegDescription"},
        {{"hvm", "/b", "i.png", " ", " "}, ".hvm", "i.png", " ", " "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.in.extension + "|" + row.in.iconPath).toStdString());
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
        {"Halvorn III Map", "halvorn-iii-map"},
        {"Reg.Application", "reg-application"},
        {"  --Map__of  2 Levels!", "map-of-2-levels"},
        {QString::fromUtf8("Kärte"), "k-rte"},
        {QString::fromUtf8("ÄÖÜ"), "document"},
        {"", "document"},
    };
    for (const auto& [className, id] : rows) {
        SCOPED_TRACE(className.toStdString());
        const FileTypeNames names = NamesForClass(className);
        EXPECT_EQ(names.id, id);
        EXPECT_EQ(names.mimeType, "application/x-" + id);
        EXPECT_EQ(names.iconName, "application-x-" + id);
    }
}

TEST(DesktopEntryEscaping, ExecQuotesTheProgram)
{
    const std::pair<QString, QString> rows[] = {
        {"/usr/lib/halvorn3/halvorn3", R"("/usr/lib/halvorn3/halvorn3" %f)"},
        {"/home/ann/My Games/Halvorn III/halvorn3", R"("/home/ann/My Games/Halvorn III/halvorn3" %f)"},
        {R"(/opt/say "hi"/h)", R"("/opt/say \\"hi\\"/h" %f)"},
        {"/opt/$HOME/`x`/h", R"("/opt/\\$HOME/\\`x\\`/h" %f)"},
        {R"(/opt/back\slash/h)", R"("/opt/back\\\\slash/h" %f)"},
        {"/opt/100%/h", R"("/opt/100%%/h" %f)"},
        {"/opt/tab\there", R"("/opt/tab\there" %f)"},
        {"", R"("" %f)"},
    };
    for (const auto& [program, exec] : rows) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_EQ(ExecLineForProgram(program), exec);
    }
    EXPECT_EQ(EscapeDesktopString(" a b\\c\nd"), R"(\sa b\\c\nd)");
}

} // namespace
} // namespace halvorn
