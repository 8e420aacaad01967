// Escaping for values in freedesktop desktop entry files.
#pragma once

#include <QString>

namespace halvorn {

// A string value: backslash, newline, tab and carriage return escaped, and a
// leading space written as \s so that readers do not trim it away.
QString EscapeDesktopString(const QString& value);

// The Exec value that opens one file with `program`: the path in double
// quotes with ", `, $ and \ escaped inside, % doubled (it starts field codes),
// the string escaping applied on top, and " %f" after it. So a folder with
// spaces, or a backslash in a name, reaches the program intact.
QString ExecLineForProgram(const QString& program);

} // namespace halvorn
