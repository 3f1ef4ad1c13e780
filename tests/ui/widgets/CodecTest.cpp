// The compressed-picture form and the JPEG reader: round trips at every depth and filter, the
// filter arithmetic, agreement with Qt's own BMP reader, and refusal of damaged data.
#include "ui/widgets/CmprsImg.h"
#include "ui/widgets/JpegPicture.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <zlib.h>

using milgant::TCompressedImage;

namespace {

QImage Gradient(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 5) & 255, (x * y) & 255));
  return img;
}

QImage SixteenColours(int w, int h) {
  QImage img(w, h, QImage::Format_Indexed8);
  img.setColorCount(16);
  for (int i = 0; i < 16; ++i) img.setColor(i, qRgb(i * 16, 255 - i * 15, (i * 37) & 255));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, static_cast<uint>((x / 3 + y) % 16));
  return img;
}

bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

QByteArray Inflated(const QByteArray& stored) {
  uLongf size = 16 * 1024 * 1024;
  QByteArray out(static_cast<qsizetype>(size), '\0');
  const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                            reinterpret_cast<const Bytef*>(stored.constData() + 4),
                            static_cast<uLong>(stored.size() - 4));
  EXPECT_EQ(rc, Z_OK);
  out.resize(static_cast<qsizetype>(size));
  return out;
}

// Stored form of arbitrary inflated bytes, for building damaged pictures.
QByteArray Wrap(const QByteArray& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  QByteArray packed(static_cast<qsizetype>(size), '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(plain.constData()),
            static_cast<uLong>(plain.size()), 6);
  packed.resize(static_cast<qsizetype>(size));
  QByteArray stored(4, '\0');
  const auto n = static_cast<quint32>(packed.size());
  for (int i = 0; i < 4; ++i) stored[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return stored + packed;
}

}  // namespace

TEST(CompressedPicture, FilterStoresDifferencesToTheBytePixelsBefore) {
  QByteArray b("\x0a\x14\x1e\x19\x05", 5);
  TCompressedImage::ApplyFilter(b, 1);
  EXPECT_EQ(b, QByteArray("\x0a\x0a\x0a\xfb\xec", 5));
  TCompressedImage::RemoveFilter(b, 1);
  EXPECT_EQ(b, QByteArray("\x0a\x14\x1e\x19\x05", 5));

  QByteArray c("\x01\x02\x03\x11\x12\x13\x05", 7);
  TCompressedImage::ApplyFilter(c, 3);
  EXPECT_EQ(c, QByteArray("\x01\x02\x03\x10\x10\x10\xf4", 7));
}

TEST(CompressedPicture, FilterIsBytesPerPixel) {
  EXPECT_EQ(TCompressedImage::FilterFor(1), 1);
  EXPECT_EQ(TCompressedImage::FilterFor(4), 1);
  EXPECT_EQ(TCompressedImage::FilterFor(8), 1);
  EXPECT_EQ(TCompressedImage::FilterFor(24), 3);
  EXPECT_EQ(TCompressedImage::FilterFor(32), 4);
}

TEST(CompressedPicture, StoredFormIsCountThenZlibOfFilterByteAndBmp) {
  const QImage pic = Gradient(13, 7);  // odd width: rows need padding
  const QByteArray bmp = TCompressedImage::EncodeBmp(pic, 24);
  const QByteArray stored = TCompressedImage::Compress(bmp, 3);
  const quint32 n = static_cast<quint8>(stored[0]) | static_cast<quint8>(stored[1]) << 8 |
                    static_cast<quint8>(stored[2]) << 16 | static_cast<quint32>(static_cast<quint8>(stored[3])) << 24;
  EXPECT_EQ(n, static_cast<quint32>(stored.size() - 4));
  QByteArray plain = Inflated(stored);
  ASSERT_EQ(plain.size(), bmp.size() + 1);
  EXPECT_EQ(plain[0], 3);
  QByteArray file = plain.mid(1);
  EXPECT_NE(file, bmp);  // filtered
  TCompressedImage::RemoveFilter(file, 3);
  EXPECT_EQ(file, bmp);
  // The BMP is an ordinary one: Qt's reader sees the same picture.
  QImage viaQt;
  ASSERT_TRUE(viaQt.loadFromData(bmp, "BMP"));
  EXPECT_TRUE(SamePixels(viaQt.convertToFormat(QImage::Format_RGB32), pic));
}

TEST(CompressedPicture, RoundTripFiltered24Bit) {
  const QImage pic = Gradient(793, 61);
  TCompressedImage c;
  QString error;
  ASSERT_TRUE(c.LoadCompressedData(TCompressedImage::Compress(TCompressedImage::EncodeBmp(pic, 24), 3), &error))
      << error.toStdString();
  EXPECT_EQ(c.Filter(), 3);
  EXPECT_TRUE(SamePixels(c.Picture(), pic));
}

TEST(CompressedPicture, RoundTripUnfiltered24Bit) {
  const QImage pic = Gradient(31, 17);
  TCompressedImage c;
  ASSERT_TRUE(c.LoadCompressedData(TCompressedImage::Compress(TCompressedImage::EncodeBmp(pic, 24), 0)));
  EXPECT_EQ(c.Filter(), 0);
  EXPECT_TRUE(SamePixels(c.Picture(), pic));
}

TEST(CompressedPicture, RoundTripFourBitWithFilterOne) {
  const QImage pic = SixteenColours(37, 11);  // odd width: half-byte at the row end
  const QByteArray bmp = TCompressedImage::EncodeBmp(pic, 4);
  ASSERT_FALSE(bmp.isEmpty());
  QImage viaQt;
  ASSERT_TRUE(viaQt.loadFromData(bmp, "BMP"));
  EXPECT_TRUE(SamePixels(viaQt.convertToFormat(QImage::Format_RGB32), pic.convertToFormat(QImage::Format_RGB32)));
  TCompressedImage c;
  QString error;
  ASSERT_TRUE(c.LoadCompressedData(TCompressedImage::Compress(bmp, 1), &error)) << error.toStdString();
  EXPECT_EQ(c.Filter(), 1);
  EXPECT_TRUE(SamePixels(c.Picture(), pic.convertToFormat(QImage::Format_RGB32)));
}

TEST(CompressedPicture, RoundTripOtherDepths) {
  QImage two(9, 5, QImage::Format_Indexed8);
  two.setColorCount(2);
  two.setColor(0, qRgb(0, 0, 0));
  two.setColor(1, qRgb(250, 240, 230));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) two.setPixel(x, y, static_cast<uint>((x + y) % 2));
  QImage eight = SixteenColours(10, 6);
  QImage alpha(5, 4, QImage::Format_ARGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) alpha.setPixel(x, y, qRgba(x * 40, y * 60, 7, x * 60));
  struct Case { QImage pic; int bpp; };
  for (const Case& k : {Case{two, 1}, Case{eight, 8}, Case{alpha, 32}}) {
    TCompressedImage c;
    ASSERT_TRUE(c.LoadCompressedData(TCompressedImage::Compress(TCompressedImage::EncodeBmp(k.pic, k.bpp),
                                                                TCompressedImage::FilterFor(k.bpp))))
        << k.bpp;
    const QImage want = k.pic.convertToFormat(k.bpp == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    EXPECT_TRUE(SamePixels(c.Picture(), want)) << k.bpp;
  }
}

TEST(CompressedPicture, ReadsBmpFilesWrittenByQt) {
  // Top-down independence check: a BMP from another writer decodes to the same picture.
  const QImage pic = Gradient(23, 9);
  QByteArray bmp;
  QBuffer buf(&bmp);
  buf.open(QIODevice::WriteOnly);
  ASSERT_TRUE(pic.save(&buf, "BMP"));
  QImage out;
  QString error;
  ASSERT_TRUE(TCompressedImage::DecodeBmp(bmp, &out, &error)) << error.toStdString();
  EXPECT_TRUE(SamePixels(out, pic));
}

TEST(CompressedPicture, RefusesTruncatedData) {
  const QByteArray good = TCompressedImage::Compress(TCompressedImage::EncodeBmp(Gradient(40, 30), 24), 3);
  for (qsizetype cut : {qsizetype(0), qsizetype(3), qsizetype(4), qsizetype(10), good.size() / 2, good.size() - 1}) {
    TCompressedImage c;
    QString error;
    EXPECT_FALSE(c.LoadCompressedData(good.left(cut), &error)) << cut;
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(c.IsEmpty());
  }
  // A count that claims fewer bytes than the stream has: the stream ends early.
  QByteArray shortCount = good;
  const quint32 n = static_cast<quint32>(good.size() - 4) - 20;
  for (int i = 0; i < 4; ++i) shortCount[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  TCompressedImage c;
  EXPECT_FALSE(c.LoadCompressedData(shortCount.left(4 + static_cast<qsizetype>(n))));
  EXPECT_FALSE(c.LoadCompressedData(shortCount));  // bytes after the counted stream
}

TEST(CompressedPicture, RefusesCorruptStreams) {
  const QByteArray good = TCompressedImage::Compress(TCompressedImage::EncodeBmp(Gradient(40, 30), 24), 3);
  int refused = 0;
  for (qsizetype at = 4; at < good.size(); at += 7) {
    QByteArray bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x5A);
    TCompressedImage c;
    QString error;
    if (!c.LoadCompressedData(bad, &error)) {
      ++refused;
      EXPECT_FALSE(error.isEmpty());
    }
  }
  // Deflate plus its checksum catch every one of these flips.
  EXPECT_EQ(refused, static_cast<int>((good.size() - 4 + 6) / 7));
}

TEST(CompressedPicture, RefusesBadContents) {
  QByteArray bmp = TCompressedImage::EncodeBmp(Gradient(8, 8), 24);
  TCompressedImage c;
  QString error;
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray()), &error));
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\x09') + bmp), &error));  // unknown filter
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\0') + QByteArray("not a picture at all")), &error));
  QByteArray cutPixels = bmp.left(bmp.size() - 10);
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\0') + cutPixels), &error));
  QByteArray huge = bmp;
  huge[18] = '\xff';
  huge[19] = '\xff';
  huge[20] = '\xff';
  huge[21] = '\x7f';  // width 2^31 - 1
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\0') + huge), &error));
  QByteArray rle = bmp;
  rle[30] = 1;  // compressed BMP
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\0') + rle), &error));
  // A 4-bit picture whose pixels name colours the table does not have.
  QImage few(4, 2, QImage::Format_Indexed8);
  few.setColorCount(2);
  few.setColor(0, qRgb(0, 0, 0));
  few.setColor(1, qRgb(255, 255, 255));
  few.fill(1);
  QByteArray fourBit = TCompressedImage::EncodeBmp(few, 4);
  fourBit[14 + 40 + 2 * 4] = '\xff';  // first pixels of the bottom row
  EXPECT_FALSE(c.LoadCompressedData(Wrap(QByteArray(1, '\0') + fourBit), &error));
  EXPECT_TRUE(c.IsEmpty());
}

TEST(CompressedPicture, AFailedLoadKeepsThePicture) {
  TCompressedImage c;
  const QImage pic = Gradient(6, 6);
  ASSERT_TRUE(c.LoadCompressedData(TCompressedImage::Compress(TCompressedImage::EncodeBmp(pic, 24), 3)));
  EXPECT_FALSE(c.LoadCompressedData(QByteArray("\x05\0\0\0abcde", 9)));
  EXPECT_TRUE(SamePixels(c.Picture(), pic));
  EXPECT_EQ(c.Filter(), 3);
}

TEST(JpegPicture, RoundTripStaysClose) {
  QImage pic(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) pic.setPixel(x, y, qRgb(100 + x, 80 + y * 2, 150));
  const QByteArray jpeg = milgant::EncodeJpeg(pic, 92);
  ASSERT_FALSE(jpeg.isEmpty());
  EXPECT_EQ(jpeg, milgant::EncodeJpeg(pic, 92));  // same bytes every time
  QString error;
  const QImage back = milgant::DecodeJpeg(jpeg, &error);
  ASSERT_FALSE(back.isNull()) << error.toStdString();
  ASSERT_EQ(back.size(), pic.size());
  int worst = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const QRgb a = pic.pixel(x, y), b = back.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  EXPECT_LE(worst, 12);
}

TEST(JpegPicture, RefusesDamagedFiles) {
  QImage pic(32, 32, QImage::Format_RGB32);
  pic.fill(qRgb(200, 100, 50));
  const QByteArray jpeg = milgant::EncodeJpeg(pic, 90);
  QString error;
  EXPECT_TRUE(milgant::DecodeJpeg(QByteArray("plainly not a jpeg"), &error).isNull());
  EXPECT_FALSE(error.isEmpty());
  error.clear();
  EXPECT_TRUE(milgant::DecodeJpeg(jpeg.left(20), &error).isNull());
  EXPECT_FALSE(error.isEmpty());
  error.clear();
  EXPECT_TRUE(milgant::DecodeJpeg(jpeg.left(jpeg.size() * 2 / 3), &error).isNull());
  EXPECT_FALSE(error.isEmpty());
  ASSERT_FALSE(milgant::DecodeJpeg(jpeg).isNull());
  EXPECT_TRUE(milgant::LoadJpeg(QStringLiteral("/nonexistent/form9.JPG"), &error).isNull());
}
