#include "desktop/frmSplash.h"

#include "desktop/ArtworkView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace halvorn {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ArtworkView(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen();
}

void frmSplash::CentreOnScreen()
{
    adjustSize();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
}

bool RunSplash(const QString& showSplashSetting)
{
    return RunSplash(showSplashSetting, [](frmSplash&) { QThread::msleep(1000); });
}

bool RunSplash(const QString& showSplashSetting, const std::function<void(frmSplash&)>& hold)
{
    // Only the exact text "1" turns the splash on; the setting is stored as
    // text and anything else, even "1 " or "yes", means no splash.
    if (showSplashSetting != QLatin1String("1"))
        return false;
    auto splash = std::make_unique<frmSplash>();
    splash->show();
    // The wait below blocks the event loop, so the picture has to be on
    // screen before it starts. A window manager maps the window a moment
    // after show(); give it that moment, but never more than half a second.
    QElapsedTimer mapping;
    mapping.start();
    while (!(splash->windowHandle() && splash->windowHandle()->isExposed()) &&
           mapping.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (hold)
        hold(*splash);
    splash->close();
    return true;
}

} // namespace halvorn
