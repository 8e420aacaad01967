// Telling the desktop that documents with an extension open in this program.
#pragma once

#include <QString>

namespace halvorn {

// Applies the rules of FileTypeRules.h to its own copies of the arguments and
// writes, under the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share):
//   mime/packages/<id>.xml            the MIME type, its description and glob
//   applications/<id>.desktop         the program that opens it, unless the
//                                     program's installed launcher does
//                                     (InstalledLauncher.h)
//   icons/hicolor/NxN/{apps,mimetypes}/<icon>.png
// (names from FileTypeNames.h), then, when a file was written anew, starts a
// refresh of the desktop's caches in the background (DesktopDatabases.h).
// The user's choice of default program (mimeapps.list) is never touched.
// Returns true when every file was written, false at the first failure;
// never throws and shows nothing, so start-up goes on either way.
//
// Start-up calls it as
//   RegisterFileType("hvm", QCoreApplication::applicationFilePath(),
//                    QCoreApplication::applicationDirPath() + "/hvm.png",
//                    "Halvorn III Map", "Halvorn III Map");
bool RegisterFileType(QString extension, QString commandPath, QString iconPath, QString className,
                      QString description);

} // namespace halvorn
