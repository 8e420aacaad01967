#include "library/TileListing.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace halvorn {

namespace {

bool IsTileName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) &&
           name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

// The folder's candidate names, not yet examined.
QStringList CandidateNames(const QString& folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    // Read directly: going through QDir would examine every entry once for
    // its filters and again for its identity, and a real tile pack has
    // thousands of entries.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(folder).constData()),
                                                  ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray raw(entry->d_name);
        const QString name = QFile::decodeName(raw);
        // A name that is not valid in the file-name encoding would come back
        // as another name, one that does not exist.
        if (IsTileName(name) && QFile::encodeName(name) == raw)
            names.push_back(name);
    }
#else
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::NoSort))
        if (IsTileName(name))
            names.push_back(name);
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
        QString name;
    };
    // One key per name: comparing keys is far cheaper than comparing names
    // through the collator thousands of times over.
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names)
        keyed.push_back({collator.sortKey(name), name});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        // Names equal but for case still need one fixed order between runs.
        return order != 0 ? order < 0 : a.name < b.name;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[static_cast<size_t>(i)].name);
}

} // namespace

std::vector<TileFile> ListTileFolder(const QString& folder)
{
    QStringList names = CandidateNames(folder);
    SortForDisplay(names);
    std::vector<TileFile> files;
    files.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) {
        QString path = folder + QLatin1Char('/') + name;
        // Folders, pipes, devices and dangling links have no identity.
        if (std::optional<FileIdentity> identity = FileIdentityOf(path))
            files.push_back({std::move(path), std::move(*identity)});
    }
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
