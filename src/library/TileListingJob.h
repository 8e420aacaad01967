// Lists a tile folder (ListTileNames) on a thread of its own, so the
// user-interface thread never waits for the folder, however slow the storage
// or dead the share. The listing comes back on the owner's thread.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace halvorn {

class TileListingJob : public QObject {
    Q_OBJECT
public:
    explicit TileListingJob(QObject* parent = nullptr);
    // Abandons the listing, as Stop does.
    ~TileListingJob() override;

    // Abandons any earlier listing and starts on `folder`.
    void Start(const QString& folder);
    // Nothing more is delivered for the listing going on; returns at once,
    // even while the thread hangs in a call.
    void Stop();
    // True from Start until the listing is delivered or stopped.
    bool Busy() const { return busy_; }

signals:
    // On the owner's thread, with Busy() false.
    void Listed(const QStringList& paths);

private:
    struct Outcome;
    void Poll();

    std::shared_ptr<Outcome> outcome_; // shared with the listing's thread
    bool busy_ = false;
    QTimer pollTimer_;
};

} // namespace halvorn
