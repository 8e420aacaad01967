// The message boxes the output commands show.
#pragma once

#include <QString>

class QWidget;

namespace halvorn {

// "Error" box with the warning icon and an OK button.
void ShowOutputError(QWidget* parent, const QString& text);

// The overwrite question; true when the user answers Yes.
bool ConfirmOverwrite(QWidget* parent);

} // namespace halvorn
