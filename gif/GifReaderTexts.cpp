#include "gif/GifReaderTexts.h"

namespace {
// Stands in for the codec's exception class until the object model provides it.
TERVANE_DECLARE_EXCEPTION(EGifReadError, Exception);
}  // namespace

void RaiseGifError(const char* text) { throw EGifReadError(text); }
