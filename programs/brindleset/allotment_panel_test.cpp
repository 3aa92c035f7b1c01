#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::choose;
using forms::testing::click;
using testing_support::makeDirs;
using testing_support::writeFile;

// A line of the server's user file: 23 fields, of which the suite reads the
// name (1), the groups (4) and the credits (16).
std::string userLine(const std::string& name, const std::string& groups,
                     const std::string& credits) {
  std::vector<std::string> fields(23, "0");
  fields[0] = name;
  fields[2] = "secret";
  fields[3] = groups;
  fields[12] = fields[13] = fields[14] = fields[19] = "";
  fields[15] = credits;
  fields[18] = "1010101-";
  fields[22] = "last";
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : ":") + field;
  return line;
}

User stored(const char* name, unsigned char when, unsigned char mode, int number, bool fillless) {
  User user(name, "", "");
  user.when = when;
  user.mode = mode;
  user.number = number;
  user.fillless = fillless;
  return user;
}

// What a test compares of an allotment entry.
std::string describe(const User* user) {
  if (!user) return "none";
  return user->user.str() + " " + user->group.str() + " " + user->credit.str() + " when " +
         std::to_string(user->when) + " mode " + std::to_string(user->mode) + " number " +
         std::to_string(user->number) + " fillless " + std::to_string(user->fillless);
}

std::vector<std::string> namesOf(AllotList& list) {
  std::vector<std::string> names;
  for (AllotListEntry* entry = list.head; entry; entry = entry->next) {
    names.push_back(entry->user.user.str());
  }
  return names;
}

class AllotmentTest : public WindowTest {
 protected:
  AllotmentTest() : users(temp.at("server/users.txt")) { makeDirs(temp.at("server")); }

  // Saved settings naming `userFile`, with the allotments given.
  void saveSettings(const std::string& userFile, const std::vector<User>& allotments) {
    makeDirs(dataFolder);
    GConfig settings;
    settings.setDefaults(0);
    settings.userfile = XString(userFile);
    for (const User& user : allotments) settings.al.add(user);
    ASSERT_TRUE(settings.save(data("BCconfig.bcc").c_str()));
  }

  TGroupBox& box(TMainWindow& window) { return the<TGroupBox>(window, "allotment"); }
  TComboBox& userList(TMainWindow& window) { return the<TComboBox>(window, "al_user"); }
  XString text(TMainWindow& window, const char* edit) { return the<TEdit>(window, edit).Text(); }
  bool ticked(TMainWindow& window, const char* radio) {
    return the<TRadioButton>(window, radio).Checked();
  }
  void chooseUser(TMainWindow& window, const char* name) {
    TStrings* items = userList(window).Items();
    for (int i = 0; i < items->Count(); ++i) {
      if (items->Strings(i) == name) return choose(userList(window), i);
    }
    ADD_FAILURE() << "no user " << name;
  }

  std::string users;
};

TEST_F(AllotmentTest, UsersComeFromTheUserFileAndTheirAllotmentsAreEditedAndSaved) {
  // Bob is stored as "bob"; "gone" has left the server. The last line of
  // the user file has no line end.
  writeFile(users, userLine("carol", "staff", "100") + "\r\n" +
                       userLine("Bob", "staff,uploaders,vip", "12,5") + "\r\n" +
                       userLine("dave", "guests", "7.256"));
  saveSettings(users, {stored("bob", 0, 2, 500, false), stored("gone", 2, 1, 9, true)});
  auto window = start();
  showNode(*window, "Allotment");

  EXPECT_TRUE(box(*window).Enabled());
  EXPECT_EQ(box(*window).Caption(), "allotment");
  EXPECT_FALSE(the<TButton>(*window, "al_loaduserfile").Visible());
  EXPECT_FALSE(the<TButton>(*window, "al_loaduserfile").Enabled());
  EXPECT_EQ(userList(*window).ItemIndex(), -1);
  TStrings* items = userList(*window).Items();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Strings(0), "Bob");
  EXPECT_EQ(items->Strings(1), "carol");
  EXPECT_EQ(items->Strings(2), "dave");

  // The list holds the file's users, last first; the stored entry keeps its
  // name and allotment and takes the file's group and credits.
  AllotList& al = window->globalConfig.al;
  EXPECT_EQ(namesOf(al), (std::vector<std::string>{"dave", "bob", "carol"}));
  EXPECT_EQ(describe(al.find("BOB")), "bob staff 12.50 when 0 mode 2 number 500 fillless 0");
  EXPECT_EQ(describe(al.find("carol")), "carol staff 100.00 when 1 mode 0 number 0 fillless 1");
  EXPECT_EQ(describe(al.find("dave")), "dave guests 7.26 when 1 mode 0 number 0 fillless 1");

  // Nothing is shown until a user is chosen, and no update happens.
  the<TEdit>(*window, "al_number").setText("77");
  ASSERT_TRUE(click(the<TButton>(*window, "al_updateuser")));
  EXPECT_EQ(describe(al.find("carol")), "carol staff 100.00 when 1 mode 0 number 0 fillless 1");

  chooseUser(*window, "Bob");
  EXPECT_EQ(text(*window, "al_group"), "staff");
  EXPECT_EQ(text(*window, "al_credit"), "12.50");
  EXPECT_EQ(text(*window, "al_number"), "500");
  EXPECT_TRUE(ticked(*window, "almode_fill"));
  EXPECT_FALSE(ticked(*window, "almode_off"));
  EXPECT_TRUE(ticked(*window, "alwhen_day"));
  EXPECT_FALSE(ticked(*window, "alwhen_week"));
  EXPECT_FALSE(the<TCheckBox>(*window, "al_fillless").Checked());

  chooseUser(*window, "carol");
  EXPECT_EQ(text(*window, "al_credit"), "100.00");
  EXPECT_TRUE(ticked(*window, "almode_off"));
  EXPECT_TRUE(ticked(*window, "alwhen_week"));
  EXPECT_TRUE(the<TCheckBox>(*window, "al_fillless").Checked());
  the<TEdit>(*window, "al_number").setText("250");
  ASSERT_TRUE(click(the<TRadioButton>(*window, "almode_add")));
  ASSERT_TRUE(click(the<TRadioButton>(*window, "alwhen_month")));
  ASSERT_TRUE(click(the<TButton>(*window, "al_updateuser")));
  EXPECT_EQ(describe(al.find("carol")), "carol staff 100.00 when 2 mode 1 number 250 fillless 1");

  // A credits text that is not a whole number is reported and changes
  // nothing, for one user or for a group.
  the<TEdit>(*window, "al_number").setText("12x");
  ASSERT_TRUE(click(the<TRadioButton>(*window, "almode_fill")));
  ASSERT_TRUE(click(the<TButton>(*window, "al_updateuser")));
  ASSERT_TRUE(click(the<TButton>(*window, "al_updategroup")));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_NE(hook.messages[0].text.find("12x"), -1);
  EXPECT_EQ(describe(al.find("carol")), "carol staff 100.00 when 2 mode 1 number 250 fillless 1");
  EXPECT_EQ(describe(al.find("bob")), "bob staff 12.50 when 0 mode 2 number 500 fillless 0");

  // The group's update reaches every user of that group, spelt exactly.
  chooseUser(*window, "Bob");
  the<TEdit>(*window, "al_number").setText("40");
  ASSERT_TRUE(click(the<TRadioButton>(*window, "almode_add")));
  ASSERT_TRUE(click(the<TButton>(*window, "al_updategroup")));
  EXPECT_EQ(describe(al.find("bob")), "bob staff 12.50 when 0 mode 1 number 40 fillless 0");
  EXPECT_EQ(describe(al.find("carol")), "carol staff 100.00 when 0 mode 1 number 40 fillless 0");
  EXPECT_EQ(describe(al.find("dave")), "dave guests 7.26 when 1 mode 0 number 0 fillless 1");
  the<TEdit>(*window, "al_group").setText("Staff");
  ASSERT_TRUE(click(the<TButton>(*window, "al_updategroup")));
  EXPECT_EQ(describe(al.find("dave")), "dave guests 7.26 when 1 mode 0 number 0 fillless 1");

  // Saved, the departed user is gone; a second start shows what was saved.
  ASSERT_TRUE(click(*window->save));
  ASSERT_TRUE(Application->Terminated());
  window.reset();
  GConfig saved;
  ASSERT_TRUE(saved.load(data("BCconfig.bcc").c_str()));
  EXPECT_EQ(saved.al.count, 3u);
  EXPECT_EQ(describe(saved.al.find("gone")), "none");
  EXPECT_EQ(describe(saved.al.find("carol")), "carol   when 0 mode 1 number 40 fillless 0");

  forms::testing::clearTerminated();
  window = start();
  showNode(*window, "Allotment");
  chooseUser(*window, "carol");
  EXPECT_EQ(text(*window, "al_number"), "40");
  EXPECT_TRUE(ticked(*window, "almode_add"));
  EXPECT_EQ(describe(window->globalConfig.al.find("bob")),
            "bob staff 12.50 when 0 mode 1 number 40 fillless 0");
  EXPECT_EQ(window->globalConfig.al.count, 3u);
  EXPECT_EQ(hook.messages.size(), 2u);
}

TEST_F(AllotmentTest, WithoutUsersThePanelWaitsForAUserFileThatLoads) {
  // The saved path names a malformed file: no users, no message.
  writeFile(users, userLine("carol", "staff", "1") + "\r\n\r\n" + userLine("dave", "x", "2"));
  saveSettings(users, {stored("carol", 2, 1, 5, true)});
  auto window = start();
  showNode(*window, "Allotment");
  EXPECT_FALSE(box(*window).Enabled());
  EXPECT_EQ(box(*window).Caption(), "allotment - disabled");
  TButton& load = the<TButton>(*window, "al_loaduserfile");
  EXPECT_TRUE(load.Visible());
  EXPECT_EQ(userList(*window).Items()->Count(), 0);
  // The stored allotments stay as they were loaded.
  EXPECT_EQ(describe(window->globalConfig.al.find("carol")),
            "carol   when 2 mode 1 number 5 fillless 1");

  // An empty file named on the general panel gives no users either.
  const std::string empty = temp.at("server/empty.txt");
  writeFile(empty, "");
  the<TEdit>(*window, "userfile").setText(XString(empty));
  ASSERT_TRUE(click(load));
  EXPECT_FALSE(box(*window).Enabled());

  // The corrected path, typed but not saved, is taken.
  const std::string good = temp.at("server/good.txt");
  writeFile(good, userLine("carol", "staff", "3.5") + "\n");
  the<TEdit>(*window, "userfile").setText(XString(good));
  ASSERT_TRUE(click(load));
  EXPECT_TRUE(box(*window).Enabled());
  EXPECT_EQ(box(*window).Caption(), "allotment");
  EXPECT_FALSE(load.Visible());
  EXPECT_EQ(userList(*window).Items()->Count(), 1);
  EXPECT_EQ(describe(window->globalConfig.al.find("carol")),
            "carol staff 3.50 when 2 mode 1 number 5 fillless 1");
  EXPECT_TRUE(hook.messages.empty());
}

}  // namespace
}  // namespace brindleset_test
