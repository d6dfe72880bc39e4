// PNG output through libpng's simplified interface, which reports errors without longjmp.
#include "png.h"

#include <png.h>

#include <vector>

namespace {

std::vector<unsigned char> Rgb_bytes(const Surface& surface) {
    size_t count = (size_t)surface.width * surface.height;
    std::vector<unsigned char> rgb(count * 3);
    for (size_t i = 0; i < count; i++) {
        uint32_t p = surface.pixels[i];
        rgb[i * 3] = (unsigned char)(p >> 16);
        rgb[i * 3 + 1] = (unsigned char)(p >> 8);
        rgb[i * 3 + 2] = (unsigned char)p;
    }
    return rgb;
}

} // namespace

bool Write_png(const Surface& surface, const std::string& path, std::string* error) {
    if (!surface.pixels || surface.width < 1 || surface.height < 1) {
        *error = "empty surface";
        return false;
    }
    std::vector<unsigned char> rgb = Rgb_bytes(surface);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)surface.width;
    image.height = (png_uint_32)surface.height;
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), surface.width * 3, nullptr)) return true;
    *error = image.message;
    png_image_free(&image);
    return false;
}
