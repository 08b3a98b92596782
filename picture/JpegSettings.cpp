#include "picture/JpegSettings.h"

TJpegSettings DefaultJpegSettings;
