// The GIF decoding race built as the program is, a 32-bit Windows program run under Wine, with
// giflib built for Windows the same way (scripts/build-gif-mingw.sh): half the registers of the
// native build and 64-bit arithmetic in pairs, so its figures are the ones the program's users see.
// The targets are those of the native race.
#include "GifDecodeRace.h"

int main() {
    return RunGifDecodeRace("GIF decoding, 32-bit Windows build", 3.0, 1.5) ? 0 : 1;
}
