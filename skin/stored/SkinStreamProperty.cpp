#include "skin/stored/SkinStreamProperty.h"

#include "base/ByteReader.h"
#include "base/Exceptions.h"

void WriteSkinStreamProperty(TStream& target, const TMemoryStream& skin) {
    const std::vector<uint8_t>& bytes = skin.Bytes();
    std::vector<uint8_t> count;
    PutU32LE(count, static_cast<uint32_t>(bytes.size()));
    target.WriteBuffer(count.data(), count.size());
    if (!bytes.empty()) target.WriteBuffer(bytes.data(), bytes.size());
}

bool ReadSkinStreamProperty(TStream& source, TMemoryStream& skin) {
    skin.Clear();
    uint8_t countBytes[4];
    source.ReadBuffer(countBytes, sizeof countBytes);
    int32_t count = ByteReader(countBytes, sizeof countBytes).ReadI32LE();
    if (count <= 0) return false;
    if (count > source.Remaining()) throw EReadError(ErrorText::StreamRead);
    skin.SetSize(count);
    source.ReadBuffer(skin.Bytes().data(), static_cast<size_t>(count));
    skin.SetPosition(0);
    return true;
}
