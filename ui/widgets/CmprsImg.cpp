// Decoding and encoding of the compressed-picture form: int32 count, zlib stream, filter byte,
// BMP file. Every length read from the data is checked before it is used, so a damaged blob
// gives an error message, never a read outside the buffer.
#include "ui/widgets/CmprsImg.h"

#include <QFile>

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace milgant {
namespace {

// Inflated pictures larger than this are refused as corrupt: the largest picture of the game
// is well under 2 MB.
constexpr qsizetype kMaxInflated = 64 * 1024 * 1024;
// A picture larger than this is refused too: at one bit per pixel a few kilobytes of stream
// would otherwise ask for a gigabyte of picture.
constexpr int kMaxSide = 8192;
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

std::uint32_t ReadU32(const QByteArray& b, qsizetype at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
std::uint16_t ReadU16(const QByteArray& b, qsizetype at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
void PutU32(QByteArray& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU16(QByteArray& b, std::uint16_t v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>(v >> 8));
}

int RowStride(int width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

}  // namespace

int TCompressedImage::FilterFor(int bitsPerPixel) {
  return bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
}

void TCompressedImage::ApplyFilter(QByteArray& bytes, int filter) {
  if (filter <= 0) return;
  // Descending order, so every difference is taken against the original byte.
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  for (qsizetype i = bytes.size() - 1; i >= filter; --i)
    p[i] = static_cast<unsigned char>(p[i] - p[i - filter]);
}

void TCompressedImage::RemoveFilter(QByteArray& bytes, int filter) {
  if (filter <= 0) return;
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  for (qsizetype i = filter; i < bytes.size(); ++i)
    p[i] = static_cast<unsigned char>(p[i] + p[i - filter]);
}

QByteArray TCompressedImage::Compress(const QByteArray& bmpFile, int filter) {
  QByteArray plain;
  plain.reserve(bmpFile.size() + 1);
  plain.append(static_cast<char>(filter & 0xFF));
  QByteArray body = bmpFile;
  ApplyFilter(body, filter);
  plain.append(body);

  uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
  QByteArray packed(static_cast<qsizetype>(packedSize), '\0');
  const int rc = compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                           reinterpret_cast<const Bytef*>(plain.constData()),
                           static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
  if (rc != Z_OK) return {};
  packed.resize(static_cast<qsizetype>(packedSize));

  QByteArray stored;
  PutU32(stored, static_cast<std::uint32_t>(packed.size()));
  stored.append(packed);
  return stored;
}

bool TCompressedImage::Inflate(const QByteArray& data, QByteArray* filteredFile, QString* error) {
  if (data.size() < 4) {
    SetError(error, QStringLiteral("compressed picture: no byte count"));
    return false;
  }
  const std::uint32_t n = ReadU32(data, 0);
  if (n > static_cast<std::uint32_t>(data.size() - 4)) {
    SetError(error, QStringLiteral("compressed picture: truncated (%1 of %2 bytes)")
                        .arg(data.size() - 4)
                        .arg(n));
    return false;
  }
  if (n != static_cast<std::uint32_t>(data.size() - 4)) {
    SetError(error, QStringLiteral("compressed picture: %1 bytes after the stream")
                        .arg(data.size() - 4 - static_cast<qsizetype>(n)));
    return false;
  }

  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit(&zs) != Z_OK) {
    SetError(error, QStringLiteral("compressed picture: zlib would not start"));
    return false;
  }
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + 4));
  zs.avail_in = n;

  QByteArray out;
  char chunk[65536];
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(chunk);
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) break;
    out.append(chunk, static_cast<qsizetype>(sizeof chunk - zs.avail_out));
    if (out.size() > kMaxInflated) {
      rc = Z_MEM_ERROR;
      break;
    }
    if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
      rc = Z_BUF_ERROR;  // input used up before the stream's end
      break;
    }
  }
  const uInt leftOver = zs.avail_in;
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) {
    SetError(error, rc == Z_BUF_ERROR ? QStringLiteral("compressed picture: stream ends early")
                    : rc == Z_MEM_ERROR ? QStringLiteral("compressed picture: too large")
                                        : QStringLiteral("compressed picture: corrupt stream"));
    return false;
  }
  if (leftOver != 0) {
    SetError(error, QStringLiteral("compressed picture: data after the end of the stream"));
    return false;
  }
  *filteredFile = out;
  return true;
}

bool TCompressedImage::DecodeBmp(const QByteArray& file, QImage* picture, QString* error) {
  if (file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M') {
    SetError(error, QStringLiteral("picture: not a BMP file"));
    return false;
  }
  const std::uint32_t dataOffset = ReadU32(file, 10);
  const std::uint32_t headerSize = ReadU32(file, 14);
  if (headerSize < 40 || headerSize > static_cast<std::uint32_t>(file.size() - 14)) {
    SetError(error, QStringLiteral("picture: unsupported BMP header"));
    return false;
  }
  const auto width = static_cast<std::int32_t>(ReadU32(file, 18));
  const auto rawHeight = static_cast<std::int32_t>(ReadU32(file, 22));
  const int planes = ReadU16(file, 26);
  const int bpp = ReadU16(file, 28);
  const std::uint32_t compression = ReadU32(file, 30);
  std::uint32_t colours = ReadU32(file, 46);
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -std::int64_t(rawHeight) : rawHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      std::int64_t(width) * height > kMaxPixels || planes != 1) {
    SetError(error, QStringLiteral("picture: bad BMP size"));
    return false;
  }
  if (compression != 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) {
    SetError(error, QStringLiteral("picture: unsupported BMP depth %1").arg(bpp));
    return false;
  }
  const int h = static_cast<int>(height);
  const int stride = RowStride(width, bpp);

  QVector<QRgb> palette;
  if (bpp <= 8) {
    const std::uint32_t maxColours = 1u << bpp;
    if (colours == 0) colours = maxColours;
    if (colours > maxColours) {
      SetError(error, QStringLiteral("picture: bad BMP colour count"));
      return false;
    }
    const std::uint64_t paletteEnd = 14ull + headerSize + 4ull * colours;
    if (paletteEnd > static_cast<std::uint64_t>(file.size())) {
      SetError(error, QStringLiteral("picture: BMP colour table cut short"));
      return false;
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
      const qsizetype at = 14 + headerSize + 4 * i;
      const auto* p = reinterpret_cast<const unsigned char*>(file.constData()) + at;
      palette.append(qRgb(p[2], p[1], p[0]));
    }
  }
  if (std::uint64_t(dataOffset) + std::uint64_t(stride) * std::uint64_t(h) >
      static_cast<std::uint64_t>(file.size())) {
    SetError(error, QStringLiteral("picture: BMP pixels cut short"));
    return false;
  }

  QImage img(width, h, bpp == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (img.isNull()) {
    SetError(error, QStringLiteral("picture: no memory for the picture"));
    return false;
  }
  const auto* base = reinterpret_cast<const unsigned char*>(file.constData()) + dataOffset;
  for (int y = 0; y < h; ++y) {
    const unsigned char* row = base + std::int64_t(stride) * (topDown ? y : h - 1 - y);
    auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      switch (bpp) {
        case 24:
          out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
          break;
        case 32:
          out[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
          break;
        default: {
          const int perByte = 8 / bpp;
          const int shift = 8 - bpp * (x % perByte + 1);
          const unsigned index = (row[x / perByte] >> shift) & ((1u << bpp) - 1);
          if (index >= static_cast<unsigned>(palette.size())) {
            SetError(error, QStringLiteral("picture: BMP colour index out of range"));
            return false;
          }
          out[x] = palette[static_cast<qsizetype>(index)];
        }
      }
    }
  }
  *picture = img;
  return true;
}

QByteArray TCompressedImage::EncodeBmp(const QImage& picture, int bitsPerPixel) {
  const int bpp = bitsPerPixel;
  if (picture.isNull()) return {};
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
  QImage src;
  if (bpp <= 8) {
    if (picture.format() != QImage::Format_Indexed8 ||
        picture.colorCount() > (1 << bpp) || picture.colorCount() == 0)
      return {};
    src = picture;
  } else {
    src = picture.convertToFormat(bpp == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  }
  const int w = src.width();
  const int h = src.height();
  const int stride = RowStride(w, bpp);
  const int colours = bpp <= 8 ? static_cast<int>(src.colorCount()) : 0;
  const std::uint32_t offset = 14 + 40 + 4u * static_cast<std::uint32_t>(colours);
  const std::uint32_t size = offset + std::uint32_t(stride) * std::uint32_t(h);

  QByteArray f;
  f.reserve(static_cast<qsizetype>(size));
  f.append("BM", 2);
  PutU32(f, size);
  PutU32(f, 0);
  PutU32(f, offset);
  PutU32(f, 40);
  PutU32(f, static_cast<std::uint32_t>(w));
  PutU32(f, static_cast<std::uint32_t>(h));
  PutU16(f, 1);
  PutU16(f, static_cast<std::uint16_t>(bpp));
  PutU32(f, 0);  // BI_RGB
  PutU32(f, std::uint32_t(stride) * std::uint32_t(h));
  PutU32(f, 2835);  // 72 dpi
  PutU32(f, 2835);
  PutU32(f, static_cast<std::uint32_t>(colours));
  PutU32(f, 0);
  for (int i = 0; i < colours; ++i) {
    const QRgb c = src.color(i);
    f.append(static_cast<char>(qBlue(c)));
    f.append(static_cast<char>(qGreen(c)));
    f.append(static_cast<char>(qRed(c)));
    f.append('\0');
  }
  QByteArray row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    row.fill('\0');
    auto* r = reinterpret_cast<unsigned char*>(row.data());
    if (bpp <= 8) {
      const uchar* in = src.constScanLine(y);
      const int perByte = 8 / bpp;
      for (int x = 0; x < w; ++x) {
        const int shift = 8 - bpp * (x % perByte + 1);
        r[x / perByte] = static_cast<unsigned char>(r[x / perByte] | (in[x] << shift));
      }
    } else {
      const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
      const int bytes = bpp / 8;
      for (int x = 0; x < w; ++x) {
        r[bytes * x] = static_cast<unsigned char>(qBlue(in[x]));
        r[bytes * x + 1] = static_cast<unsigned char>(qGreen(in[x]));
        r[bytes * x + 2] = static_cast<unsigned char>(qRed(in[x]));
        if (bytes == 4) r[bytes * x + 3] = static_cast<unsigned char>(qAlpha(in[x]));
      }
    }
    f.append(row);
  }
  return f;
}

bool TCompressedImage::LoadCompressedData(const QByteArray& data, QString* error) {
  QByteArray plain;
  if (!Inflate(data, &plain, error)) return false;
  if (plain.isEmpty()) {
    SetError(error, QStringLiteral("compressed picture: empty stream"));
    return false;
  }
  const int filter = static_cast<unsigned char>(plain[0]);
  QByteArray file = plain.mid(1);
  if (filter > 4) {
    SetError(error, QStringLiteral("compressed picture: unknown filter %1").arg(filter));
    return false;
  }
  RemoveFilter(file, filter);
  QImage img;
  if (!DecodeBmp(file, &img, error)) return false;
  picture_ = img;
  filter_ = filter;
  return true;
}

bool TCompressedImage::LoadFromFile(const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    SetError(error, QStringLiteral("%1: %2").arg(path, f.errorString()));
    return false;
  }
  return LoadCompressedData(f.readAll(), error);
}

}  // namespace milgant
