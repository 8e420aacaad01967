// Prepared pictures (turned copies, shadows, scaled pieces) kept for reuse,
// within a budget of bytes: the least recently used go first. Pictures are
// handed out by value; Qt shares their pixels, so one that is evicted while
// a caller still holds it stays valid for that caller.
#pragma once

#include <QImage>

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace halvorn {

template <typename Key>
class ImageCache {
public:
    explicit ImageCache(std::size_t budgetBytes) : budget_(budgetBytes) {}

    // The picture kept for `key`, or what `make` draws for it, which is then
    // kept when it fits the budget at all.
    QImage Get(const Key& key, const std::function<QImage()>& make)
    {
        if (std::optional<QImage> kept = Find(key))
            return *std::move(kept);
        // Drawn without the lock: two threads may draw the same picture once
        // each, which costs time but never a wrong picture.
        QImage image = make();
        Put(key, image);
        return image;
    }

    // The picture kept for `key`, now the most recently used; nothing when
    // none is kept.
    std::optional<QImage> Find(const Key& key)
    {
        const std::lock_guard lock(mutex_);
        const auto found = entries_.find(key);
        if (found == entries_.end())
            return std::nullopt;
        order_.splice(order_.begin(), order_, found->second.used);
        return found->second.image;
    }

    // Keeps `image` for `key` when it fits the budget at all, making room by
    // dropping the least recently used; a key already kept keeps its picture.
    void Put(const Key& key, const QImage& image)
    {
        const std::lock_guard lock(mutex_);
        const std::size_t size = static_cast<std::size_t>(image.sizeInBytes());
        if (size > budget_ || entries_.count(key) != 0)
            return;
        while (bytes_ + size > budget_)
            EvictOldest();
        order_.push_front(key);
        entries_.emplace(key, Entry{image, order_.begin()});
        bytes_ += size;
    }

    void Clear()
    {
        const std::lock_guard lock(mutex_);
        entries_.clear();
        order_.clear();
        bytes_ = 0;
    }

    std::size_t Bytes() const
    {
        const std::lock_guard lock(mutex_);
        return bytes_;
    }
    std::size_t Budget() const { return budget_; }

private:
    struct Entry {
        QImage image;
        typename std::list<Key>::iterator used;
    };

    void EvictOldest()
    {
        const auto oldest = entries_.find(order_.back());
        bytes_ -= static_cast<std::size_t>(oldest->second.image.sizeInBytes());
        entries_.erase(oldest);
        order_.pop_back();
    }

    const std::size_t budget_;
    mutable std::mutex mutex_;
    std::size_t bytes_ = 0;
    std::list<Key> order_; // most recently used first
    std::map<Key, Entry> entries_;
};

} // namespace halvorn
