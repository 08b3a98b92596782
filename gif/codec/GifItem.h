#pragma once
// The common base of the blocks of a GIF picture (header, frames, trailer, extensions) and
// the owning list they live in. Every item knows the picture it belongs to, so it can report
// warnings and reach the picture's header and settings.
#include <cstddef>
#include <memory>
#include <vector>

#include "base/Streams.h"

class TGIFImageModel;

enum class TGIFVersion { Unknown, V87a, V89a };

class TGIFItem {
public:
    explicit TGIFItem(TGIFImageModel* image) : image_(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImageModel* Image() const { return image_; }
    // The lowest format version able to hold this item.
    virtual TGIFVersion Version() const { return TGIFVersion::V87a; }
    virtual void SaveToStream(TStream& stream) const = 0;

protected:
    // Passes a recoverable oddity to the picture's warning hook.
    void Warning(const char* message) const;

private:
    TGIFImageModel* image_;
};

// An ordered list that owns its items.
template <typename Item>
class TGIFList {
public:
    explicit TGIFList(TGIFImageModel* image) : image_(image) {}
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    TGIFImageModel* Image() const { return image_; }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    Item& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }
    Item* First() const { return items_.empty() ? nullptr : items_.front().get(); }

    Item& Add(std::unique_ptr<Item> item) {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    // Takes the item out of the list and gives it to the caller.
    std::unique_ptr<Item> Extract(int index) {
        std::unique_ptr<Item> item = std::move(items_[static_cast<size_t>(index)]);
        items_.erase(items_.begin() + index);
        return item;
    }
    void Clear() { items_.clear(); }
    int IndexOf(const Item* item) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == item) return static_cast<int>(i);
        return -1;
    }
    void SaveToStream(TStream& stream) const {
        for (const auto& item : items_) item->SaveToStream(stream);
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    TGIFImageModel* image_;
    std::vector<std::unique_ptr<Item>> items_;
};

// Stands for the trailer byte 0x3B.
class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    static constexpr uint8_t Trailer = 0x3B;
    void SaveToStream(TStream& stream) const override;
};
