#include "library/TypeToFind.h"

#include <QElapsedTimer>

namespace halvorn {

TypeToFind::TypeToFind()
    : clock_([] {
          // Monotonic, so a change of the wall clock neither ends nor
          // stretches a pause.
          static QElapsedTimer started = [] {
              QElapsedTimer t;
              t.start();
              return t;
          }();
          return started.elapsed();
      })
{
}

bool TypeToFind::PausedBefore()
{
    const qint64 now = clock_();
    const bool paused = now - last_ > PauseMs;
    last_ = now;
    return paused;
}

const QString& TypeToFind::Type(const QString& typed)
{
    if (PausedBefore())
        text_.clear();
    text_ += typed;
    return text_;
}

const QString& TypeToFind::Backspace()
{
    if (PausedBefore())
        text_.clear();
    if (!text_.isEmpty()) {
        // A character outside the Basic Multilingual Plane goes whole.
        const bool pair = text_.size() >= 2 && text_.back().isLowSurrogate() &&
                          text_.at(text_.size() - 2).isHighSurrogate();
        text_.chop(pair ? 2 : 1);
    }
    return text_;
}

} // namespace halvorn
