#include "library/TileListing.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace halvorn {

QStringList ListTileFiles(const QString& folder)
{
    // Without QDir::System broken links are left out; links to files are kept.
    const QDir dir(folder);
    QStringList names;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && entry.fileName().endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            names.push_back(entry.fileName());
    }

    // The C locale compares code points only and ignores the numeric mode,
    // so a system without a language setting sorts as English does.
    const QLocale system;
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        // Names equal but for case still need one fixed order between runs.
        return order != 0 ? order < 0 : a < b;
    });

    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.push_back(folder + QLatin1Char('/') + name);
    return paths;
}

} // namespace halvorn
