// Threads that read the user's tile folders. They are never joined: one may
// hang in a call on a share whose server has gone, and nobody is to wait for
// it, neither a closing pane nor the program's end. Whatever such a thread
// works on it holds by shared pointer, so it may finish long after its owner
// has gone, and its result then goes nowhere.
#pragma once

#include <functional>

namespace halvorn {

// Runs `work` on a new detached thread; false when no thread can be had.
bool StartDetached(std::function<void()> work);

// How many of those threads have not yet ended. The program's end skips the
// destruction of static objects while any is left, which a thread coming
// back from a slow call could still use.
int DetachedWorkRunning();

} // namespace halvorn
