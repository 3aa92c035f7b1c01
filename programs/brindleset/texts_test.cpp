// The texts, sizes and rules the utility shows, each from a table of what
// the window must say: a caption, a hover row, an enable list, a dialog or
// a key filter that changes fails here.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <QWidget>
#include <set>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "programs/brindleset/chmod_popup.h"
#include "programs/brindleset/hover_help.h"
#include "programs/brindleset/message_boxes.h"
#include "programs/brindleset/module_editor.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::find;
using forms::testing::type;

// The caption of any captioned control.
XString captionOf(TComponent& c) {
  if (auto* button = dynamic_cast<TButton*>(&c)) return button->Caption();
  if (auto* check = dynamic_cast<TCheckBox*>(&c)) return check->Caption();
  if (auto* radio = dynamic_cast<TRadioButton*>(&c)) return radio->Caption();
  if (auto* group = dynamic_cast<TGroupBox*>(&c)) return group->Caption();
  if (auto* panel = dynamic_cast<TPanel*>(&c)) return panel->Caption();
  if (auto* page = dynamic_cast<TTabSheet*>(&c)) return page->Caption();
  if (auto* label = dynamic_cast<TLabel*>(&c)) return label->Caption();
  ADD_FAILURE() << c.Name().c_str() << " has no caption";
  return XString();
}

struct Caption {
  std::string control;
  std::string caption;
};

void expectCaptions(TComponent& root, const std::vector<Caption>& captions) {
  for (const Caption& c : captions) {
    TComponent* control = root.FindComponent(XString(c.control));
    ASSERT_NE(control, nullptr) << c.control;
    EXPECT_EQ(control->Name(), c.control);
    EXPECT_EQ(captionOf(*control), c.caption) << c.control;
  }
}

// The captions of the labels below `control` that bear no name.
std::set<std::string> labelsIn(TControl& control) {
  std::set<std::string> texts;
  for (QLabel* label : control.widget()->findChildren<QLabel*>()) {
    texts.insert(label->text().toStdString());
  }
  return texts;
}

void expectLabels(TControl& control, const std::vector<std::string>& wanted) {
  std::set<std::string> present = labelsIn(control);
  for (const std::string& text : wanted) {
    EXPECT_TRUE(present.count(text)) << "no label \"" << text << "\" on " << control.Name().c_str();
  }
}

void expectSize(TControl& control, int width, int height) {
  EXPECT_EQ(control.widget()->width(), width) << control.Name().c_str();
  EXPECT_EQ(control.widget()->height(), height) << control.Name().c_str();
}

// The radio buttons `<prefix>0` on, captioned in turn.
void addRadios(std::vector<Caption>& captions, const char* prefix,
               const std::vector<const char*>& texts) {
  for (size_t i = 0; i < texts.size(); ++i) {
    captions.push_back({prefix + std::to_string(i), texts[i]});
  }
}

TEST_F(WindowTest, TheWindowShowsTheGivenCaptionsSizesAndDefaults) {
  auto window = start();
  TMainWindow& w = *window;
  EXPECT_EQ(w.Caption(), "Brindlecast Configuration Utility");
  expectSize(w, 738, 550);
  EXPECT_EQ(w.HelpFile, install + platform::kPathSepText + "Brindlecast.hlp");
  expectSize(*w.overview, 139, 185);
  expectSize(*w.help, 729, 52);
  EXPECT_TRUE(w.help->ReadOnly());
  EXPECT_EQ(w.help->Text(),
            "Welcome to Brindlecast configuration utility!\r\n\r\nBrindlecast version 0.95 c");
  for (TPanel* panel :
       {w.panels_general, w.panels_allotment, w.panels_messageboard, w.panels_requestboard,
        w.panels_newdirlist, w.panels_ndlspecial, w.panels_dawnrolldir, w.panels_tunelacer,
        w.panels_modules, w.panels_moduledetail}) {
    expectSize(*panel, 600, 500);
  }
  EXPECT_TRUE(w.save->Default());

  // The tree: text, parent, the number that chooses the panel.
  const struct {
    const char* text;
    const char* parent;
    int selectedIndex;
  } nodes[] = {{"General Settings", nullptr, 0}, {"Allotment", nullptr, 1},
               {"Message Board", nullptr, 2},    {"Request Board", nullptr, 3},
               {"Newdir List", nullptr, 4},      {"Special Lists", "Newdir List", 8},
               {"Dawnroll Dir", nullptr, 5},     {"Tunelacer", nullptr, 6},
               {"Server Modules", nullptr, 7},   {"default", "Server Modules", -1}};
  TTreeNodes* items = w.overview->Items();
  ASSERT_EQ(items->Count(), 10);
  for (int i = 0; i < 10; ++i) {
    TTreeNode* node = items->Item(i);
    EXPECT_EQ(node->Text(), nodes[i].text);
    EXPECT_EQ(node->Parent() ? node->Parent()->Text().str() : "",
              nodes[i].parent ? nodes[i].parent : "");
    if (nodes[i].selectedIndex >= 0) {
      EXPECT_EQ(node->SelectedIndex(), nodes[i].selectedIndex);
    }
  }

  // The module list's grid.
  auto* grid = static_cast<QTableWidget*>(w.moduleinfo->widget());
  const int widths[] = {95, 110, 165, 223};
  const char* const headers[] = {"section name", "filename", "path", "description"};
  for (int col = 0; col < 4; ++col) {
    EXPECT_EQ(grid->columnWidth(col), widths[col]) << col;
    EXPECT_EQ(w.moduleinfo->Cells(col, 0), headers[col]);
  }

  std::vector<Caption> captions = {
      {"save", "save settings"},
      {"cancel", "cancel"},
      {"helpme", "?"},
      {"Button1", "change my .ftpd"},
      {"modules_general", "general"},
      {"modules_sfv", "sfv features"},
      {"modules_mp3", "mp3 features"},
      {"modules_pb", "progress bar"},
      {"modules_racer", "racer"},
      {"racer_general", "general"},
      {"racer_sfv", "sfv"},
      {"racer_mp3", "mp3"},
      {"addmodule", "add module"},
      {"dupmodule", "duplicate module"},
      {"editmodule", "edit module"},
      {"delmodule", "delete module"},
      {"mb_delete", "delete message board"},
      {"rb_delete", "delete request board"},
      {"ndl_delete", "delete new directory list"},
      {"specialndl_delete", "delete special ndl"},
      {"link_change", "change"},
      {"nd_changetod", "change"},
      {"nd_changepast", "change"},
      {"chmod_change", "change"},
      {"link_grset", "group settings"},
      {"link_save", "save"},
      {"link_load", "load"},
      {"p_mcd", "multiCD list"},
      {"p_deny", "deny list"},
      {"allotment", "allotment - disabled"},
      {"alwhen_day", "daily"},
      {"alwhen_week", "weekly"},
      {"alwhen_month", "monthly"},
      {"almode_off", "off"},
      {"almode_add", "add"},
      {"almode_fill", "fill"},
      {"al_fillless", "fill only if user has less"},
      {"al_updateuser", "update user"},
      {"al_updategroup", "update group"},
      {"al_loaduserfile", "load userfile"},
      {"mb_en", "enable board"},
      {"rb_en", "enable board"},
      {"ndl_en", "enable list"},
      {"nd_en", "enable dawnroll dir"},
      {"mb_messageifdis", "message if disabled"},
      {"rb_messageifdis", "message if disabled"},
      {"ndl_messageifdis", "message if disabled"},
      {"mb_maxmode", "delete old if full"},
      {"rb_maxmode", "delete old if full"},
      {"rb_postfilled", "post filled requests"},
      {"rb_makedir", "create upload dir"},
      {"nd_today", "create today link"},
      {"nd_yesterday", "create yesterday link"},
      {"link_en", "enable mp3 linker"},
      {"link_show", "show linker window"},
      {"link_listp0", "positive list"},
      {"link_listp1", "negative list"},
      {"ad_en", "enable advertisement"},
      {"ad_browse", "..."},
      {"tinfo_last", "show only last tag"},
      {"tinfo_merge", "merge with completed progress bar"},
      {"tinfo_idl", "["},
      {"tinfo_idr", "]"},
      {"tinfo_idmull", "["},
      {"tinfo_idmulr", "]"},
      {"sfv_force", "force upload sfv first"},
      {"sfv_oneonly", "one sfv per folder only"},
      {"sfv_insfv", "upload files in sfv only"},
      {"m3u_deny", "deny upload of playlists"},
      {"m3u_create", "create playlist when completed"},
      {"m3u_skip", "don't create playlist when user uploaded one"},
      {"ndlspecial_0", "disabled"},
      {"ndlspecial_1", "enabled"},
      {"ndlspecial_addmain", "also add entrys to main ndl"},
      {"chmod_touser", "the uploading user"},
      {"chmod_tobc", "the user settings left"},
      {"pb_test", "TEST"},
      {"racer_sbbtest", "Text"},
      {"racer_en", "enable Racer"},
      {"racer_sen", "use if .sfv is uploaded"},
      {"racer_men", "append if mp3 uploaded"},
      {"racer_chmod", "apply chmod to racer.sav"},
  };
  for (const char* levels : {"delm_", "postm_", "delr_", "postr_"}) {
    addRadios(captions, levels, {"root", "super", "normal", "guest"});
  }
  for (const char* kinds : {"sfvm_", "sfvi_", "mfiles_", "pb_", "tinfo_", "cinfo_"}) {
    addRadios(captions, kinds, {"disabled", "file", "folder"});
  }
  addRadios(captions, "badf_", {"disabled", "delete", "0 byte file"});
  for (const char* sorts : {"racer_gsortu", "racer_gsortg", "racer_ssortu", "racer_ssortg"}) {
    addRadios(captions, sorts, {"number of files", "filesize", "speed"});
  }
  for (const char* show : {"mb_varshow", "rb_varshow", "ndl_varshow", "ndlspecial_varshow",
                           "pb_varshow", "racer_gbodyshow", "racer_glineshow", "racer_sbodyshow",
                           "racer_slineshow", "racer_mbodyshow"}) {
    captions.push_back({show, "show"});
  }
  for (const char* add : {"mcd_add", "deny_add", "link_pathadd", "link_add", "ndlex_add",
                          "sfv_fileadd", "sfv_diradd"}) {
    captions.push_back({add, "+"});
  }
  for (const char* del : {"mcd_del", "deny_del", "link_pathdel", "link_del", "ndlex_del",
                          "sfv_filedel", "sfv_dirdel"}) {
    captions.push_back({del, "-"});
  }
  expectCaptions(w, captions);

  // The allotment panel's labels and the choices it starts with.
  expectLabels(*w.panels_allotment, {"group:", "credits:", "MB credits"});
  EXPECT_FALSE(the<TGroupBox>(w, "allotment").Enabled());
  EXPECT_TRUE(the<TRadioButton>(w, "alwhen_week").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "almode_off").Checked());
  EXPECT_TRUE(the<TCheckBox>(w, "al_fillless").Checked());
  EXPECT_EQ(the<TEdit>(w, "al_number").MaxLength(), 7);
  EXPECT_TRUE(the<TEdit>(w, "al_group").ReadOnly());
  EXPECT_TRUE(the<TEdit>(w, "al_credit").ReadOnly());
}

TEST_F(WindowTest, TheDialogsShowTheGivenCaptionsSizesAndButtons) {
  auto window = start();
  TMainWindow& w = *window;

  TModuleEditor editor(&w, &w.moduleIndex, 0);
  EXPECT_EQ(editor.Caption(), "ModuleEditor");
  expectSize(editor, 405, 233);
  EXPECT_TRUE(editor.KeyPreview);
  expectLabels(editor, {"config filename:", "section name (will be displayed in overview):",
                        "description:", "virtual filesystem path this configuration appends to:"});
  expectCaptions(editor, {{"browsefile", "..."}, {"ok", "ok"}, {"cancel", "Cancel"}});
  EXPECT_EQ(editor.defaultButton(), editor.ok);
  TModuleEditor adding(&w, &w.moduleIndex, 1);
  EXPECT_EQ(adding.ok->Caption(), "Add");

  TChmod_popup popup(&w);
  EXPECT_EQ(popup.Caption(), "chmod settings");
  expectSize(popup, 509, 101);
  expectLabels(popup, {"username:", "group:", "owner user:", "owner group:", "other:"});
  expectCaptions(popup, {{"our", "read"},
                         {"ouw", "write"},
                         {"oux", "execute"},
                         {"ogr", "read"},
                         {"ogw", "write"},
                         {"ogx", "execute"},
                         {"or", "read"},
                         {"ow", "write"},
                         {"ox", "execute"},
                         {"Button1", "ok"},
                         {"Button2", "cancel"}});
  EXPECT_EQ(popup.defaultButton(), popup.Button1);
  EXPECT_EQ(popup.cancelButton(), popup.Button2);

  TMBox info(&w, "text");
  EXPECT_EQ(info.Caption(), "Info");
  expectSize(info, 241, 125);
  expectCaptions(info, {{"Button1", "ok"}});
  EXPECT_TRUE(info.text->ReadOnly());

  TYesNoBox question(&w, "text");
  EXPECT_EQ(question.Caption(), "Attention!");
  expectSize(question, 225, 121);
  expectCaptions(question, {{"btn_yes", "Yes"}, {"btn_no", "No"}});
  EXPECT_EQ(question.defaultButton(), question.btn_no);
  EXPECT_EQ(question.cancelButton(), question.btn_no);
  EXPECT_FALSE(question.Label1->Visible());
}

// The rows of the hover help in order, each with the controls it names,
// and the texts that say how the suite behaves.
const std::vector<std::vector<const char*>> kHelpRows = {
    {"p_userfile"},
    {"p_vfsfile"},
    {"p_vfsbackup"},
    {"p_raidenftpd"},
    {"p_mcd"},
    {"p_deny"},
    {"al_user"},
    {"al_group"},
    {"al_credit"},
    {"al_mode"},
    {"al_when"},
    {"al_fillless"},
    {"al_number"},
    {"al_loaduserfile"},
    {"al_updateuser"},
    {"al_updategroup"},
    {"mb_en", "rb_en", "ndl_en"},
    {"mb_messageifdis", "rb_messageifdis"},
    {"mb_browse", "mb_file", "rb_browse", "rb_file", "ndl_browse", "ndl_file", "ndlspecial_file",
     "ndlspecial_browse"},
    {"mb_head", "rb_head", "ndl_head", "ndlspecial_head"},
    {"mb_lineformat", "rb_lineformat", "ndl_lineformat", "ndlspecial_lineformat"},
    {"mb_tail", "rb_tail", "ndl_tail", "ndlspecial_tail"},
    {"mb_unlen", "rb_unlen", "ndl_unlen", "ndlspecial_unlen"},
    {"mb_tlen", "rb_tlen", "ndl_tlen", "ndlspecial_tlen"},
    {"ndl_namelen", "ndlspecial_namelen"},
    {"mb_maxentrys", "rb_maxentrys", "ndl_maxentrys", "ndlspecial_maxentrys"},
    {"mb_cutun", "rb_cutun", "ndl_cutun", "ndlspecial_cutun"},
    {"ndl_cutname", "ndlspecial_cutname"},
    {"mb_cuttxt", "rb_cuttxt", "ndl_cuttxt", "ndlspecial_cuttxt"},
    {"mb_maxmode", "rb_maxmode"},
    {"mb_post", "rb_post"},
    {"mb_del", "rb_del"},
    {"rb_postfilled"},
    {"rb_makedir"},
    {"rb_preqpath"},
    {"ndl_exlist"},
    {"nd_en"},
    {"nd_path"},
    {"nd_format"},
    {"nd_today"},
    {"nd_todaylink"},
    {"nd_yesterday"},
    {"nd_yesterdaylink"},
    {"link_en"},
    {"llog_browse", "link_logfile"},
    {"link_sortby"},
    {"link_artistdir", "link_genredir", "link_groupdir", "link_yeardir", "link_dirnamedir",
     "link_allinonedir"},
    {"vfs_maxentrys"},
    {"link_listp0", "link_listp1"},
    {"link_list"},
    {"link_load", "link_save"},
    {"link_paset"},
    {"link_makeunknown"},
    {"link_show"},
    {"addmodule"},
    {"dupmodule"},
    {"editmodule"},
    {"delmodule"},
    {"chmod_username", "chmod_group"},
    {"chmod_tobc"},
    {"chmod_touser"},
    {"creatorinfo"},
    {"movecompleted"},
    {"badfiles"},
    {"advertisement"},
    {"specialndl"},
    {"mcd_sfvm", "mcd_sfvi", "mcd_pb", "mcd_ti"},
    {"sfvm_pat", "mfiles_pat", "sfvi_pat", "pb_incpat", "tinfo_format"},
    {"sfvm_patmul", "sfvi_patmul", "pb_incpatmul", "tinfo_formatmul"},
    {"sfv_oneonly"},
    {"sfv_force"},
    {"sfv_insfv"},
    {"sfv_filelist"},
    {"sfv_dirlist"},
    {"pb_len"},
    {"pb_empty", "pb_full"},
    {"pb_test"},
    {"pb_compat", "pb_compatmul"},
    {"tinfo_last"},
    {"tinfo_id", "tinfo_idmul"},
    {"tinfo_mergepat", "tinfo_mergepatmul"},
    {"tinfo_merge"},
    {"m3u_deny"},
    {"m3u_create"},
    {"m3u_skip"},
    {"cancel"},
    {"save"},
};

const struct {
  int row;  // from 1
  const char* text;
} kHelpTexts[] = {
    {10,
     "How the credits are alloted:\r\noff : nothing is alloted\r\nadd : the number is added to "
     "the user's credits\r\nfill : the users credits are set to the given number"},
    {11,
     "Select when you want to allot credits to this user:\r\ndaily : every day\r\nweekly : every "
     "monday\r\nmonthly : every first day of month"},
    {12,
     "If you set the user's mode to 'fill' and check this box, there are no changes if the users "
     "credits are higher than the given number.\r\nElse the user could loose credits."},
    {18,
     "If checked and the board is disabled, the user gets a \"unknown sitecommand\" message "
     "instead of the specific Brindlecast message. Useful, if you have another sitecommand "
     "script, that uses the same sitecommands."},
    {30,
     "What to do if the board is at its message limit and a new message is added: if set, the "
     "oldest message is deleted else the new message is rejected."},
    {32,
     "The level, the user requires to delete any post (users can always delete their own "
     "posts)."},
    {36,
     "Add all directorys here that should not be listed in the new directory list. You can use "
     "wildcards. Example: c:\\server\\private* will not list any new dirs that are subdirectorys "
     "of c:\\server\\private."},
    {44,
     "Switch the linker on or off. In addition to turning it on here, you must also execute tht "
     "tunelacer.exe regularly to keep the links up to date. This is done best by adding an entry "
     "to the RaidenFTPD.task."},
    {46,
     "Select the criteria you want to sort by. Every selected criterion will create an extra "
     "folder. Artist, genre, bitrate and album just take the corresponding attribute, group is "
     "taken from the foldername: everything form the last - to the end. The \"all in one\" "
     "folder will contain links to all directorys sorted by their name."},
    {48,
     "The maximum entrys Raiden can handle in its vfs file. Because this limit is sometimes "
     "raised, you can enter the actual value here. If you don't know it, just leave the deafult "
     "value of 8192. Entering too much can cause Raiden to stop workin properly."},
    {52,
     "All these pathes will be searched for mp3s including subfolders. Note that if you enter "
     "pathes outside your Raiden virtual filesystem, they will be linked as well so your users "
     "will get access to them."},
    {60,
     "Uses the user settings on the left side for Brindlecast-files. Your users may not be able "
     "to delete them."},
    {61,
     "Uses the name and group of the uploading user. Thus this user will be able to delete these "
     "files."},
    {64,
     "Uploaded files, that fail the crc-check are renamed to .bad by Raiden, with this you can "
     "auto-delete or resize those bad files.\nNote: you must enable Raiden's \"rename to bad\" "
     "feature for this to work."},
    {66,
     "If the special ndl is enabled for this module, all new dirs are added to a separate new dir "
     "list. You can view this list with \"site ndl <module short description>\"."},
    {67,
     "If enabled and the directory uploaded to matches one of the multiCD-patterns from 'General "
     "Settings', the files/folder of this feature will be created in parent directory (one dir "
     "higher that usual)."},
    {69, ""},
    {74,
     "Enter dirname patterns all sfv feaures are unwanted in here. Useful if you have some "
     "directorys you do not want any sfv-features in, for example \"sample\" directorys. Note: "
     "Brindlecast checks the whole directory path, so if you want to exclude \"sample\" "
     "directorys, you must add \"*sample\"; press the ?-button for more examples."},
    {75,
     "How many distinct fields your bar is made of. If you enter 1, the bar is either completely "
     "full or completelty empty (either tht full or the empty field below), if you enter 2, the "
     "bar may be full, half-full or empty. A recommended value would be ten, then you get a short "
     "but still expressive bar."},
    {78,
     "These patterns will be used when the .sfv is completely uploaded. If \"merge with progress "
     "bar\" is enabled at tag info feature, the merged pattern at tag info settings on the next "
     "page is used."},
    {82, "If enabled, the completed progress bar will be replaced by this pattern."},
    {83,
     "Denies the upload of playlists (.m3u) and tells your user that they are created "
     "automatically. If you don't want to auto-create them and still deny them, add \"*.m3u\" to "
     "the deny list at general settings, then your users will just be notified that the filetype "
     "is unwanted."},
    {84,
     "Creates a playlist of the uploaded songs when the .sfv is completed. The songs in the "
     "playlist are lower case and sorted lexicographically (a < b < c...)."},
    {86, "Close without saving."},
    {87, "Close and save."},
};

TEST_F(WindowTest, EachControlOfTheHoverHelpShowsItsRowsText) {
  auto window = start();
  TMainWindow& w = *window;
  ASSERT_EQ(brindleset::helpRowCount(), static_cast<int>(kHelpRows.size()));
  std::vector<XString> texts(kHelpRows.size());
  for (size_t i = 0; i < kHelpRows.size(); ++i) {
    const brindleset::HelpRow& row = brindleset::helpRow(static_cast<int>(i));
    std::vector<std::string> named;
    for (const char* name : row.controls) {
      if (name) named.push_back(name);
    }
    EXPECT_EQ(named, std::vector<std::string>(kHelpRows[i].begin(), kHelpRows[i].end()))
        << "row " << i + 1;
    texts[i] = row.text;
    // The rows that state no behaviour have a text of their own.
    EXPECT_TRUE(!texts[i].empty() || i + 1 == 69) << "row " << i + 1;
  }
  for (const auto& given : kHelpTexts) {
    EXPECT_EQ(texts[given.row - 1], given.text) << "row " << given.row;
    texts[given.row - 1] = given.text;
  }

  // Over each control its row's text; the memo is cleared of the last one
  // first, so that a control that kept it would be seen.
  const XString mark("(none)");
  for (size_t i = 0; i < kHelpRows.size(); ++i) {
    for (const char* name : kHelpRows[i]) {
      w.help->setText(mark);
      w.displayHelp(&the<TControl>(w, name), 0, 0, 0);
      // The memo gives its lines back joined by CR LF.
      std::string shown = texts[i].str();
      for (size_t at = shown.find('\n'); at != std::string::npos; at = shown.find('\n', at + 2)) {
        if (at == 0 || shown[at - 1] != '\r') shown.insert(at, "\r");
      }
      EXPECT_EQ(w.help->Text(), shown) << name << " (row " << i + 1 << ")";
    }
  }
  // The greeting over the window and its panels, but the special lists'
  // and the module pages; nothing over a control of no row.
  for (TObject* welcoming : std::vector<TObject*>{
           &w, w.panels_general, w.panels_allotment, w.panels_messageboard, w.panels_modules,
           w.panels_tunelacer, w.panels_dawnrolldir, w.panels_newdirlist, w.panels_requestboard}) {
    w.help->setText(mark);
    w.displayHelp(welcoming, 0, 0, 0);
    EXPECT_EQ(w.help->Text(), brindleset::welcomeText());
  }
  for (TObject* keeping :
       std::vector<TObject*>{w.panels_ndlspecial, w.panels_moduledetail, w.modules_pages,
                             &the<TTabSheet>(w, "modules_general"), w.control, w.Button1,
                             &the<TEdit>(w, "move_dir"), &the<TLabel>(w, "nd_usernametod")}) {
    w.help->setText(mark);
    w.displayHelp(keeping, 0, 0, 0);
    EXPECT_EQ(w.help->Text(), mark);
  }
}

TEST_F(WindowTest, EachEnableSwitchGreysOutExactlyItsListedControls) {
  auto window = start();
  TMainWindow& w = *window;
  const struct {
    const char* node;
    const char* enable;
    std::vector<const char*> follow;
    std::vector<const char*> stay;
  } rules[] = {
      {"Message Board",
       "mb_en",
       {"mb_head", "mb_lineformat", "mb_tail", "mb_browse", "mb_file", "mb_unlen", "mb_tlen",
        "mb_maxentrys", "mb_cutun", "mb_cuttxt", "mb_maxmode", "delm_0", "delm_1", "delm_2",
        "delm_3", "postm_0", "postm_1", "postm_2", "postm_3"},
       {"mb_messageifdis", "mb_delete", "mb_varshow"}},
      {"Request Board",
       "rb_en",
       {"rb_head",       "rb_lineformat", "rb_tail",      "rb_browse", "rb_file",   "rb_preqpath",
        "rb_unlen",      "rb_tlen",       "rb_maxentrys", "rb_cutun",  "rb_cuttxt", "rb_maxmode",
        "rb_postfilled", "rb_makedir",    "delr_0",       "delr_1",    "delr_2",    "delr_3",
        "postr_0",       "postr_1",       "postr_2",      "postr_3"},
       {"rb_messageifdis", "rb_delete", "rb_varshow"}},
      {"Newdir List",
       "ndl_en",
       {"ndl_head", "ndl_lineformat", "ndl_tail", "ndl_browse", "ndl_file", "ndl_unlen", "ndl_tlen",
        "ndl_maxentrys", "ndl_cutun", "ndl_cuttxt"},
       {"ndl_messageifdis", "ndl_cutname", "ndl_namelen", "ndl_exlist", "ndlex_input", "ndlex_add",
        "ndlex_del", "ndl_delete", "ndl_varshow"}},
      {"Dawnroll Dir",
       "nd_en",
       {"nd_path", "nd_format", "nd_todaylink", "nd_yesterdaylink", "nd_today", "nd_yesterday"},
       {"nd_changetod", "nd_changepast"}},
  };
  // As loaded (the request board and the dawnroll dir start off), then
  // switched by a click each way.
  for (const auto& rule : rules) {
    showNode(w, rule.node);
    TCheckBox& enable = the<TCheckBox>(w, rule.enable);
    for (int i = 0; i < 3; ++i) {
      if (i > 0) {
        ASSERT_TRUE(click(enable));
      }
      for (const char* name : rule.follow) {
        EXPECT_EQ(the<TControl>(w, name).Enabled(), enable.Checked()) << name;
      }
      for (const char* name : rule.stay) EXPECT_TRUE(the<TControl>(w, name).Enabled()) << name;
    }
  }
  // The special list's layout and the link builder have no switch of the
  // kind: the board switches leave them be.
  for (const char* name : {"ndlspecial_head", "ndlspecial_unlen", "link_artistdir"}) {
    EXPECT_TRUE(the<TControl>(w, name).Enabled()) << name;
  }
}

TEST_F(WindowTest, EachBrowseButtonAsksItsDialogAndFillsItsEdit) {
  auto window = start();
  TMainWindow& w = *window;
  const TOpenOptions common = ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  const TOpenOptions output = common | ofOverwritePrompt;
  const TOpenOptions input = common | ofFileMustExist;
  const char* const kText = "Text files (*.txt)|*.txt|All files|*.*";
  const struct {
    const char* node;
    const char* button;
    const char* edit;
    const char* ext;
    const char* fileName;
    const char* filter;
    const char* title;
    TOpenOptions options;
  } dialogs[] = {
      {"Tunelacer", "llog_browse", "link_logfile", "log", "linker_log.txt", kText, "linker-logfile",
       output},
      {"Newdir List", "ndl_browse", "ndl_file", "txt", "newdirlist.txt", kText,
       "newdirlist plain textfile", output},
      {"Request Board", "rb_browse", "rb_file", "txt", "requestboard.txt", kText,
       "request board plain textfile", output},
      {"Message Board", "mb_browse", "mb_file", "txt", "messageboard.txt", kText,
       "message board plain textfile", output},
      {"General Settings", "user_browse", "userfile", "user", "",
       "RaidenFTPD user files|*.user|All files|*.*", "Please browse your server's user file.",
       input},
      {"General Settings", "vfs_browse", "vfsfile", "vfs", "",
       "RaidenFTPD vfs files|*.vfs|All files|*.*", "Please browse your server's vfs file.", input},
      {"General Settings", "vfsbackup_browse", "vfsbackup", "vfs", "",
       "RaidenFTPD vfs files|*.vfs|Backup files|*.backup|All files|*.*",
       "Please browse the backup-copy of your server's vfs file.", input},
      {"General Settings", "raidenftpd_browse", "raidenftpd", "exe", "RaidenFTPD.exe",
       "executable files|*.exe|All files|*.*",
       "Please browse raidenftpd.exe in your RaidenFTPD-directory.", input},
      {"default", "ad_browse", "ad_file", "txt", "", "Text files|*.txt|All files|*.*",
       "Please browse the ad-file.", input},
      {"default", "ndlspecial_browse", "ndlspecial_file", "txt", "",
       "Text files|*.txt|All files|*.*", "Special NDL plain text file.", input},
  };
  showNode(w, "Request Board");
  ASSERT_TRUE(click(the<TCheckBox>(w, "rb_en")));
  showNode(w, "default");
  ASSERT_TRUE(click(the<TCheckBox>(w, "ad_en")));
  for (const auto& d : dialogs) {
    showNode(w, d.node);
    hook.fileDialogs.clear();
    std::string chosen = temp.at(std::string("chosen-") + d.button);
    hook.fileAnswers.push_back(XString(chosen));
    ASSERT_TRUE(click(the<TButton>(w, d.button))) << d.button;
    ASSERT_EQ(hook.fileDialogs.size(), 1u) << d.button;
    const forms::testing::AskedFile& asked = hook.fileDialogs[0];
    EXPECT_TRUE(asked.save) << d.button;
    EXPECT_EQ(asked.defaultExt, d.ext) << d.button;
    EXPECT_EQ(asked.fileName, d.fileName) << d.button;
    EXPECT_EQ(asked.filter, d.filter) << d.button;
    EXPECT_EQ(asked.title, d.title) << d.button;
    EXPECT_EQ(asked.options, d.options) << d.button;
    EXPECT_EQ(the<TEdit>(w, d.edit).Text(), chosen) << d.button;
  }

  // The group list's two dialogs and the module editor's.
  showNode(w, "Tunelacer");
  hook.fileDialogs.clear();
  ASSERT_TRUE(click(the<TButton>(w, "link_save")));
  ASSERT_TRUE(click(the<TButton>(w, "link_load")));
  ASSERT_EQ(hook.fileDialogs.size(), 2u);
  const struct {
    bool save;
    const char* title;
    TOpenOptions options;
  } lists[] = {{true, "Save grouplist.", common | ofOverwritePrompt},
               {false, "Load a grouplist.", common | ofFileMustExist}};
  for (int i = 0; i < 2; ++i) {
    const forms::testing::AskedFile& asked = hook.fileDialogs[i];
    EXPECT_EQ(asked.save, lists[i].save);
    EXPECT_EQ(asked.title, lists[i].title);
    EXPECT_EQ(asked.defaultExt, "txt");
    EXPECT_EQ(asked.fileName, "grouplist.txt");
    EXPECT_EQ(asked.filter, "text files|*.txt|All files|*.*");
    EXPECT_EQ(asked.options, lists[i].options);
  }
  hook.fileDialogs.clear();
  TModuleEditor editor(&w, &w.moduleIndex, 1);
  editor.browsefile->Click();
  ASSERT_EQ(hook.fileDialogs.size(), 1u);
  const forms::testing::AskedFile& module = hook.fileDialogs[0];
  EXPECT_TRUE(module.save);
  // Module files are ".bcm" files, as the filter and the default module say.
  EXPECT_EQ(module.defaultExt, "bcm");
  EXPECT_EQ(module.fileName, "");
  EXPECT_EQ(module.filter, "Brindlecast configuration files (*.bcm)|*.bcm|All files|*.*");
  EXPECT_EQ(module.title, "Browse old configuration file or specify new");
  EXPECT_EQ(module.options, output);
}

// The path filter keeps out what no file name may hold, the number filter
// all but digits and the editing keys; an edit of neither takes any key.
TEST_F(WindowTest, EveryEditHasTheKeyFilterOfItsKind) {
  auto window = start();
  TMainWindow& w = *window;
  const std::set<std::string> paths = {
      "userfile",        "vfsfile",         "vfsbackup",     "raidenftpd",      "mb_file",
      "rb_file",         "rb_preqpath",     "ndl_file",      "ndlspecial_file", "ad_file",
      "tinfo_format",    "tinfo_formatmul", "tinfo_id",      "tinfo_idmul",     "link_pathinp",
      "link_logfile",    "link_artistdir",  "link_genredir", "link_yeardir",    "link_groupdir",
      "link_dirnamedir", "link_allinonedir"};
  const std::set<std::string> numbers = {"vfs_maxentrys",
                                         "mb_unlen",
                                         "mb_tlen",
                                         "mb_maxentrys",
                                         "rb_unlen",
                                         "rb_tlen",
                                         "rb_maxentrys",
                                         "ndl_unlen",
                                         "ndl_tlen",
                                         "ndl_maxentrys",
                                         "ndlspecial_unlen",
                                         "ndlspecial_tlen",
                                         "ndlspecial_maxentrys",
                                         "ndl_namelen",
                                         "ndlspecial_namelen",
                                         "pb_len",
                                         "racer_gbdplen",
                                         "racer_gbdnlen",
                                         "racer_gbfnlen",
                                         "racer_glunlen",
                                         "racer_glgrlen",
                                         "racer_gldplen",
                                         "racer_gldnlen",
                                         "racer_glfnlen",
                                         "racer_sbdplen",
                                         "racer_sbdnlen",
                                         "racer_sbfnlen",
                                         "racer_slunlen",
                                         "racer_slgrlen",
                                         "racer_sldplen",
                                         "racer_sldnlen",
                                         "racer_slfnlen",
                                         "racer_sbarlen",
                                         "racer_marlen",
                                         "racer_mallen",
                                         "racer_mgelen",
                                         "racer_mmmlen",
                                         "racer_mcolen"};
  ASSERT_EQ(paths.size(), 22u);
  ASSERT_EQ(numbers.size(), 38u);
  // Every edit the settings tables bind, and the list editors' inputs.
  std::set<std::string> edits = {"mcd_input",   "deny_input",    "link_input",  "link_pathinp",
                                 "ndlex_input", "sfv_fileinput", "sfv_dirinput"};
  auto collect = [&edits](const auto& table) {
    for (const auto& block : table) {
      for (size_t i = 0; i < block.count; ++i) edits.insert(block.rows[i].control);
    }
  };
  collect(brindleset::tables::globalTable());
  collect(brindleset::tables::linkerTable());
  collect(brindleset::tables::moduleTable());

  // Every control to be typed into must take keys.
  showNode(w, "default");
  for (const char* on : {"rb_en", "nd_en", "ad_en"}) {
    the<TCheckBox>(w, on).setChecked(true);
  }
  int typed = 0;
  for (const std::string& name : edits) {
    auto* edit = find<TEdit>(w, name.c_str());
    if (!edit) continue;  // a memo, a list, a switch or a label
    edit->setText("");
    type(*edit, "1a<b>c?d*e\\f:g/-2");
    std::string kept = edit->Text().str();
    if (numbers.count(name)) {
      EXPECT_EQ(kept, "12") << name;
      type(*edit, "\b");
      EXPECT_EQ(edit->Text(), "1") << name;
    } else if (paths.count(name)) {
      // Where '/' separates paths it may be typed, but not into the names
      // of markers, where it would make a folder.
      bool slash = platform::kPathSep == '/' && name.compare(0, 6, "tinfo_") != 0;
      EXPECT_EQ(kept, slash ? "1abcde\\f:g/-2" : "1abcde\\f:g-2") << name;
    } else {
      EXPECT_EQ(kept, "1a<b>c?d*e\\f:g/-2") << name;
    }
    ++typed;
  }
  for (const auto* listed : {&paths, &numbers}) {
    for (const std::string& name : *listed) EXPECT_TRUE(edits.count(name)) << name;
  }
  EXPECT_GE(typed, 90);
}

}  // namespace
}  // namespace brindleset_test
