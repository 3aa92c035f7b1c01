// Loads arbitrary bytes as a board store and as a new-directory list (the
// two share one store format), renders them, the list also as an include
// of another list, and checks that what is saved loads and saves again to
// the same bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "stores/board.h"

namespace {

bool enterScratch() { return chdir(fuzz_support::scratchFolder("board").c_str()) == 0; }

std::string contents(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void roundTrip(Board& board, Board& again) {
  if (board.save("out.sav") != 1) __builtin_trap();
  const std::string first = contents("out.sav");
  if (again.load("out.sav") != 1 || again.count() != board.count()) __builtin_trap();
  if (again.save("out.sav") != 1 || contents("out.sav") != first) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = enterScratch();
  if (!ready) return 0;
  if (!fuzz_support::writeInput("list.ndl", data, size)) return 0;

  BoardSettings boardSettings;
  boardSettings.type = 1;
  boardSettings.maxentrys = static_cast<unsigned int>(size % 7);
  boardSettings.maxmode = (size & 8) != 0;
  boardSettings.lineformat = "%r %u %t %d%o%y%Y%O%p%h%m%s";
  boardSettings.unlen = 4;
  boardSettings.cutun = true;
  boardSettings.tlen = 12;
  Board board(boardSettings);
  if (board.load("list.ndl") != 1) return 0;
  board.render(-1, false);
  Board boardAgain(boardSettings);
  roundTrip(board, boardAgain);

  NewDirListSettings special;
  special.type = 3;
  special.maxentrys = 1000;
  special.maxmode = true;
  special.lineformat = "%n %t %O";
  special.namelen = 8;
  special.cutname = (size & 1) != 0;
  NewDirListSettings main = special;
  main.head = "top\n%X<list>\n%X<../list>\nend";
  main.tail = "%X<list";
  Board list(main, &special);
  if (list.load("list.ndl") != 1) return 0;
  // A full list that may not drop refuses it; the round trip holds either way.
  (void)list.prepend("/new/folder", "someone");
  list.render(static_cast<int>(size % 5) - 1, false);
  Board listAgain(main, &special);
  roundTrip(list, listAgain);
  return 0;
}
