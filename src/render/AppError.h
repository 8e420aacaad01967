// An application error: the number, the source and the readable description
// that the user is shown. Thrown by the imaging layer, caught at the event
// boundary.
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

// Raises `pending` again with its source prefixed by "mdHelpers.<procedure>"
// and a line break, so the chain of procedures it passed through stays visible.
[[noreturn]] void RaiseError(const AppError& pending, const QString& procedure);

} // namespace halvorn
