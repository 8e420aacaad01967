#include "MonkeyWorld.h"

#include "GeneratedLibrary.h"
#include "HostileCorpus.h"

#include <QDir>
#include <QFile>

namespace monkey {

using hostile::EncodePng;
using hostile::PngColour;
using hostile::PngLayout;
using hostile::SourcePicture;

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

MonkeyWorld::MonkeyWorld()
{
    if (!root_.isValid())
        return;
    for (const char* sub :
         {"Floors", "Walls", "Objects", "Hostile", "Library", "Exports", "config"})
        QDir(root_.path()).mkdir(QLatin1String(sub));
    WriteTileSets();
    hostile::CorpusOptions small;
    small.seed = 7;
    small.mutants = 24;
    small.truncationStep = 97;
    hostile::WriteCorpus(Hostile(), small);
    hostile::WriteGeneratedLibrary(Library(), hostile::LibraryShape::Floors, 1500, 5,
                                   QStringLiteral("hex"));
    hostile::WriteGeneratedLibrary(Library(), hostile::LibraryShape::Objects, 500, 6,
                                   QStringLiteral("prop"));
    // Unreadable ones at the top, in the middle and at the end of the list.
    for (const char* name : {"aaa.png", "hex_700x.png", "prop_250x.png", "zzz.png"})
        Write(Library() + QLatin1Char('/') + QLatin1String(name), "\x89PNG\r\n\x1a\n damaged");
    // An export name that is a folder, and a file where a folder is expected.
    QDir(Exports()).mkdir(QStringLiteral("folder.png"));
    Write(Exports() + QStringLiteral("/plain-file"), "not a folder");
}

void MonkeyWorld::WriteTileSets()
{
    // Every layout the loader must read, with and without alpha, in the
    // sizes each kind meets: whole cells, smaller and larger ones, and
    // objects that are far from square so that turning them shows.
    const struct {
        const char* folder;
        const char* name;
        int w, h;
        PngLayout layout;
        bool alpha;
    } tiles[] = {
        {"Floors", "stone.png", 72, 72, {PngColour::Rgb, 8, false}, false},
        {"Floors", "moss.png", 72, 72, {PngColour::Palette, 8, false}, false},
        {"Floors", "holes.png", 72, 72, {PngColour::Rgba, 8, true}, true},
        {"Floors", "grey16.png", 72, 72, {PngColour::Grey, 16, false}, false},
        {"Floors", "small.png", 30, 30, {PngColour::Rgba, 16, false}, true},
        {"Walls", "brick.png", 18, 18, {PngColour::Rgb, 8, false}, false},
        {"Walls", "rubble.png", 18, 18, {PngColour::Palette, 8, false}, true},
        {"Walls", "big.png", 36, 30, {PngColour::GreyAlpha, 8, true}, true},
        {"Objects", "box.png", 40, 20, {PngColour::Rgb, 8, false}, false},
        {"Objects", "table.png", 100, 40, {PngColour::Rgba, 8, false}, true},
        {"Objects", "pillar.png", 13, 57, {PngColour::Palette, 8, true}, true},
        {"Objects", "banner.png", 300, 50, {PngColour::Rgba, 16, true}, true},
        {"Objects", "rug.png", 72, 72, {PngColour::GreyAlpha, 16, false}, true},
    };
    uint32_t variant = 0;
    for (const auto& t : tiles) {
        Write(root_.filePath(QLatin1String(t.folder) + QLatin1Char('/') + QLatin1String(t.name)),
              EncodePng(SourcePicture(t.w, t.h, t.alpha, variant++), t.layout));
    }
}

const QStringList& MonkeyWorld::HostileNumbers()
{
    static const QStringList texts = [] {
        QStringList t{
            QString(),
            QStringLiteral(" "),
            QStringLiteral("   "),
            QStringLiteral("\t7\n"),
            QStringLiteral("0"),
            QStringLiteral("-0"),
            QStringLiteral("40"),
            QStringLiteral("5"),
            QStringLiteral("32"),
            QStringLiteral("7"),
            QStringLiteral("100"),
            QStringLiteral("100.0000001"),
            QStringLiteral("255"),
            QStringLiteral("256"),
            QStringLiteral("-1"),
            QStringLiteral("-3"),
            QStringLiteral("+5"),
            QStringLiteral("+-3"),
            QStringLiteral("32767"),
            QStringLiteral("32768"),
            QStringLiteral("-32768"),
            QStringLiteral("-32769"),
            QStringLiteral("99999999999999999999"),
            QStringLiteral("1e308"),
            QStringLiteral("-1e308"),
            QStringLiteral("1e999"),
            QStringLiteral("1e-400"),
            QStringLiteral("1.5e1"),
            QStringLiteral(".5"),
            QStringLiteral("5."),
            QStringLiteral("e5"),
            QStringLiteral("1e"),
            QStringLiteral("NaN"),
            QStringLiteral("nan"),
            QStringLiteral("inf"),
            QStringLiteral("-Infinity"),
            QStringLiteral("0x10"),
            QStringLiteral("12abc"),
            QStringLiteral("abc"),
            QStringLiteral("3,5"),
            QStringLiteral("1,000"),
            QStringLiteral("1 2"),
            QString::fromUtf8("\xd9\xa3"),     // Arabic-Indic three
            QString::fromUtf8("\xef\xbc\x95"), // full-width five
            QString::fromUtf8("\xe2\x88\x92"
                              "5"),         // minus sign, five
            QString::fromUtf8("5\xc2\xa0"), // five, no-break space
        };
        t << QString(10000, QLatin1Char('9')) << QString(10000, QLatin1Char('a'))
          << QStringLiteral("1") + QString(9999, QLatin1Char('0'));
        return t;
    }();
    return texts;
}

QStringList MonkeyWorld::FolderTexts() const
{
    return {Floors(),
            Walls(),
            Objects(),
            Hostile(),
            Hostile(),
            Library(),
            Library(),
            root_.filePath(QStringLiteral("missing")),
            Exports() + QStringLiteral("/plain-file"),
            Floors() + QStringLiteral("/stone.png"),
            QString(),
            QStringLiteral("   "),
            Floors() + QStringLiteral("/"),
            QString(10000, QLatin1Char('x')),
            QString::fromUtf8("/nirgends/\xc3\xa4\xc3\xb6\xc3\xbc")};
}

QStringList MonkeyWorld::ExportPaths() const
{
    return {Exports() + QStringLiteral("/map.png"),
            Exports() + QStringLiteral("/map.jpg"),
            Exports() + QStringLiteral("/map"),
            Exports() + QStringLiteral("/.hidden.png"),
            Exports() + QStringLiteral("/folder.png"),
            Exports() + QStringLiteral("/missing/map.png"),
            Exports() + QStringLiteral("/plain-file/map.png")};
}

} // namespace monkey
