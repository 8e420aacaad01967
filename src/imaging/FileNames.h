// File names as the file system holds them: bytes, which on this platform are
// UTF-8 by convention only. A name that is not valid UTF-8 (a Latin-1 name
// from an old archive, say) would come out of QFile::decodeName with its bad
// bytes replaced, and that name no longer opens the file. Here each byte that
// is not part of valid UTF-8 is kept in the text as the unpaired surrogate
// U+DC80 + byte, so the original bytes come back for opening it; QFile,
// QFileInfo and QImageReader cannot open such a text, so it is opened by its
// bytes (imaging/Imaging.cpp). Shown to the user, the kept bytes become the
// replacement character.
#pragma once

#include <QByteArray>
#include <QString>

namespace halvorn {

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);
// True when the text holds a byte kept by DecodeFileName.
bool HasKeptBytes(const QString& name);

} // namespace halvorn
