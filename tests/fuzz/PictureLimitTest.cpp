// Pictures whose headers claim far more than any window picture: found by fuzzing, where a few
// hundred bytes had the game allocate gigabytes. They are refused with a reason, quickly, and a
// picture just inside the limits is still read.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "ui/widgets/CmprsImg.h"
#include "ui/widgets/JpegPicture.h"

namespace {

QByteArray Regression(const char* target, const char* name) {
  QFile f(QStringLiteral(MILGANT_FUZZ_DIR "/regressions/%1/%2").arg(QLatin1String(target), QLatin1String(name)));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
  return f.readAll();
}

TEST(PictureLimits, JpegHeadersClaimingHugePicturesAreRefused) {
  for (const char* name : {"header-claims-60000-square.jpg", "header-claims-16000-square.jpg"}) {
    QString error;
    EXPECT_TRUE(milgant::DecodeJpeg(Regression("jpeg", name), &error).isNull()) << name;
    EXPECT_EQ(error, QStringLiteral("JPEG: picture too large")) << name;
  }
}

TEST(PictureLimits, AJpegAtTheLimitIsRead) {
  QImage wide(8192, 2, QImage::Format_RGB32);
  wide.fill(qRgb(20, 40, 60));
  QString error;
  const QImage back = milgant::DecodeJpeg(milgant::EncodeJpeg(wide, 80), &error);
  EXPECT_EQ(back.size(), wide.size()) << error.toStdString();
  QImage wider(8193, 2, QImage::Format_RGB32);
  wider.fill(qRgb(20, 40, 60));
  EXPECT_TRUE(milgant::DecodeJpeg(milgant::EncodeJpeg(wider, 80), &error).isNull());
}

TEST(PictureLimits, ACompressedOneBitPictureOfManyMegapixelsIsRefused) {
  milgant::TCompressedImage image;
  QString error;
  EXPECT_FALSE(image.LoadCompressedData(Regression("cmprsimg", "one-bit-bomb-16384x2048.cmp"), &error));
  EXPECT_EQ(error, QStringLiteral("picture: bad BMP size"));
  EXPECT_TRUE(image.IsEmpty());

  QImage square(4096, 4096, QImage::Format_Indexed8);
  square.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  square.fill(1);
  ASSERT_TRUE(image.LoadCompressedData(
      milgant::TCompressedImage::Compress(milgant::TCompressedImage::EncodeBmp(square, 1), 1), &error))
      << error.toStdString();
  EXPECT_EQ(image.Picture().pixel(4095, 4095), qRgb(255, 255, 255));
}

}  // namespace
