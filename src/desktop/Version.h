// The program's version, shown in the About box and used in the main window
// title ("Halvorn III - " + EditionWord + " Edition").
#pragma once

#include <QString>

namespace halvorn {

inline constexpr const char* EditionWord = "Tallow";
inline constexpr int VersionMajor = 3;
inline constexpr int VersionMinor = 0;
inline constexpr int VersionRevision = 33;

// "Version: Tallow 3.0.33"
inline QString VersionCaption()
{
    return QStringLiteral("Version: %1 %2.%3.%4")
        .arg(QString::fromLatin1(EditionWord))
        .arg(VersionMajor)
        .arg(VersionMinor)
        .arg(VersionRevision);
}

} // namespace halvorn
