#include "imaging/RowsForDrawing.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

namespace halvorn {

namespace {

// Rows either side of the two a draw's output row mixes, read as well: the
// draw finds its rows in fixed point, whose rounding may differ from this
// arithmetic by one row, and may differ between Qt releases by one more.
constexpr int SpareRows = 2;

// The mapping starts with its own length, for the unmapping when the last
// copy of the picture goes; the pixels start a cache line further.
constexpr size_t HeadBytes = 64;

void ReadFromDevice(png_structp png, png_bytep data, png_size_t length)
{
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char*>(data), static_cast<qint64>(length)) !=
        static_cast<qint64>(length))
        png_error(png, "the file ends early");
}

// Quietly: the whole decode that follows a failure reports what it finds.
[[noreturn]] void StopReading(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Which rows a smooth draw of `height` rows onto `drawnHeight` reads: output
// row y mixes the two rows around its centre's place in the picture.
std::vector<unsigned char> RowsRead(int height, int drawnHeight)
{
    std::vector<unsigned char> read(static_cast<size_t>(height), 0);
    const double step = static_cast<double>(height) / drawnHeight;
    for (int y = 0; y < drawnHeight; ++y) {
        const int above = static_cast<int>(std::floor((y + 0.5) * step - 0.5));
        for (int row = above - SpareRows; row <= above + 1 + SpareRows; ++row)
            read[static_cast<size_t>(std::clamp(row, 0, height - 1))] = 1;
    }
    return read;
}

// libpng reports an error by jumping back to the setjmp below: nothing in
// this function, nor in libpng's frames it jumps over, needs destroying.
bool ReadRows(png_structp png, png_infop info, QSize size, bool alpha, unsigned char* pixels,
              size_t bytesPerLine, const unsigned char* read, unsigned char* spare)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    if (width != static_cast<png_uint_32>(size.width()) ||
        height != static_cast<png_uint_32>(size.height()) || depth != 8 ||
        interlace != PNG_INTERLACE_NONE)
        return false;
    // Qt gives RGB with a transparent colour (tRNS) an alpha channel.
    const bool matches =
        alpha ? colour == PNG_COLOR_TYPE_RGBA
              : colour == PNG_COLOR_TYPE_RGB && png_get_valid(png, info, PNG_INFO_tRNS) == 0;
    if (!matches)
        return false;
        // Qt's 32-bit formats are words of 0xAARRGGBB.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
#else
    if (alpha)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
#endif
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != bytesPerLine)
        return false;
    for (size_t y = 0; y < height; ++y)
        png_read_row(png, read[y] ? pixels + y * bytesPerLine : spare, nullptr);
    png_read_end(png, nullptr);
    return true;
}

#ifdef Q_OS_UNIX
void Unmap(void* mapping)
{
    size_t length = 0;
    std::memcpy(&length, mapping, sizeof length);
    munmap(mapping, length);
}
#endif

} // namespace

QImage DecodeRowsForDrawing(QIODevice& device, QSize size, QImage::Format format, int drawnHeight)
{
#ifdef Q_OS_UNIX
    if (format != QImage::Format_ARGB32 && format != QImage::Format_RGB32)
        return {};
    if (size.isEmpty() || drawnHeight <= 0)
        return {};
    const size_t bytesPerLine = static_cast<size_t>(size.width()) * 4;
    const size_t length = HeadBytes + bytesPerLine * static_cast<size_t>(size.height());
    void* mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED)
        return {};
    std::memcpy(mapped, &length, sizeof length);
    auto* pixels = static_cast<unsigned char*>(mapped) + HeadBytes;
    // From here the picture owns the mapping: it goes with the last copy.
    QImage picture(pixels, size.width(), size.height(), static_cast<qsizetype>(bytesPerLine),
                   format, &Unmap, mapped);
    if (picture.isNull()) {
        munmap(mapped, length);
        return {};
    }

    // Everything that may throw before libpng's structures exist.
    const std::vector<unsigned char> read = RowsRead(size.height(), drawnHeight);
    std::vector<unsigned char> spare(bytesPerLine);
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &StopReading, &IgnoreWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    bool decoded = false;
    if (info) {
        png_set_read_fn(png, &device, &ReadFromDevice);
        decoded = ReadRows(png, info, size, format == QImage::Format_ARGB32, pixels, bytesPerLine,
                           read.data(), spare.data());
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return decoded ? picture : QImage();
#else
    Q_UNUSED(device);
    Q_UNUSED(size);
    Q_UNUSED(format);
    Q_UNUSED(drawnHeight);
    return {};
#endif
}

} // namespace halvorn
