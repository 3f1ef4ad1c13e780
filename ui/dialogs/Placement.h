// Where a dialog appears: centred on the main window, halves truncated, optionally lower.
#pragma once

#include <QWidget>

namespace milgant {

inline void CentreOnMainWindow(QWidget* self, const QWidget* mainWindow, int below = 0) {
  if (mainWindow == nullptr) return;
  const QRect main = mainWindow->frameGeometry();
  const QSize own = self->isVisible() ? self->frameGeometry().size() : self->size();
  self->move(main.left() + (main.width() - own.width()) / 2, main.top() + (main.height() - own.height()) / 2 + below);
}

// The game's texts break lines with "\r"; labels break them with "\n".
inline QString LabelText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace milgant
