#include "Doors.h"

#include "imaging/FileIdentity.h"
#include "library/Brush.h"
#include "library/TileListing.h"
#include "library/TileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace halvorn::doors {

namespace {

// At most this many names per input keeps one listing cheap.
constexpr int MostNames = 12;
// The longest file name the file systems allow.
constexpr int LongestName = 255;

QString Show(const QByteArray& raw)
{
    return QString::fromLatin1(raw.toPercentEncoding("/."));
}

// Creates an empty file for every name that can be one; returns those.
std::vector<QByteArray> CreateFiles(const QByteArray& folder, const std::vector<QByteArray>& names)
{
    std::vector<QByteArray> made;
    for (const QByteArray& name : names) {
        // Only what a file system can hold as one name.
        if (name.isEmpty() || name.contains('/') || name == "." || name == "..")
            continue;
        const QByteArray path = folder + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            ::close(fd);
            made.push_back(name);
        }
    }
    return made;
}

void RemoveFolder(const QByteArray& folder, const std::vector<QByteArray>& made)
{
    for (const QByteArray& name : made)
        ::unlink((folder + '/' + name).constData());
    ::rmdir(folder.constData());
}

QStringList NamesOf(const QStringList& paths, const QString& folder)
{
    QStringList names;
    for (const QString& path : paths)
        names << path.mid(folder.size() + 1);
    return names;
}

} // namespace

QStringList NamesDoor(QByteArrayView bytes)
{
    QStringList broken;
    std::vector<QByteArray> names;
    for (const QByteArray& part : bytes.toByteArray().split('\0')) {
        if (static_cast<int>(names.size()) == MostNames)
            break;
        names.push_back(part.left(LongestName));
    }

    // Any text can reach the display name and the status line as a path.
    Brush brush{QColor(212, 208, 200)};
    for (const QByteArray& raw : names) {
        const QString path = QStringLiteral("/tiles/") + QFile::decodeName(raw);
        const QString display = TileDisplayName(path);
        const QString file = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        // Shown with its control characters made visible, one for one.
        if (display.contains(QLatin1Char('/')) ||
            display != VisibleControls(file.left(std::max<qsizetype>(0, file.size() - 4))))
            broken << QStringLiteral("display name %1 for %2").arg(display, Show(raw));
        brush.Paths[BrushKind::Floor] = path;
        brush.SetMode(BrushKind::Floor);
        if (brush.StatusText() != QStringLiteral("Mode = Tile (") + display + QLatin1Char(')'))
            broken << QStringLiteral("status text %1 for %2").arg(brush.StatusText(), Show(raw));
    }

    // The same names created in two folders in opposite orders must list
    // alike: the order may not depend on the file system's.
    static int listings = 0;
    ++listings;
    const QString scratch = ScratchFolder();
    const QString folderA = scratch + QStringLiteral("/names-a-%1").arg(listings);
    const QString folderB = scratch + QStringLiteral("/names-b-%1").arg(listings);
    QDir().mkpath(folderA);
    QDir().mkpath(folderB);
    const QByteArray rawA = QFile::encodeName(folderA);
    const QByteArray rawB = QFile::encodeName(folderB);
    const std::vector<QByteArray> madeA = CreateFiles(rawA, names);
    std::vector<QByteArray> reversed(names.rbegin(), names.rend());
    const std::vector<QByteArray> madeB = CreateFiles(rawB, reversed);

    const QStringList listedA = ListTileFiles(folderA);
    const QStringList listedB = ListTileFiles(folderB);
    const QStringList namesA = NamesOf(listedA, folderA);
    if (namesA != NamesOf(listedB, folderB))
        broken << QStringLiteral("order depends on creation: %1 / %2")
                      .arg(namesA.join(QLatin1Char('|')),
                           NamesOf(listedB, folderB).join(QLatin1Char('|')));

    QSet<QString> seen;
    for (const QString& path : listedA) {
        const QString name = path.mid(folderA.size() + 1);
        if (!path.startsWith(folderA + QLatin1Char('/')) || name.contains(QLatin1Char('/')))
            broken << QStringLiteral("listed %1 outside its folder").arg(path);
        if (!name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            broken << QStringLiteral("listed %1 without .png").arg(path);
        if (name.startsWith(QLatin1Char('.')))
            broken << QStringLiteral("listed hidden %1").arg(path);
        // By its bytes: a name that is not UTF-8 keeps them in the path.
        if (!FileIdentityOf(path))
            broken << QStringLiteral("listed %1, which cannot be opened by that name").arg(path);
        if (seen.contains(path))
            broken << QStringLiteral("listed %1 twice").arg(path);
        seen.insert(path);
        if (TileDisplayName(path) + name.right(4) != VisibleControls(name))
            broken << QStringLiteral("display name of %1").arg(path);
    }
    // Every picture the user can open by its name is listed, hidden ones
    // excepted.
    for (const QByteArray& raw : madeA) {
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) == raw && !raw.startsWith('.') &&
            name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
            !seen.contains(folderA + QLatin1Char('/') + name))
            broken << QStringLiteral("%1 not listed").arg(Show(raw));
    }

    RemoveFolder(rawA, madeA);
    RemoveFolder(rawB, madeB);
    return broken;
}

} // namespace halvorn::doors
