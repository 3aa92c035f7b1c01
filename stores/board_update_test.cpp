#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "platform/lock.h"
#include "stores/board.h"
#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

BoardSettings boardSettings(unsigned int maxentrys, bool maxmode) {
  BoardSettings s;
  s.type = 1;
  s.maxentrys = maxentrys;
  s.maxmode = maxmode;
  s.lineformat = "%t";
  s.head = "head";
  s.tail = "tail";
  return s;
}

TEST(BoardUpdateTest, OneLockedReadModifyWrite) {
  ScopedTempDir temp;
  ASSERT_EQ(chdir(temp.path().c_str()), 0);
  BoardSettings settings = boardSettings(2, false);
  const XString files("shown.txt|also.txt");

  // A missing store starts empty and is made by the first entry.
  Board board(settings);
  BoardUpdate first = board.addEntry(Board::kMessageBoardFile, files, "one", "al");
  EXPECT_TRUE(first.locked);
  EXPECT_FALSE(first.loaded);
  EXPECT_EQ(first.count, 1);
  EXPECT_TRUE(first.saved);
  EXPECT_TRUE(first.filesWritten);
  EXPECT_EQ(readFile("shown.txt"), "head\none\ntail\n");

  Board again(settings);
  BoardUpdate second = again.addEntry(Board::kMessageBoardFile, files, "two", "al");
  EXPECT_TRUE(second.loaded);
  EXPECT_EQ(second.count, 2);
  // Full and may not drop: refused, the store and files rewritten as they
  // were.
  BoardUpdate refused = again.addEntry(Board::kMessageBoardFile, files, "three", "al");
  EXPECT_EQ(refused.count, -1);
  EXPECT_TRUE(refused.saved);
  EXPECT_EQ(readFile("also.txt"), "head\none\ntwo\ntail\n");

  // A change that asks for no save leaves the store alone, while the shown
  // files are still written.
  const std::string stored = readFile(Board::kMessageBoardFile);
  settings.tail = "new tail";
  Board looker(settings);
  BoardUpdate look = looker.update(Board::kMessageBoardFile, files, [](Board& b) {
    EXPECT_TRUE(b.remove(0));
    return false;
  });
  EXPECT_TRUE(look.locked);
  EXPECT_FALSE(look.saved);
  EXPECT_TRUE(look.filesWritten);
  EXPECT_EQ(readFile(Board::kMessageBoardFile), stored);
  EXPECT_EQ(readFile("shown.txt"), "head\ntwo\nnew tail\n");

  // A newest-first list through its short form.
  NewDirListSettings ndl;
  ndl.type = 3;
  ndl.maxentrys = 2;
  ndl.maxmode = true;
  ndl.lineformat = "%r %t";
  for (const char* path : {"/a", "/b", "/c"}) {
    Board list(ndl);
    BoardUpdate added = list.prependEntry(Board::kNewDirListFile, "ndl.txt", path, "u");
    EXPECT_TRUE(added.saved && added.filesWritten);
  }
  EXPECT_EQ(readFile("ndl.txt"), "\n1 /c\n2 /b\n\n");

  // Without the lock nothing is read, changed or written: a folder stands
  // where the lock file goes.
  testing_support::removeFileForTest(platform::kLockFileName);
  makeDirs(platform::kLockFileName);
  Board blocked(settings);
  bool called = false;
  BoardUpdate none = blocked.update(Board::kMessageBoardFile, files, [&](Board&) {
    called = true;
    return true;
  });
  EXPECT_FALSE(none.locked);
  EXPECT_FALSE(none.saved || none.filesWritten || called);
  BoardUpdate noAdd = blocked.addEntry(Board::kMessageBoardFile, files, "x", "y");
  EXPECT_FALSE(noAdd.locked);
  EXPECT_EQ(readFile(Board::kMessageBoardFile), stored);
  EXPECT_EQ(readFile("shown.txt"), "head\ntwo\nnew tail\n");
}

// Eight processes add 100 entries each to one board at once. Every entry
// the limit allows is kept, each once and whole, each writer's in its own
// order; with a lower limit the newest are kept.
TEST(BoardUpdateTest, EightWritersAtOnce) {
  for (unsigned int limit : {1000u, 300u}) {
    ScopedTempDir temp;
    ASSERT_EQ(chdir(temp.path().c_str()), 0);
    BoardSettings settings = boardSettings(limit, true);
    std::vector<pid_t> children;
    for (int writer = 0; writer < 8; ++writer) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        bool ok = true;
        for (int i = 0; i < 100; ++i) {
          Board board(settings);
          std::string text = "w" + std::to_string(writer) + "-" + std::to_string(i);
          BoardUpdate result = board.addEntry(Board::kMessageBoardFile, "shown.txt", text.c_str(),
                                              ("user" + std::to_string(writer)).c_str());
          ok = ok && result.locked && result.count > 0 && result.saved && result.filesWritten;
        }
        _exit(ok ? 0 : 1);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    Board board(settings);
    ASSERT_EQ(board.load(Board::kMessageBoardFile), 1);
    const unsigned int expected = limit < 800u ? limit : 800u;
    ASSERT_EQ(board.count(), expected);
    std::map<int, std::vector<int>> kept;  // writer -> its entries in list order
    std::string expectedShown = "head\n";
    for (Entry* e = board.head(); e != nullptr; e = e->next) {
      int writer = -1;
      int i = -1;
      ASSERT_EQ(std::sscanf(e->text.c_str(), "w%d-%d", &writer, &i), 2) << e->text.c_str();
      EXPECT_EQ(e->user, ("user" + std::to_string(writer)).c_str());
      kept[writer].push_back(i);
      expectedShown += e->text.str() + "\n";
    }
    unsigned int total = 0;
    for (const auto& [writer, entries] : kept) {
      // A writer's kept entries are its last ones, in order.
      for (size_t k = 0; k < entries.size(); ++k) {
        EXPECT_EQ(entries[k], static_cast<int>(100 - entries.size() + k)) << writer;
      }
      total += static_cast<unsigned int>(entries.size());
    }
    EXPECT_EQ(total, expected);
    if (limit == 1000u) {
      EXPECT_EQ(kept.size(), 8u);
    }
    // The shown file is the rendering of the final store.
    EXPECT_EQ(readFile("shown.txt"), expectedShown + "tail\n");
  }
}

}  // namespace
