#include "platform/JpegWriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}
void stayQuiet(j_common_ptr) {}

// Only C objects live here, so the library's longjmp out of an error is safe.
bool encodeInto(const BgrPixels& px, int quality, unsigned char** out, unsigned long* outSize) {
    jpeg_compress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveOnError;
    trap.manager.output_message = stayQuiet;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = JDIMENSION(px.width);
    info.image_height = JDIMENSION(px.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_YCbCr);
    jpeg_set_quality(&info, quality, TRUE);  // baseline tables
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    for (int c = 1; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const qsizetype line = info.next_scanline;
        const qsizetype stored = px.bottomUp ? px.height - 1 - line : line;
        JSAMPROW row = const_cast<JSAMPROW>(px.bits + stored * px.stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
}  // namespace

std::optional<QByteArray> encodeJpeg(const BgrPixels& pixels, int quality) {
    if (!pixels.bits || pixels.width < 1 || pixels.height < 1 || pixels.stride < qsizetype(pixels.width) * 3)
        return std::nullopt;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool ok = encodeInto(pixels, std::clamp(quality, 1, 100), &out, &outSize);
    std::optional<QByteArray> result;
    if (ok && out) result = QByteArray(reinterpret_cast<const char*>(out), qsizetype(outSize));
    std::free(out);
    return result;
}
