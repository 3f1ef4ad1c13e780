// The text-box and window tests run under an offscreen Qt with the IPA fonts loaded.
#include <QApplication>
#include <QFontDatabase>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  for (const char* file : {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                           "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"})
    QFontDatabase::addApplicationFont(QString::fromLatin1(file));
  const QStringList families = QFontDatabase::families();
  if (!families.contains(QStringLiteral("IPAPGothic")) || !families.contains(QStringLiteral("IPAPMincho"))) {
    std::fprintf(stderr, "the IPA fonts are not installed\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
