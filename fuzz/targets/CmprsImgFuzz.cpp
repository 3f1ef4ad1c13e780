// The compressed picture (count, zlib stream, filter byte, BMP): a refused blob leaves the
// picture as it was and says why; a taken one is a picture that comes back pixel for pixel
// when written in the stored form again.
#include <QByteArray>
#include <QImage>
#include <QString>

#include "FuzzSupport.h"
#include "ui/widgets/CmprsImg.h"

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray blob(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TCompressedImage image;
  QImage seed(2, 1, QImage::Format_RGB32);
  seed.fill(qRgb(1, 2, 3));
  // A picture already shown stays when the next one is refused.
  QByteArray shown = TCompressedImage::Compress(TCompressedImage::EncodeBmp(seed, 24), 3);
  Require(image.LoadCompressedData(shown), "the picture already shown could not be made");
  QString error;
  if (!image.LoadCompressedData(blob, &error)) {
    Require(!error.isEmpty(), "a refused picture gave no reason");
    Require(image.Picture() == seed, "a refused picture changed the one shown");
    return 0;
  }
  const QImage picture = image.Picture();
  Require(!picture.isNull() && picture.width() > 0 && picture.height() > 0, "an empty picture was taken");
  if (qint64(picture.width()) * picture.height() > 512 * 512) return 0;
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  TCompressedImage again;
  Require(again.LoadCompressedData(TCompressedImage::Compress(TCompressedImage::EncodeBmp(argb, 32), 4)),
          "a taken picture could not be stored and read again");
  Require(again.Picture().convertToFormat(QImage::Format_ARGB32) == argb, "the picture did not come back");
  return 0;
}
