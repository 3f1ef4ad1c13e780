// Picture tests run under an offscreen Qt with the IPA fonts loaded, as the generator does.
#include "Art.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (!picgen::LoadFonts()) {
    fprintf(stderr, "the IPA fonts are not installed\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
