#include "imaging/PngChunkCheck.h"

#include <QFile>

namespace halvorn {

namespace {

constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype SignatureSize = 8;
constexpr qsizetype HeaderSize = 8; // length, type
constexpr qsizetype CrcSize = 4;

uint32_t BigEndian32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t{u[0]} << 24) | (uint32_t{u[1]} << 16) | (uint32_t{u[2]} << 8) | uint32_t{u[3]};
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool PngChunksPlausible(QByteArrayView bytes)
{
    if (bytes.size() < SignatureSize ||
        bytes.first(SignatureSize) != QByteArrayView(Signature, SignatureSize))
        return true;
    qsizetype at = SignatureSize;
    while (bytes.size() - at >= HeaderSize) {
        const char* header = bytes.data() + at;
        const uint32_t length = BigEndian32(header);
        const char* type = header + 4;
        if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3]))
            return false;
        const bool ancillary = (type[0] & 0x20) != 0;
        if (ancillary && length > AncillaryChunkLimit)
            return false;
        const qsizetype remaining = bytes.size() - at - HeaderSize;
        if (static_cast<quint64>(length) + CrcSize > static_cast<quint64>(remaining))
            return false;
        if (QByteArrayView(type, 4) == "IEND")
            return true;
        at += HeaderSize + static_cast<qsizetype>(length) + CrcSize;
    }
    // No end chunk: the file was cut short.
    return false;
}

bool PngFileChunksPlausible(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() == 0)
        return true;
    // Mapped, the walk touches only the pages holding chunk headers.
    if (const uchar* mapped = file.map(0, file.size()))
        return PngChunksPlausible(
            QByteArrayView(reinterpret_cast<const char*>(mapped), file.size()));
    return PngChunksPlausible(file.readAll());
}

} // namespace halvorn
