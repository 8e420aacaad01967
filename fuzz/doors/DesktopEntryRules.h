// The rules desktop-file-validate holds a desktop entry to, as far as the
// entries registration writes need them: lines, groups, keys, string
// escapes, and the quoting of the Exec key.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace halvorn::doors {

struct DesktopEntryLines {
    QString group;
    std::vector<std::pair<QString, QString>> keys; // as written, in order
};

// The entry split into its group and keys; what breaks a rule goes to `broken`.
DesktopEntryLines ParseDesktopEntry(const QByteArray& text, QStringList& broken);

// A string value with its escapes (\s \n \t \r \\) undone; none when it
// holds another escape.
std::optional<QString> UnescapeDesktopString(const QString& value);

// The arguments of an Exec value (already unescaped as a string), with
// quoting undone and "%%" read as "%"; a field code stays as written ("%f").
// None when the quoting breaks the rules.
std::optional<QStringList> ExecArguments(const QString& exec, QStringList& broken);

} // namespace halvorn::doors
