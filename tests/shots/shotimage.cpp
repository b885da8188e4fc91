#include "shotimage.h"

#include <png.h>

#include <cstdio>
#include <cstring>

bool ReadShotImage(const char* path, ShotImage* out, const char* tool)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path)) {
        image.format = PNG_FORMAT_RGB;
        out->width = int(image.width);
        out->height = int(image.height);
        out->rgb.resize(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr)) return true;
        png_image_free(&image);
    }
    if (tool) std::fprintf(stderr, "%s: %s: %s\n", tool, path, image.message);
    return false;
}
