// The application object: the last net under every event handler. A failure
// that reaches it is shown to the user once the failing event has returned,
// and the program keeps running with the map as it was.
#pragma once

#include <QApplication>

namespace halvorn {

class HalvornApplication : public QApplication {
    Q_OBJECT
public:
    HalvornApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows a failure's description in a message box, after the current event.
    static void ReportLater(const QString& description);
};

} // namespace halvorn
