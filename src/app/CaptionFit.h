// Frame titles of the fixed layout kept whole at the desktop's font size.
#pragma once

class QWidget;

namespace halvorn {

// Steps the font of every group box under `root` down, half a point at a
// time and never below 6 pt, until its title fits the box's design width
// even in bold (desktop styles such as Adwaita draw frame titles bold).
void FitFrameTitles(QWidget* root);

} // namespace halvorn
