#include "picture/jpeg/JpegSettings.h"

TJpegSettings DefaultJpegSettings;
