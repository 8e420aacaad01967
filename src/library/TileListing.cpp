#include "library/TileListing.h"

#include "imaging/FileNames.h"
#include "library/FolderCalls.h"

#include <QCollator>
#include <QDir>
#include <QLocale>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace halvorn {

namespace {

using foldercalls::Before;
using foldercalls::Call;

bool IsTileName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) &&
           name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

// The tile names of the folder, in no useful order.
QStringList ReadFolder(const QString& folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    if (Before(Call::OpenFolder, folder) != 0)
        return names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(EncodeFileName(folder).constData()),
                                                  ::closedir);
    if (!dir)
        return names;
    for (;;) {
        if (Before(Call::ReadFolder, folder) != 0)
            break;
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        // A name that is not valid UTF-8 keeps its bytes, so it opens.
        QString name = DecodeFileName(QByteArray(entry->d_name));
        if (IsTileName(name))
            names.push_back(std::move(name));
    }
#else
    if (Before(Call::OpenFolder, folder) != 0)
        return names;
    for (QString& name : QDir(folder).entryList(QDir::Files, QDir::NoSort))
        if (IsTileName(name))
            names.push_back(std::move(name));
#endif
    return names;
}

void SortForDisplay(QStringList& names)
{
    // The C locale compares code points only and ignores the numeric mode,
    // so a system without a language setting sorts as English does.
    const QLocale system;
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Keyed {
        QCollatorSortKey key;
        qsizetype name;
    };
    // One key per name: comparing keys is far cheaper than comparing names
    // through the collator thousands of times over.
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        keyed.push_back({collator.sortKey(names[i]), i});
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        // Names equal but for case still need one fixed order between runs.
        return order != 0 ? order < 0 : names[a.name] < names[b.name];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(names[k.name]));
    names = std::move(sorted);
}

} // namespace

QStringList ListTileNames(const QString& folder)
{
    QStringList paths = ReadFolder(folder);
    SortForDisplay(paths);
    const QString prefix = folder + QLatin1Char('/');
    for (QString& path : paths)
        path.prepend(prefix);
    return paths;
}

std::optional<FileIdentity> ExamineTileFile(const QString& path)
{
    // Links are followed; folders, pipes, devices and dangling links are
    // left out.
    if (Before(Call::Examine, path) != 0)
        return std::nullopt;
    return FileIdentityOf(path);
}

std::vector<TileFile> ListTileFolder(const QString& folder)
{
    std::vector<TileFile> files;
    for (QString& path : ListTileNames(folder))
        if (std::optional<FileIdentity> identity = ExamineTileFile(path))
            files.push_back({std::move(path), std::move(*identity)});
    return files;
}

QStringList ListTileFiles(const QString& folder)
{
    QStringList paths;
    for (TileFile& file : ListTileFolder(folder))
        paths.push_back(std::move(file.path));
    return paths;
}

} // namespace halvorn
