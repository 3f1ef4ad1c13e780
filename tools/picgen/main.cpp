// milgant-picgen: draws the game's pictures and writes them into the data folder, checks the
// committed ones against a fresh drawing, or writes a contact sheet for review.
//
//   milgant-picgen --data <repo>/data           write every picture
//   milgant-picgen --check <repo>/data          compare the committed pictures (exit 1 if not)
//   milgant-picgen --contact-sheet <file.png>   one PNG of all pictures with their names
//   milgant-picgen --map-preview <file.png>     the whole campaign map of a new game as the
//                                               main window draws it (--map <Map.dat> first
//                                               to preview another map file)
#include "Art.h"
#include "MapView.h"
#include "Outputs.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!picgen::LoadFonts()) {
    std::fprintf(stderr, "milgant-picgen: the IPA fonts are missing (fonts-ipafont-gothic, fonts-ipafont-mincho)\n");
    return 2;
  }
  bool ok = true, any = false;
  std::string mapPath = MILGANT_DEFAULT_MAP;
  for (int i = 1; i + 1 < argc; i += 2) {
    const QString value = QString::fromLocal8Bit(argv[i + 1]);
    any = true;
    if (std::strcmp(argv[i], "--data") == 0) {
      ok = picgen::WriteAll(value) && ok;
    } else if (std::strcmp(argv[i], "--check") == 0) {
      ok = picgen::CheckAll(value) && ok;
    } else if (std::strcmp(argv[i], "--contact-sheet") == 0) {
      const bool saved = picgen::ContactSheet().save(value, "PNG");
      if (saved) std::printf("wrote %s\n", qPrintable(value));
      ok = saved && ok;
    } else if (std::strcmp(argv[i], "--map") == 0) {
      mapPath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--map-preview") == 0) {
      QString error;
      const QImage preview = picgen::MapPreviewOfFile(mapPath, &error);
      const bool saved = !preview.isNull() && preview.save(value, "PNG");
      if (preview.isNull())
        std::fprintf(stderr, "milgant-picgen: %s: %s\n", mapPath.c_str(), qPrintable(error));
      else if (saved)
        std::printf("wrote %s\n", qPrintable(value));
      else
        std::fprintf(stderr, "milgant-picgen: cannot write %s\n", qPrintable(value));
      ok = saved && ok;
    } else {
      any = false;
      break;
    }
  }
  if (!any) {
    std::fprintf(stderr, "usage: milgant-picgen [--data DIR] [--check DIR] [--contact-sheet FILE] [--map MAP.dat] [--map-preview FILE]\n");
    return 2;
  }
  return ok ? 0 : 1;
}
