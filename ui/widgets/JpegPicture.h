// JPEG window pictures: decoding the backgrounds the windows load from the working folder, and
// the fixed-setting encoder the picture generator writes them with (baseline, 4:2:0, no
// optimisation, so the same picture always gives the same bytes with one libjpeg).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace milgant {

// An RGB32 picture, or a null one with *error set; a damaged file never crashes.
QImage DecodeJpeg(const QByteArray& bytes, QString* error = nullptr);
QImage LoadJpeg(const QString& path, QString* error = nullptr);
// Quality 1..100; an empty array when the picture is null.
QByteArray EncodeJpeg(const QImage& picture, int quality);

}  // namespace milgant
