// libjpeg in both directions. Errors inside libjpeg come back through longjmp to the caller's
// frame, which then frees the codec and reports the message.
#include "ui/widgets/JpegPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace milgant {
namespace {

struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  int warnings;
  bool stopOnWarning;
};

void OnError(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, trap->message);
  std::longjmp(trap->jump, 1);
}
// A warning means damaged data (a file cut short, a broken marker): the picture is refused
// at once, rather than shown half grey, and the rest of a damaged file is not decoded for
// nothing.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  if (trap->warnings++ == 0) (*cinfo->err->format_message)(cinfo, trap->message);
  if (trap->stopOnWarning) std::longjmp(trap->jump, 1);
}

// The window pictures are a few hundred pixels a side. A header that claims far more is a
// damaged or hostile file: a few bytes would otherwise have the game allocate gigabytes.
constexpr unsigned kMaxSide = 8192;
constexpr unsigned long long kMaxPixels = 16ull * 1024 * 1024;

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes, QString* error) {
  jpeg_decompress_struct cinfo;
  ErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = OnError;
  trap.mgr.emit_message = OnMessage;
  trap.message[0] = '\0';
  trap.warnings = 0;
  trap.stopOnWarning = true;
  QImage img;
  std::vector<unsigned char> row;
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    if (error != nullptr) *error = QStringLiteral("JPEG: %1").arg(QString::fromLatin1(trap.message));
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide ||
      static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
    jpeg_destroy_decompress(&cinfo);
    if (error != nullptr) *error = QStringLiteral("JPEG: picture too large");
    return {};
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  img = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
               QImage::Format_RGB32);
  if (img.isNull()) {
    jpeg_destroy_decompress(&cinfo);
    if (error != nullptr) *error = QStringLiteral("JPEG: no memory for the picture");
    return {};
  }
  row.resize(std::size_t(cinfo.output_width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (unsigned x = 0; x < cinfo.output_width; ++x)
      out[x] = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (trap.warnings > 0) {
    if (error != nullptr) *error = QStringLiteral("JPEG: %1").arg(QString::fromLatin1(trap.message));
    return {};
  }
  return img;
}

QImage LoadJpeg(const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error != nullptr) *error = QStringLiteral("%1: %2").arg(path, f.errorString());
    return {};
  }
  return DecodeJpeg(f.readAll(), error);
}

QByteArray EncodeJpeg(const QImage& picture, int quality) {
  if (picture.isNull()) return {};
  const QImage src = picture.convertToFormat(QImage::Format_RGB32);
  jpeg_compress_struct cinfo;
  ErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = OnError;
  trap.mgr.emit_message = OnMessage;
  trap.warnings = 0;
  trap.stopOnWarning = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<unsigned char> row(std::size_t(src.width()) * 3);
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(src.width());
  cinfo.image_height = static_cast<JDIMENSION>(src.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = FALSE;
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(cinfo.next_scanline)));
    for (int x = 0; x < src.width(); ++x) {
      row[3 * std::size_t(x)] = static_cast<unsigned char>(qRed(in[x]));
      row[3 * std::size_t(x) + 1] = static_cast<unsigned char>(qGreen(in[x]));
      row[3 * std::size_t(x) + 2] = static_cast<unsigned char>(qBlue(in[x]));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return out;
}

}  // namespace milgant
