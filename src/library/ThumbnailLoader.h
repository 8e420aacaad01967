// Makes palette thumbnails on worker threads while the user goes on working.
// The workers examine and decode files and draw thumbnails; they never touch
// the imaging layer's picture table or any widget. Results come back on the
// thread that owns the loader, in batches.
//
// The workers of a job are never waited for: stopping abandons the job, and
// a worker hanging in a call on a dead share stays behind, alone with the
// job's shared state, and ends whenever its call returns.
//
// Every hand-over between the threads goes through the standard library's
// mutex, none through Qt's event queue: the thread checker sees all of them,
// so the palette runs in its build like the rest.
#pragma once

#include "library/Thumbnail.h"
#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <memory>
#include <vector>

namespace halvorn {

struct ThumbnailRequest {
    int entry = 0; // the caller's number for the picture; requests come in increasing order
    QString path;
};

struct ThumbnailResult {
    int entry = 0;
    QImage thumbnail; // null: the picture was refused
};

class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    // Thumbnails of unchanged files are taken from `cache`, and the ones made
    // are put there; without a cache every one is made.
    explicit ThumbnailLoader(std::shared_ptr<ThumbnailCache> cache = nullptr,
                             QObject* parent = nullptr);
    // Abandons the work, as Stop does.
    ~ThumbnailLoader() override;

    // Abandons any earlier work and starts on `requests`, from entry
    // `preferred` on (see Prefer).
    void Start(BrushKind kind, QColor background, std::vector<ThumbnailRequest> requests,
               int preferred = 0);
    // The entries from `entry` on are made next (the ones that came into
    // view), then the rest from the first.
    void Prefer(int entry);
    // Abandons the work; nothing more is delivered for it. Returns at once,
    // whatever the workers are on.
    void Stop();
    // True until every request started has been delivered or stopped.
    bool Busy() const { return busy_; }

signals:
    // On the owner's thread. The last batch of a job comes with Busy() false.
    void Delivered(const std::vector<ThumbnailResult>& results);

private:
    struct Job;
    void Drain();

    std::shared_ptr<ThumbnailCache> cache_;
    std::shared_ptr<Job> job_; // shared with its workers
    bool threadless_ = false;  // no worker could be started: the owner makes them
    size_t requested_ = 0;
    size_t delivered_ = 0;
    bool busy_ = false;
    QTimer drainTimer_;
};

} // namespace halvorn
