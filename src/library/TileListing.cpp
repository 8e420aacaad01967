#include "library/TileListing.h"

#include "render/FileNames.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace halvorn {

namespace {

bool IsTileName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) &&
           name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

// The regular files among the folder's tile names, in no useful order.
std::vector<TileFile> ExamineFolder(const QString& folder)
{
    std::vector<TileFile> files;
    const QString prefix = folder + QLatin1Char('/');
#ifdef Q_OS_UNIX
    // Read and examined through the folder's own handle: a path lookup per
    // file, or QDir examining every entry for its filters and then again for
    // its identity, would cost more than everything else of a listing of
    // thousands.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(EncodeFileName(folder).constData()),
                                                  ::closedir);
    if (!dir)
        return files;
    while (const dirent* entry = ::readdir(dir.get())) {
        // A name that is not valid UTF-8 keeps its bytes, so it opens.
        const QString name = DecodeFileName(QByteArray(entry->d_name));
        if (!IsTileName(name))
            continue;
        // Links are followed; folders, pipes, devices and dangling links are
        // left out.
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        QString path = prefix + name;
        files.push_back({path, FileIdentityFromStat(path, st)});
    }
#else
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::NoSort)) {
        if (!IsTileName(name))
            continue;
        if (std::optional<FileIdentity> identity = FileIdentityOf(prefix + name))
            files.push_back({prefix + name, std::move(*identity)});
    }
#endif
    return files;
}

void SortForDisplay(std::vector<TileFile>& files, qsizetype nameStart)
{
    // The C locale compares code points only and ignores the numeric mode,
    // so a system without a language setting sorts as English does.
    const QLocale system;
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Keyed {
        QCollatorSortKey key;
        QStringView name;
        size_t file;
    };
    // One key per name: comparing keys is far cheaper than comparing names
    // through the collator thousands of times over.
    std::vector<Keyed> keyed;
    keyed.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const QStringView name = QStringView(files[i].path).mid(nameStart);
        keyed.push_back({collator.sortKey(name.toString()), name, i});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        // Names equal but for case still need one fixed order between runs.
        return order != 0 ? order < 0 : a.name < b.name;
    });
    std::vector<TileFile> sorted;
    sorted.reserve(files.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(files[k.file]));
    files = std::move(sorted);
}

} // namespace

std::vector<TileFile> ListTileFolder(const QString& folder)
{
    std::vector<TileFile> files = ExamineFolder(folder);
    SortForDisplay(files, folder.size() + 1);
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
