#include "library/PaletteModel.h"

#include <algorithm>

namespace halvorn {

PaletteModel::PaletteModel(QObject* parent, std::size_t cacheBytes)
    : QObject(parent), cache_(cacheBytes), loader_(this)
{
    connect(&loader_, &ThumbnailLoader::Delivered, this, &PaletteModel::Delivered);
}

void PaletteModel::Open(BrushKind kind, const QString& folder, QColor background)
{
    Close();
    open_ = true;
    kind_ = kind;
    background_ = background;
    std::vector<TileFile> files = ListTileFolder(folder);
    entries_.reserve(files.size());
    QStringList& paths = Paths(kind);
    paths.clear();
    paths.reserve(static_cast<qsizetype>(files.size()));
    for (TileFile& file : files) {
        paths.push_back(file.path);
        Entry entry{static_cast<int>(entries_.size()), std::move(file), QImage()};
        entry.thumbnail = cache_.Find(KeyOf(entry)).value_or(QImage());
        entries_.push_back(std::move(entry));
    }
}

bool PaletteModel::MakeNow(CellRange visible)
{
    bool dropped = false;
    for (int index = std::max(0, visible.first); index < std::min(visible.end, Count());) {
        if (!entries_[static_cast<size_t>(index)].thumbnail.isNull()) {
            ++index;
            continue;
        }
        // A dropped entry's place is taken by the next one, which is looked
        // at in its turn.
        if (Accept(index, MakeThumbnail(kind_, entries_[static_cast<size_t>(index)].file.path,
                                        background_)))
            ++index;
        else
            dropped = true;
    }
    return dropped;
}

void PaletteModel::StartFilling(int preferred)
{
    std::vector<ThumbnailRequest> requests;
    for (const Entry& entry : entries_)
        if (entry.thumbnail.isNull())
            requests.push_back({entry.id, entry.file.path});
    if (requests.empty()) {
        emit Filled();
        return;
    }
    loader_.Start(kind_, background_, std::move(requests));
    Prefer(preferred);
}

void PaletteModel::Prefer(int index)
{
    if (index >= 0 && index < Count())
        loader_.Prefer(entries_[static_cast<size_t>(index)].id);
}

void PaletteModel::Close()
{
    loader_.Stop();
    open_ = false;
    entries_.clear();
    entries_.shrink_to_fit();
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

ThumbnailKey PaletteModel::KeyOf(const Entry& entry) const
{
    return {kind_, background_.rgba(), entry.file.identity};
}

int PaletteModel::IndexOf(int id) const
{
    // Entries stay in listing order, so their ids only grow.
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), id,
                                     [](const Entry& e, int wanted) { return e.id < wanted; });
    return at != entries_.end() && at->id == id ? static_cast<int>(at - entries_.begin()) : -1;
}

bool PaletteModel::Accept(int index, QImage thumbnail)
{
    if (thumbnail.isNull()) {
        Drop(index);
        return false;
    }
    Entry& entry = entries_[static_cast<size_t>(index)];
    cache_.Put(KeyOf(entry), thumbnail);
    entry.thumbnail = std::move(thumbnail);
    return true;
}

void PaletteModel::Delivered(const std::vector<ThumbnailResult>& results)
{
    bool dropped = false;
    for (const ThumbnailResult& result : results) {
        const int index = IndexOf(result.entry);
        // Made already here (it came into view), or dropped since.
        if (index < 0 || IsConfirmed(index))
            continue;
        dropped |= !Accept(index, result.thumbnail);
    }
    emit Changed(dropped);
    if (!loader_.Busy())
        emit Filled();
}

} // namespace halvorn
