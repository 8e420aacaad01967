#include "imaging/FileNames.h"

#include <QFile>

namespace halvorn {

namespace {

constexpr char16_t KeptByteBase = 0xdc00;

bool IsKeptByte(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    const bool paired = i > 0 && text.at(i - 1).isHighSurrogate();
    return c.unicode() >= KeptByteBase + 0x80 && c.unicode() <= KeptByteBase + 0xff && !paired;
}

// The length of the valid UTF-8 sequence at `i`, or 0.
qsizetype Utf8Length(const QByteArray& bytes, qsizetype i)
{
    const auto b = [&](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char lead = b(i);
    qsizetype n = 0;
    char32_t code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        n = 2, code = lead & 0x1f;
    else if (lead >= 0xe0 && lead <= 0xef)
        n = 3, code = lead & 0x0f;
    else if (lead >= 0xf0 && lead <= 0xf4)
        n = 4, code = lead & 0x07;
    else
        return 0;
    if (i + n > bytes.size())
        return 0;
    for (qsizetype k = 1; k < n; ++k) {
        if ((b(i + k) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (b(i + k) & 0x3f);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not valid.
    const bool valid = (n == 3 && code >= 0x800 && (code < 0xd800 || code > 0xdfff)) ||
                       (n == 4 && code >= 0x10000 && code <= 0x10ffff) || n == 2;
    return valid ? n : 0;
}

} // namespace

QString DecodeFileName(const QByteArray& bytes)
{
    const QString plain = QFile::decodeName(bytes);
    if (QFile::encodeName(plain) == bytes)
        return plain;
    QString name;
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype end = i;
        while (end < bytes.size()) {
            const qsizetype n = Utf8Length(bytes, end);
            if (n == 0)
                break;
            end += n;
        }
        name += QString::fromUtf8(bytes.mid(i, end - i));
        if (end < bytes.size())
            name += QChar(char16_t(KeptByteBase + static_cast<unsigned char>(bytes.at(end++))));
        i = end;
    }
    return name;
}

QByteArray EncodeFileName(const QString& name)
{
    if (!HasKeptBytes(name))
        return QFile::encodeName(name);
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!IsKeptByte(name, i))
            continue;
        bytes += name.mid(start, i - start).toUtf8();
        bytes += static_cast<char>(name.at(i).unicode() - KeptByteBase);
        start = i + 1;
    }
    bytes += name.mid(start).toUtf8();
    return bytes;
}

bool HasKeptBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (IsKeptByte(name, i))
            return true;
    return false;
}

} // namespace halvorn
