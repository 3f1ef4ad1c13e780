// The window tests run on Qt's offscreen platform, silently, with the IPA fonts in place.
#include <QApplication>
#include <QFontDatabase>
#include <gtest/gtest.h>

#include "ui/text/Fonts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (!milgant::SetUpFonts()) {
    fprintf(stderr, "the IPA fonts are not installed\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
