#include "app/Jpeg.h"

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>
#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <csetjmp>
#include <string>

#include "geometry/UserError.h"

namespace qv {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the setjmp of the running call. The calls below keep only plain C data alive between the
// setjmp and any possible jump, so that the jump skips no destructor.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void OnError(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  std::longjmp(error->Jump, 1);
}

void OnMessage(j_common_ptr /*info*/) {}  // warnings are not printed

// 0 on success, else the library's message code.
int EncodeRaw(const unsigned char* rgb, int width, int height, int quality, unsigned char** out,
              unsigned long* outSize) {
  jpeg_compress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnError;
  error.Manager.output_message = OnMessage;
  if (setjmp(error.Jump)) {
    const int code = error.Manager.msg_code != 0 ? error.Manager.msg_code : -1;
    jpeg_destroy_compress(&info);
    return code;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);  // sequential Huffman coding: baseline
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const size_t stride = static_cast<size_t>(width) * 3;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb + info.next_scanline * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return 0;
}

constexpr unsigned long kMaxPixels = 100'000'000;

// 0 on success, else the library's message code (or -1 for a picture too large to hold).
int DecodeRaw(const unsigned char* data, unsigned long size, unsigned char** out, int* width,
              int* height) {
  jpeg_decompress_struct info;
  TJpegError error;
  unsigned char* volatile pixels = nullptr;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnError;
  error.Manager.output_message = OnMessage;
  if (setjmp(error.Jump)) {
    const int code = error.Manager.msg_code != 0 ? error.Manager.msg_code : -1;
    jpeg_destroy_decompress(&info);
    std::free(pixels);
    return code;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const unsigned long pixelCount =
      static_cast<unsigned long>(info.output_width) * info.output_height;
  if (info.output_components != 3 || pixelCount == 0 || pixelCount > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return -1;
  }
  const size_t stride = static_cast<size_t>(info.output_width) * 3;
  pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
  if (pixels == nullptr) {
    jpeg_destroy_decompress(&info);
    return -1;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + info.output_scanline * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  *width = static_cast<int>(info.output_width);
  *height = static_cast<int>(info.output_height);
  *out = pixels;
  jpeg_destroy_decompress(&info);
  return 0;
}

[[noreturn]] void Fail(int code) {
  throw UserError("JPEG error #" + std::to_string(code));
}

}  // namespace

std::vector<unsigned char> EncodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) Fail(-1);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  // Rows of the image are padded to 4 bytes; the encoder reads packed rows.
  std::vector<unsigned char> packed(static_cast<size_t>(rgb.width()) * 3 * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = rgb.constScanLine(y);
    std::copy(line, line + rgb.width() * 3,
              packed.begin() + static_cast<ptrdiff_t>(y) * rgb.width() * 3);
  }
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const int code = EncodeRaw(packed.data(), rgb.width(), rgb.height(), quality, &out, &outSize);
  std::vector<unsigned char> result;
  if (code == 0) result.assign(out, out + outSize);
  std::free(out);
  if (code != 0) Fail(code);
  return result;
}

QImage DecodeJpeg(const std::vector<unsigned char>& data) {
  unsigned char* pixels = nullptr;
  int width = 0, height = 0;
  const int code =
      DecodeRaw(data.data(), static_cast<unsigned long>(data.size()), &pixels, &width, &height);
  if (code != 0) Fail(code);
  QImage image(width, height, QImage::Format_RGB32);
  const size_t stride = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const unsigned char* src = pixels + static_cast<size_t>(y) * stride;
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
  }
  std::free(pixels);
  return image;
}

void SaveJpeg(const QImage& image, const QString& path, int quality) {
  const std::vector<unsigned char> data = EncodeJpeg(image, quality);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size())) !=
          static_cast<qint64>(data.size())) {
    throw UserError("Cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
  }
}

QImage LoadJpeg(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw UserError("Cannot read " + path.toStdString() + ": " + file.errorString().toStdString());
  }
  const QByteArray bytes = file.readAll();
  return DecodeJpeg(std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

}  // namespace qv
