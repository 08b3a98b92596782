#pragma once
// The skin store: a collection of named stored skins, each an in-memory byte stream in the
// stored-skin format (uncompressed size, then the compressed archive).
#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/Streams.h"

class TSkinCollection;
class TSkinStore;

class TSkinCollectionItem {
public:
    TSkinCollectionItem(TSkinCollection& collection, int id);

    int ID() const { return id_; }
    TSkinCollection& Collection() const { return collection_; }
    const std::string& Name() const { return name_; }
    // Throws ESkinStoreError "The name <name> is already used." when another item of the
    // collection has this name (compared case-sensitively); the old name stays.
    void SetName(const std::string& name);
    std::string DisplayName() const { return name_; }
    // A design-time action only: it always reads "Load Skin"; writing does nothing.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}
    int DataSize() const { return static_cast<int>(data_.Bytes().size()); }
    TMemoryStream& DataStream() { return data_; }
    const TMemoryStream& DataStream() const { return data_; }

    // Copies the name and all data bytes; the source stream keeps its position.
    void Assign(const TSkinCollectionItem& source);
    // The "DataStream" binary property: writing copies the whole stream from position 0;
    // reading empties the stream and copies the rest of `source` in.
    void WriteData(TStream& target) const;
    void ReadData(TStream& source);

private:
    friend class TSkinCollection;
    TSkinCollection& collection_;
    int id_;
    std::string name_;
    TMemoryStream data_;
};

class TSkinCollection {
public:
    explicit TSkinCollection(TSkinStore* owner) : owner_(owner) {}
    TSkinCollection(const TSkinCollection&) = delete;
    TSkinCollection& operator=(const TSkinCollection&) = delete;

    TSkinStore* Owner() const { return owner_; }
    // A new item at the end, named "SkinItem" followed by its ID.
    TSkinCollectionItem& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TSkinCollectionItem& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
    const TSkinCollectionItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Replaces the items with copies of the other collection's, item by item.
    void Assign(const TSkinCollection& source);
    // Whether an item other than `except` carries this name.
    bool NameInUse(const std::string& name, const TSkinCollectionItem* except) const;

private:
    TSkinStore* owner_;
    int nextId_ = 0;
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
};

// The component that carries the stored skins; its owner (the main window) frees it.
class TSkinStore : public TComponent {
public:
    explicit TSkinStore(TComponent* owner = nullptr) : TComponent(owner), store_(this) {}
    const char* ClassName() const override { return "TSkinStore"; }
    TSkinCollection& Store() { return store_; }
    const TSkinCollection& Store() const { return store_; }
    // Copies the collection item by item; nothing happens for nullptr.
    void SetStore(const TSkinCollection* value) {
        if (value) store_.Assign(*value);
    }

private:
    TSkinCollection store_;
};
