// The texts of the two files that tell the desktop about a document type:
// the shared-mime-info package and the desktop entry of the opening program.
#pragma once

#include "desktop/FileTypeNames.h"
#include "desktop/FileTypeRules.h"

#include <QByteArray>

namespace halvorn {

// mime/packages/<id>.xml: the type, its description, its icon and the glob
// of the extension.
QByteArray MimePackageXml(const FileTypeEntry& entry, const FileTypeNames& names);

// applications/<id>.desktop: the program that opens the type. Empty when the
// program's path holds a control character other than a line break, carriage
// return or tab (those are escaped): no entry can carry one.
QByteArray DesktopEntryText(const FileTypeEntry& entry, const FileTypeNames& names);

} // namespace halvorn
