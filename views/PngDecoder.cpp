#include "views/PngDecoder.h"

#include <png.h>

#include <cstddef>
#include <cstring>

namespace {

struct MemoryReader {
    const unsigned char* data;
    std::size_t size;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep target, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position) png_error(png, "truncated PNG data");
    std::memcpy(target, reader->data + reader->position, length);
    reader->position += length;
}

// libpng reports through longjmp; no warning output from inside a host.
void ignoreWarning(png_structp, png_const_charp) {}

// Larger images than this are refused instead of allocated. A side may be long (the knob strip
// at 300 % is 21000 pixels wide), the area stays within what a 16384-pixel square allows.
constexpr png_uint_32 kMaxSidePx = 32768;
constexpr std::size_t kMaxAreaPx = std::size_t(16384) * 16384;

} // namespace

bool decodePng(const unsigned char* data, std::size_t size, DecodedPng& out) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryReader reader{data, size, 0};
    // Everything that changes after setjmp lives in `out` (not in registers of this frame).
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxSidePx, kMaxSidePx);
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    if (std::size_t(png_get_image_width(png, info)) * png_get_image_height(png, info) > kMaxAreaPx)
        png_error(png, "image too large");

    const png_byte colorType = png_get_color_type(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_strip_16(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != out.width * 4u) png_error(png, "unexpected row layout");
    out.rgba.assign(std::size_t(out.width) * out.height * 4u, 0);
    out.rows.resize(out.height);
    for (png_uint_32 y = 0; y < out.height; ++y)
        out.rows[y] = out.rgba.data() + std::size_t(y) * out.width * 4u;
    png_read_image(png, out.rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
