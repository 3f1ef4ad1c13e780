// The game as installed for a player: saves in the player's own folder (never in the data
// folder), the autosave at the start of each turn and its load through the menu, and a failed
// autosave that neither stops play nor spoils the one before.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QCryptographicHash>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <map>

#include "GuiFixture.h"
#include "desktop/Autosave.h"
#include "desktop/Folders.h"
#include "core/game/SaveImage.h"

namespace milgant::test {
namespace {

// Every file under a folder with a digest of its bytes.
std::map<QString, QByteArray> Listing(const QString& folder) {
  std::map<QString, QByteArray> out;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) continue;
    out[QDir(folder).relativeFilePath(path)] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
  }
  return out;
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::int32_t TurnIn(const QByteArray& save) {
  std::int32_t turn = -1;
  if (save.size() >= 68944) std::memcpy(&turn, save.constData() + 68940, sizeof turn);
  return turn;
}

class DesktopTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    // The player's folder as the installed game finds it: under XDG_DATA_HOME, not yet made.
    home = dir.filePath(QStringLiteral("home"));
    qputenv("XDG_DATA_HOME", home.toUtf8());
    saves = QString::fromStdString(FindSaveFolder(""));
    form1->SetSaveFolder(saves);
    data = Listing(dir.path());
  }
  void TearDown() override {
    SetFileWriteCallsForTest(nullptr);
    qunsetenv("XDG_DATA_HOME");
    GuiTest::TearDown();
  }
  QString Autosave() const { return saves + QStringLiteral("/Autosave.dat"); }
  // Ends the phases until the human's next turn begins.
  void PlayToNextTurn() {
    const int turn = game->Turn;
    for (int i = 0; i < 3 && !(game->GameState == 2 && game->Turn > turn); ++i) form1->N1->trigger();
    ASSERT_EQ(game->GameState, 2);
    ASSERT_GT(game->Turn, turn);
  }

  QString home, saves;
  std::map<QString, QByteArray> data;
};

TEST_F(DesktopTest, SavesGoToThePlayersFolderAndTheDataFolderIsNeverWritten) {
  EXPECT_EQ(saves, home + QStringLiteral("/milgant"));
  EXPECT_FALSE(QFileInfo::exists(saves));
  StartNewGame(1);
  form1->SaveItems[2]->trigger();
  const QByteArray saved = Bytes(saves + QStringLiteral("/Save3.dat"));
  EXPECT_EQ(saved.size(), static_cast<qsizetype>(kSaveImageSize));
  form1->LoadItems[2]->trigger();
  form1->LoadAutosaveItem->trigger();
  EXPECT_EQ(Bytes(saves + QStringLiteral("/Save3.dat")), saved);
  // Only the player's folder under the scratch home is new; the data files are as they were.
  auto after = Listing(dir.path());
  for (auto it = after.begin(); it != after.end();) it = it->first.startsWith(QStringLiteral("home/")) ? after.erase(it) : std::next(it);
  EXPECT_EQ(after, data);
}

TEST_F(DesktopTest, TheTurnsStartIsSavedAndComesBackThroughTheMenu) {
  EXPECT_EQ(form1->LoadAutosaveItem->text(), QStringLiteral("オートセーブ"));
  // The item stands right after データ5 in the ロード menu.
  QMenu* load = nullptr;
  for (QObject* o : form1->LoadItems[4]->associatedObjects())
    if (auto* m = qobject_cast<QMenu*>(o)) load = m;
  ASSERT_NE(load, nullptr);
  const auto actions = load->actions();
  const auto at = actions.indexOf(form1->LoadItems[4]);
  ASSERT_TRUE(at >= 0 && at + 1 < actions.size());
  EXPECT_EQ(actions[at + 1], form1->LoadAutosaveItem);
  // Nothing saved yet: the load is refused as for an empty slot.
  form1->LoadAutosaveItem->trigger();
  ASSERT_FALSE(Seen().empty());
  EXPECT_EQ(Seen().back().Caption, QStringLiteral("エラー"));
  EXPECT_EQ(Seen().back().Text, QStringLiteral("このファイルはセーブファイルではありません。"));

  StartNewGame(1);
  ASSERT_EQ(game->GameState, 2);
  Snapshot(*game);
  const QByteArray first = Bytes(Autosave());
  ASSERT_EQ(first.size(), static_cast<qsizetype>(kSaveImageSize));
  EXPECT_EQ(first, QByteArray(reinterpret_cast<const char*>(game->SaveImage.data()), kSaveImageSize));

  // The other phases of the turn leave it alone; the next turn's start writes it afresh.
  form1->N1->trigger();
  EXPECT_EQ(game->GameState, 27);
  EXPECT_EQ(Bytes(Autosave()), first);
  PlayToNextTurn();
  const QByteArray second = Bytes(Autosave());
  EXPECT_EQ(TurnIn(second), game->Turn);
  EXPECT_GT(TurnIn(second), TurnIn(first));
  EXPECT_FALSE(form1->Panel1->text().contains(QStringLiteral("オートセーブ")));

  // Played on, then taken back to the turn's start through ロード ▸ オートセーブ.
  const int turn = game->Turn;
  form1->N1->trigger();
  game->ReplenishmentPoints[1] = 99;
  hand->Seen_.clear();
  form1->LoadAutosaveItem->trigger();
  EXPECT_TRUE(Seen().empty());
  EXPECT_EQ(game->GameState, 2);
  EXPECT_EQ(game->Turn, turn);
  Snapshot(*game);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(game->SaveImage.data()), kSaveImageSize), second);

  // A short file is refused with the slots' message, and the game stays.
  QFile broken(Autosave());
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(second.left(kSaveImageSize - 1));
  broken.close();
  form1->LoadAutosaveItem->trigger();
  ASSERT_EQ(Seen().size(), 1u);
  EXPECT_EQ(Seen()[0].Text, QStringLiteral("このファイルはセーブファイルではありません。"));
  EXPECT_EQ(game->Turn, turn);
}

TEST_F(DesktopTest, AFailedAutosaveKeepsTheOldOneAndOnlyTellsTheStatusLine) {
  StartNewGame(1);
  const QByteArray first = Bytes(Autosave());
  ASSERT_EQ(first.size(), static_cast<qsizetype>(kSaveImageSize));
  // The disk fills part way through the write.
  static const FileWriteCalls full = {
      [](const char* path, int flags, unsigned mode) { return ::open(path, flags, static_cast<mode_t>(mode)); },
      [](int fd, const void* data, std::size_t size) {
        errno = ENOSPC;
        return size > 4096 ? static_cast<long>(::write(fd, data, 4096)) : -1L;
      },
      [](int fd) { return ::fsync(fd); },
      [](int fd) { return ::close(fd); },
      [](const char* from, const char* to) { return std::rename(from, to); },
  };
  SetFileWriteCallsForTest(&full);
  hand->Seen_.clear();
  PlayToNextTurn();
  // No window said anything about it (the turn's own notes may come, a save's "ok" may not).
  for (const auto& seen : Seen()) EXPECT_NE(seen.Text, QStringLiteral("ok"));
  EXPECT_EQ(Bytes(Autosave()), first);
  EXPECT_FALSE(QFileInfo::exists(Autosave() + QStringLiteral(".tmp")));
  EXPECT_TRUE(form1->Panel1->text().contains(QStringLiteral("オートセーブ失敗"))) << form1->Panel1->text().toStdString();
  // The note stays with the status line as the mouse moves, until an autosave succeeds.
  form1->RefreshStatusLine();
  EXPECT_TRUE(form1->Panel1->text().contains(QStringLiteral("オートセーブ失敗")));
  SetFileWriteCallsForTest(nullptr);
  PlayToNextTurn();
  EXPECT_EQ(TurnIn(Bytes(Autosave())), game->Turn);
  EXPECT_FALSE(form1->Panel1->text().contains(QStringLiteral("オートセーブ失敗")));
}

}  // namespace
}  // namespace milgant::test
