// The rules that turn the arguments of RegisterFileType into the values that
// are written. They are kept exactly as the program has always applied them.
#pragma once

#include <QString>

namespace halvorn {

struct FileTypeEntry {
    QString extension;   // ".hvm"
    QString commandPath; // the program that opens the documents
    QString iconPath;    // an image file, or "module,0" for a program's own icon
    QString className;   // "Halvorn III Map"
    QString description; // shown by file managers as the type's name
};

// - an extension without "." gains a leading "."
// - an icon path that is blank after trimming spaces becomes the command path
// - an icon path ending in .exe or .dll (any letter case) gains ",0"
// - an empty class name becomes "Reg.Application", an empty description
//   "RegDescription"
FileTypeEntry ApplyFileTypeRules(FileTypeEntry entry);

} // namespace halvorn
