// Precompiled for the picture code (Qt Gui without widgets).
#pragma once
#include "Std.h"
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
