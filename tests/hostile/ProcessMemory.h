// Resident memory of this process, read from /proc, and its peak since the
// last reset. Sizes in kibibytes; 0 where the system does not say.
#pragma once

#include <QByteArray>
#include <QFile>

namespace hostile {

inline long StatusField(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray key = QByteArray(field) + ':';
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(key))
                return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

inline long ResidentKiB()
{
    return StatusField("VmRSS");
}
inline long PeakResidentKiB()
{
    return StatusField("VmHWM");
}

// Starts the peak afresh at the present size (Linux 4.0 and later).
inline void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Under AddressSanitizer freed memory is held back and the allocator's own
// bookkeeping is resident too, so memory bounds only mean something without it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool MemoryIsMeasurable = false;
#else
inline constexpr bool MemoryIsMeasurable = true;
#endif

} // namespace hostile
