// Starting programs on Windows: exit codes, arguments through the runtime's
// parsing, the standard handles, the time limit over the whole tree, the
// command-line text, and the chmod program started from the data folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "hookkit/chmod_runner.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

const std::string kHelper = BRINDLE_BINARY_DIR "/bin/win32_helper.exe";

TEST(RunAndWaitWin32, ExitCodesArgumentsAndHandles) {
  ScopedTempDir dir;
  EXPECT_EQ(platform::runAndWait({kHelper, "exit", "0"}, 60), 0);
  EXPECT_EQ(platform::runAndWait({kHelper, "exit", "254"}, 60), 254);
  // The whole 32-bit code comes through.
  EXPECT_EQ(platform::runAndWait({kHelper, "exit", "0x12345"}, 60), 0x12345);
  EXPECT_EQ(platform::runAndWait({dir.at("missing.exe")}, 60), platform::kNotStarted);
  EXPECT_EQ(platform::runAndWait({""}, 60), platform::kNotStarted);

  // Blanks, empty words, quotes, wildcards and trailing backslashes arrive
  // as they were given.
  const std::vector<std::string> words = {"a b", "", "tail\\", "q\"uote", "x*y?", "c:\\dir\\"};
  std::vector<std::string> args = {kHelper, "args", dir.at("args.txt")};
  args.insert(args.end(), words.begin(), words.end());
  ASSERT_EQ(platform::runAndWait(args, 60), 0);
  std::string expected;
  for (const std::string& word : words) expected += word + "\n";
  EXPECT_EQ(readFile(dir.at("args.txt")), expected);

  // Standard input, output and error are the null device; a handle of ours,
  // inheritable or not, does not reach the program.
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE mine = CreateFileA(dir.at("mine").c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(mine, INVALID_HANDLE_VALUE);
  const std::string number = std::to_string(reinterpret_cast<intptr_t>(mine));
  ASSERT_EQ(platform::runAndWait({kHelper, "stdio", dir.at("stdio.txt"), number}, 60), 0);
  EXPECT_EQ(readFile(dir.at("stdio.txt")), "in:char out:char err:char ended alone");
  CloseHandle(mine);
}

// After the limit the program and what it started are ended: the child's
// marker, due after half the sleep, never comes.
TEST(RunAndWaitWin32, TimeLimitEndsTheWholeTree) {
  ScopedTempDir dir;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform::runAndWait({kHelper, "sleep", "6000", dir.at("late")}, 1),
            platform::kTimedOut);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5));
  Sleep(4500);
  EXPECT_FALSE(exists(dir.at("late")));
  // Without a limit it runs to its end, and so does its child.
  ASSERT_EQ(platform::runAndWait({kHelper, "sleep", "400", dir.at("late")}, 0), 0);
  for (int i = 0; i < 100 && !exists(dir.at("late")); ++i) Sleep(50);
  EXPECT_TRUE(exists(dir.at("late")));
}

// The text after the program's own name, byte for byte: doubled blanks and
// quotes stay.
TEST(CommandLineWin32, TextAfterTheProgramName) {
  ScopedTempDir dir;
  ASSERT_EQ(platform::runAndWait({kHelper, "cmdline", dir.at("line.txt"), "x??-??a  b"}, 60), 0);
  EXPECT_EQ(readFile(dir.at("line.txt")), "cmdline " + dir.at("line.txt") + " \"x??-??a  b\"");
  char self[] = "self.exe";
  char* only[] = {self, nullptr};
  // The test binary itself was started with arguments, so the text is never
  // its own name here; the fallback is for a start without any.
  EXPECT_NE(platform::commandLineText(1, only), "");
}

// The suite starts "..\chmod.exe" from the data folder with the path quoted,
// hidden and waited for; the stand-in logs what it was given.
TEST(ChmodWin32, StartedFromTheDataFolderAndEndedAfterItsLimit) {
  InstallSandbox box;
  makeDirs(box.site() + "\\My Release\\CD 1");
  const std::string folder = box.site() + "\\My Release\\CD 1";
  writeFile(folder + "\\a.mp3", "x");
  executeChmod(XString(folder + "\\a.mp3"), XString("alice"), XString("crew"), XString("777"));
  executeChmod(XString(folder + "\\"), XString("bob"), XString("staff"), XString("755"));
  EXPECT_EQ(box.chmodLog(), (std::vector<std::string>{"777 alice crew " + folder + "\\a.mp3",
                                                      "755 bob staff " + folder}));

  // A chmod program that never ends is ended after the limit.
  ASSERT_TRUE(platform::removeFile((box.root() + "\\chmod.exe").c_str()));
  writeFile(box.root() + "\\chmod.exe", readFile(kHelper));
  const auto start = std::chrono::steady_clock::now();
  executeChmod(XString(folder + "\\a.mp3"), XString("u"), XString("g"), XString("777"), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// The programs need Windows Vista or later, and their headers say so: an
// older system refuses to start them rather than miss an import. Every
// program is linked with the same flags as this test binary.
TEST(ProgramHeaderWin32, AsksForVistaOrLater) {
  const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
  ASSERT_NE(base, nullptr);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
  EXPECT_EQ(nt->OptionalHeader.MajorSubsystemVersion, 6);
  EXPECT_EQ(nt->OptionalHeader.MinorSubsystemVersion, 0);
  EXPECT_EQ(nt->OptionalHeader.MajorOperatingSystemVersion, 6);
  EXPECT_EQ(nt->OptionalHeader.MinorOperatingSystemVersion, 0);
}

}  // namespace
