#include "desktop/DesktopDatabases.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace halvorn {
namespace {

constexpr int FinishMs = 5000;

} // namespace

DesktopDatabaseRefresh::DesktopDatabaseRefresh(std::vector<Step> steps, QObject* parent)
    : QObject(parent), steps_(std::move(steps))
{
    setObjectName(QStringLiteral("DesktopDatabaseRefresh"));
    StartNext();
}

DesktopDatabaseRefresh::~DesktopDatabaseRefresh()
{
    // Leaving the program while a tool runs: the tool is stopped, and the
    // process object (a child) reaps it without a long wait.
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->disconnect(this);
        process_->kill();
    }
}

void DesktopDatabaseRefresh::Queue(const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        const auto waiting = steps_.begin() + static_cast<std::ptrdiff_t>(next_);
        if (std::find(waiting, steps_.end(), step) == steps_.end())
            steps_.push_back(step);
    }
}

void DesktopDatabaseRefresh::StartNext()
{
    if (next_ >= steps_.size()) {
        // Ended: a refresh asked for from here on starts afresh.
        setObjectName(QString());
        deleteLater();
        return;
    }
    const Step& step = steps_[next_++];
    process_ = new QProcess(this);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    // Both a normal end and a failure to start move on to the next tool.
    connect(process_, &QProcess::finished, this, &DesktopDatabaseRefresh::Finished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Finished();
    });
    // A stuck tool is stopped rather than left to linger.
    QTimer::singleShot(FinishMs, process_, [p = process_] { p->kill(); });
    process_->start(step.first, step.second);
}

void DesktopDatabaseRefresh::Finished()
{
    if (!process_)
        return;
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
    StartNext();
}

QObject* RefreshDesktopDatabases(const QString& dataHome)
{
    std::vector<DesktopDatabaseRefresh::Step> steps;
    const std::pair<const char*, const char*> tools[] = {
        {"update-mime-database", "/mime"},
        {"update-desktop-database", "/applications"},
    };
    for (const auto& [tool, folder] : tools) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!program.isEmpty())
            steps.emplace_back(program, QStringList{dataHome + QLatin1String(folder)});
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (steps.empty() || !app)
        return nullptr;
    if (auto* running = app->findChild<DesktopDatabaseRefresh*>(
            QStringLiteral("DesktopDatabaseRefresh"), Qt::FindDirectChildrenOnly)) {
        running->Queue(steps);
        return running;
    }
    return new DesktopDatabaseRefresh(std::move(steps), app);
}

} // namespace halvorn
