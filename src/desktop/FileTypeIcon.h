// The picture installed as a document type's icon.
#pragma once

#include <QImage>
#include <QString>

namespace halvorn {

// `iconReference` scaled into a size x size square when it names an image
// file that can be read; otherwise (a "program.exe,0" reference, a missing
// or broken file) our own painted map document icon.
QImage FileTypeIconImage(const QString& iconReference, int size);

} // namespace halvorn
