// What one process does in the tests that run several at once on a shared
// store: a forked child on POSIX, the Windows test helper on Windows.
#ifndef TESTS_PROCESS_WRITERS_H_
#define TESTS_PROCESS_WRITERS_H_

#include <string>

#include "race/status.h"
#include "stores/board.h"

namespace testing_support {

// A board shown as "head", one "%t" row per entry, "tail".
inline BoardSettings writerBoardSettings(unsigned int maxentrys, bool maxmode) {
  BoardSettings s;
  s.type = 1;
  s.maxentrys = maxentrys;
  s.maxmode = maxmode;
  s.lineformat = "%t";
  s.head = "head";
  s.tail = "tail";
  return s;
}

// Adds the 100 entries "w<writer>-<i>" by "user<writer>" to the message
// board in the current folder, shown in "shown.txt", each in one locked
// update of its own. True when every update was locked, added, saved and
// shown.
inline bool addWriterEntries(int writer, unsigned int limit) {
  BoardSettings settings = writerBoardSettings(limit, true);
  bool ok = true;
  for (int i = 0; i < 100; ++i) {
    Board board(settings);
    std::string text = "w" + std::to_string(writer) + "-" + std::to_string(i);
    BoardUpdate result = board.addEntry(Board::kMessageBoardFile, "shown.txt", text.c_str(),
                                        ("user" + std::to_string(writer)).c_str());
    ok = ok && result.locked && result.count > 0 && result.saved && result.filesWritten;
  }
  return ok;
}

// The roles the memo writers mark, one a writer.
constexpr Status::Role kWriterRoles[4] = {Status::kCompleted, Status::kChecked, Status::kRacerDone,
                                          Status::kMoveDue};

// Marks "/p<writer>/<round>" with the writer's role in the memo in the
// current folder, for every round from 1, each in one save of its own.
// True when every save went through.
inline bool markWriterRounds(int writer, int rounds) {
  for (int round = 1; round <= rounds; ++round) {
    Status memo;
    memo.mark(kWriterRoles[writer % 4],
              XString(("/p" + std::to_string(writer) + "/" + std::to_string(round)).c_str()));
    if (!memo.save()) return false;
  }
  return true;
}

}  // namespace testing_support

#endif  // TESTS_PROCESS_WRITERS_H_
