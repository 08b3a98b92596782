#pragma once
// The "SkinStream" binary property of a skin-data component: a little-endian signed 32-bit
// byte count N, then N bytes of stored skin; N <= 0 means no skin and nothing follows.
#include "base/Streams.h"

void WriteSkinStreamProperty(TStream& target, const TMemoryStream& skin);
// Empties `skin` and reads the property into it; true when a skin was read. A count that
// runs past the end of `source` throws EReadError before anything is allocated.
bool ReadSkinStreamProperty(TStream& source, TMemoryStream& skin);
