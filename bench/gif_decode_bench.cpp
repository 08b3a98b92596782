// Decoding speed of the GIF reader beside giflib's DGifSlurp, natively: at least 3 times giflib
// on photographs, 1.5 times on drawings.
#include "GifDecodeRace.h"

int main() {
    // The verdict is printed; the benchmarks after this one still run.
    return RunGifDecodeRace("GIF decoding", 3.0, 1.5) ? 0 : 1;
}
