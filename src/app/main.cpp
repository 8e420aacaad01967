#include "app/HalvornApplication.h"
#include "app/Startup.h"
#include "desktop/ApplicationId.h"
#include "desktop/ProgramIcon.h"

int main(int argc, char** argv)
{
    halvorn::HalvornApplication app(argc, argv);
    // The desktop matches the window to the installed launcher by this name,
    // so the task bar shows the launcher's icon and name.
    app.setDesktopFileName(QString::fromLatin1(halvorn::ApplicationId));
    app.setWindowIcon(halvorn::ProgramWindowIcon());
    if (!halvorn::Main())
        return 1;
    return app.exec();
}
