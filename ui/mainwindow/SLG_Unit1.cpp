// The main window: its making, its menus and commands, the music, and its closing.
#include "ui/mainwindow/AttackAid.h"
#include "ui/mainwindow/SLG_Unit1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include "ui/battlewindow/SLG_Unit4.h"
#include "desktop/Autosave.h"
#include "desktop/Folders.h"
#include "ui/text/SLG_Unit7.h"
#include "ui/dialogs/SLG_Unit2.h"
#include "ui/dialogs/SLG_Unit5.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "ui/dialogs/SLG_Unit8.h"
#include "ui/dialogs/SLG_Unit9.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "ui/text/Fonts.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/Guidance.h"
#include "ui/mainwindow/WindowUi.h"
#include "music/MediaPlayer.h"
#include "core/turn/MapClick.h"
#include "core/rules/Movement.h"
#include "core/turn/PhaseSequence.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "ui/chronicle/ChronicleWindows.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

#include <algorithm>
#include <cstdint>

namespace milgant {
namespace {

constexpr int kClientWidth = 792, kClientHeight = 545;
// A window timer of one millisecond ticks, in practice, about every 16: one hex per tick is
// then a walk the eye can follow.
constexpr int kStepTimerMs = 16;
// How long the reason for a refused command stays in the hint line.
constexpr int kFlashMs = 4000;

}  // namespace

TForm1::TForm1(Game& game, Forms& forms, const QString& workingFolder)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      game_(game),
      forms_(forms),
      folder_(workingFolder),
      saveFolder_(workingFolder) {
  setWindowTitle(QStringLiteral("ミルガント・改"));
  setFont(WindowFont());
  setAttribute(Qt::WA_DeleteOnClose, false);

  // The window's making, in the game's order.
  Closing = false;
  game_.Closing = false;
  game_.ScrollX = game_.ScrollY = 0;
  game_.Rng.SetSeed(Random::ClockSeed());
  QString why;
  if (!pictures::LoadMainWindowPictures(&pics_, &why, pictures::PictureScale())) {
    failure_ = QStringLiteral("broken picture resource: ") + why;
    return;
  }
  Image6 = pics_.Terrain;
  Image7 = pics_.Hexagon;
  game_.DefaultGoalX = 2;
  game_.DefaultGoalY = 5;
  InitialiseGame(game_);
  BuildRuleTables(game_);
  ClearMoveRange(game_);
  for (auto& column : game_.SupplyRemaining) column.fill(-1);
  const CrtLoadResult crt = LoadCrt(game_, (workingFolder + QStringLiteral("/CRT.txt")).toStdString());
  if (!crt.Ok) {
    failure_ = QString::fromStdString(crt.Reason);
    return;
  }
  // The hexagon: a pixel of Image7 belongs to it when it is black.
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 60; ++y)
      game_.HexMask[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] =
          (Image7.pixel(x, y) & 0xffffff) == 0 ? 1 : 0;
  renderer_ = std::make_unique<MapRenderer>(pics_, game_.HexMask);
  // An estimate that arrives for the hex under the mouse updates what the preview says.
  attackAid_ = std::make_unique<AttackAid>(game_, this, [this] {
    RefreshStatusLine();
    ShowAttackTip();
  });
  game_.GameState = 0;

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  Panel1 = new QLabel(client);
  Panel1->setGeometry(0, 0, 792, 25);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Panel1->setIndent(4);

  Image5 = new TImage(client);
  Image5->setGeometry(-8, 24, 593, 505);
  Image5->Picture = QImage(QSize(793, 521) * renderer_->Scale(), QImage::Format_RGB32);
  Image5->Picture.setDevicePixelRatio(renderer_->Scale());
  Image5->Picture.fill(Qt::black);
  Image5->OnMouseMove = [this](QPoint p) { Image5MouseMove(p); };
  Image5->OnMouseDown = [this](Qt::MouseButton b, QPoint p) { Image5MouseDown(b, p); };
  Image5->OnPaintOver = [this](QPainter& p) { PaintOverView(p); };
  // The wheel scrolls a step of the scroll bar per notch, the middle button drags the map
  // along, and the arrow and page keys scroll once the map has been clicked.
  Image5->setFocusPolicy(Qt::ClickFocus);
  Image5->OnWheel = [this](QPoint turn) { ScrollBy(-turn.x() * 60 / 120, -turn.y() * 60 / 120); };
  Image5->OnMiddleDrag = [this](QPoint moved) { ScrollBy(-moved.x(), -moved.y()); };
  Image5->OnKey = [this](int key) {
    switch (key) {
      case Qt::Key_Left: ScrollBy(-60, 0); return true;
      case Qt::Key_Right: ScrollBy(60, 0); return true;
      case Qt::Key_Up: ScrollBy(0, -60); return true;
      case Qt::Key_Down: ScrollBy(0, 60); return true;
      case Qt::Key_PageUp: ScrollBy(0, -120); return true;
      case Qt::Key_PageDown: ScrollBy(0, 120); return true;
      default: return false;
    }
  };

  Image2 = new TImage(client);
  Image2->setGeometry(616, 24, 168, 168);
  Image2->Picture = renderer_->MinimapBitmap();
  Image2->OnMouseDown = [this](Qt::MouseButton, QPoint p) {
    if (game_.GameState != 0) Image2MouseDown(p);
  };

  ListBox1 = new QListWidget(client);
  ListBox1->setGeometry(608, 192, 177, 49);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setStyleSheet(QStringLiteral("QListWidget::item { height: 12px; padding: 0px; }"));
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });

  CreateSidePanel();

  ScrollBar1 = new QScrollBar(Qt::Horizontal, client);
  ScrollBar1->setGeometry(0, 528, 585, 17);
  ScrollBar2 = new QScrollBar(Qt::Vertical, client);
  ScrollBar2->setGeometry(584, 24, 17, 505);
  for (QScrollBar* bar : {ScrollBar1, ScrollBar2}) {
    bar->setRange(0, 1000);
    bar->setSingleStep(60);
    bar->setPageStep(120);
    bar->setVisible(false);
    bar->setEnabled(false);
    bar->installEventFilter(this);
  }
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int v) { ScrollBar1Change(v); });
  connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int v) { ScrollBar2Change(v); });

  // The title covers the map, the panel and the list until a game starts.
  CompressedImage1 = new TImage(client);
  CompressedImage1->setGeometry(0, 24, 793, 521);
  CompressedImage1->Picture = pics_.TitlePicture;
  CompressedImage1->raise();

  MPlayer = std::make_unique<TMediaPlayer>();
  Timer1 = new QTimer(this);
  Timer1->setInterval(kStepTimerMs);
  connect(Timer1, &QTimer::timeout, this, [this] {
    if (stepLoop_ != nullptr) stepLoop_->quit();
  });
  Timer2 = new QTimer(this);
  Timer2->setInterval(1000);
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  Timer2->start();

  // The hint line sits under the client area, outside the game's own window layout.
  HintLine = new QLabel(this);
  HintLine->setIndent(4);
  HintLine->setMinimumWidth(kClientWidth - 16);
  // A fixed height: the window's size must not follow the words in the line.
  HintLine->setFixedHeight(18);
  statusBar()->setFixedHeight(22);
  statusBar()->addWidget(HintLine, 1);
  statusBar()->setSizeGripEnabled(false);
  flashTimer_ = new QTimer(this);
  flashTimer_->setSingleShot(true);
  connect(flashTimer_, &QTimer::timeout, this, [this] {
    flash_.clear();
    RefreshHint();
  });

  CreateMenus();
  RefreshHint();
  if (!pics_.Counters.isEmpty()) setWindowIcon(QIcon(QPixmap::fromImage(pics_.Counters[4])));
  // The client area is fixed; the menu bar sits above it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TForm1::~TForm1() {
  if (MPlayer) StopMusic();
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
  K5 = file->addAction(QStringLiteral("新規"));
  K5->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(K5, &QAction::triggered, this, [this] { K5Click(); });
  QMenu* save = SaveMenu = file->addMenu(QStringLiteral("セーブ"));
  QMenu* load = LoadMenu = file->addMenu(QStringLiteral("ロード"));
  for (QMenu* m : {file, save, load}) m->setToolTipsVisible(true);
  connect(file, &QMenu::aboutToShow, this, [this] { UpdateFileMenu(); });
  for (int n = 1; n <= 5; ++n) {
    const QString item = QStringLiteral("データ%1").arg(n);
    SaveItems[static_cast<std::size_t>(n - 1)] = save->addAction(item);
    connect(SaveItems[static_cast<std::size_t>(n - 1)], &QAction::triggered, this, [this, n] { SaveClick(n); });
    LoadItems[static_cast<std::size_t>(n - 1)] = load->addAction(item);
    connect(LoadItems[static_cast<std::size_t>(n - 1)], &QAction::triggered, this, [this, n] { LoadClick(n); });
  }
  LoadAutosaveItem = load->addAction(QStringLiteral("オートセーブ"));
  connect(LoadAutosaveItem, &QAction::triggered, this, [this] { LoadAutosaveClick(); });
  Exit2 = file->addAction(QStringLiteral("終了"));
  Exit2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(Exit2, &QAction::triggered, this, [this] { close(); });
  N1 = bar->addAction(QStringLiteral("フェイズ終了"));
  N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  N1->setToolTip(QStringLiteral("フェイズ終了 (Ctrl+E)"));
  connect(N1, &QAction::triggered, this, [this] { N1Click(); });
  QMenu* record = bar->addMenu(QStringLiteral("記録"));
  LogItem = record->addAction(QStringLiteral("戦況記録"));
  LogItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  connect(LogItem, &QAction::triggered, this, [this] { LogClick(); });
  HistoryItem = record->addAction(QStringLiteral("戦史"));
  HistoryItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  connect(HistoryItem, &QAction::triggered, this, [this] { HistoryClick(); });
  CreateSettingsMenus();
  Help1 = bar->addAction(QStringLiteral("バージョン"));
  connect(Help1, &QAction::triggered, this, [this] { Help1Click(); });

  PopupMenu1 = new QMenu(this);
  N4 = PopupMenu1->addAction(QStringLiteral("フェイズ終了\tCtrl+E"));
  connect(N4, &QAction::triggered, this, [this] { N1Click(); });
  N5 = PopupMenu1->addAction(QStringLiteral("キャンセル"));
  // The menu bar keeps the game's three entries; the aids of the view live in the map's menu,
  // and their keys work anywhere in the window.
  PopupMenu1->addSeparator();
  NextCorpsItem = PopupMenu1->addAction(QStringLiteral("次に動ける軍団"));
  NextCorpsItem->setShortcut(QKeySequence(Qt::Key_N));
  NextCorpsItem->setShortcutContext(Qt::WindowShortcut);
  addAction(NextCorpsItem);
  connect(NextCorpsItem, &QAction::triggered, this, [this] { NextCorpsClick(); });
  UndoItem = PopupMenu1->addAction(QStringLiteral("取り消し"));
  UndoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  UndoItem->setShortcutContext(Qt::WindowShortcut);
  addAction(UndoItem);
  connect(UndoItem, &QAction::triggered, this, [this] { UndoClick(); });
  CastleNamesItem = PopupMenu1->addAction(QStringLiteral("城名"));
  CastleNamesItem->setCheckable(true);
  connect(CastleNamesItem, &QAction::toggled, this, [this] { Image5->update(); });
}

void TForm1::CreateSettingsMenus() {
  QMenuBar* bar = menuBar();
  QMenu* settings = bar->addMenu(QStringLiteral("設定"));
  QMenu* view = bar->addMenu(QStringLiteral("表示"));
  struct Group {
    SettingKey key;
    QMenu* menu;
    QStringList items;
  };
  const Group groups[] = {
      {SettingKey::Move, settings->addMenu(QStringLiteral("移動アニメーション")),
       {QStringLiteral("標準"), QStringLiteral("高速"), QStringLiteral("なし")}},
      {SettingKey::BattleText, settings->addMenu(QStringLiteral("戦闘メッセージ")),
       {QStringLiteral("標準"), QStringLiteral("高速"), QStringLiteral("一括表示")}},
      {SettingKey::Computer, settings->addMenu(QStringLiteral("コンピュータのフェイズ")),
       {QStringLiteral("観戦"), QStringLiteral("高速"), QStringLiteral("戦闘のみ")}},
      {SettingKey::Opponent, nullptr, {QStringLiteral("普通"), QStringLiteral("強い")}},
      {SettingKey::Zoom, view, {QStringLiteral("100 %"), QStringLiteral("150 %"), QStringLiteral("200 %")}}};
  for (const Group& g : groups) {
    QMenu* menu = g.menu;
    if (menu == nullptr) {
      settings->addSeparator();
      menu = settings->addMenu(QStringLiteral("難易度"));
    }
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    auto& items = settingItems_[static_cast<std::size_t>(g.key)];
    for (int i = 0; i < g.items.size(); ++i) {
      QAction* item = menu->addAction(g.items[i]);
      item->setCheckable(true);
      group->addAction(item);
      connect(item, &QAction::triggered, this, [this, key = g.key, i] { ChooseSetting(key, i); });
      items.push_back(item);
    }
  }
  CheckSettingItems();
}

void TForm1::CheckSettingItems() {
  for (SettingKey key : kSettingKeys) {
    const auto& items = settingItems_[static_cast<std::size_t>(key)];
    const int chosen = SettingIndex(settings_, key);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) items[static_cast<std::size_t>(i)]->setChecked(i == chosen);
  }
}

QAction* TForm1::SettingItem(SettingKey key, int index) const {
  const auto& items = settingItems_[static_cast<std::size_t>(key)];
  return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : nullptr;
}

void TForm1::UseSettings(const GameSettings& settings, const QString& file) {
  settings_ = settings;
  settingsFile_ = file;
  runningZoom_ = settings.Zoom;
  CheckSettingItems();
  UseChosenOpponent();
}

void TForm1::ChooseSetting(SettingKey key, int index) {
  const GameSettings before = settings_;
  SetSetting(settings_, key, index);
  CheckSettingItems();
  if (!settingsFile_.isEmpty() && !WriteSetting(settingsFile_, settings_, key))
    FlashHint(QStringLiteral("設定を保存できませんでした: ") + settingsFile_);
  if (key == SettingKey::Zoom && settings_.Zoom != before.Zoom && settings_.Zoom != runningZoom_ && !Closing) {
    // Qt scales the windows by a factor it reads once, as the application starts: the program
    // makes it and the windows again at the new size, or the size waits for the next start.
    const QSize next = frameGeometry().size() * settings_.Zoom / runningZoom_;
    const QSize room = screen() != nullptr ? screen()->availableGeometry().size() : next;
    const bool fits = next.width() <= room.width() && next.height() <= room.height();
    QStringList note;
    if (!OnZoomChosen) note << QStringLiteral("表示の大きさは次回の起動から変わります。");
    if (!fits) note << QStringLiteral("この大きさは画面に収まりません。");
    if (!note.isEmpty()) {
      BusyScope busy(*this);
      forms_.Form2->Message(QStringLiteral("表示"), note.join(QLatin1Char('\n')));
    }
    if (OnZoomChosen) RestartWhenIdle();
  }
  if (key == SettingKey::Opponent && settings_.Opponent != before.Opponent) {
    // A game keeps the opponent it began with (a recording of it replays with that one); the
    // choice plays from the next new game or load.
    if (game_.GameState == 0) {
      UseChosenOpponent();
    } else if (!Closing) {
      BusyScope busy(*this);
      forms_.Form2->Message(QStringLiteral("難易度"), QStringLiteral("難易度は次の新規ゲームかロードから変わります。"));
    }
    if (OnOpponentChanged) OnOpponentChanged(QString::fromStdString(settings_.Opponent));
  }
}

void TForm1::RestartWhenIdle() {
  if (restartPending_) return;
  restartPending_ = true;
  // Leaving the event loop ends every loop running inside it too: the restart waits until
  // nothing is waiting on one (a walk, a dialog, a battle, an open menu).
  QTimer::singleShot(0, this, [this] {
    restartPending_ = false;
    if (Closing || !OnZoomChosen || settings_.Zoom == runningZoom_) return;
    if (!Idle()) {
      QTimer::singleShot(kIdleRetryMs, this, [this] { RestartWhenIdle(); });
      return;
    }
    OnZoomChosen();
  });
}

bool TForm1::Idle() const {
  return !Busy() && stepLoop_ == nullptr && QApplication::activeModalWidget() == nullptr &&
         QApplication::activePopupWidget() == nullptr && QThread::currentThread()->loopLevel() <= 1;
}

TForm1::Carried TForm1::CarryOver() const {
  Carried c;
  c.Position = game_;
  c.History = chronicle_;
  c.SavedImage = savedImage_;
  c.Settings = settings_;
  c.Winner = Winner;
  c.StatusNote = StatusNote;
  c.CastleNames = CastleNamesItem->isChecked();
  c.Music = MPlayer != nullptr && MPlayer->Mode() == TMPModes::Playing;
  c.MiniX = MiniX;
  c.MiniY = MiniY;
  const QListWidgetItem* chosen = ListBox1->currentItem();
  c.ListRow = chosen != nullptr && chosen->isSelected() ? ListBox1->currentRow() : -1;
  for (int n = 1; n <= 38; ++n) c.PanelTexts << Label[static_cast<std::size_t>(n)]->text();
  c.TopLeft = frameGeometry().topLeft() * devicePixelRatioF();
  c.LogShown = LogWindow != nullptr && LogWindow->isVisible();
  c.HistoryShown = HistoryWindow != nullptr && HistoryWindow->isVisible();
  return c;
}

void TForm1::TakeOver(const Carried& c) {
  game_ = c.Position;
  chronicle_ = c.History;
  savedImage_ = c.SavedImage;
  Winner = c.Winner;
  StatusNote = c.StatusNote;
  MiniX = c.MiniX;
  MiniY = c.MiniY;
  CastleNamesItem->setChecked(c.CastleNames);
  if (game_.GameState != 0) {
    ShowPlayView();
    RefreshUnitList();
    RedrawMap();
  }
  // The panel shows the unit it showed, the list the corps it had chosen.
  for (int n = 1; n <= 38 && n <= c.PanelTexts.size(); ++n) Label[static_cast<std::size_t>(n)]->setText(c.PanelTexts[n - 1]);
  if (c.ListRow >= 0 && c.ListRow < ListBox1->count()) ListBox1->setCurrentRow(c.ListRow);
  ChronicleChanged();
  RefreshStatusLine();
  RefreshHint();
  UpdateFileMenu();
  if (c.Music) PlayMusic(QStringLiteral("kknc_gm.mid"));
  if (c.LogShown) LogClick();
  if (c.HistoryShown) HistoryClick();
}

void TForm1::UseChosenOpponent() {
  SetOpponent(settings_.Opponent == "strong" ? Opponent::Strong : Opponent::Standard);
}

void TForm1::SetOpponent(Opponent opponent) {
  game_.ComputerOpponent = opponent;
  if (forms_.Form6 != nullptr)
    forms_.Form6->ShowOpponent(opponent == Opponent::Strong ? QStringLiteral("強い") : QStringLiteral("普通"));
}

// The turn's end runs the computer's whole phase in this state, and only then.
bool TForm1::ComputersPhase() const { return game_.GameState == 15; }

void TForm1::CreateSidePanel() {
  QWidget* client = centralWidget();
  auto make = [&](int n, const QString& text, int x, int y) {
    QLabel* l = new QLabel(text, client);
    l->move(x, y);
    // Values run to the window's edge; a caption is as wide as its words.
    l->resize(text.isEmpty() ? kClientWidth - x : l->sizeHint().width(), 14);
    l->setVisible(false);
    l->setEnabled(false);
    l->setToolTip(TermTip(text));
    Label[static_cast<std::size_t>(n)] = l;
  };
  const QString slash = QStringLiteral("/");
  const QString none;
  // Row by row: captions, then the values they describe.
  make(33, QStringLiteral("選択モード"), 608, 240);
  make(34, none, 680, 240);
  make(1, QStringLiteral("所属軍"), 608, 264);
  make(9, none, 680, 264);
  make(2, QStringLiteral("武将名"), 608, 288);
  make(10, none, 680, 288);
  make(3, QStringLiteral("戦闘力/最大戦闘力"), 608, 312);
  make(11, none, 728, 312);
  make(12, slash, 748, 312);
  make(13, none, 756, 312);
  make(4, QStringLiteral("ステップ/最大ステップ"), 608, 336);
  make(14, none, 736, 336);
  make(15, slash, 756, 336);
  make(16, none, 764, 336);
  make(5, QStringLiteral("行動ポイント"), 608, 360);
  make(18, none, 688, 360);
  make(17, slash, 704, 360);
  make(35, none, 712, 360);
  make(19, slash, 728, 360);
  make(20, none, 736, 360);
  make(6, QStringLiteral("士気"), 608, 384);
  make(8, none, 640, 384);
  make(29, QStringLiteral("戦闘修正"), 672, 384);
  make(30, none, 728, 384);
  make(25, QStringLiteral("采配"), 608, 408);
  make(26, none, 640, 408);
  make(27, QStringLiteral("階級"), 672, 408);
  make(28, none, 704, 408);
  make(21, QStringLiteral("行動状態"), 608, 432);
  make(22, none, 680, 432);
  make(23, QStringLiteral("補給状態"), 608, 456);
  make(7, none, 680, 456);
  make(31, QStringLiteral("部隊状態"), 608, 480);
  make(24, none, 680, 480);
  make(36, QStringLiteral("野戦築城"), 608, 504);
  make(32, none, 680, 504);
  make(37, QStringLiteral("援軍待機"), 608, 528);
  make(38, none, 680, 528);
  ListBox1->setVisible(false);
  ListBox1->setEnabled(false);
}

void TForm1::ShowPlayView() {
  for (int n = 1; n <= 38; ++n) {
    Label[static_cast<std::size_t>(n)]->setVisible(true);
    Label[static_cast<std::size_t>(n)]->setEnabled(true);
  }
  ListBox1->setVisible(true);
  ListBox1->setEnabled(true);
  CompressedImage1->setVisible(false);
  CompressedImage1->setEnabled(false);
  for (QScrollBar* bar : {ScrollBar1, ScrollBar2}) {
    bar->setVisible(true);
    bar->setEnabled(true);
  }
}

// --- menu commands -------------------------------------------------------------------------

void TForm1::K5Click() {
  if (Busy() || Closing) return;
  if (!ConfirmDiscard(QStringLiteral("新しいゲームを始めますか？"))) return;
  BusyScope busy(*this);
  // A recording follows the game being played: it starts afresh with the new game.
  InputRecorder* recorder = forms_.Ui->Recorder;
  if (recorder != nullptr) recorder->Pause();
  // A new game starts a new chronicle; one that could not start leaves the old one.
  Chronicle previous = std::move(chronicle_);
  chronicle_ = Chronicle{};
  ChronicleChanged();
  const Opponent before = game_.ComputerOpponent;
  UseChosenOpponent();
  const bool started = NewGame(game_, *forms_.Ui, (folder_ + QStringLiteral("/Map.dat")).toStdString());
  if (!started) {
    chronicle_ = std::move(previous);
    ChronicleChanged();
    SetOpponent(before);
  }
  if (recorder != nullptr) started && game_.GameState != 0 ? BeginRecording("新規") : recorder->Resume();
  // Whichever army was chosen and whatever the last game stood at, the first turn is saved.
  if (started && game_.GameState == 2) {
    Winner = -1;
    AutosaveIfTurnBegan(0);
  }
  RefreshHint();
}

void TForm1::BeginRecording(const std::string& startedBy) {
  InputRecorder* recorder = forms_.Ui->Recorder;
  if (recorder == nullptr) return;
  Snapshot(game_);
  if (!recorder->Begin(game_.Rng.Seed(), game_.AdvanceLimit, game_.SaveImage, startedBy, &game_.ScrollX, &game_.ScrollY,
                       game_.ComputerOpponent))
    forms_.Ui->MessageBox("記録ファイルに書き込めません: " + recorder->Path());
}

void TForm1::SaveClick(int slot) {
  if (Busy() || Closing || game_.GameState == 0) return;
  BusyScope busy(*this);
  // The save folder is made on first use; if that fails, the save reports it as any failed write.
  MakeFolder(saveFolder_.toStdString());
  if (SaveGame(game_, *forms_.Ui, slot, saveFolder_.toStdString())) {
    WriteChronicleOf(saveFolder_ + QStringLiteral("/") + QString::fromStdString(SaveFileName(slot)));
    MarkSaved();
    FlashHint(QStringLiteral("データ%1 にセーブしました").arg(slot));
  }
}

void TForm1::LoadClick(int slot) {
  if (Busy() || Closing) return;
  LoadFrom(QString::fromStdString(FindSaveFile(saveFolder_.toStdString(), slot)), "ロード " + std::to_string(slot));
}

void TForm1::LoadAutosaveClick() {
  if (Busy() || Closing) return;
  LoadFrom(saveFolder_ + QStringLiteral("/") + QString::fromLatin1(kAutosaveFile), "ロード オートセーブ");
}

bool TForm1::LoadFrom(const QString& path, const std::string& startedBy) {
  BusyScope busy(*this);
  InputRecorder* recorder = forms_.Ui->Recorder;
  if (recorder != nullptr) recorder->Pause();
  // A file that is not a save changes nothing, not even the title before the first game.
  const Opponent before = game_.ComputerOpponent;
  UseChosenOpponent();
  if (LoadGameFrom(game_, *forms_.Ui, path.toStdString(), (folder_ + QStringLiteral("/Map.dat")).toStdString())) {
    StatusNote.clear();
    LoadChronicleOf(path);
    Winner = -1;
    ShowPlayView();
    RedrawMap();
    BeginRecording(startedBy);
    MarkSaved();
    RefreshHint();
    return true;
  }
  SetOpponent(before);
  if (recorder != nullptr) recorder->Resume();
  return false;
}

void TForm1::AutosaveIfTurnBegan(int stateBefore) {
  if (Closing || !TurnBegan(stateBefore, game_)) return;
  std::string why;
  if (WriteAutosave(game_, saveFolder_.toStdString(), &why)) {
    StatusNote.clear();
    WriteChronicleOf(saveFolder_ + QStringLiteral("/") + QString::fromLatin1(kAutosaveFile));
    MarkSaved();
  } else {
    // Never a window in the middle of play: one note in the status line, until a later
    // autosave succeeds.
    StatusNote = QStringLiteral("オートセーブ失敗: ") + QString::fromStdString(why);
  }
  RefreshStatusLine();
}

void TForm1::N1Click() {
  if (Busy() || Closing) return;
  BusyScope busy(*this);
  const Input in = Input::MenuCommand(MenuItem::PhaseEnd);
  if (forms_.Ui->Recorder != nullptr) forms_.Ui->Recorder->Write(in);
  const int before = game_.GameState;
  // The phase goes on until what is under way is finished; the hint line says what that is.
  const QString refused = PhaseEndRefusal(game_);
  DispatchInput(game_, *forms_.Ui, in);
  AutosaveIfTurnBegan(before);
  if (!refused.isEmpty() && game_.GameState == before) FlashHint(refused);
  RefreshHint();
}

void TForm1::UndoClick() {
  if (Busy() || Closing || game_.GameState == 0) return;
  if (!CanUndoMove(game_)) {
    FlashHint(QStringLiteral("取り消せるのは、決定したばかりの移動だけです（ほかの操作の前に）"));
    return;
  }
  BusyScope busy(*this);
  const Input in = Input::MenuCommand(MenuItem::Undo);
  if (forms_.Ui->Recorder != nullptr) forms_.Ui->Recorder->Write(in);
  DispatchInput(game_, *forms_.Ui, in);
  FlashHint(QStringLiteral("移動を取り消しました"));
}

void TForm1::Help1Click() {
  SetOpponent(game_.ComputerOpponent);
  forms_.Form6->ShowAbout();
}

// --- the chronicle -------------------------------------------------------------------------

void TForm1::RecordEvent(const Event& e) {
  Record(chronicle_, e);
  if (LogWindow != nullptr && LogWindow->isVisible()) {
    if (e.Kind == EventKind::MoveTakenBack) {
      LogWindow->Rebuild();
    } else {
      LogWindow->Append(e);
    }
  }
  if (HistoryWindow != nullptr && HistoryWindow->isVisible() && e.Kind == EventKind::PhaseBegins) HistoryWindow->Rebuild();
}

void TForm1::ChronicleChanged() {
  if (LogWindow != nullptr) LogWindow->Rebuild();
  if (HistoryWindow != nullptr) HistoryWindow->Rebuild();
}

void TForm1::LoadChronicleOf(const QString& savePath) {
  std::string why;
  const ChronicleRead r = ReadChronicle(ChronicleFileFor(savePath.toStdString()), game_.Turn, chronicle_, &why);
  // A chronicle that cannot be trusted never stands in the way of the game: it starts afresh.
  if (r == ChronicleRead::Damaged) StatusNote = QStringLiteral("戦況記録が壊れていたため、このターンから記録し直します");
  ChronicleChanged();
  RefreshStatusLine();
}

void TForm1::WriteChronicleOf(const QString& savePath) {
  if (!WriteChronicle(chronicle_, ChronicleFileFor(savePath.toStdString()))) {
    StatusNote = QStringLiteral("戦況記録を書き込めませんでした");
    RefreshStatusLine();
  }
}

void TForm1::LogClick() {
  if (LogWindow == nullptr) {
    LogWindow = new TLogWindow(this);
    LogWindow->OnShowHex = [this](int x, int y) { ShowHex(x, y); };
    LogWindow->SetSource(&game_, &chronicle_);
    LogWindow->move(geometry().right() + 8, geometry().top());
  } else {
    LogWindow->Rebuild();
  }
  LogWindow->show();
  LogWindow->raise();
}

void TForm1::HistoryClick() {
  if (HistoryWindow == nullptr) {
    HistoryWindow = new THistoryWindow(this);
    HistoryWindow->SetSource(&game_, &chronicle_);
    HistoryWindow->move(geometry().left() + 40, geometry().top() + 40);
  } else {
    HistoryWindow->Rebuild();
  }
  HistoryWindow->show();
  HistoryWindow->raise();
}

// --- music ---------------------------------------------------------------------------------

void TForm1::PlayMusic(const QString& name) {
  StopMusic();
  MPlayer->SetFileName((folder_ + QStringLiteral("/Midi/") + name).toStdString());
  if (!MPlayer->Open() || !MPlayer->Play()) {
    forms_.Ui->Note("エラー", (QStringLiteral("\\Midi\\") + name + QStringLiteral("がありません。")).toStdString());
    close();
  }
}

void TForm1::StopMusic() {
  if (MPlayer->Mode() == TMPModes::Playing) {
    MPlayer->Stop();
    MPlayer->Close();
  }
}

void TForm1::Timer2Timer() {
  if (MPlayer->Mode() == TMPModes::Stopped) MPlayer->Play();
}

// --- waits and closing -----------------------------------------------------------------------

void TForm1::MoveStep(int x, int y) {
  const int normal = Timer1->interval();
  const int wait = StepWait(settings_, ComputersPhase(), normal);
  if (wait < 0) {
    walksUndrawn_ = true;
    return;
  }
  RedrawAround(x, y);
  if (Closing || wait == 0) return;
  BusyScope busy(*this);
  QEventLoop loop;
  stepLoop_ = &loop;
  Timer1->setInterval(wait);
  Timer1->start();
  loop.exec();
  Timer1->stop();
  Timer1->setInterval(normal);
  stepLoop_ = nullptr;
}

void TForm1::CatchUpWalks() {
  if (!walksUndrawn_) return;
  walksUndrawn_ = false;
  RedrawMap();
}

void TForm1::EndAllWaits() {
  if (stepLoop_ != nullptr) stepLoop_->quit();
  if (forms_.Form2 != nullptr) forms_.Form2->ForceClose();
  if (forms_.Form8 != nullptr) forms_.Form8->ForceClose();
  for (QDialog* d : {static_cast<QDialog*>(forms_.Form3), static_cast<QDialog*>(forms_.Form5),
                     static_cast<QDialog*>(forms_.Form9)})
    if (d != nullptr && d->isVisible()) d->done(0);
  if (forms_.Form4 != nullptr) forms_.Form4->Abort();
  if (forms_.Form7 != nullptr) forms_.Form7->Abort();
}

void TForm1::closeEvent(QCloseEvent* e) {
  // Not in the middle of a command: a close then ends the program at once, as it always has.
  if (!Closing && !Busy() && !ConfirmDiscard(QStringLiteral("終了しますか？"))) {
    e->ignore();
    return;
  }
  Closing = true;
  game_.Closing = true;
  EndAllWaits();
  e->accept();
  if (forms_.Form6 != nullptr) forms_.Form6->hide();
  if (OnClosed) OnClosed();
}

}  // namespace milgant

namespace milgant {

// --- guidance ------------------------------------------------------------------------------

void TForm1::RefreshHint() {
  const bool playing = game_.GameState != 0;
  const QString hint = flash_.isEmpty() ? PhaseHint(game_, Winner) : flash_;
  if (HintLine->text() != hint) HintLine->setText(hint);
  HintLine->setStyleSheet(flash_.isEmpty() ? QString() : QStringLiteral("QLabel { background: #ffe070; color: black; }"));
  // Once a game is over or before one has begun, only 新規 and ロード have anything to do.
  N1->setEnabled(playing);
  N4->setEnabled(playing);
  NextCorpsItem->setEnabled(playing);
  UndoItem->setEnabled(playing);
  SaveMenu->menuAction()->setEnabled(playing);
  const QString why = PhaseEndRefusal(game_);
  N1->setToolTip(why.isEmpty() ? QStringLiteral("フェイズ終了 (Ctrl+E)") : why);
  // The acting corps' outline follows the phase and the corps.
  const int outlined = game_.GameState == 7 ? game_.SelectedUnit : -1;
  if (outlined != outlinedUnit_ || game_.GameState != outlinedState_) {
    outlinedUnit_ = outlined;
    outlinedState_ = game_.GameState;
    Image5->update();
  }
}

void TForm1::FlashHint(const QString& text) {
  if (text.isEmpty()) return;
  flash_ = text;
  flashTimer_->start(kFlashMs);
  RefreshHint();
}

bool TForm1::HintFlashing() const { return !flash_.isEmpty(); }

void TForm1::GameOver(int winner) {
  Winner = winner;
  flash_.clear();
  Panel1->setText(GameOverLine(winner));
  RefreshHint();
}

QString TForm1::SlotLabel(const QString& path) {
  QFile f(path);
  if (!f.exists()) return QStringLiteral("空き");
  if (f.size() < static_cast<qint64>(kSaveImageSize) || !f.open(QIODevice::ReadOnly))
    return QStringLiteral("セーブファイルではありません");
  const QByteArray image = f.read(static_cast<qint64>(kSaveImageSize));
  if (image.size() != static_cast<qsizetype>(kSaveImageSize)) return QStringLiteral("セーブファイルではありません");
  auto int32At = [&](std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(image[static_cast<qsizetype>(offset) + i]);
    return static_cast<std::int32_t>(v);
  };
  const int playerSide = int32At(kScalarsOffset + 20);
  const int turn = int32At(kScalarsOffset + 28);
  const int state = int32At(kScalarsOffset + 36);
  QString phase;
  if (state == 2) phase = QStringLiteral("補充フェイズ");
  else if (state == 27) phase = QStringLiteral("編成フェイズ");
  else if (state == 3) phase = QStringLiteral("行動フェイズ");
  const QString army = playerSide == 0 || playerSide == 1
                           ? QString::fromUtf8(ArmyNames[static_cast<std::size_t>(playerSide)].data())
                           : QString();
  const QString when = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
  return QStringLiteral("%1ターン %2 %3  %4").arg(turn == 0 ? 1 : turn).arg(army, phase, when);
}

void TForm1::UpdateFileMenu() {
  const QString why = SaveRefusal(game_);
  const std::string folder = saveFolder_.toStdString();
  for (int n = 1; n <= 5; ++n) {
    const QString name = QStringLiteral("データ%1").arg(n);
    QString path = QString::fromStdString(FindSaveFile(folder, n));
    const QString label = SlotLabel(path);
    const bool empty = !QFile::exists(path);
    QAction* save = SaveItems[static_cast<std::size_t>(n - 1)];
    QAction* load = LoadItems[static_cast<std::size_t>(n - 1)];
    save->setText(name + QStringLiteral("\t") + label);
    save->setEnabled(why.isEmpty());
    save->setToolTip(why);
    load->setText(name + QStringLiteral("\t") + label);
    load->setEnabled(!empty);
    load->setToolTip(empty ? QStringLiteral("このスロットにはセーブがありません") : QString());
  }
  const QString autosave = saveFolder_ + QStringLiteral("/") + QString::fromLatin1(kAutosaveFile);
  const bool none = !QFile::exists(autosave);
  LoadAutosaveItem->setText(QStringLiteral("オートセーブ\t") + SlotLabel(autosave));
  LoadAutosaveItem->setEnabled(!none);
  LoadAutosaveItem->setToolTip(none ? QStringLiteral("オートセーブはまだありません") : QString());
}

void TForm1::MarkSaved() {
  const auto kept = game_.SaveImage;
  Snapshot(game_);
  savedImage_.assign(game_.SaveImage.begin(), game_.SaveImage.end());
  game_.SaveImage = kept;
}

bool TForm1::Unsaved() {
  if (game_.GameState == 0) return false;
  const auto kept = game_.SaveImage;
  Snapshot(game_);
  const bool same = savedImage_.size() == game_.SaveImage.size() &&
                    std::equal(savedImage_.begin(), savedImage_.end(), game_.SaveImage.begin());
  game_.SaveImage = kept;
  return !same;
}

bool TForm1::ConfirmDiscard(const QString& what) {
  if (!Unsaved()) return true;
  BusyScope busy(*this);
  return forms_.Form2->CustomQuestion(QStringLiteral("確認"),
                                      QStringLiteral("最後のセーブの後の進行は失われます。\n") + what,
                                      QStringLiteral("はい"), QStringLiteral("いいえ"));
}

}  // namespace milgant
