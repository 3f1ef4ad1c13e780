// The pictures compiled into the program: the main window's terrain strip, hexagon, image lists
// and title, and the two text-box backgrounds. Image lists are stored as horizontal strips of
// equal cells and cut apart on loading.
//
// Each picture is also drawn at twice its size for screens with more than one pixel to a unit
// (表示 at 150 % or 200 %, or a high-DPI desktop). Those come with their device pixel ratio set
// to 2, so a painter draws them at their usual size in the window's units, only finer.
#pragma once

#include "ui/widgets/CmprsImg.h"

#include <QImage>
#include <QList>
#include <QString>

namespace milgant::pictures {

inline constexpr const char* kTerrain = ":/pictures/terrain.png";             // Image6
inline constexpr const char* kHexagon = ":/pictures/hexagon.png";             // Image7
inline constexpr const char* kCounters = ":/pictures/counters.png";           // ImageList1
inline constexpr const char* kRivers = ":/pictures/rivers.png";               // ImageList3
inline constexpr const char* kRetreatArrows = ":/pictures/retreat-arrows.png"; // ImageList4
inline constexpr const char* kAttackArrows = ":/pictures/attack-arrows.png";  // ImageList5
inline constexpr const char* kRoads = ":/pictures/roads.png";                 // ImageList7
inline constexpr const char* kTitle = ":/pictures/title.cmp";                 // CompressedImage1
inline constexpr const char* kBattleText = ":/pictures/battle-text.png";      // TForm4 Image2
inline constexpr const char* kStoryText = ":/pictures/story-text.cmp";        // TForm7 CompressedImage1

// The scale pictures are drawn at for the screens in use: 2 when any shows more than one pixel
// to a unit, else 1. Needs the application object.
int PictureScale();
// Where the twice-size twin of a picture is kept: ":/pictures/2x/" and the file's name in
// lower case, a compressed picture's as JPEG ("title.cmp" -> ":/pictures/2x/title.jpg").
QString SharpName(const char* name);

// Cuts a strip into cells of the given width, left to right.
inline QList<QImage> SplitStrip(const QImage& strip, int cellWidth) {
  QList<QImage> cells;
  for (int x = 0; cellWidth > 0 && x + cellWidth <= strip.width(); x += cellWidth)
    cells.append(strip.copy(x, 0, cellWidth, strip.height()));
  return cells;
}

struct MainWindowPictures {
  int Scale = 1;                // 1, or 2 for the twice-size set (every size below doubled)
  QImage Terrain;               // 14 tiles of 60 x 60
  QImage Hexagon;               // black hexagon on white, the mask of a box (60 x 60 at any scale)
  QList<QImage> Counters;       // 12 of 50 x 50
  QList<QImage> Rivers;         // 6 of 60 x 60, direction - 1
  QList<QImage> Roads;          // 6 of 60 x 60, direction - 1
  QList<QImage> RetreatArrows;  // 6 of 22 x 22
  QList<QImage> AttackArrows;   // 6 of 10 x 10
  TCompressedImage Title;       // 793 x 582
  QImage TitlePicture;          // the title as shown: Title's picture, or its twin at scale 2
};

// Loads every main-window picture from the resources; false with *error naming the first
// picture that is missing or has the wrong size. At scale 2 the twins are loaded besides the
// title's compressed picture.
bool LoadMainWindowPictures(MainWindowPictures* out, QString* error = nullptr, int scale = 1);
QImage BattleTextBackground(int scale = 1);
bool LoadStoryTextBackground(TCompressedImage* out, QString* error = nullptr);

// The picture a window shows for `shown` (read from the working folder): at scale 2 the
// compiled-in twin `sharpName`, as long as it is the twin of that very picture (a picture
// changed in the folder is shown as it is, enlarged); else `shown` itself.
QImage SharpTwin(const QImage& shown, const QString& sharpName, int scale);

}  // namespace milgant::pictures
