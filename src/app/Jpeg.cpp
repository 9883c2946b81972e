#include "app/Jpeg.h"

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>
#include <cstdio>
#include <cstdlib>

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

// A decoded picture as the library delivers it: RGB (3 components) or ink (4 components, C M
// Y K). Adobe's programs store ink inverted (255 is no ink) and mark their files with an Adobe
// segment; other writers store the plain amount.
struct TRawPicture {
  unsigned char* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  int Components = 3;
  bool InvertedInk = false;
};

// 0 on success, else the library's message code (or -1 for a picture too large to hold).
int DecodeRaw(const unsigned char* data, unsigned long size, TRawPicture* out) {
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
  // The library turns YCCK into CMYK but has no conversion from ink to RGB: that is done below.
  const bool ink = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = ink ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  const int components = ink ? 4 : 3;
  const unsigned long pixelCount =
      static_cast<unsigned long>(info.output_width) * info.output_height;
  if (info.output_components != components || pixelCount == 0 || pixelCount > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return -1;
  }
  const size_t stride = static_cast<size_t>(info.output_width) * components;
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
  out->Width = static_cast<int>(info.output_width);
  out->Height = static_cast<int>(info.output_height);
  out->Components = components;
  out->InvertedInk = ink && info.saw_Adobe_marker;
  out->Pixels = pixels;
  jpeg_destroy_decompress(&info);
  return 0;
}

// The colour of one pixel of ink: each of C, M, Y takes away its share of the light, and K
// darkens all three alike.
QRgb InkToRgb(const unsigned char* cmyk, bool inverted) {
  int light[4];
  for (int k = 0; k < 4; ++k) light[k] = inverted ? cmyk[k] : 255 - cmyk[k];
  auto channel = [&light](int k) { return (light[k] * light[3] + 127) / 255; };
  return qRgb(channel(0), channel(1), channel(2));
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
  TRawPicture raw;
  const int code = DecodeRaw(data.data(), static_cast<unsigned long>(data.size()), &raw);
  if (code != 0) Fail(code);
  QImage image(raw.Width, raw.Height, QImage::Format_RGB32);
  const size_t stride = static_cast<size_t>(raw.Width) * raw.Components;
  for (int y = 0; y < raw.Height; ++y) {
    const unsigned char* src = raw.Pixels + static_cast<size_t>(y) * stride;
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < raw.Width; ++x) {
      const unsigned char* p = src + static_cast<size_t>(x) * raw.Components;
      dst[x] = raw.Components == 4 ? InkToRgb(p, raw.InvertedInk) : qRgb(p[0], p[1], p[2]);
    }
  }
  std::free(raw.Pixels);
  return image;
}

}  // namespace qv
