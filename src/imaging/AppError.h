// An application error: the number, the source and the readable description
// that the user is shown.
//
// Who does what with errors:
// - The imaging layer is the one place that turns a failing status into an
//   AppError (CheckStatus). Code that wants the words without a throw, as
//   the export does for a failed save, asks StatusDescription.
// - A handler catches an AppError only where it can say more than the
//   description or must keep state the user relies on: a palette pick and
//   the brush buttons name the picture and keep the brush as it was.
// - Everything else unwinds to HalvornApplication::notify, the last net: it
//   catches whatever an event handler throws and shows the description in a
//   box once the handler is gone. A dialog's exec() runs its own events
//   through the same net, so a command that opens one needs no catch of its
//   own around it.
// - Three boundaries lie outside that net and keep their own catch: start-up
//   before the event loop (no main window, nothing to run), the desktop
//   registration (a courtesy that never stops start-up), and the band worker
//   (an exception on a helper thread is carried to the caller). The Options
//   dialog also keeps one: it reports a failing redraw or store while it
//   stays open for another try.
#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace halvorn {

// The error number every failure of the imaging layer carries (0x80040000).
inline constexpr int32_t vbObjectError = -2147221504;

class AppError : public std::exception {
public:
    AppError(int32_t number, QString source, QString description)
        : number_(number), source_(std::move(source)), description_(std::move(description)),
          what_(description_.toStdString())
    {
    }

    int32_t Number() const { return number_; }
    const QString& Source() const { return source_; }
    const QString& Description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int32_t number_;
    QString source_;
    QString description_;
    std::string what_;
};

} // namespace halvorn
