#include "tools/ftpd-standin/hook_table.h"

#include <gtest/gtest.h>

namespace ftpd {
namespace {

const HookKind& kindOf(const std::string& key) {
  for (const HookKind& kind : hookKinds()) {
    if (kind.key == key) return kind;
  }
  static const HookKind none = {"", "", "", ""};
  return none;
}

TEST(HookTable, RegistrationLinesAreTheUtilitysEntries) {
  EXPECT_EQ(registrationLine(kindOf("landfall"), "/site/"),
            "landfall=ask:///site/landfall /site/landfall"
            "??-??%R??-??%b??-??%m??-??%r??-??%g??-??%S??-??%V??-??%@\n");
  EXPECT_EQ(registrationLine(kindOf("onSfvComplete"), "/i/"),
            "onSfvComplete=exec:///i/tallyfull /i/tallyfull??-??%m??-??%r??-??%g??-??%S\n");
  EXPECT_EQ(registrationLine(kindOf("sweepguard"), "/i/"),
            "sweepguard=exec:///i/sweepguard /i/sweepguard"
            "??-??%R??-??%b??-??%@??-??%m??-??%r??-??%g??-??%S\n");
  EXPECT_EQ(registrationLine(kindOf("quipgate"), "/i/"),
            "quipgate=exec:///i/quipgate /i/quipgate"
            "??-??%^??-??%e??-??%g??-??%S??-??%$??-??%@??-??%!\n");
  EXPECT_EQ(hookKinds().size(), 8u);
}

TEST(HookTable, EntriesReadBackWhateverTheFolderHolds) {
  for (const std::string dir : {"/site/", "/my site/with blanks/", "/a b/"}) {
    for (const HookKind& kind : hookKinds()) {
      std::string line = registrationLine(kind, dir);
      line.pop_back();
      HookEntry entry;
      ASSERT_TRUE(parseHookEntry(line, &entry)) << line;
      EXPECT_EQ(entry.key, kind.key);
      EXPECT_EQ(entry.scheme, kind.scheme);
      EXPECT_EQ(entry.program, dir + kind.program);
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
