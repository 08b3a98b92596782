#include "skin/stored/SkinStore.h"

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection, int id)
    : collection_(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    if (collection_.NameInUse(name, this)) throw ESkinStoreError(Format(ErrorText::SkinNameInUse, name.c_str()));
    name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& source) {
    if (&source == this) return;
    SetName(source.name_);
    data_.Clear();
    const std::vector<uint8_t>& bytes = source.data_.Bytes();
    if (!bytes.empty()) data_.WriteBuffer(bytes.data(), bytes.size());
}

void TSkinCollectionItem::WriteData(TStream& target) const {
    const std::vector<uint8_t>& bytes = data_.Bytes();
    if (!bytes.empty()) target.WriteBuffer(bytes.data(), bytes.size());
}

void TSkinCollectionItem::ReadData(TStream& source) {
    data_.Clear();
    std::vector<uint8_t> bytes = source.ReadRemaining();
    if (!bytes.empty()) data_.WriteBuffer(bytes.data(), bytes.size());
}

TSkinCollectionItem& TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(*this, nextId_++));
    return *items_.back();
}

void TSkinCollection::Delete(int index) {
    Items(index);  // range check
    items_.erase(items_.begin() + index);
}

bool TSkinCollection::NameInUse(const std::string& name, const TSkinCollectionItem* except) const {
    for (const auto& item : items_) {
        if (item.get() != except && item->Name() == name) return true;
    }
    return false;
}

void TSkinCollection::Assign(const TSkinCollection& source) {
    if (&source == this) return;
    Clear();
    for (const auto& sourceItem : source.items_) {
        TSkinCollectionItem& item = Add();
        // The source's names are unique among themselves; a fresh item's default name may
        // still equal one of them, so the name is taken over directly.
        item.name_ = sourceItem->Name();
        item.Assign(*sourceItem);
    }
}
