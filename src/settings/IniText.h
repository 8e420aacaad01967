// Reading a value out of an INI settings file as the text the file holds.
// QSettings reads its INI files by rules of its own: an unquoted comma makes
// a list (so "100,5" or a folder named "art,x" read as no text at all) and
// "@Variant(...)" a serialised value, with a warning for a hand-written one.
// Every value of this program is a text, so the file is read here instead:
// a value is taken as written, with QSettings' own quoting and escapes undone
// so that what it saved reads back unchanged.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace halvorn {

// The last value of `key` in the `section` of an INI file's bytes (a section
// may appear more than once); nothing when the key is not there.
std::optional<QString> IniValueText(const QByteArray& file, QStringView section, QStringView key);

// One value as it stands after the "=": blanks around it dropped, quotes and
// backslash escapes undone, a leading "@@" (QSettings' escape for a text that
// starts with "@") made one "@"; commas kept, and every other "@" form
// taken as it stands, backslashes and all.
QString UnescapeIniValue(QStringView raw);

} // namespace halvorn
