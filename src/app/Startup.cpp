#include "app/Startup.h"

#include "app/HalvornApplication.h"
#include "app/frmMain.h"
#include "desktop/FileTypeRegistration.h"
#include "desktop/MapDocumentType.h"
#include "desktop/frmSplash.h"
#include "imaging/AppError.h"
#include "imaging/Imaging.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace halvorn {

bool Main()
{
    RunSplash(GetSetting(QLatin1String(keys::ShowSplash), QLatin1String(defaults::ShowSplash)));
    try {
        MainWindow = new frmMain();
    } catch (const AppError& e) {
        // Without the imaging layer nothing can be drawn: say why and stop.
        QMessageBox::critical(nullptr, QStringLiteral("Halvorn III"), e.Description());
        return false;
    }
    MainWindow->setAttribute(Qt::WA_DeleteOnClose);
    MainWindow->show();
    const bool registered =
        RegisterFileType(QString::fromLatin1(MapExtension), QCoreApplication::applicationFilePath(),
                         AppPath() + QStringLiteral("hvm.png"), QString::fromLatin1(MapClassName),
                         QString::fromLatin1(MapDescription));
    Q_UNUSED(registered); // a failed registration changes nothing at start-up
    return true;
}

} // namespace halvorn
