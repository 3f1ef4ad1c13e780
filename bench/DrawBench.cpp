// Drawing speed: the full map redraw and the redraw around one hex, in the renderer alone (with
// the ordinary and the twice-size pictures) and as the main window does them (with the copy to
// the view and the minimap), a tinted range, and the making and first showing of the nine
// windows.
#include <QApplication>
#include <QTemporaryDir>
#include <QFile>
#include <QDir>
#include <benchmark/benchmark.h>

#include <memory>

#include "core/game/Game.h"
#include "core/game/MapFile.h"
#include "core/game/Scenario.h"
#include "ui/text/Fonts.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/widgets/MapRenderer.h"

namespace {

using namespace milgant;

std::unique_ptr<Game> NewGameState() {
  auto g = std::make_unique<Game>();
  auto map = std::make_unique<MapTable>();
  if (!LoadMap(*map, MILGANT_DATA_DIR "/Map.dat").Ok) return nullptr;
  BuildScenario(*g, *map);
  g->GameState = 2;
  g->ScrollX = 300;
  g->ScrollY = 200;
  return g;
}

const pictures::MainWindowPictures& Pics(int scale = 1) {
  static pictures::MainWindowPictures pics[2];
  static bool loaded[2] = {pictures::LoadMainWindowPictures(&pics[0], nullptr, 1),
                           pictures::LoadMainWindowPictures(&pics[1], nullptr, 2)};
  (void)loaded;
  return pics[scale == 2 ? 1 : 0];
}

// Arguments: a movement range shown (0/1), the pictures' scale (1/2).
void BM_RendererRedrawMap(benchmark::State& state) {
  auto g = NewGameState();
  MapRenderer r(Pics(static_cast<int>(state.range(1))), g->HexMask);
  if (state.range(0) == 1) {  // a movement range shown: every hex tinted
    g->RangeOverlay = 1;
    for (int x = 0; x < kMapSize; ++x)
      for (int y = 0; y < kMapSize; ++y) g->MoveBlocked[x][y] = (x + y) % 2;
  }
  for (auto _ : state) {
    r.RedrawMap(*g);
    benchmark::DoNotOptimize(r.MapBitmap().constBits());
  }
}
BENCHMARK(BM_RendererRedrawMap)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMicrosecond);

void BM_RendererRedrawAround(benchmark::State& state) {
  auto g = NewGameState();
  MapRenderer r(Pics(static_cast<int>(state.range(0))), g->HexMask);
  r.RedrawMap(*g);
  for (auto _ : state) {
    r.RedrawAround(*g, 9, 9);
    benchmark::DoNotOptimize(r.MapBitmap().constBits());
  }
}
BENCHMARK(BM_RendererRedrawAround)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

struct Window {
  QTemporaryDir dir;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  std::unique_ptr<Forms> forms;
  Window() {
    for (const char* f : {"Map.dat", "CRT.txt", "form3.JPG", "form4.JPG", "form5.JPG", "gametop.JPG"})
      QFile::copy(QStringLiteral(MILGANT_DATA_DIR "/") + QString::fromLatin1(f), dir.filePath(QString::fromLatin1(f)));
    forms = CreateForms(*game, dir.path(), nullptr);
  }
};

void BM_WindowRedrawMap(benchmark::State& state) {
  Window w;
  auto g = NewGameState();
  g->HexMask = w.game->HexMask;
  *w.game = *g;
  for (auto _ : state) w.forms->Form1->RedrawMap();
}
BENCHMARK(BM_WindowRedrawMap)->Unit(benchmark::kMicrosecond);

void BM_WindowRedrawAround(benchmark::State& state) {
  Window w;
  auto g = NewGameState();
  g->HexMask = w.game->HexMask;
  *w.game = *g;
  w.forms->Form1->RedrawMap();
  for (auto _ : state) w.forms->Form1->RedrawAround(9, 9);
}
BENCHMARK(BM_WindowRedrawAround)->Unit(benchmark::kMicrosecond);

void BM_StartUpToFirstShownWindow(benchmark::State& state) {
  for (auto _ : state) {
    Window w;
    w.forms->Form1->show();
    QApplication::processEvents();
    state.PauseTiming();
    w.forms.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstShownWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  QApplication app(argc, argv);
  SetUpFonts();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
