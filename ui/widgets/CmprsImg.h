// TCompressedImage: a picture kept as a deflated BMP file. The stored form ("CompressedData") is
// an int32 byte count n and n bytes of a zlib stream; the inflated bytes are one filter byte f and
// the BMP file, in which every byte from index f on holds its difference to the byte f places
// before it (f = bytes per pixel, 1 below 8 bits per pixel, 0 for no filter). The title picture
// and the story window's text background travel in this form.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace milgant {

class TCompressedImage {
 public:
  TCompressedImage() = default;

  // Decodes stored data; on any fault (short count, truncated or corrupt stream, bad filter,
  // malformed BMP) returns false, leaves the picture as it was and explains in *error.
  bool LoadCompressedData(const QByteArray& data, QString* error = nullptr);
  bool LoadFromFile(const QString& path, QString* error = nullptr);

  const QImage& Picture() const { return picture_; }
  bool IsEmpty() const { return picture_.isNull(); }
  int Width() const { return picture_.width(); }
  int Height() const { return picture_.height(); }
  // The filter byte of the data last loaded.
  int Filter() const { return filter_; }

  // --- Building stored data (the picture generator and the tests use these) ---

  // A BMP file of the picture at 1, 4, 8, 24 or 32 bits per pixel. Below 24 bits the picture
  // must be indexed with a colour table that fits the depth. Rows bottom-up, BI_RGB.
  static QByteArray EncodeBmp(const QImage& picture, int bitsPerPixel);
  // The stored form of a BMP file under the given filter (0..255); deterministic.
  static QByteArray Compress(const QByteArray& bmpFile, int filter);
  // The filter the stored form uses for a depth: bytes per pixel, 1 below 8 bits.
  static int FilterFor(int bitsPerPixel);

  // The steps of decoding, exposed for the tests.
  static bool Inflate(const QByteArray& data, QByteArray* filteredFile, QString* error);
  static void ApplyFilter(QByteArray& bytes, int filter);    // encode: differences
  static void RemoveFilter(QByteArray& bytes, int filter);   // decode: running sums
  static bool DecodeBmp(const QByteArray& file, QImage* picture, QString* error);

 private:
  QImage picture_;
  int filter_ = 0;
};

}  // namespace milgant
