// A seam for tests and benchmarks: every call the palette makes on the
// user's tile folders (opening the folder, reading its next entry, examining
// a file, reading a picture) first asks the hook, which may delay the call as
// slow storage does, hold it as a dead share does, or make it fail as a
// failing disk does. Without a hook the calls go straight through. The hook
// is asked on whichever thread makes the call.
#pragma once

#include <QString>

#include <functional>

namespace halvorn::foldercalls {

enum class Call {
    OpenFolder,
    ReadFolder, // one entry of the folder, or its end
    Examine,    // the file's type and identity
    ReadPicture,
};

// 0 lets the call go on; an errno makes it fail with that number.
using Hook = std::function<int(Call call, const QString& path)>;

// An empty hook lets every call through. A call already inside the old hook
// finishes there.
void SetHook(Hook hook);

// What the hook answers for this call; 0 without a hook.
int Before(Call call, const QString& path);

} // namespace halvorn::foldercalls
