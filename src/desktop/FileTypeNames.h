// The names under which a document type is known to the desktop, all derived
// from its class name so that registering the same class again replaces the
// earlier files instead of adding new ones.
#pragma once

#include <QString>

namespace halvorn {

struct FileTypeNames {
    QString id;       // "halvorn-iii-map": file names of the MIME package and desktop entry
    QString mimeType; // "application/x-halvorn-iii-map"
    QString iconName; // "application-x-halvorn-iii-map", the icon theme name
};

// The id is the class name in lower case with every run of characters other
// than ASCII letters and digits turned into one "-", and no "-" at either
// end; a class name with nothing left gives "document". The MIME type is the
// unregistered "application/x-<id>", and the icon name is the MIME type with
// "/" replaced by "-", as icon themes name MIME type icons.
FileTypeNames NamesForClass(const QString& className);

} // namespace halvorn
