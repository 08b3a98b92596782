#pragma once
// The one EXIF tag this program acts on: the orientation (0x0112) of the first image
// directory, which tells how a camera held on its side stored the picture. Nothing else of
// the EXIF data is read, and no other directory is followed.
#include <cstddef>
#include <cstdint>

// The values 1 to 8 of the tag; 1 is "as stored".
constexpr int ExifOrientationAsStored = 1;
constexpr int ExifOrientationLast = 8;

// Whether an APP1 segment's contents (after its length field) are EXIF data.
bool IsExifSegment(const uint8_t* segment, size_t length);

// The orientation an APP1 "Exif" segment's contents give, 1 to 8. A missing tag, an
// unexpected type or count, a value out of range and any offset that points outside the
// segment all mean ExifOrientationAsStored.
int ExifOrientation(const uint8_t* segment, size_t length);
