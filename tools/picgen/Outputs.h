// The files the generator makes, where they go under data/, how each is encoded, and the
// comparison of committed files with a fresh drawing.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace picgen {

enum class Encoding { Png, Compressed24, Jpeg };

struct Output {
  const char* path;   // relative to the data folder
  const char* label;  // name shown on the contact sheet
  Encoding encoding;
  QImage (*draw)();
};

const std::vector<Output>& Outputs();
QByteArray Encode(const Output& o, const QImage& picture);
// The picture stored in a file's bytes; null with *error on failure.
QImage Decode(const Output& o, const QByteArray& bytes, QString* error);

struct Difference {
  double meanAbs = 0;       // mean absolute channel difference (alpha included)
  double outliers = 0;      // fraction of pixels with a channel differing by more than 24
  bool sizeMatches = false;
};
Difference Compare(const QImage& a, const QImage& b);
// The tolerance committed files must meet: none for sizes, a little for antialiased text.
bool WithinTolerance(const Difference& d);

// Writes every output under dataDir; returns false and prints on failure.
bool WriteAll(const QString& dataDir);
// Compares every committed output with a fresh drawing; prints one line per file.
bool CheckAll(const QString& dataDir);

QImage ContactSheet();

}  // namespace picgen
