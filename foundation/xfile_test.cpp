#include "foundation/xfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string bytes(std::initializer_list<int> list) {
  std::string out;
  for (int b : list) out.push_back(static_cast<char>(b));
  return out;
}

// Written by hand from the encoding: a text, a switch, a version, a list.
TEST(XFileTest, GoldenBinaryEncoding) {
  ScopedTempDir temp;
  std::string path = temp.at("golden.bin");
  {
    XFile f(path.c_str(), "wb", false);
    XStringList list;
    list.add("b");
    list.add("a");
    f << XString("abc") << true << 956u << list << XString("") << -2 << "hd";
    f << static_cast<unsigned char>(0xFE) << 'c' << 1.5f;
  }
  std::string expected =
      bytes({3,    0,    0, 0, 'a', 'b', 'c', 1,   0xBC, 0x03, 0, 0, 2,    0,   0,    0,
             1,    0,    0, 0, 'a', 1,   0,   0,   0,    'b',  0, 0, 0,    0,   0xFE, 0xFF,
             0xFF, 0xFF, 2, 0, 0,   0,   'h', 'd', 0xFE, 'c',  0, 0, 0xC0, 0x3F});
  EXPECT_EQ(readFile(path), expected);
}

TEST(XFileTest, RoundTripEveryKindBothModes) {
  ScopedTempDir temp;
  for (bool text : {false, true}) {
    std::string path = temp.at(text ? "t.txt" : "b.bin");
    XStringList list;
    list.add("one\n");
    list.add("two\n");
    {
      XFile f(path.c_str(), text ? "wt" : "wb", text);
      f << -5 << 7u << true << 'x' << static_cast<unsigned char>(200) << 2.25f;
      f << XString(text ? "line\n" : "with\nbreak") << list;
    }
    XFile f(path.c_str(), text ? "rt" : "rb", text);
    int i = 0;
    unsigned int u = 0;
    bool b = false;
    char c = 0;
    unsigned char uc = 0;
    float fl = 0;
    XString s;
    XStringList back;
    f >> i >> u >> b >> c >> uc >> fl >> s >> back;
    EXPECT_EQ(i, -5);
    EXPECT_EQ(u, 7u);
    EXPECT_TRUE(b);
    EXPECT_EQ(c, 'x');
    EXPECT_EQ(uc, 200);
    EXPECT_EQ(fl, 2.25f);
    EXPECT_EQ(s, text ? "line\n" : "with\nbreak");
    // A list comes back reversed.
    EXPECT_EQ(back.count, 2u);
    EXPECT_EQ(back.at(0), "one\n");
    EXPECT_EQ(back.at(1), "two\n");
    EXPECT_FALSE(f.failed()) << text;
  }
}

TEST(XFileTest, ListReversesOnEachLoad) {
  ScopedTempDir temp;
  std::string path = temp.at("list.bin");
  writeFile(path, bytes({2, 0, 0, 0, 1, 0, 0, 0, 'a', 1, 0, 0, 0, 'b'}));
  XStringList list;
  {
    XFile f(path.c_str(), "rb", false);
    f >> list;
  }
  EXPECT_EQ(list.at(0), "b");
  EXPECT_EQ(list.at(1), "a");
  {
    XFile f(path.c_str(), "wb", false);
    f << list;
  }
  EXPECT_EQ(readFile(path), bytes({2, 0, 0, 0, 1, 0, 0, 0, 'b', 1, 0, 0, 0, 'a'}));
}

TEST(XFileTest, EndOfFileLeavesTargets) {
  ScopedTempDir temp;
  std::string path = temp.at("short.bin");
  writeFile(path, bytes({1, 2}));
  XFile f(path.c_str(), "rb", false);
  unsigned int u = 77;
  f >> u;
  EXPECT_EQ(u, 77u);
  EXPECT_TRUE(f.failed());
  bool b = true;
  f >> b;  // nothing more is read after a failure
  EXPECT_TRUE(b);
  XString s("keep");
  f >> s;
  EXPECT_EQ(s, "");

  std::string empty = temp.at("empty.txt");
  writeFile(empty, "");
  XFile t(empty.c_str(), "rt", true);
  XString line("x");
  t >> line;
  EXPECT_EQ(line, "");
  EXPECT_TRUE(t.atEnd());
  XFile e(empty.c_str(), "rb", false);
  XString bin("x");
  e >> bin;
  EXPECT_EQ(bin, "");
}

TEST(XFileTest, ImpossibleLengthsAndCountsFail) {
  ScopedTempDir temp;
  struct Case {
    const char* name;
    std::string content;
  };
  for (const Case& c :
       {Case{"max", bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'})},
        Case{"past", bytes({5, 0, 0, 0, 'a', 'b'})}, Case{"big", bytes({0, 0, 0, 0x40})}}) {
    std::string path = temp.at(c.name);
    writeFile(path, c.content);
    XFile f(path.c_str(), "rb", false);
    XString s("x");
    f >> s;
    EXPECT_EQ(s, "") << c.name;
    EXPECT_TRUE(f.failed()) << c.name;
    unsigned int after = 9;
    f >> after;
    EXPECT_EQ(after, 9u) << c.name;
  }
  std::string listPath = temp.at("list");
  writeFile(listPath, bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}));
  XFile f(listPath.c_str(), "rb", false);
  XStringList list;
  list.add("old");
  f >> list;
  EXPECT_EQ(list.count, 0u);
  EXPECT_TRUE(f.failed());
  // A list whose later entry runs past the end comes back empty.
  std::string cut = temp.at("cut");
  writeFile(cut, bytes({2, 0, 0, 0, 1, 0, 0, 0, 'a', 9, 0, 0, 0, 'b'}));
  XFile g(cut.c_str(), "rb", false);
  g >> list;
  EXPECT_EQ(list.count, 0u);
  EXPECT_TRUE(g.failed());
}

TEST(XFileTest, TextModeLines) {
  ScopedTempDir temp;
  std::string path = temp.at("lines.txt");
  std::string long1023(1023, 'x');
  writeFile(path, long1023 + "\r\nshort\r\n" + std::string(1500, 'y') + "\nlast");
  XFile f(path.c_str(), "rt", true);
  XString line;
  f >> line;
  EXPECT_EQ(line, long1023.c_str());
  f >> line;
  EXPECT_EQ(line, "\n");  // the CR LF folded to LF, alone in the next read
  f >> line;
  EXPECT_EQ(line, "short\n");
  f >> line;
  EXPECT_EQ(line.length(), 1023u);
  f >> line;
  EXPECT_EQ(line, (std::string(477, 'y') + "\n").c_str());
  f >> line;
  EXPECT_EQ(line, "last");
  f >> line;
  EXPECT_EQ(line, "");
  EXPECT_TRUE(f.atEnd());
}

// Texts hand CR LF (templates, files made on Windows) and LF (the code)
// to a file written as text: each line ends in one line end of the
// platform, whichever way the file was opened and however the writes cut
// the line ends. Lone CRs stay; a binary file gets the bytes as given.
TEST(XFileTest, TextWritesEndEachLineOnce) {
  ScopedTempDir temp;
  const struct {
    std::vector<std::string> writes;
    std::string text;  // as the platform's text mode is handed it
  } cases[] = {
      {{"head\r\nrow\n", "tail\r\n"}, "head\nrow\ntail\n"},
      {{"a\r", "\nb\r\r\n"}, "a\nb\n"},      // a CR LF cut between two writes
      {{"x\ry\r", "z"}, "x\ry\rz"},          // CRs not before an LF stay
      {{"end\r"}, "end\r"},                  // also at the very end
      {{"\r", "\r", "\nq"}, "\nq"},          // CRs held over two writes
      {{"p\r", "\r", "s\r\n"}, "p\r\rs\n"},  // and let go before a letter
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string replaced = temp.at("replaced.txt");
    const std::string appended = temp.at("appended.txt");
    const std::string binary = temp.at("binary.txt");
    testing_support::removeFileForTest(appended);
    XFile r, a(appended.c_str(), "at", true), b(binary.c_str(), "wb", true);
    r.openReplacing(replaced.c_str(), true);
    std::string given;
    for (const std::string& w : c.writes) {
      r << XString(w.c_str());
      a << w.c_str();
      b << XString(w.c_str());
      given += w;
    }
    ASSERT_TRUE(r.commit());
    ASSERT_TRUE(a.close());
    ASSERT_TRUE(b.close());
    EXPECT_EQ(readFile(replaced), testing_support::textBytes(c.text));
    EXPECT_EQ(readFile(appended), testing_support::textBytes(c.text));
    EXPECT_EQ(readFile(binary), given);
  }
}

TEST(XFileTest, ReadLineWholeAndBounded) {
  ScopedTempDir temp;
  std::string path = temp.at("l.txt");
  writeFile(path, std::string(3000, 'a') + "\r\n" + std::string(70000, 'b') + "\nx\rz\r\nend");
  XFile f(path.c_str(), "rt", true);
  XString line;
  bool tooLong = false;
  ASSERT_TRUE(f.readLine(line, 65536, &tooLong));
  EXPECT_EQ(line.length(), 3000u);
  EXPECT_FALSE(tooLong);
  ASSERT_TRUE(f.readLine(line, 65536, &tooLong));
  EXPECT_TRUE(tooLong);
  EXPECT_EQ(line, "");
  ASSERT_TRUE(f.readLine(line, 65536, &tooLong));
  EXPECT_EQ(line, "x\rz");  // a lone CR stays
  ASSERT_TRUE(f.readLine(line, 65536, &tooLong));
  EXPECT_EQ(line, "end");
  EXPECT_FALSE(f.readLine(line, 65536, &tooLong));
}

TEST(XFileTest, ReplacingWritesAllOrNothing) {
  ScopedTempDir temp;
  std::string path = temp.at("settings.bcc");
  writeFile(path, "old");
  {
    XFile f;
    f.openReplacing(path.c_str(), false);
    f << XString("new");
    // Destroyed without commit: the old file stays and no temporary remains.
  }
  EXPECT_EQ(readFile(path), "old");
  EXPECT_EQ(testing_support::listNames(temp.path()).size(), 1u);
  {
    XFile f;
    f.openReplacing(path.c_str(), false);
    f << XString("new");
    EXPECT_TRUE(f.commit());
  }
  EXPECT_EQ(readFile(path), bytes({3, 0, 0, 0, 'n', 'e', 'w'}));
  EXPECT_EQ(testing_support::listNames(temp.path()).size(), 1u);

  XFile nowhere;
  nowhere.openReplacing(temp.at("missing/x").c_str(), false);
  EXPECT_FALSE(nowhere.isOpen());
  EXPECT_FALSE(nowhere.commit());

  // A full disk: every write fails and the commit reports it.
  if (testing_support::exists("/dev/full")) {
    XFile full("/dev/full", "wb", false);
    full << XString(std::string(100000, 'z'));
    EXPECT_FALSE(full.close());
  }
}

// Each step of a rewrite that fails (the temporary file, its flush, the
// rename) fails the commit it belongs to and no other, leaves the old file
// whole and no temporary file behind; the durable save counts its flush to
// the disk as its flush. A folder that cannot be flushed after the rename
// undoes nothing: that save is made.
TEST(XFileTest, AFailedStepLeavesTheOldFile) {
  using platform::FaultStep;
  const struct {
    FaultStep step;
    bool durable;
    int nth;
  } cases[] = {
      {FaultStep::kTempFile, false, 1},   {FaultStep::kTempFile, true, 2},
      {FaultStep::kFlush, false, 1},      {FaultStep::kFlush, true, 1},
      {FaultStep::kFlush, false, 2},      {FaultStep::kRename, false, 1},
      {FaultStep::kRename, true, 2},      {FaultStep::kFolderFlush, true, 1},
      {FaultStep::kFolderFlush, true, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<int>(c.step) << " durable " << c.durable << " nth " << c.nth);
    ScopedTempDir temp;
    std::string path = temp.at("users.txt");
    writeFile(path, "old");
    testing_support::PlannedFault fault(c.step, c.nth);
    for (int save = 1; save <= 2; ++save) {
      XFile f;
      f.openReplacing(path.c_str(), false);
      f << XString("save " + std::to_string(save));
      bool saved = c.durable ? f.commitDurable() : f.commit();
      const bool lost = save == c.nth && c.step != FaultStep::kFolderFlush;
      EXPECT_EQ(saved, !lost) << "save " << save;
      std::string want =
          lost ? (save == 1 ? std::string("old") : std::string("\x06\0\0\0save 1", 10))
               : "\x06" + std::string(3, '\0') + "save " + std::to_string(save);
      EXPECT_EQ(readFile(path), want) << "save " << save;
      EXPECT_EQ(testing_support::listNames(temp.path()).size(), 1u);
    }
    EXPECT_TRUE(fault.happened());
  }
}

#ifndef _WIN32  // symbolic links
// A rewrite never writes through a link planted where its temporary file
// might go: the names a predictable scheme would pick (the target's name,
// the process and a counter) are tried here, and whatever the name, the new
// file is made exclusively.
TEST(XFileTest, RewriteIgnoresPlantedTemporaryNames) {
  ScopedTempDir temp;
  writeFile(temp.at("outside"), "outside");
  for (int serial = 0; serial < 1024; ++serial) {
    std::string planted =
        temp.at(".racer.sav." + std::to_string(getpid()) + "." + std::to_string(serial) + ".tmp");
    ASSERT_EQ(symlink(temp.at("outside").c_str(), planted.c_str()), 0);
  }
  XFile out;
  out.openReplacing(temp.at("racer.sav").c_str(), false);
  ASSERT_TRUE(out.isOpen());
  out << XString("race");
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(readFile(temp.at("outside")), "outside");
  EXPECT_EQ(readFile(temp.at("racer.sav")), std::string("\x04\0\0\0race", 8));
}
#endif

TEST(XFileTest, CopyTextFile) {
  ScopedTempDir temp;
  std::string empty = temp.at("empty.txt");
  writeFile(empty, "");
  EXPECT_EQ(copyTextFile(XString(empty), XString(temp.at("copy.txt"))), 0);
  EXPECT_EQ(readFile(temp.at("copy.txt")), "");

  std::string source = temp.at("ad.txt");
  std::string text = "first\n" + std::string(2500, 'q') + "\nno end";
  writeFile(source, text);
  EXPECT_EQ(copyTextFile(XString(source), XString(temp.at("ad-copy.txt"))), 0);
  // Read folding CR LF, written in text mode.
  EXPECT_EQ(readFile(temp.at("ad-copy.txt")), testing_support::textBytes(text));

  writeFile(temp.at("target.txt"), "keep");
  EXPECT_EQ(copyTextFile(XString(temp.at("missing.txt")), XString(temp.at("target.txt"))), -1);
  EXPECT_EQ(readFile(temp.at("target.txt")), "keep");

  // A folder, a FIFO or a link is no source; a link or a folder is no
  // target. Nothing is written then, and nothing through a link.
  testing_support::makeDirs(temp.at("folder"));
  EXPECT_EQ(copyTextFile(XString(temp.at("folder")), XString(temp.at("f.txt"))), -1);
#ifdef _WIN32
  // A device name reaches the device in every folder.
  EXPECT_EQ(copyTextFile(XString(temp.at("nul.txt")), XString(temp.at("f.txt"))), -1);
  EXPECT_EQ(copyTextFile(XString(source), XString(temp.at("con"))), -1);
#else  // FIFOs and symbolic links
  ASSERT_EQ(mkfifo(temp.at("fifo").c_str(), 0644), 0);
  EXPECT_EQ(copyTextFile(XString(temp.at("fifo")), XString(temp.at("f.txt"))), -1);
  ASSERT_EQ(symlink(source.c_str(), temp.at("link.txt").c_str()), 0);
  EXPECT_EQ(copyTextFile(XString(temp.at("link.txt")), XString(temp.at("f.txt"))), -1);
  EXPECT_FALSE(testing_support::exists(temp.at("f.txt")));
  writeFile(temp.at("outside.txt"), "outside");
  ASSERT_EQ(symlink(temp.at("outside.txt").c_str(), temp.at("planted.txt").c_str()), 0);
  EXPECT_EQ(copyTextFile(XString(source), XString(temp.at("planted.txt"))), -1);
  EXPECT_EQ(readFile(temp.at("outside.txt")), "outside");
#endif
  EXPECT_EQ(copyTextFile(XString(source), XString(temp.at("folder"))), -1);
  // A target folder that is not there: no copy, and no temporary file left.
  EXPECT_EQ(copyTextFile(XString(source), XString(temp.at("none/x.txt"))), -1);
  for (const std::string& name : testing_support::listNames(temp.path())) {
    EXPECT_NE(name.compare(0, 7, ".bctmp-"), 0) << name;
  }
}

}  // namespace
