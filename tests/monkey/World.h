// The monkey's world: the files it works with, the texts it types, and the
// seeded dice every random choice of one run comes from.
#pragma once

#include "GeneratedLibrary.h"
#include "HostileCorpus.h"
#include "TestSupport.h"

#include <QDir>
#include <QStringList>

#include <random>

namespace monkey {

// The seeded random choices of one run, shared by the operations and the
// answers to their windows.
class Dice {
public:
    explicit Dice(uint64_t seed) : random_(seed) {}
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& OneOf(const QList<T>& list)
    {
        return list[Below(static_cast<int>(list.size()))];
    }

private:
    std::mt19937_64 random_;
};

// All in one temporary folder: small tile sets of every picture layout, a
// folder of hostile pictures, thousands of generated pictures with
// unreadable ones among them, a folder for exports.
class World {
public:
    World()
    {
        using hostile::PngColour;
        for (const char* sub : {"Floors", "Walls", "Objects", "Hostile", "Library", "Exports"})
            QDir(root_.path()).mkdir(QLatin1String(sub));
        // Every layout the loader must read, with and without alpha, in the
        // sizes each kind meets: whole cells, smaller and larger ones, and
        // objects far from square, so that turning them shows.
        // clang-format off
        const struct { const char* path; int w, h; hostile::PngLayout layout; bool alpha; } tiles[] = {
            {"Floors/stone.png", 72, 72, {PngColour::Rgb, 8, false}, false},
            {"Floors/moss.png", 72, 72, {PngColour::Palette, 8, false}, false},
            {"Floors/holes.png", 72, 72, {PngColour::Rgba, 8, true}, true},
            {"Floors/grey16.png", 72, 72, {PngColour::Grey, 16, false}, false},
            {"Floors/small.png", 30, 30, {PngColour::Rgba, 16, false}, true},
            {"Walls/brick.png", 18, 18, {PngColour::Rgb, 8, false}, false},
            {"Walls/rubble.png", 18, 18, {PngColour::Palette, 8, false}, true},
            {"Walls/big.png", 36, 30, {PngColour::GreyAlpha, 8, true}, true},
            {"Objects/box.png", 40, 20, {PngColour::Rgb, 8, false}, false},
            {"Objects/table.png", 100, 40, {PngColour::Rgba, 8, false}, true},
            {"Objects/pillar.png", 13, 57, {PngColour::Palette, 8, true}, true},
            {"Objects/banner.png", 300, 50, {PngColour::Rgba, 16, true}, true},
            {"Objects/rug.png", 72, 72, {PngColour::GreyAlpha, 16, false}, true},
        };
        // clang-format on
        uint32_t variant = 0;
        for (const auto& t : tiles)
            Write(t.path,
                  EncodePng(hostile::SourcePicture(t.w, t.h, t.alpha, variant++), t.layout));
        hostile::WriteCorpus(Path("Hostile"), {7, 24, 97, true});
        hostile::WriteGeneratedLibrary(Path("Library"), hostile::LibraryShape::Floors, 1500, 5,
                                       QStringLiteral("hex"));
        hostile::WriteGeneratedLibrary(Path("Library"), hostile::LibraryShape::Objects, 500, 6,
                                       QStringLiteral("prop"));
        // Unreadable ones at the top, in the middle and at the end of the list.
        for (const char* name : {"aaa.png", "hex_700x.png", "prop_250x.png", "zzz.png"})
            Write((std::string("Library/") + name).c_str(), "\x89PNG\r\n\x1a\n damaged");
        // An export name that is a folder, and a file where a folder is expected.
        QDir(Path("Exports")).mkdir(QStringLiteral("folder.png"));
        Write("Exports/plain-file", "not a folder");
    }
    bool IsValid() const { return root_.isValid(); }
    QString Path(const char* sub) const { return root_.filePath(QString::fromUtf8(sub)); }

    // Texts for the shadow fields: numbers at and past every bound, and
    // things that only look like numbers.
    static const QStringList& HostileNumbers()
    {
        static const QStringList texts = [] {
            QStringList t;
            // clang-format off
            for (const char* s : {"", " ", "   ", "\t7\n", "0", "-0", "40", "5", "32", "7", "100", "100.0000001",
                                  "255", "256", "-1", "-3", "+5", "+-3", "32767", "32768", "-32768", "-32769",
                                  "99999999999999999999", "1e308", "-1e308", "1e999", "1e-400", "1.5e1", ".5",
                                  "5.", "e5", "1e", "NaN", "nan", "inf", "-Infinity", "0x10", "12abc", "abc",
                                  "3,5", "1,000", "1 2",
                                  // Arabic-Indic three, full-width five, minus sign and five, five and no-break space
                                  "\xd9\xa3", "\xef\xbc\x95", "\xe2\x88\x92" "5", "5\xc2\xa0"})
                // clang-format on
                t << QString::fromUtf8(s);
            return t << QString(10000, QLatin1Char('9')) << QString(10000, QLatin1Char('a'))
                     << QStringLiteral("1") + QString(9999, QLatin1Char('0'));
        }();
        return texts;
    }
    // Folder texts: the real sets, the hostile folder, missing folders,
    // files, and texts that are no path at all.
    QStringList FolderTexts() const
    {
        QStringList texts;
        for (const char* sub : {"Floors", "Walls", "Objects", "Hostile", "Hostile", "Library",
                                "Library", "missing", "Exports/plain-file", "Floors/stone.png"})
            texts << Path(sub);
        return texts << QString() << QStringLiteral("   ") << Path("Floors/")
                     << QString(10000, QLatin1Char('x'))
                     << QString::fromUtf8("/nirgends/\xc3\xa4\xc3\xb6\xc3\xbc");
    }
    // Where an export may be asked to go: new and existing names, and paths
    // that cannot be written.
    QStringList ExportPaths() const
    {
        QStringList paths;
        for (const char* name : {"map.png", "map.jpg", "map", ".hidden.png", "folder.png",
                                 "missing/map.png", "plain-file/map.png"})
            paths << Path("Exports") + QLatin1Char('/') + QLatin1String(name);
        return paths;
    }

private:
    void Write(const char* relative, const QByteArray& bytes)
    {
        testsupport::WriteBytes(Path(relative), bytes);
    }
    hostile::CorpusDir root_;
};

} // namespace monkey
