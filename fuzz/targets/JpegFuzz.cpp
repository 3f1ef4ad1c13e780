// The JPEG window pictures: a damaged file gives a null picture and a reason, never a crash; a
// picture taken has the size the file declares and survives being written and read again.
#include <QByteArray>
#include <QImage>
#include <QString>

#include "FuzzSupport.h"
#include "ui/widgets/JpegPicture.h"

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const QImage picture = DecodeJpeg(bytes, &error);
  if (picture.isNull()) {
    Require(!error.isEmpty(), "a refused JPEG gave no reason");
    return 0;
  }
  Require(picture.width() > 0 && picture.height() > 0, "an empty picture was taken");
  if (qint64(picture.width()) * picture.height() > 256 * 256) return 0;
  const QImage again = DecodeJpeg(EncodeJpeg(picture, 90), &error);
  Require(again.size() == picture.size(), "a taken picture did not survive writing and reading");
  return 0;
}
