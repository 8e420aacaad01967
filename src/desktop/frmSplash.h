// The start-up splash: a frameless window showing only the product picture,
// centred on the screen.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace halvorn {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Moves the window to the middle of the screen it is on.
    void CentreOnScreen();
};

// Shows the splash for one second when the "show splash" setting text is
// exactly "1" ("0", "", "yes", "1 " and everything else skip it, with no
// wait). The splash is painted at once, the UI thread is blocked for 1000 ms,
// then the splash is closed and destroyed. The caller reads the setting.
// Returns whether the splash was shown.
bool RunSplash(const QString& showSplashSetting);

// The same, with the wait replaced by `hold`, which is called while the
// splash is on screen (the tests look at the window there).
bool RunSplash(const QString& showSplashSetting, const std::function<void(frmSplash&)>& hold);

} // namespace halvorn
