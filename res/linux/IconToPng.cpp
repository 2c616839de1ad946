// Writes the image of an icon file that has the given size as a PNG.
// Usage: IconToPng ICON SIZE PNG
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ICON SIZE PNG\n", argv[0]);
        return 2;
    }
    int size = std::atoi(argv[2]);
    GError* error = nullptr;
    GdkPixbuf* image = gdk_pixbuf_new_from_file(argv[1], &error);
    if (!image) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error->message);
        return 1;
    }
    if (gdk_pixbuf_get_width(image) != size || gdk_pixbuf_get_height(image) != size) {
        std::fprintf(stderr, "%s: the image read is %dx%d, not %dx%d\n", argv[1], gdk_pixbuf_get_width(image),
                     gdk_pixbuf_get_height(image), size, size);
        return 1;
    }
    if (!gdk_pixbuf_save(image, argv[3], "png", &error, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", argv[3], error->message);
        return 1;
    }
    g_object_unref(image);
    return 0;
}
