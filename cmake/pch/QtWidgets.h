// Precompiled for the windows (Qt Widgets).
#pragma once
#include "QtGui.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
