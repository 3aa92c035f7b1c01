#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <map>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/lock.h"
#include "stores/board.h"
#include "tests/process_writers.h"
#include "tests/test_support.h"
#ifdef _WIN32
#include <thread>

#include "platform/process.h"
#endif

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::textBytes;
using testing_support::writeFile;

using testing_support::writerBoardSettings;

TEST(BoardUpdateTest, OneLockedReadModifyWrite) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  BoardSettings settings = writerBoardSettings(2, false);
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
  // The shown files are written in text mode.
  EXPECT_EQ(readFile("also.txt"), textBytes("head\none\ntwo\ntail\n"));

  // A change that asks for no save leaves the store and the shown files
  // alone.
  const std::string stored = readFile(store);
  const std::string shown = readFile("shown.txt");
  settings.tail = "new tail";
  BoardUpdate look = board.update(store, files, [](Board& b) {
    EXPECT_TRUE(b.remove(0));
    return false;
  });
  EXPECT_TRUE(look.locked && !look.saved && !look.filesWritten);
  EXPECT_EQ(readFile(store), stored);
  EXPECT_EQ(readFile("shown.txt"), shown);

  // A newest-first list through its short form.
  NewDirListSettings ndl;
  static_cast<BoardSettings&>(ndl) = writerBoardSettings(2, true);
  ndl.type = 3;
  ndl.lineformat = "%r %t";
  Board list(ndl);
  for (const char* path : {"/a", "/b", "/c"}) {
    BoardUpdate added = list.prependEntry(Board::kNewDirListFile, "ndl.txt", path, "u");
    EXPECT_TRUE(added.saved && added.filesWritten);
  }
  EXPECT_EQ(readFile("ndl.txt"), textBytes("head\n1 /c\n2 /b\ntail\n"));

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
  EXPECT_EQ(readFile("shown.txt"), shown);
}

// Eight processes add 100 entries each to one board at once. Every entry
// the limit allows is kept, each once and whole, each writer's in its own
// order; with a lower limit the newest are kept.
TEST(BoardUpdateTest, EightWritersAtOnce) {
  for (unsigned int limit : {1000u, 300u}) {
    ScopedTempDir temp;
    ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
    BoardSettings settings = writerBoardSettings(limit, true);
#ifdef _WIN32
    // Windows cannot fork: the writers are the test helper program.
    std::vector<int> codes(8, -100);
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 8; ++writer) {
      writers.emplace_back([writer, limit, &codes] {
        codes[static_cast<size_t>(writer)] =
            platform::runAndWait({BRINDLE_BINARY_DIR "/bin/win32_helper.exe", "board",
                                  std::to_string(writer), std::to_string(limit)},
                                 120);
      });
    }
    for (std::thread& writer : writers) writer.join();
    for (int code : codes) EXPECT_EQ(code, 0);
#else
    std::vector<pid_t> children;
    for (int writer = 0; writer < 8; ++writer) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) _exit(testing_support::addWriterEntries(writer, limit) ? 0 : 1);
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif

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
    EXPECT_EQ(readFile("shown.txt"), textBytes(expectedShown + "tail\n"));
  }
}

}  // namespace
