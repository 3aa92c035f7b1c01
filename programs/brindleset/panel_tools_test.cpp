#include "programs/brindleset/panel_tools.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fs.h"
#include "programs/brindleset/group_list.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using brindleset::barPreview;
using forms::testing::click;
using forms::testing::type;
using testing_support::exists;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

std::function<void(TForm&)> answer(const char* button) {
  return [button](TForm& box) { ASSERT_TRUE(click(in<TButton>(box, button))); };
}

TEST_F(WindowTest, ResetButtonsDeleteTheirStoreOnlyOnYesAndSayWhetherItIsGone) {
  writeIndex(dataFolder, {{"mp3.bcm", "/mp3/", "mp3"}, {"a.bcm", "/a/", "a/b"}});
  for (const char* store : {"mboard.sav", "rboard.sav", "mp3.ndl", "default.ndl"}) {
    writeFile(data(store), "entries");
  }
  makeDirs(data("newdirlist.sav"));  // a folder in its place cannot be deleted
  auto window = start();
  TMainWindow& w = *window;

  // Enter and Esc where the question comes up, "No" or the frame keep the
  // board; "Yes" deletes it and says so.
  showNode(w, "Message Board");
  std::vector<XString> asked;
  hook.modalAnswers.push_back([&](TForm& box) {
    asked.push_back(in<TMemo>(box, "text").Text());
    forms::testing::typeAtFocus(box, "\r");
  });
  hook.modalAnswers.push_back([](TForm& box) { forms::testing::typeAtFocus(box, "\x1b"); });
  hook.modalAnswers.push_back(answer("btn_no"));
  hook.modalAnswers.push_back([](TForm& box) { forms::testing::closeByFrame(box); });
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(click(the<TButton>(w, "mb_delete")));
  EXPECT_TRUE(exists(data("mboard.sav")));
  hook.modalAnswers.push_back(answer("btn_yes"));
  hook.modalAnswers.push_back([&](TForm& box) {
    asked.push_back(in<TMemo>(box, "text").Text());
    forms::testing::typeAtFocus(box, "\r");
  });
  ASSERT_TRUE(click(the<TButton>(w, "mb_delete")));
  EXPECT_FALSE(exists(data("mboard.sav")));
  EXPECT_EQ(asked, (std::vector<XString>{"Do you really want to delete your old message board?",
                                         "The file has been deleted."}));
  EXPECT_EQ(hook.modalForms, (std::vector<XString>{"YesNoBox", "YesNoBox", "YesNoBox", "YesNoBox",
                                                   "YesNoBox", "MBox"}));

  // A store that is not there is gone all the same.
  hook.modalForms.clear();
  showNode(w, "Request Board");
  for (int i = 0; i < 2; ++i) {
    hook.modalAnswers.push_back(answer("btn_yes"));
    ASSERT_TRUE(click(the<TButton>(w, "rb_delete")));
  }
  EXPECT_FALSE(exists(data("rboard.sav")));
  EXPECT_EQ(hook.modalForms.size(), 4u);
  EXPECT_TRUE(hook.messages.empty());

  // One that stays is reported as such, not as deleted.
  hook.modalForms.clear();
  showNode(w, "Newdir List");
  hook.modalAnswers.push_back(answer("btn_yes"));
  ASSERT_TRUE(click(the<TButton>(w, "ndl_delete")));
  EXPECT_EQ(hook.modalForms, std::vector<XString>{"YesNoBox"});
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "The file could not be deleted: newdirlist.sav");
  EXPECT_EQ(hook.messages[0].caption, "error");

  // The special list is the shown module's, under its present name.
  hook.modalForms.clear();
  w.overview->setSelected(w.modulesNode->Item(1));
  w.moduleIndex.at(1)->sectionName = "mp3";
  showPage(w, "modules_general");
  hook.modalAnswers.push_back([&](TForm& box) {
    EXPECT_EQ(in<TMemo>(box, "text").Text(),
              "Do you really want to delete the special new dir list of this module?");
    ASSERT_TRUE(click(in<TButton>(box, "btn_yes")));
  });
  ASSERT_TRUE(click(the<TButton>(w, "specialndl_delete")));
  EXPECT_FALSE(exists(data("mp3.ndl")));
  EXPECT_TRUE(exists(data("default.ndl")));
  // A section name with a folder separator names no file here: nothing is
  // asked and nothing deleted.
  w.overview->setSelected(w.modulesNode->Item(2));
  showPage(w, "modules_general");
  ASSERT_TRUE(click(the<TButton>(w, "specialndl_delete")));
  EXPECT_EQ(hook.modalForms.size(), 2u);
  EXPECT_EQ(dataFiles(),
            (std::vector<std::string>{"BCconfigSettings.cfg", "ModuleIndex.idx", "brindlecast.lock",
                                      "default.ndl", "newdirlist.sav"}));
}

TEST_F(WindowTest, GroupListsAreSavedAsTextAndLoadedBackWithTheirLastLine) {
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "Tunelacer");
  the<TEdit>(w, "link_input").setText("ABC");
  ASSERT_TRUE(click(the<TButton>(w, "link_add")));
  std::string list = temp.at("groups.txt");
  hook.fileAnswers.push_back(XString(list));
  ASSERT_TRUE(click(the<TButton>(w, "link_save")));
  // Each name and "\r\n" go to a text file: one line end of the platform.
  EXPECT_EQ(readFile(list), "19??\n20??\nABC\n");
  ASSERT_EQ(hook.fileDialogs.size(), 1u);
  const forms::testing::AskedFile& saved = hook.fileDialogs[0];
  EXPECT_TRUE(saved.save);
  EXPECT_EQ(saved.title, "Save grouplist.");
  EXPECT_EQ(saved.fileName, "grouplist.txt");
  EXPECT_EQ(saved.defaultExt, "txt");
  EXPECT_EQ(saved.filter, "text files|*.txt|All files|*.*");
  EXPECT_EQ(saved.options, ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist);

  // Older files end their lines in CR CR LF; a last line may have no end;
  // a line longer than a name can be is left out.
  std::string old = temp.at("old.txt");
  writeFile(old, "one\r\r\ntwo\n\n" + std::string(1024, 'x') + "\r\nthree");
  hook.fileAnswers.push_back(XString(old));
  ASSERT_TRUE(click(the<TButton>(w, "link_load")));
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"one", "two", "", "three"}));
  EXPECT_FALSE(hook.fileDialogs[1].save);
  EXPECT_EQ(hook.fileDialogs[1].title, "Load a grouplist.");
  EXPECT_EQ(hook.fileDialogs[1].options,
            ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofFileMustExist);

  hook.fileAnswers.push_back(XString(list));
  ASSERT_TRUE(click(the<TButton>(w, "link_load")));
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"19??", "20??", "ABC"}));

  // A file that cannot be read or written is reported; the list and the
  // file stay as they were.
  makeDirs(temp.at("folder.txt"));
  hook.fileAnswers.push_back(XString(temp.at("folder.txt")));
  ASSERT_TRUE(click(the<TButton>(w, "link_load")));
  hook.fileAnswers.push_back(XString(temp.at("folder.txt")));
  ASSERT_TRUE(click(the<TButton>(w, "link_save")));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0].text,
            XString("The group list could not be read from ") + temp.at("folder.txt"));
  EXPECT_EQ(hook.messages[1].text,
            XString("The group list could not be written to ") + temp.at("folder.txt"));
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"19??", "20??", "ABC"}));
}

TEST_F(WindowTest, HelpNamesTheTopicOfThePanelAndTabShownAndLeavesTheWorkingFolder) {
  auto window = start();
  TMainWindow& w = *window;
  EXPECT_EQ(w.HelpFile, install + "/Brindlecast.hlp");
  const struct {
    const char* node;
    const char* page;
    int context;
  } topics[] = {{"General Settings", nullptr, 10}, {"Allotment", nullptr, 11},
                {"Message Board", nullptr, 12},    {"Request Board", nullptr, 13},
                {"Newdir List", nullptr, 14},      {"Special Lists", nullptr, 15},
                {"Dawnroll Dir", nullptr, 16},     {"Tunelacer", nullptr, 17},
                {"Server Modules", nullptr, 18},   {"default", "modules_general", 19},
                {"default", "modules_sfv", 20},    {"default", "modules_mp3", 21},
                {"default", "modules_pb", 22},     {"default", "racer_mp3", 23}};
  for (const auto& topic : topics) {
    showNode(w, topic.node);
    if (topic.page) showPage(w, topic.page);
    ASSERT_TRUE(click(*w.helpme));
    ASSERT_FALSE(hook.helpCalls.empty());
    EXPECT_EQ(hook.helpCalls.back().command, HELP_CONTEXT);
    EXPECT_EQ(hook.helpCalls.back().data, topic.context) << topic.node << " " << topic.page;
  }
  // Any other panel has the topic of the whole utility.
  w.shownPanel = w.control;
  ASSERT_TRUE(click(*w.helpme));
  EXPECT_EQ(hook.helpCalls.back().data, 1);
  EXPECT_EQ(hook.helpCalls.size(), 15u);
  std::string cwd;
  ASSERT_TRUE(platform::currentDir(cwd));
  EXPECT_EQ(cwd, dataFolder);
}

TEST(BrindlesetBarPreview, FillsItsShareOfTheCellsAndStaysSmall) {
  EXPECT_EQ(barPreview(10, 15, "%", "--"), "%%%%%----------");
  EXPECT_EQ(barPreview(10, 30, "%", "--"), "%%%%%%%%%%");
  EXPECT_EQ(barPreview(10, 0, "%", "--"), "--------------------");
  EXPECT_EQ(barPreview(10, 29, "#", ":"), "#########:");
  EXPECT_EQ(barPreview(0, 15, "#", ":"), "");
  EXPECT_EQ(barPreview(-5, 15, "#", ":"), "");
  EXPECT_EQ(barPreview(4, 15, "", "ab"), "abab");
  // The largest length that converts: computed in 64 bits, cut at a few
  // hundred cells.
  XString huge = barPreview(2147483647, 29, "#", ":");
  EXPECT_EQ(huge.length(), static_cast<unsigned int>(brindleset::kPreviewCells));
  EXPECT_EQ(huge.count('#'), huge.length());
  EXPECT_EQ(barPreview(2147483647, 0, "#", ":").count(':'),
            static_cast<unsigned int>(brindleset::kPreviewCells));
}

TEST_F(WindowTest, TheBarPreviewsFollowTheirSliderAndKeepTheirTextOnABadLength) {
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "default");
  showPage(w, "modules_pb");
  TTrackBar& slider = the<TTrackBar>(w, "pb_slider");
  TLabel& bar = the<TLabel>(w, "pb_test");
  EXPECT_EQ(bar.Caption(), "TEST");
  slider.setPosition(15);
  EXPECT_EQ(bar.Caption(), "%%%%%----------");
  the<TEdit>(w, "pb_len").setText("");
  // The conversion error is reported as every handler's error is.
  EXPECT_THROW(slider.setPosition(30), EConvertError);
  EXPECT_EQ(bar.Caption(), "%%%%%----------");

  showPage(w, "racer_sfv");
  TTrackBar& racer = the<TTrackBar>(w, "racer_sbbslider");
  TLabel& racerBar = the<TLabel>(w, "racer_sbbtest");
  EXPECT_EQ(racerBar.Caption(), "Text");
  the<TEdit>(w, "racer_sbarlen").setText("4");
  racer.setPosition(30);
  EXPECT_EQ(racerBar.Caption(), "####");
  the<TEdit>(w, "racer_sbarlen").setText("4x");
  racer.setPosition(10);
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "Thebar length is not a valid integer.");
  EXPECT_EQ(hook.messages[0].caption, "error");
  EXPECT_EQ(racerBar.Caption(), "####");
}

// The placeholders a legend lists, in its order.
std::string placeholders(const XString& legend) {
  std::string marks;
  for (const std::string& line : testing_support::lines(legend.str() + "\r\n")) {
    if (!marks.empty()) marks += ' ';
    marks += line.substr(0, line.find(' '));
  }
  return marks;
}

TEST_F(WindowTest, LegendsListTheirPlaceholdersAndOpenAndCloseByTheirShowPanel) {
  auto window = start();
  TMainWindow& w = *window;
  const char* const kBoard = "%u %t %r %h %m %s %d %o %O %p %y %Y %%";
  const char* const kList = "%u %t %n %r %h %m %s %d %o %O %p %y %Y %X<name> %%";
  const char* const kSpecial = "%u %t %n %r %h %m %s %d %o %O %p %y %Y %%";
  const struct {
    const char* node;
    const char* page;
    const char* show;
    const char* memo;
    const char* listed;
  } legends[] = {
      {"Message Board", nullptr, "mb_varshow", "mb_vartext", kBoard},
      {"Request Board", nullptr, "rb_varshow", "rb_vartext", kBoard},
      {"Newdir List", nullptr, "ndl_varshow", "ndl_vartext", kList},
      {"Special Lists", nullptr, "ndlspecial_varshow", "ndlspecial_vartext", kSpecial},
      {"default", "modules_pb", "pb_varshow", "pb_vartext", "%b %F %o %p %s %P %%"},
      {"default", "racer_general", "racer_gbodyshow", "racer_gbodyvar",
       "%u %g %d %D %f %k %S %N %v %l %%"},
      {"default", "racer_general", "racer_glineshow", "racer_glinevar",
       "%u %g %r %c %d %D %f %k %s %S %n %N %p %v %%"},
      {"default", "racer_sfv", "racer_sbodyshow", "racer_sbodyvar",
       "%u %g %d %D %f %k %l %i %S %m %N %b %p %v %%"},
      {"default", "racer_sfv", "racer_slineshow", "racer_slinevar",
       "%u %g %r %c %d %D %f %k %i %s %S %m %n %N %p %v %%"},
      {"default", "racer_mp3", "racer_mbodyshow", "racer_mbodyvar",
       "%B %a %A %g %y %m %f %M %c %%"},
  };
  for (const auto& legend : legends) {
    showNode(w, legend.node);
    if (legend.page) showPage(w, legend.page);
    TPanel& show = the<TPanel>(w, legend.show);
    TMemo& memo = the<TMemo>(w, legend.memo);
    EXPECT_FALSE(memo.Visible()) << legend.memo;
    EXPECT_EQ(placeholders(memo.Text()), legend.listed) << legend.memo;
    ASSERT_TRUE(click(show));
    EXPECT_TRUE(memo.Visible()) << legend.memo;
    EXPECT_EQ(show.Caption(), "hide");
    ASSERT_TRUE(click(show));
    EXPECT_FALSE(memo.Visible()) << legend.memo;
    EXPECT_EQ(show.Caption(), "show");
  }
  EXPECT_EQ(placeholders(the<TMemo>(w, "mb_vartext").Text()).size(), std::string(kBoard).size());
  EXPECT_EQ(the<TMemo>(w, "mb_vartext").Lines()->Strings(0), "%u - username");
}

}  // namespace
}  // namespace brindleset_test
