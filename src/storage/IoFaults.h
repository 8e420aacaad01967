// A seam for tests only: makes one I/O call of WriteFileSafely fail as a
// failing disk would, so that every call's failure path can be run in turn.
// Calls are counted from 1 after Arm(); the clean-up after a failure is not
// counted, nor failed.
#pragma once

namespace halvorn::iofaults {

enum class Fault {
    Fail, // the call does nothing and fails with the given errno
    Lie,  // a write stores one byte less than asked and reports it all written
};

// The n-th call from now fails; n = 0 counts the calls and fails none.
void Arm(int n, int error, Fault fault = Fault::Fail);
// Back to normal running, nothing counted.
void Disarm();
// The calls counted since Arm().
int CallsMade();

} // namespace halvorn::iofaults
