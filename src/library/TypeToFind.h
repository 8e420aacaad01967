// The text a user types to find a palette entry by its name: keys typed at
// most a second apart make one text, a longer pause starts a new one.
// Time comes from a clock the owner may replace, so a pause can be made
// without waiting for it.
#pragma once

#include <QString>

#include <functional>

namespace halvorn {

class TypeToFind {
public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;
    // The longest pause between keys that still extends the text.
    static constexpr qint64 PauseMs = 1000;

    TypeToFind();
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // Adds `typed` to the text, or starts a new text with it after a pause;
    // returns the whole text.
    const QString& Type(const QString& typed);
    // Takes the last character off a text still being typed (after a pause
    // there is nothing left to shorten); returns what remains.
    const QString& Backspace();
    void Clear() { text_.clear(); }

private:
    // Notes the key's time; true when the text was typed too long ago.
    bool PausedBefore();

    Clock clock_;
    QString text_;
    qint64 last_ = 0;
};

} // namespace halvorn
