#include "platform/vcl/jpeg.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace vcl {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct ErrorManager {
    jpeg_error_mgr Public;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void ExitOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

extern "C" void IgnoreMessage(j_common_ptr) {}

// Decodes into `rows` (BGR, width*3 per row). libjpeg reports fatal errors by longjmp, so this
// function keeps no object with a destructor between setjmp and the decoding calls; the buffer
// it fills lives in the caller. Returns false with `message` set on failure.
bool Decode(std::FILE* file, std::vector<unsigned char>& pixels, int& width, int& height,
            std::string& message) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.Public);
    errors.Public.error_exit = ExitOnError;
    errors.Public.output_message = IgnoreMessage;
    errors.Message[0] = '\0';
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        message = errors.Message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR; // rows come out in our bitmaps' byte order
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    pixels.resize(stride * static_cast<std::size_t>(height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

void LoadJpegFile(const std::string& path, TBitmap& out) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFOpenError::ForFile(path, errno);
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    std::string message;
    if (!Decode(file.get(), pixels, width, height, message))
        throw EInvalidGraphic("JPEG error: " + message);
    TBitmap bitmap(width, height, pf24bit);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.ScanLine(y), pixels.data() + stride * static_cast<std::size_t>(y),
                    stride);
    out = bitmap;
}

} // namespace vcl
