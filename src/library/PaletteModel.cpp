#include "library/PaletteModel.h"

#include <algorithm>

namespace halvorn {

PaletteModel::PaletteModel(QObject* parent, std::size_t cacheBytes)
    : QObject(parent), cache_(std::make_shared<ThumbnailCache>(cacheBytes)), listing_(this),
      loader_(cache_, this)
{
    connect(&listing_, &TileListingJob::Listed, this, &PaletteModel::ListingArrived);
    connect(&loader_, &ThumbnailLoader::Delivered, this, &PaletteModel::Delivered);
}

void PaletteModel::Open(BrushKind kind, const QString& folder, QColor background)
{
    Close();
    open_ = true;
    kind_ = kind;
    background_ = background;
    preferred_ = 0;
    Paths(kind).clear();
    listing_.Start(folder);
}

void PaletteModel::ListingArrived(const QStringList& paths)
{
    QStringList& shown = Paths(kind_);
    shown = paths;
    entries_.reserve(static_cast<size_t>(paths.size()));
    std::vector<ThumbnailRequest> requests;
    requests.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths) {
        const int id = static_cast<int>(entries_.size());
        entries_.push_back({id, QImage()});
        requests.push_back({id, path});
    }
    const bool empty = requests.empty();
    // Started before anyone hears of the entries, so what they prefer on
    // hearing it counts; the view asked for while listing is made first.
    if (!empty)
        loader_.Start(kind_, background_, std::move(requests),
                      std::min(preferred_, static_cast<int>(entries_.size()) - 1));
    emit Listed();
    if (empty)
        emit Filled();
}

void PaletteModel::Prefer(int index)
{
    if (IsListing())
        preferred_ = std::max(0, index);
    else if (index >= 0 && index < Count())
        loader_.Prefer(entries_[static_cast<size_t>(index)].id);
}

void PaletteModel::Close()
{
    listing_.Stop();
    loader_.Stop();
    open_ = false;
    entries_.clear();
    entries_.shrink_to_fit();
    emit Closed();
}

QImage PaletteModel::Thumbnail(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return entries_[static_cast<size_t>(index)].thumbnail;
}

bool PaletteModel::IsConfirmed(int index) const
{
    return !Thumbnail(index).isNull();
}

void PaletteModel::Drop(int index)
{
    if (index < 0 || index >= Count())
        return;
    Remove(index);
    emit Changed(true);
}

void PaletteModel::Remove(int index)
{
    entries_.erase(entries_.begin() + index);
    Paths(kind_).removeAt(index);
}

const QStringList& PaletteModel::PathsOf(BrushKind kind) const
{
    return kind == BrushKind::Object ? objectPaths_ : tilePaths_;
}

QStringList& PaletteModel::Paths(BrushKind kind)
{
    return kind == BrushKind::Object ? objectPaths_ : tilePaths_;
}

void PaletteModel::ClearPaths(BrushKind kind)
{
    Paths(kind).clear();
}

int PaletteModel::IndexOf(int id) const
{
    // Entries stay in listing order, so their ids only grow.
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), id,
                                     [](const Entry& e, int wanted) { return e.id < wanted; });
    return at != entries_.end() && at->id == id ? static_cast<int>(at - entries_.begin()) : -1;
}

void PaletteModel::Delivered(const std::vector<ThumbnailResult>& results)
{
    bool dropped = false;
    for (const ThumbnailResult& result : results) {
        const int index = IndexOf(result.entry);
        // Dropped since (a pick found it unreadable first).
        if (index < 0 || IsConfirmed(index))
            continue;
        if (result.thumbnail.isNull()) {
            Remove(index);
            dropped = true;
        } else {
            entries_[static_cast<size_t>(index)].thumbnail = result.thumbnail;
        }
    }
    emit Changed(dropped);
    if (!loader_.Busy())
        emit Filled();
}

} // namespace halvorn
