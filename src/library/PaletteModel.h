// What the open palette shows, without any widget: the pictures listed from
// the kind's folder, each one's thumbnail as soon as it is made, and the path
// lists the panes are read by. Listing is done afresh at every opening;
// thumbnails of files unchanged since an earlier opening come from the cache,
// the others are made by the loader's workers, those in view first. A picture
// found unreadable takes no cell: the entries after it move up one.
//
// Floors and walls share one path list, which holds the entries of whichever
// of the two was opened last; objects have their own.
#pragma once

#include "library/PaletteLayout.h"
#include "library/Thumbnail.h"
#include "library/ThumbnailLoader.h"
#include "library/TileListing.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>

#include <vector>

namespace halvorn {

class PaletteModel : public QObject {
    Q_OBJECT
public:
    explicit PaletteModel(QObject* parent = nullptr, std::size_t cacheBytes = ThumbnailCacheBytes);

    // Lists `folder` as the kind's entries, with the thumbnails the cache
    // already holds; nothing is decoded yet. Stops the work of the palette
    // open before.
    void Open(BrushKind kind, const QString& folder, QColor background);
    // Makes the thumbnails of the entries in `visible` that are still
    // missing, here and now; entries found unreadable are dropped, so the
    // range is filled with readable ones. True when something was dropped:
    // the caller's view of what is visible may have changed.
    bool MakeNow(CellRange visible);
    // Hands every thumbnail still missing to the workers, those from
    // `preferred` on first.
    void StartFilling(int preferred);
    // The entries from `index` on came into view: they are made next.
    void Prefer(int index);
    // Stops the work and lets the thumbnails go (the cache keeps them); the
    // path list stays as it is.
    void Close();

    bool IsOpen() const { return open_; }
    BrushKind Kind() const { return kind_; }
    bool IsFilling() const { return loader_.Busy(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    // Null while the entry's thumbnail is still being made.
    QImage Thumbnail(int index) const;
    // Whether the entry's picture has been read and found good.
    bool IsConfirmed(int index) const;
    // Takes out an entry whose picture proved unreadable elsewhere.
    void Drop(int index);

    const QStringList& PathsOf(BrushKind kind) const;
    void ClearPaths(BrushKind kind);

    const ThumbnailCache& Cache() const { return cache_; }

signals:
    // Thumbnails arrived; `countChanged` when entries were dropped too.
    void Changed(bool countChanged);
    // The last missing thumbnail arrived (or proved unreadable).
    void Filled();

private:
    struct Entry {
        int id; // position in the listing, which the workers know it by
        TileFile file;
        QImage thumbnail;
    };
    QStringList& Paths(BrushKind kind);
    ThumbnailKey KeyOf(const Entry& entry) const;
    // Where the entry of listing position `id` is now; -1 when dropped.
    int IndexOf(int id) const;
    bool Accept(int index, QImage thumbnail);
    void Delivered(const std::vector<ThumbnailResult>& results);

    ThumbnailCache cache_;
    ThumbnailLoader loader_;
    bool open_ = false;
    BrushKind kind_ = BrushKind::Floor;
    QColor background_;
    std::vector<Entry> entries_;
    QStringList tilePaths_;
    QStringList objectPaths_;
};

} // namespace halvorn
