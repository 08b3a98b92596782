#include "gif/GifLzwEncoder.h"

#include <cstring>

void THashTable::Clear() { std::memset(slots_.get(), 0xFF, Size * sizeof(uint32_t)); }

void TLZWEncoder::EmitClear() {
    Output(ClearCode);
    table_->Clear();
    nextFree_ = ClearCode + 2;
    CodeSize = InitialCodeSize;
    maxCode_ = (1 << CodeSize) - 1;
}

void TLZWEncoder::BeginPixels() {
    if (!table_) table_ = std::make_unique<THashTable>();
    prefix_ = -1;
    EmitClear();
}

void TLZWEncoder::EncodePixels(const uint8_t* pixels, size_t count) {
    size_t i = 0;
    if (prefix_ < 0 && count > 0) {
        if (pixels[0] >= ColorCount) ColorNotInTable();
        prefix_ = pixels[0];
        i = 1;
    }
    THashTable& table = *table_;
    int prefix = prefix_;
    const int colorCount = ColorCount;
    for (; i < count; ++i) {
        const int c = pixels[i];
        if (c >= colorCount) {
            prefix_ = prefix;
            ColorNotInTable();
        }
        const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(c);
        uint32_t slot;
        const int code = table.Find(key, &slot);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        Emit(prefix);
        prefix = c;
        if (nextFree_ >= LastFreeCode) {
            EmitClear();
        } else {
            table.Store(slot, key, nextFree_++);
        }
    }
    prefix_ = prefix;
}

void TLZWEncoder::EndPixels() {
    if (prefix_ >= 0) Emit(prefix_);
    prefix_ = -1;
}
