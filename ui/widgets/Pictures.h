// The pictures compiled into the program: the main window's terrain strip, hexagon, image lists
// and title, and the two text-box backgrounds. Image lists are stored as horizontal strips of
// equal cells and cut apart on loading.
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

// Cuts a strip into cells of the given width, left to right.
inline QList<QImage> SplitStrip(const QImage& strip, int cellWidth) {
  QList<QImage> cells;
  for (int x = 0; cellWidth > 0 && x + cellWidth <= strip.width(); x += cellWidth)
    cells.append(strip.copy(x, 0, cellWidth, strip.height()));
  return cells;
}

struct MainWindowPictures {
  QImage Terrain;               // 14 tiles of 60 x 60
  QImage Hexagon;               // black hexagon on white
  QList<QImage> Counters;       // 12 of 50 x 50
  QList<QImage> Rivers;         // 6 of 60 x 60, direction - 1
  QList<QImage> Roads;          // 6 of 60 x 60, direction - 1
  QList<QImage> RetreatArrows;  // 6 of 22 x 22
  QList<QImage> AttackArrows;   // 6 of 10 x 10
  TCompressedImage Title;       // 793 x 582
};

// Loads every main-window picture from the resources; false with *error naming the first
// picture that is missing or has the wrong size.
bool LoadMainWindowPictures(MainWindowPictures* out, QString* error = nullptr);
QImage BattleTextBackground();
bool LoadStoryTextBackground(TCompressedImage* out, QString* error = nullptr);

}  // namespace milgant::pictures
