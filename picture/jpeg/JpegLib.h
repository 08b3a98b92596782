#pragma once
// The one place that includes libjpeg's headers: they need <cstdio> first, and every file
// must see the same `boolean` and INT32 definitions from jconfig.h.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>
