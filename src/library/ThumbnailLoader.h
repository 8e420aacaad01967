// Makes palette thumbnails on worker threads, one per core, while the user
// goes on working. The workers only decode files and draw thumbnails; they
// never touch the imaging layer's picture table or any widget. Results come
// back on the thread that owns the loader, in batches.
//
// Every hand-over between the threads goes through the standard library's
// mutex and condition variable, none through Qt's event queue: the thread
// checker sees all of them, so the palette runs in its build like the rest.
#pragma once

#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
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
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Waits for the workers, which stop after the picture each is on.
    ~ThumbnailLoader() override;

    // Abandons any earlier work and starts on `requests`.
    void Start(BrushKind kind, QColor background, std::vector<ThumbnailRequest> requests);
    // The entries from `entry` on are made next (the ones that came into
    // view), then the rest from the first.
    void Prefer(int entry);
    // Abandons the work; nothing more is delivered for it. Returns once every
    // worker has finished the picture it was on.
    void Stop();
    // True until every request started has been delivered or stopped.
    bool Busy() const { return busy_; }

signals:
    // On the owner's thread. The last batch of a job comes with Busy() false.
    void Delivered(const std::vector<ThumbnailResult>& results);

private:
    void Work();
    void Drain();
    // The next request to make, or none when all are taken. Under mutex_.
    const ThumbnailRequest* Take();

    std::mutex mutex_;             // guards everything down to workers_
    std::condition_variable wake_; // a job started, or the workers are to quit
    bool quit_ = false;
    unsigned job_ = 0; // a worker's picture of an earlier job is thrown away
    BrushKind kind_ = BrushKind::Floor;
    QColor background_;
    std::vector<ThumbnailRequest> requests_;
    std::vector<bool> taken_;
    size_t untaken_ = 0;
    size_t next_ = 0;   // where the next search for an untaken request starts
    size_t lowest_ = 0; // every request before this one is taken
    std::vector<ThumbnailResult> ready_;

    // The owner's thread only.
    std::vector<std::thread> workers_;
    size_t requested_ = 0;
    size_t delivered_ = 0;
    bool busy_ = false;
    QTimer drainTimer_;
};

} // namespace halvorn
