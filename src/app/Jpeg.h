// JPEG through libjpeg: baseline encoding of 24-bit colour, and decoding into a QImage.
// Failures throw UserError("JPEG error #n"), n being the library's message code.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace qv {

constexpr int kJpegQuality = 90;

// Baseline (sequential, Huffman) JPEG of the image, 3 components of 8 bits.
std::vector<unsigned char> EncodeJpeg(const QImage& image, int quality = kJpegQuality);
// The picture as an RGB32 image. Grey, RGB, CMYK and YCCK files are read; ink (CMYK, YCCK) is
// turned into light, with the inverted values Adobe's programs write recognised by their marker.
QImage DecodeJpeg(const std::vector<unsigned char>& data);

}  // namespace qv
