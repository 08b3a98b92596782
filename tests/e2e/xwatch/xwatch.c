/* Watches the X display, for tests that must see a state too short-lived to ask the program
 * about (it is busy and answers no messages meanwhile): the pointer's cursor and a rectangle of
 * the screen. Prints a line whenever either changes, until the time is up:
 *   <milliseconds since start> <cursor serial> <hash of the rectangle's pixels>
 * and, given a file prefix, writes each new look to <prefix><milliseconds>.ppm and each new
 * cursor to <prefix>cursor-<serial>.ppm.
 * Usage: xwatch <seconds> <x> <y> <width> <height> [prefix]   (DISPLAY from the environment) */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

/* The cursor's picture over white, as a binary PPM. */
static void SaveCursor(const XFixesCursorImage* cursor, const char* prefix) {
    char path[4096];
    snprintf(path, sizeof path, "%scursor-%lu.ppm", prefix, cursor->cursor_serial);
    FILE* file = fopen(path, "wb");
    if (!file) return;
    fprintf(file, "P6\n%d %d\n255\n", cursor->width, cursor->height);
    for (int i = 0; i < cursor->width * cursor->height; ++i) {
        const unsigned long argb = cursor->pixels[i];
        const unsigned alpha = (argb >> 24) & 0xFF;
        unsigned char rgb[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned value = (argb >> (16 - 8 * c)) & 0xFF; /* premultiplied */
            rgb[c] = (unsigned char)(value + (255 - alpha));
        }
        fwrite(rgb, 1, 3, file);
    }
    fclose(file);
}

static uint64_t Hash(XImage* image, int w, int h) {
    uint64_t hash = 1469598103934665603ull; /* FNV-1a over the pixel values */
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            hash ^= (uint64_t)XGetPixel(image, column, row);
            hash *= 1099511628211ull;
        }
    return hash;
}

/* A 24-bit TrueColor image as a binary PPM. */
static void Save(XImage* image, int w, int h, const char* prefix, double ms) {
    char path[4096];
    snprintf(path, sizeof path, "%s%.0f.ppm", prefix, ms);
    FILE* file = fopen(path, "wb");
    if (!file) return;
    fprintf(file, "P6\n%d %d\n255\n", w, h);
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const unsigned char rgb[3] = {(unsigned char)(pixel >> 16), (unsigned char)(pixel >> 8), (unsigned char)pixel};
            fwrite(rgb, 1, 3, file);
        }
    fclose(file);
}

int main(int argc, char** argv) {
    if (argc != 6 && argc != 7) {
        fprintf(stderr, "usage: xwatch <seconds> <x> <y> <width> <height> [prefix]\n");
        return 2;
    }
    const double seconds = atof(argv[1]);
    const int x = atoi(argv[2]), y = atoi(argv[3]), w = atoi(argv[4]), h = atoi(argv[5]);
    Display* display = XOpenDisplay(NULL);
    int event_base, error_base;
    if (!display || !XFixesQueryExtension(display, &event_base, &error_base)) {
        fprintf(stderr, "xwatch: no display with the XFIXES extension\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    const double start = Now();
    unsigned long last_serial = 0;
    uint64_t last_hash = 0;
    int first = 1;
    while (Now() - start < seconds) {
        XImage* image = XGetImage(display, root, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
        if (!image) {
            fprintf(stderr, "xwatch: the rectangle is not on the screen\n");
            return 1;
        }
        const uint64_t hash = Hash(image, w, h);
        XFixesCursorImage* cursor = XFixesGetCursorImage(display);
        const unsigned long serial = cursor ? cursor->cursor_serial : 0;
        if (first || hash != last_hash || serial != last_serial) {
            const double ms = (Now() - start) * 1e3;
            printf("%.0f %lu %llx\n", ms, serial, (unsigned long long)hash);
            if (argc == 7) {
                Save(image, w, h, argv[6], ms);
                if (cursor) SaveCursor(cursor, argv[6]);
            }
            fflush(stdout);
            last_hash = hash;
            last_serial = serial;
            first = 0;
        }
        XDestroyImage(image);
        if (cursor) XFree(cursor);
        struct timespec pause = {0, 2000000};
        nanosleep(&pause, NULL);
    }
    XCloseDisplay(display);
    return 0;
}
