// TForm1: the main window. It owns the menus, the map view with its scroll bars, the side panel
// with the unit list and the minimap, the status line, the two timers and the music, and it
// is the screen the rules talk to (through WindowUi).
#pragma once

#include <QMainWindow>
#include <QImage>
#include <QPoint>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/game/Chronicle.h"
#include "core/game/Game.h"
#include "ui/mainwindow/Settings.h"
#include "ui/widgets/Pictures.h"

class QAction;
class QEventLoop;
class QLabel;
class QListWidget;
class QMenu;
class QPen;
class QPainter;
class QScrollBar;
class QTimer;

namespace milgant {

enum class Opponent : std::uint8_t;
class MapRenderer;
class TImage;
class TMediaPlayer;
class WindowUi;
class AttackAid;
class TLogWindow;
class THistoryWindow;
struct Forms;

class TForm1 : public QMainWindow {
 public:
  // Creates the window and its working pictures and reads "CRT.txt" from the working folder.
  // When the table cannot be read the window is not usable: Failed() says why.
  TForm1(Game& game, Forms& forms, const QString& workingFolder);
  ~TForm1() override;

  bool Failed() const { return !failure_.isEmpty(); }
  const QString& Failure() const { return failure_; }
  Game& game() { return game_; }
  const QString& WorkingFolder() const { return folder_; }
  // Where Save1.dat..Save5.dat and Autosave.dat live (the working folder unless set); created
  // when the first save is written.
  const QString& SaveFolder() const { return saveFolder_; }
  void SetSaveFolder(const QString& folder) { saveFolder_ = folder; }
  // The picture the map is drawn into and the image lists (the battle window draws from them).
  MapRenderer& Renderer() { return *renderer_; }
  const pictures::MainWindowPictures& Pictures() const { return pics_; }
  // Called once the window is closed (the program's end); the tests replace it.
  std::function<void()> OnClosed;

  // The war's chronicle: every event of the game played, kept beside each save.
  const Chronicle& War() const { return chronicle_; }
  void RecordEvent(const Event& e);
  // 記録 ▸ 戦況記録 and 戦史: the two windows, made on first use.
  void LogClick();
  void HistoryClick();
  TLogWindow* LogWindow = nullptr;
  THistoryWindow* HistoryWindow = nullptr;
  QAction* LogItem = nullptr;      // 記録 ▸ 戦況記録
  QAction* HistoryItem = nullptr;  // 記録 ▸ 戦史
  // Scrolls the map to the hex and outlines it.
  void ShowHex(int x, int y);
  // The preview of the hex to attack under the mouse, while the player chooses one.
  AttackAid& Aid() { return *attackAid_; }
  // The tooltip the preview last showed (empty when none).
  const QString& AttackTip() const { return attackTip_; }

  // --- components -----------------------------------------------------------------------
  QLabel* Panel1;
  TImage* Image5;
  TImage* CompressedImage1;
  TImage* Image2;
  QListWidget* ListBox1;
  std::array<QLabel*, 39> Label{};  // Label[1]..Label[38]
  QScrollBar* ScrollBar1;
  QScrollBar* ScrollBar2;
  std::unique_ptr<TMediaPlayer> MPlayer;
  QImage Image6, Image7;
  QTimer* Timer1;
  QTimer* Timer2;
  QMenu* PopupMenu1;
  QAction *K5, *Exit2, *N1, *Help1, *N4, *N5;
  std::array<QAction*, 5> SaveItems{};  // N11..N51
  std::array<QAction*, 5> LoadItems{};  // N12..N52
  QAction* LoadAutosaveItem = nullptr;  // ロード ▸ オートセーブ
  QMenu* SaveMenu = nullptr;
  QAction* NextCorpsItem = nullptr;  // 次に動ける軍団 (N), in the map's menu
  QAction* UndoItem = nullptr;       // 取り消し (Ctrl+Z), in the map's menu
  QAction* CastleNamesItem = nullptr;  // 城名: castle and city names over the map, on or off
  QMenu* LoadMenu = nullptr;
  // The hint line under the map: what to do now, or for a moment why a command did nothing.
  QLabel* HintLine = nullptr;
  // The side that won the game just ended, -1 while none has.
  int Winner = -1;
  // A note the status line shows after its own text (a failed autosave), until it is cleared.
  QString StatusNote;
  bool Closing = false;

  // --- side panel and status line state -----------------------------------------------------
  std::array<int, 141> PanelListSlots{};
  int PanelListCount = 0;
  int HoverX = 0, HoverY = 0, LastHoverX = 0, LastHoverY = 0;
  int MiniX = 0, MiniY = 0;

  // --- settings (設定, 表示) ------------------------------------------------------------------
  // The settings in effect and the file a choice in the menus is written to; with no file the
  // choices last as long as the window (the tests' windows start so, at the default pace).
  void UseSettings(const GameSettings& settings, const QString& file);
  const GameSettings& Settings() const { return settings_; }
  // The opponent chosen in the settings goes to the game (done at start-up, for a new game and
  // for a load; a game under way keeps the one it began with).
  void UseChosenOpponent();
  void SetOpponent(Opponent opponent);
  const QString& SettingsPath() const { return settingsFile_; }
  // A choice in 設定 or 表示: in effect at once (the window size by making the windows again,
  // see OnZoomChosen); written to the file alone, so a one-run setting from the command line
  // stays unwritten.
  void ChooseSetting(SettingKey key, int index);
  // Qt reads the windows' scale once, as the application starts. The program sets this to leave
  // the event loop and make the application and its windows again at the size chosen in 表示;
  // it is called once nothing is waiting (no walk, dialog, battle or menu). Unset (the tests'
  // windows, the tools), a new size applies from the next start and a note says so.
  std::function<void()> OnZoomChosen;
  // The windows made again take over the game as it stood and what the window showed of it.
  struct Carried {
    Game Position;
    Chronicle History;
    std::vector<unsigned char> SavedImage;  // the game as last saved, for 終了's question
    GameSettings Settings;
    int Winner = -1;
    QString StatusNote;
    bool CastleNames = false;
    bool Music = false;
    int MiniX = 0, MiniY = 0;
    int ListRow = -1;        // the list's chosen row, or -1
    QStringList PanelTexts;  // Label[1]..Label[38]
    QPoint TopLeft;          // of the window's frame, in screen pixels
    bool LogShown = false, HistoryShown = false;
  };
  Carried CarryOver() const;
  void TakeOver(const Carried& c);
  // Nothing is waiting: no walk step, dialog, battle, menu or other nested event loop.
  bool Idle() const;
  // The menu item of a setting's value (index among its words).
  QAction* SettingItem(SettingKey key, int index) const;
  // Told when the player picks another opponent in 設定 ▸ 難易度 ("standard" or "strong").
  std::function<void(const QString&)> OnOpponentChanged;
  // The window size the program started with, in per cent.
  int RunningZoom() const { return runningZoom_; }
  // Calls OnZoomChosen as soon as the window is idle.
  void RestartWhenIdle();
  // The computer is playing its phase.
  bool ComputersPhase() const;

  // --- menu commands ------------------------------------------------------------------------
  void K5Click();               // 新規
  void SaveClick(int slot);     // セーブ ▸ データn
  void LoadClick(int slot);     // ロード ▸ データn
  void LoadAutosaveClick();     // ロード ▸ オートセーブ
  void N1Click();               // フェイズ終了
  void UndoClick();             // 取り消し: the move just confirmed is taken back
  // Starts the recording (milgant --record) afresh for the game that has just begun.
  void BeginRecording(const std::string& startedBy);
  void Help1Click();            // バージョン

  // --- map view (drawing and scrolling) ----------------------------------------------------
  void RedrawMap();
  void RedrawAround(int x, int y);
  void ScrollBar1Change(int position);
  void ScrollBar2Change(int position);
  void Image5MouseMove(QPoint at);
  void Image5MouseDown(Qt::MouseButton button, QPoint at);
  // Sets a scroll bar without redrawing (the map already shows the position).
  void SyncScrollBars();
  // Moves the view by (dx, dy) pixels within the scroll bars' range and redraws it.
  void ScrollBy(int dx, int dy);

  // --- side panel, list, minimap, status line -------------------------------------------
  void ShowUnitInPanel(int slot);
  void RefreshUnitList();
  void ListBox1Click();
  void Image2MouseDown(QPoint at);
  void RedrawMinimap();
  void RefreshStatusLine();
  // From the title picture to the map, panel and scroll bars of a game.
  void ShowPlayView();

  // --- guidance -------------------------------------------------------------------------------
  // The hint line and the commands the moment allows (フェイズ終了 and セーブ need a game).
  void RefreshHint();
  // Shows why a command did nothing, highlighted, for a few seconds.
  void FlashHint(const QString& text);
  bool HintFlashing() const;
  // The save slots' items say what each file holds; an empty slot cannot be loaded, and the
  // save items wait for a phase in which a save is possible.
  void UpdateFileMenu();
  // What a slot's item says after its name: turn, army, phase and time, or that it is empty.
  static QString SlotLabel(const QString& path);
  // Whether the game on the map has moved on since it was last saved, autosaved or loaded.
  bool Unsaved();
  // Asks before a game that has moved on since its last save is thrown away; true to go on.
  bool ConfirmDiscard(const QString& what);
  // Remembers the game as it stands as the last one saved.
  void MarkSaved();
  // An ending has been told: who won goes to the status line.
  void GameOver(int winner);
  // Shows the next own corps that can still act, after the one the list shows, and scrolls to
  // it; the hint line says when none is left.
  void NextCorpsClick();
  // The list's marks of the corps still to act.
  void UpdateListMarks();

  // --- music --------------------------------------------------------------------------------
  void PlayMusic(const QString& name);
  void StopMusic();
  void Timer2Timer();

  // --- waits --------------------------------------------------------------------------------
  // While a wait runs (a move step, a modal window, a typed text) the map and フェイズ終了 do
  // nothing, so the game never runs inside itself.
  bool Busy() const { return busy_ > 0; }
  struct BusyScope {
    explicit BusyScope(TForm1& f) : form(f) { ++form.busy_; }
    ~BusyScope() { --form.busy_; }
    TForm1& form;
  };
  // One step of a unit's walk: the map around (x, y) is redrawn and the step timer ticks once.
  void MoveStep(int x, int y);

 protected:
  void closeEvent(QCloseEvent* e) override;
  // A key on a scroll bar sets the position from the bar and always redraws.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CreateMenus();
  void CreateSidePanel();
  void CopyToView(int x, int y, int w, int h);
  void DrawHoverOutline();
  // The six sides of a hex drawn on the map picture with `pen`.
  void OutlineHex(int x, int y, const QPen& pen);
  // Drawn over the view, never into the map: the outline of the corps that is acting.
  void PaintOverView(QPainter& p);
  void PaintCastleNames(QPainter& p);
  void PaintAttackTargets(QPainter& p);
  // The preview's tooltip at the mouse, or none when no target is being chosen.
  void ShowAttackTip();
  void RestoreBox(int x, int y);
  void EndAllWaits();
  bool LoadFrom(const QString& path, const std::string& startedBy);
  // The autosave, when the command just run began a turn of the human's.
  void AutosaveIfTurnBegan(int stateBefore);

  // The chronicle that goes with the save at `savePath`, after it was loaded.
  void LoadChronicleOf(const QString& savePath);
  void WriteChronicleOf(const QString& savePath);
  void ChronicleChanged();

  Game& game_;
  Forms& forms_;
  Chronicle chronicle_;
  QString folder_;
  QString saveFolder_;
  QString failure_;
  pictures::MainWindowPictures pics_;
  std::unique_ptr<MapRenderer> renderer_;
  int busy_ = 0;
  QEventLoop* stepLoop_ = nullptr;
  QString flash_;
  QTimer* flashTimer_ = nullptr;
  std::vector<unsigned char> savedImage_;
  int outlinedState_ = -1, outlinedUnit_ = -1;
  std::unique_ptr<AttackAid> attackAid_;
  QString attackTip_;
  QPoint mouseAt_;
  GameSettings settings_;
  QString settingsFile_;
  int runningZoom_ = 100;
  bool restartPending_ = false;
  static constexpr int kIdleRetryMs = 100;
  std::array<std::vector<QAction*>, std::size(kSettingKeys)> settingItems_;
  // Walks of the computer's phase went by undrawn: the map is drawn whole before it is shown.
  bool walksUndrawn_ = false;
  void CreateSettingsMenus();
  void CheckSettingItems();

 public:
  // Draws the map whole when walks went by undrawn (before a battle is shown over it).
  void CatchUpWalks();
};

}  // namespace milgant
