#include "tools/ftpd-standin/hook_table.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace ftpd {
namespace {

TEST(HookTable, EntriesReadBackWhateverTheFolderHolds) {
  for (const std::string dir : {"/site/", "/my site/with blanks/", "/a b/"}) {
    for (const HookProgram* hook : kServerHooks) {
      std::string line = hookEntryLine(*hook, XString(dir)).str();
      line.pop_back();
      HookEntry entry;
      ASSERT_TRUE(parseHookEntry(line, &entry)) << line;
      EXPECT_EQ(entry.key, hook->ftpdKey);
      EXPECT_EQ(entry.scheme, hook->scheme);
      EXPECT_EQ(entry.program, dir + hook->name + platform::kExeSuffix);
      EXPECT_EQ(entry.command.compare(0, entry.program.size(), entry.program), 0);
      EXPECT_EQ(entry.command.substr(entry.program.size(), 5), kFieldSeparator);
    }
  }
  HookEntry entry;
  // A hand-written entry whose paths differ still splits at the first blank.
  ASSERT_TRUE(parseHookEntry("landfall=ask://c:/x/lf.exe other??-??%m", &entry));
  EXPECT_EQ(entry.program, "c:/x/lf.exe");
  EXPECT_EQ(entry.command, "other??-??%m");
  EXPECT_FALSE(parseHookEntry("landfall=", &entry));
  EXPECT_FALSE(parseHookEntry("landfall=ask://", &entry));
  EXPECT_FALSE(parseHookEntry("port=21", &entry));
  EXPECT_FALSE(parseHookEntry("=ask://x y", &entry));
  EXPECT_FALSE(parseHookEntry("landfall=ask:// x", &entry));
}

TEST(HookTable, FileFindsKeysIgnoringCase) {
  HookTable table;
  table.parse(
      "[server]\r\nport=21\r\nLANDFALL=ask:///i/landfall /i/landfall??-??%m\r\n"
      "landguard=ask:///i/landguard /i/landguard??-??%@\n"
      "landfall=ask:///other/landfall /other/landfall\n"
      "tallyglad=exec:///i/tallyglad /i/tallyglad??-??%S");
  ASSERT_EQ(table.entries().size(), 4u);
  const HookEntry* landfall = table.find("landfall");
  ASSERT_NE(landfall, nullptr);
  EXPECT_EQ(landfall->program, "/i/landfall");         // the first of two wins
  EXPECT_EQ(landfall->command, "/i/landfall??-??%m");  // no CR left
  ASSERT_NE(table.find("TallyGlad"), nullptr);
  EXPECT_EQ(table.find("TallyGlad")->command, "/i/tallyglad??-??%S");
  EXPECT_EQ(table.find("port"), nullptr);
  EXPECT_EQ(table.find("landfal"), nullptr);
}

TEST(HookTable, Substitution) {
  std::map<char, std::string> values = {{'m', "/r/a b.mp3"}, {'@', "17-3"}, {'g', ""}};
  EXPECT_EQ(substitute("p??-??%m??-??%g??-??%@", values), "p??-??/r/a b.mp3??-????-??17-3");
  EXPECT_EQ(substitute("100%% %x %", values), "100% %x %");
  // A value is not substituted again.
  EXPECT_EQ(substitute("%m", {{'m', "%@"}, {'@', "no"}}), "%@");
  EXPECT_EQ(programName("/a/b/landfall"), "landfall");
  EXPECT_EQ(programName("landfall"), "landfall");
}

}  // namespace
}  // namespace ftpd
