// The program's start: the optional splash, the one main window, and the
// document-type registration once the window is up.
#pragma once

namespace halvorn {

// Runs the start-up sequence; returns false when the program cannot run.
bool Main();

} // namespace halvorn
