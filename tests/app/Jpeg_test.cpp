// JPEG through libjpeg: our files against Qt's own decoder and encoder.
#include "app/Jpeg.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>

namespace qv {
namespace {

// Largest channel difference of the image's pixels from the colour.
int MaxDifference(const QImage& image, const QColor& colour) {
  int worst = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - colour.red()),
                        std::abs(qGreen(p) - colour.green()), std::abs(qBlue(p) - colour.blue())});
    }
  }
  return worst;
}

std::vector<unsigned char> QtJpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "JPG", 95));
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// A 32 x 16 picture, the left half of ink a, the right half of ink b (C, M, Y, K; 255 is full
// ink), written by libjpeg as four components in the stored colour space; with adobe the values
// are inverted and the Adobe marker says so, as Adobe's programs write them.
std::vector<unsigned char> InkJpeg(J_COLOR_SPACE stored, bool adobe, const unsigned char* a,
                                   const unsigned char* b) {
  std::vector<unsigned char> pixels;
  for (int i = 0; i < 32 * 16; ++i) {
    for (int k = 0; k < 4; ++k) {
      const unsigned char ink = (i % 32 < 16 ? a : b)[k];
      pixels.push_back(adobe ? static_cast<unsigned char>(255 - ink) : ink);
    }
  }
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = 32;
  info.image_height = 16;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_set_colorspace(&info, stored);
  info.write_Adobe_marker = adobe ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = pixels.data() + info.next_scanline * 32 * 4;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> data(out, out + size);
  std::free(out);
  return data;
}

// Ours read by Qt and Qt's read by ours, sizes kept and channels in their places; a grey file
// comes back as colour.
TEST(Jpeg, OurFilesAndQtsReadEachOtherBackAndInkFilesComeBackAsTheirColours) {
  const QColor tan(200, 120, 60);
  QImage original(24, 16, QImage::Format_RGB32), gray(16, 16, QImage::Format_Grayscale8);
  original.fill(tan);
  gray.fill(128);
  const std::vector<unsigned char> ours = EncodeJpeg(original, 90);
  QImage byQt;
  ASSERT_TRUE(byQt.loadFromData(ours.data(), static_cast<int>(ours.size()), "JPG"));
  for (const QImage& decoded : {byQt, DecodeJpeg(QtJpeg(original))}) {
    ASSERT_EQ(decoded.size(), original.size());
    EXPECT_LE(MaxDifference(decoded, tan), 6);
  }
  EXPECT_LE(MaxDifference(DecodeJpeg(QtJpeg(gray)), QColor(128, 128, 128)), 2);
  // Ink a is a red darkened by K, ink b a sky blue: light = (255 - ink) * (255 - K) / 255.
  const unsigned char a[] = {0, 200, 200, 51}, b[] = {200, 100, 0, 0};
  const QColor lightA(204, 44, 44), lightB(55, 155, 255);
  for (const auto& [stored, adobe] :
       {std::pair{JCS_CMYK, false}, {JCS_CMYK, true}, {JCS_YCCK, true}}) {
    const QImage img = DecodeJpeg(InkJpeg(stored, adobe, a, b));
    ASSERT_EQ(img.size(), QSize(32, 16)) << stored << adobe;
    for (const auto& [x, light] : {std::pair{2, lightA}, {18, lightB}})
      EXPECT_LE(MaxDifference(img.copy(x, 2, 12, 12), light), 6) << stored << adobe << x;
  }
}

}  // namespace
}  // namespace qv
