#include "app/HalvornApplication.h"
#include "app/Startup.h"
#include "desktop/ApplicationId.h"
#include "desktop/ProgramIcon.h"
#include "library/DetachedWork.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    halvorn::HalvornApplication app(argc, argv);
    // The desktop matches the window to the installed launcher by this name,
    // so the task bar shows the launcher's icon and name.
    app.setDesktopFileName(QString::fromLatin1(halvorn::ApplicationId));
    app.setWindowIcon(halvorn::ProgramWindowIcon());
    if (!halvorn::Main())
        return 1;
    const int code = app.exec();
    // A palette thread may still hang in a call on a dead share, or come back
    // from a slow one into objects the program's end destroys: the program
    // ends without destroying them. Settings are on disk already (every
    // change is written when made) and the window is gone.
    if (halvorn::DetachedWorkRunning() > 0) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
