// Helpers shared by the tests: solid-colour pictures and answering modal boxes.
#pragma once

#include <QApplication>
#include <QColor>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <vector>

namespace testsupport {

// A private settings and data home inside `home`, so that no test touches the
// user's files, and the headless platform unless one is chosen. Must come
// before the application and the first QSettings or QStandardPaths lookup.
inline bool UsePrivateHome(const QTemporaryDir& home)
{
    if (!home.isValid())
        return false;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file under `root`, hidden ones too, by relative path: what a failed
// write must leave exactly as it was.
inline std::map<QString, QByteArray> Snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(root).relativeFilePath(path)] = ReadAll(path);
    }
    return files;
}

inline QImage SolidImage(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

inline bool WritePng(const QString& path, int w, int h, QColor c)
{
    return SolidImage(w, h, c).save(path, "PNG");
}

// The tests' one generated picture. Every pixel differs from its neighbours,
// so a shifted, scaled, turned or re-encoded copy cannot pass for it; `seed`
// makes pictures of one size differ. Translucent ones have a clear top-left
// quarter and a soft edge of partial alpha, which keeps blending, shadows
// and smooth scaling of partly transparent pixels in play. Noisy ones have
// random colours instead (from `seed`): their PNG hardly compresses.
enum class Alpha { Opaque, Translucent };
inline QImage Picture(int w, int h, int seed = 0, Alpha alpha = Alpha::Opaque, bool noisy = false)
{
    QRandomGenerator random(static_cast<quint32>(seed));
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int a = 255;
            if (alpha == Alpha::Translucent) {
                const int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
                a = x < w / 4 && y < h / 4 ? 0 : std::min(255, 60 + edge * 40);
            }
            const QRgb noise = noisy ? random.generate() : 0;
            img.setPixel(x, y,
                         noisy ? qRgba(qRed(noise), qGreen(noise), qBlue(noise), a)
                               : qRgba((x * 7 + seed * 40) % 256, (y * 13 + seed * 90) % 256,
                                       ((x + y) * 3 + seed * 13) % 256, a));
        }
    return img;
}

// What one modal message box said; compared and printed whole.
struct BoxRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool operator==(const BoxRecord&) const = default;
};
inline void PrintTo(const BoxRecord& box, std::ostream* os)
{
    *os << '{' << box.title.toStdString() << " | " << box.text.toStdString() << " | icon "
        << box.icon << '}';
}
// A box with the warning sign, as the program shows its questions and errors.
inline BoxRecord WarningBox(const QString& title, const QString& text)
{
    return {title, text, QMessageBox::Warning};
}
// The Error box the program shows for a failure.
inline BoxRecord ErrorBox(const QString& text)
{
    return WarningBox(QStringLiteral("Error"), text);
}

// Runs `action`; each modal widget that becomes active meanwhile is handed to
// `answer` once (again when it becomes active again after another one). One
// the answer left open is rejected after a while, so a broken test fails
// instead of waiting forever.
inline void DriveModals(const std::function<void()>& action,
                        const std::function<void(QWidget*)>& answer)
{
    QTimer timer;
    timer.setInterval(10);
    QPointer<QWidget> answered;
    int ticksOpen = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != answered) {
            answered = modal;
            ticksOpen = 0;
            answer(modal);
        } else if (modal && ++ticksOpen > 500) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer.start();
    action();
    timer.stop();
}

// The button of `box` that gives `answer`, or the box's only button when it
// has none such.
inline QAbstractButton* AnswerButton(const QMessageBox& box, QMessageBox::StandardButton answer)
{
    QAbstractButton* b = box.button(answer);
    return b ? b : box.buttons().value(0);
}

// Records a message box and clicks `button`, or the box's only button.
inline void Answer(QMessageBox& box, std::vector<BoxRecord>& seen,
                   QMessageBox::StandardButton button)
{
    seen.push_back({box.windowTitle(), box.text(), box.icon()});
    AnswerButton(box, button)->click();
}

// Answers every QMessageBox that appears while `action` runs with `answer`,
// recording what each box said; other modal windows are left to the action.
inline std::vector<BoxRecord> AnswerBoxes(const std::function<void()>& action,
                                          QMessageBox::StandardButton answer)
{
    std::vector<BoxRecord> seen;
    DriveModals(action, [&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            Answer(*box, seen, answer);
    });
    return seen;
}

// A wheel turn of `angle` (and a touchpad's `pixels`) over `at` in `target`,
// straight to it as the window system delivers it; true when `target` took it.
inline bool SendWheel(QWidget* target, QPointF at, QPoint angle,
                      Qt::KeyboardModifiers modifiers = {}, QPoint pixels = {})
{
    QWheelEvent e(at, target->mapToGlobal(at), pixels, angle, Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
    return e.isAccepted();
}

// Mouse input straight to `target`, with the buttons held, as the window
// system delivers it to the widget that holds the mouse (QTest would move a
// press at (0, 0) to the widget's centre).
inline void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons held, QPointF at)
{
    QMouseEvent e(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

// Writes `bytes` to `path`, making its folder first; false when it cannot.
inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Sets an environment variable for the scope and gives back the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name), saved_(qgetenv(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv() { qputenv(name_, saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    QByteArray saved_;
};

// The background refresh of the desktop's caches, while it runs.
inline QObject* RunningDesktopRefresh()
{
    return QCoreApplication::instance()->findChild<QObject*>(
        QStringLiteral("DesktopDatabaseRefresh"), Qt::FindDirectChildrenOnly);
}

// Lets that refresh end; false when it still runs after `ms`.
inline bool WaitForDesktopRefresh(int ms = 20000)
{
    const QPointer<QObject> refresh = RunningDesktopRefresh();
    const QDeadlineTimer deadline(ms);
    while (refresh && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(20);
    }
    return refresh.isNull();
}

// Every name in `folder`, hidden ones included, sorted.
inline QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace testsupport
