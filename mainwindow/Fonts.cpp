#include "mainwindow/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace milgant {

bool SetUpFonts() {
  const QString gothic = QStringLiteral("IPAPGothic"), mincho = QStringLiteral("IPAPMincho");
  if (!QFontDatabase::hasFamily(gothic) || !QFontDatabase::hasFamily(mincho)) {
    for (const char* f : {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                          "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"})
      QFontDatabase::addApplicationFont(QString::fromLatin1(f));
  }
  QFont::insertSubstitution(kGothicFace, gothic);
  QFont::insertSubstitution(kMinchoFace, mincho);
  return QFontDatabase::hasFamily(gothic) && QFontDatabase::hasFamily(mincho);
}

QFont WindowFont() {
  QFont f(kGothicFace);
  f.setPixelSize(kWindowFontPixels);
  return f;
}

}  // namespace milgant
