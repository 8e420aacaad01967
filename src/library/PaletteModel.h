// What the open palette shows, without any widget: the pictures listed from
// the kind's folder, each one's thumbnail as soon as it is made, and the path
// lists the panes are read by. The folder is listed afresh at every opening,
// on a thread of its own; the thumbnails are then made by the loader's
// workers, those in view first, taken from the cache for files unchanged
// since an earlier opening. Nothing here waits for the folder. A picture
// found unreadable (or not a file at all) takes no cell: the entries after
// it move up one.
//
// Floors and walls share one path list, which holds the entries of whichever
// of the two was opened last; objects have their own.
#pragma once

#include "library/Thumbnail.h"
#include "library/ThumbnailLoader.h"
#include "library/TileListingJob.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace halvorn {

class PaletteModel : public QObject {
    Q_OBJECT
public:
    explicit PaletteModel(QObject* parent = nullptr, std::size_t cacheBytes = ThumbnailCacheBytes);

    // Starts listing `folder` as the kind's entries and making their
    // thumbnails; returns at once, with no entries yet. Stops the work of the
    // palette open before.
    void Open(BrushKind kind, const QString& folder, QColor background);
    // The entries from `index` on came into view: they are made next.
    void Prefer(int index);
    // Stops the work and lets the thumbnails go (the cache keeps them); the
    // path list stays as it is.
    void Close();

    bool IsOpen() const { return open_; }
    BrushKind Kind() const { return kind_; }
    // True while the folder is being listed.
    bool IsListing() const { return listing_.Busy(); }
    // True until the last thumbnail has arrived or proved unreadable.
    bool IsFilling() const { return listing_.Busy() || loader_.Busy(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    // Null while the entry's thumbnail is still being made.
    QImage Thumbnail(int index) const;
    // Whether the entry's picture has been read and found good.
    bool IsConfirmed(int index) const;
    // Takes out an entry whose picture proved unreadable elsewhere; tells of
    // it as Changed(true).
    void Drop(int index);

    const QStringList& PathsOf(BrushKind kind) const;
    void ClearPaths(BrushKind kind);

    const ThumbnailCache& Cache() const { return *cache_; }

signals:
    // The listing arrived: the entries are there, no thumbnail yet.
    void Listed();
    // Thumbnails arrived; `countChanged` when entries were dropped too.
    void Changed(bool countChanged);
    // The last missing thumbnail arrived (or proved unreadable).
    void Filled();
    // The entries are gone: the palette closed, or it opens afresh and is
    // not listed yet.
    void Closed();

private:
    struct Entry {
        int id; // position in the listing, which the workers know it by
        QImage thumbnail;
    };
    QStringList& Paths(BrushKind kind);
    // Where the entry of listing position `id` is now; -1 when dropped.
    int IndexOf(int id) const;
    void Remove(int index);
    void ListingArrived(const QStringList& paths);
    void Delivered(const std::vector<ThumbnailResult>& results);

    std::shared_ptr<ThumbnailCache> cache_; // shared with the workers
    TileListingJob listing_;
    ThumbnailLoader loader_;
    bool open_ = false;
    BrushKind kind_ = BrushKind::Floor;
    QColor background_;
    int preferred_ = 0; // asked for before the listing arrived
    std::vector<Entry> entries_;
    QStringList tilePaths_;
    QStringList objectPaths_;
};

} // namespace halvorn
