#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

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
  const char* store = Board::kMessageBoardFile;

  // A missing store starts empty and is made by the first entry; a full
  // board that may not drop refuses, and is stored and shown as it was.
  Board board(settings);
  BoardUpdate first = board.addEntry(store, files, "one", "al");
  EXPECT_TRUE(first.locked && !first.loaded && first.count == 1 && first.saved &&
              first.filesWritten);
  EXPECT_EQ(board.addEntry(store, files, "two", "al").count, 2);
  BoardUpdate refused = board.addEntry(store, files, "three", "al");
  EXPECT_TRUE(refused.loaded && refused.count == -1 && refused.saved);
  EXPECT_EQ(readFile("also.txt"), "head\none\ntwo\ntail\n");

  // A change that asks for no save leaves the store alone, while the shown
  // files are still written.
  const std::string stored = readFile(store);
  settings.tail = "new tail";
  BoardUpdate look = board.update(store, files, [](Board& b) {
    EXPECT_TRUE(b.remove(0));
    return false;
  });
  EXPECT_TRUE(look.locked && !look.saved && look.filesWritten);
  EXPECT_EQ(readFile(store), stored);
  EXPECT_EQ(readFile("shown.txt"), "head\ntwo\nnew tail\n");

  // A newest-first list through its short form.
  NewDirListSettings ndl;
  static_cast<BoardSettings&>(ndl) = boardSettings(2, true);
  ndl.type = 3;
  ndl.lineformat = "%r %t";
  Board list(ndl);
  for (const char* path : {"/a", "/b", "/c"}) {
    BoardUpdate added = list.prependEntry(Board::kNewDirListFile, "ndl.txt", path, "u");
    EXPECT_TRUE(added.saved && added.filesWritten);
  }
  EXPECT_EQ(readFile("ndl.txt"), "head\n1 /c\n2 /b\ntail\n");

  // A store that cannot be written: the shown files are left alone.
  makeDirs(Board::kRequestBoardFile);
  BoardUpdate unsaved = board.addEntry(Board::kRequestBoardFile, "requests.txt", "r", "u");
  EXPECT_TRUE(unsaved.locked && !unsaved.saved && !unsaved.filesWritten);
  EXPECT_FALSE(testing_support::exists("requests.txt"));

  // Without the lock nothing is read, changed or written: a folder stands
  // where the lock file goes.
  testing_support::removeFileForTest(platform::kLockFileName);
  makeDirs(platform::kLockFileName);
  bool called = false;
  BoardUpdate none = board.update(store, files, [&](Board&) { return called = true; });
  EXPECT_FALSE(none.locked || none.saved || none.filesWritten || called);
  EXPECT_FALSE(board.addEntry(store, files, "x", "y").locked);
  EXPECT_EQ(readFile(store), stored);
  EXPECT_EQ(readFile("shown.txt"), "head\ntwo\nnew tail\n");
}

#ifndef _WIN32  // fork: the lock between processes on Windows is tested with the lock itself
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
#endif

}  // namespace
