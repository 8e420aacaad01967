// Makes palette thumbnails on worker threads, one per core, while the user
// goes on working. The workers only decode files and draw thumbnails; they
// never touch the imaging layer's picture table or any widget. Results come
// back on the thread that owns the loader, in batches.
#pragma once

#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>

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
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Waits for the workers, which stop after the picture each is on.
    ~ThumbnailLoader() override;

    // Abandons any earlier work and starts on `requests`.
    void Start(BrushKind kind, QColor background, std::vector<ThumbnailRequest> requests);
    // The entries from `entry` on are made next (the ones that came into
    // view), then the rest from the first.
    void Prefer(int entry);
    // Abandons the work; nothing more is delivered for it.
    void Stop();
    // True until every request started has been delivered or stopped.
    bool Busy() const { return job_ != nullptr; }

signals:
    // On the owner's thread. The last batch of a job comes with Busy() false.
    void Delivered(const std::vector<ThumbnailResult>& results);

private:
    struct Job;
    void Work(const std::shared_ptr<Job>& job);
    void Drain(const std::shared_ptr<Job>& job);

    QThreadPool pool_;
    std::shared_ptr<Job> job_;
};

} // namespace halvorn
