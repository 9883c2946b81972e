// JPEG through libjpeg: our files against Qt's own decoder and encoder.
#include "app/Jpeg.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "geometry/UserError.h"

namespace qv {
namespace {

QImage Picture() {
  QImage img(64, 48, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.fillRect(0, 0, 32, 24, QColor(200, 30, 30));
  p.fillRect(32, 24, 32, 24, QColor(20, 60, 200));
  return img;
}

// Largest channel difference between two images of the same size.
int MaxDifference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  }
  return worst;
}

// Walks the markers of a JPEG stream up to the first frame header; returns its marker byte and
// the component count.
std::pair<int, int> FrameHeader(const std::vector<unsigned char>& d) {
  size_t i = 2;
  while (i + 9 < d.size() && d[i] == 0xFF) {
    const int marker = d[i + 1];
    const size_t length = static_cast<size_t>(d[i + 2]) << 8 | d[i + 3];
    if (marker >= 0xC0 && marker <= 0xC3) return {marker, d[i + 9]};
    i += 2 + length;
  }
  return {-1, 0};
}

TEST(Jpeg, EncodesBaselineTwentyFourBitColourThatQtReadsBack) {
  const QImage original = Picture();
  const std::vector<unsigned char> data = EncodeJpeg(original, 90);
  ASSERT_GT(data.size(), 4u);
  EXPECT_EQ(data[0], 0xFF);
  EXPECT_EQ(data[1], 0xD8);
  const auto [marker, components] = FrameHeader(data);
  EXPECT_EQ(marker, 0xC0);  // SOF0: baseline sequential
  EXPECT_EQ(components, 3);
  QImage decoded;
  ASSERT_TRUE(decoded.loadFromData(data.data(), static_cast<int>(data.size()), "JPG"));
  ASSERT_EQ(decoded.size(), original.size());
  // Lossy near the colour edges only; channels in their places.
  EXPECT_LE(MaxDifference(decoded.copy(4, 4, 20, 14), original.copy(4, 4, 20, 14)), 8);
  EXPECT_LE(MaxDifference(decoded.copy(40, 30, 20, 14), original.copy(40, 30, 20, 14)), 8);
}

TEST(Jpeg, DecodesWhatQtWrote) {
  const QImage original = Picture();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(original.save(&buffer, "JPG", 95));
  const QImage decoded = DecodeJpeg(std::vector<unsigned char>(bytes.begin(), bytes.end()));
  ASSERT_EQ(decoded.size(), original.size());
  EXPECT_LE(MaxDifference(decoded.copy(4, 4, 20, 14), original.copy(4, 4, 20, 14)), 8);
}

TEST(Jpeg, GrayscaleFilesComeBackAsColour) {
  QImage gray(16, 16, QImage::Format_Grayscale8);
  gray.fill(128);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(gray.save(&buffer, "JPG"));
  const QImage decoded = DecodeJpeg(std::vector<unsigned char>(bytes.begin(), bytes.end()));
  EXPECT_LE(std::abs(qRed(decoded.pixel(8, 8)) - 128), 2);
  EXPECT_EQ(qRed(decoded.pixel(8, 8)), qBlue(decoded.pixel(8, 8)));
}

TEST(Jpeg, DamagedDataFailsWithTheLibrarysCode) {
  const std::vector<unsigned char> whole = EncodeJpeg(Picture());
  for (const std::vector<unsigned char>& data :
       {std::vector<unsigned char>{}, std::vector<unsigned char>{'B', 'M', 1, 2, 3},
        std::vector<unsigned char>(whole.begin(), whole.begin() + 200)}) {
    try {
      const QImage img = DecodeJpeg(data);
      // A truncated stream may decode to a partial picture: then it has the full size.
      EXPECT_EQ(img.size(), QSize(64, 48));
    } catch (const UserError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
    }
  }
  EXPECT_THROW(DecodeJpeg({0xFF, 0xD8, 0xFF, 0xD9}), UserError);
}

TEST(Jpeg, FilesRoundTrip) {
  const QString path = QStringLiteral("%1/qv_jpeg_test.jpg").arg(QDir::tempPath());
  SaveJpeg(Picture(), path);
  EXPECT_EQ(LoadJpeg(path).size(), QSize(64, 48));
  QFile::remove(path);
  EXPECT_THROW(LoadJpeg(path), UserError);
}

}  // namespace
}  // namespace qv
