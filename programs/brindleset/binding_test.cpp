#include "programs/brindleset/binding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using brindleset::Binding;
using brindleset::Kind;
using forms::testing::click;
using forms::testing::find;
using testing_support::readFile;

// How the settings files store each item, in file order, and the control
// that edits it by the naming rule ('.' of a member becoming '_', a choice
// named by its buttons' common prefix); empty for an item no control edits.
enum Encoding { kTextItem, kU32, kByte, kListItem, kRest };
struct Item {
  Encoding encoding;
  const char* control;
};

const Item kGlobalLayout[] = {
    {kTextItem, ""},  // header
    {kU32, ""},       // version
    {kTextItem, "userfile"},
    {kTextItem, "vfsfile"},
    {kTextItem, "vfsbackup"},
    {kTextItem, "raidenftpd"},
    {kU32, "vfs_maxentrys"},
    {kListItem, "mcd_list"},
    {kListItem, "deny_list"},
    {kByte, "ndl_en"},
    {kByte, "ndl_cutun"},
    {kByte, "ndl_cuttxt"},
    {kByte, "ndl_cutname"},
    {kU32, "ndl_maxentrys"},
    {kTextItem, "ndl_lineformat"},
    {kTextItem, "ndl_head"},
    {kTextItem, "ndl_tail"},
    {kTextItem, "ndl_file"},
    {kU32, "ndl_unlen"},
    {kU32, "ndl_tlen"},
    {kU32, "ndl_namelen"},
    {kByte, "ndl_messageifdis"},
    {kByte, ""},  // ndlspecial.en
    {kByte, "ndlspecial_cutun"},
    {kByte, "ndlspecial_cuttxt"},
    {kByte, "ndlspecial_cutname"},
    {kU32, "ndlspecial_maxentrys"},
    {kTextItem, "ndlspecial_lineformat"},
    {kTextItem, "ndlspecial_head"},
    {kTextItem, "ndlspecial_tail"},
    {kU32, "ndlspecial_unlen"},
    {kU32, "ndlspecial_tlen"},
    {kU32, "ndlspecial_namelen"},
    {kByte, ""},  // ndlspecial.messageifdis
    {kListItem, "ndl_exlist"},
    {kByte, "mb_en"},
    {kByte, "mb_maxmode"},
    {kByte, "mb_cutun"},
    {kU32, "mb_unlen"},
    {kByte, "mb_cuttxt"},
    {kU32, "mb_tlen"},
    {kU32, "mb_maxentrys"},
    {kByte, "delm_"},
    {kByte, "postm_"},
    {kTextItem, "mb_file"},
    {kByte, "mb_messageifdis"},
    {kTextItem, "mb_lineformat"},
    {kTextItem, "mb_head"},
    {kTextItem, "mb_tail"},
    {kByte, "rb_en"},
    {kByte, "rb_maxmode"},
    {kByte, "rb_cutun"},
    {kU32, "rb_unlen"},
    {kByte, "rb_cuttxt"},
    {kU32, "rb_tlen"},
    {kU32, "rb_maxentrys"},
    {kByte, "delr_"},
    {kByte, "postr_"},
    {kTextItem, "rb_file"},
    {kByte, "rb_messageifdis"},
    {kTextItem, "rb_lineformat"},
    {kTextItem, "rb_head"},
    {kTextItem, "rb_tail"},
    {kTextItem, "rb_preqpath"},
    {kByte, "rb_postfilled"},
    {kByte, "rb_makedir"},
    {kByte, "nd_en"},
    {kByte, "nd_today"},
    {kByte, "nd_yesterday"},
    {kTextItem, "nd_path"},
    {kTextItem, "nd_format"},
    {kTextItem, "nd_todaylink"},
    {kTextItem, "nd_yesterdaylink"},
    {kTextItem, "nd_usernametod"},
    {kTextItem, "nd_grouptod"},
    {kTextItem, "nd_allowtod"},
    {kTextItem, "nd_usernamepast"},
    {kTextItem, "nd_grouppast"},
    {kTextItem, "nd_allowpast"},
    {kRest, ""},  // the allotment list
};

const Item kLinkerLayout[] = {
    {kTextItem, ""},  // header
    {kU32, ""},       // version
    {kTextItem, "link_artistdir"},
    {kTextItem, "link_genredir"},
    {kTextItem, "link_yeardir"},
    {kTextItem, "link_groupdir"},
    {kTextItem, "link_dirnamedir"},
    {kTextItem, "link_allinonedir"},
    {kTextItem, "link_logfile"},
    {kListItem, "link_list"},
    {kListItem, "link_pathes"},
    {kByte, "link_listp0"},
    {kByte, "link_en"},
    {kByte, "link_artisten"},
    {kByte, "link_genreen"},
    {kByte, "link_yearen"},
    {kByte, "link_groupen"},
    {kByte, "link_dirnameen"},
    {kByte, "link_allinoneen"},
    {kU32, ""},  // link_reserved
    {kTextItem, "link_username"},
    {kTextItem, "link_group"},
    {kTextItem, "link_allow"},
    {kByte, "link_show"},
    {kByte, "link_makeunknown"},
};

const Item kModuleLayout[] = {
    {kTextItem, ""},  // header
    {kU32, ""},       // version
    {kByte, "chmod_touser"},
    {kTextItem, "chmod_username"},
    {kTextItem, "chmod_group"},
    {kTextItem, "chmod_allow"},
    {kByte, "sfvm_"},
    {kTextItem, "sfvm_pat"},
    {kTextItem, "sfvm_patmul"},
    {kByte, "mcd_sfvm"},
    {kByte, "sfvi_"},
    {kTextItem, "sfvi_pat"},
    {kTextItem, "sfvi_patmul"},
    {kByte, "mcd_sfvi"},
    {kByte, "mfiles_"},
    {kTextItem, "mfiles_pat"},
    {kByte, "ad_en"},
    {kTextItem, "ad_file"},
    {kByte, "sfv_force"},
    {kByte, "sfv_oneonly"},
    {kByte, "sfv_insfv"},
    {kListItem, "sfv_filelist"},
    {kListItem, "sfv_dirlist"},
    {kByte, "pb_"},
    {kU32, "pb_len"},
    {kTextItem, "pb_empty"},
    {kTextItem, "pb_full"},
    {kTextItem, "pb_incpat"},
    {kTextItem, "pb_compat"},
    {kTextItem, "pb_incpatmul"},
    {kTextItem, "pb_compatmul"},
    {kByte, "tinfo_merge"},  // pb.merge follows the tag info's switch
    {kByte, "mcd_pb"},
    {kByte, "move_en"},
    {kTextItem, "move_dir"},
    {kByte, "tinfo_"},
    {kTextItem, "tinfo_id"},
    {kTextItem, "tinfo_format"},
    {kTextItem, "tinfo_mergepat"},
    {kTextItem, "tinfo_idmul"},
    {kTextItem, "tinfo_formatmul"},
    {kTextItem, "tinfo_mergepatmul"},
    {kByte, "mcd_ti"},
    {kByte, "tinfo_merge"},
    {kByte, "tinfo_last"},
    {kByte, "m3u_deny"},
    {kByte, "m3u_create"},
    {kByte, "m3u_skip"},
    {kByte, "cinfo_"},
    {kByte, "badf_"},
    {kByte, "ndlspecial_"},
    {kTextItem, "ndlspecial_file"},
    {kByte, "ndlspecial_addmain"},
    {kTextItem, "racer_gbody"},
    {kTextItem, "racer_guser"},
    {kTextItem, "racer_ggroup"},
    {kU32, "racer_gbdplen"},
    {kU32, "racer_gbdnlen"},
    {kU32, "racer_gbfnlen"},
    {kByte, "racer_gbcutdp"},
    {kByte, "racer_gbcutdn"},
    {kByte, "racer_gbcutfn"},
    {kU32, "racer_glunlen"},
    {kU32, "racer_glgrlen"},
    {kU32, "racer_gldplen"},
    {kU32, "racer_gldnlen"},
    {kU32, "racer_glfnlen"},
    {kByte, "racer_glcutun"},
    {kByte, "racer_glcutgr"},
    {kByte, "racer_glcutdp"},
    {kByte, "racer_glcutdn"},
    {kByte, "racer_glcutfn"},
    {kByte, "racer_gsortu"},
    {kByte, "racer_gsortg"},
    {kTextItem, "racer_sbody"},
    {kTextItem, "racer_suser"},
    {kTextItem, "racer_sgroup"},
    {kU32, "racer_sbdplen"},
    {kU32, "racer_sbdnlen"},
    {kU32, "racer_sbfnlen"},
    {kByte, "racer_sbcutdp"},
    {kByte, "racer_sbcutdn"},
    {kByte, "racer_sbcutfn"},
    {kU32, "racer_slunlen"},
    {kU32, "racer_slgrlen"},
    {kU32, "racer_sldplen"},
    {kU32, "racer_sldnlen"},
    {kU32, "racer_slfnlen"},
    {kByte, "racer_slcutun"},
    {kByte, "racer_slcutgr"},
    {kByte, "racer_slcutdp"},
    {kByte, "racer_slcutdn"},
    {kByte, "racer_slcutfn"},
    {kTextItem, "racer_sbarempty"},
    {kTextItem, "racer_sbarfull"},
    {kU32, "racer_sbarlen"},
    {kByte, "racer_ssortu"},
    {kByte, "racer_ssortg"},
    {kTextItem, "racer_mbody"},
    {kU32, "racer_marlen"},
    {kU32, "racer_mallen"},
    {kU32, "racer_mgelen"},
    {kU32, "racer_mmmlen"},
    {kU32, "racer_mcolen"},
    {kByte, "racer_mcutar"},
    {kByte, "racer_mcutal"},
    {kByte, "racer_mcutge"},
    {kByte, "racer_mcutmm"},
    {kByte, "racer_mcutco"},
    {kByte, "racer_en"},
    {kByte, "racer_sen"},
    {kByte, "racer_men"},
    {kByte, "racer_chmod"},
};

// Rounds of values: each switch and choice gets a sequence over the rounds
// that no other of its record shares, so that two controls that edited each
// other's member would be told apart.
constexpr int kRounds = 6;

// One control of the tables, with what its record's rows say of it.
struct Control {
  std::string name;
  Kind kind;
  int count;          // choice buttons
  std::string other;  // pair
  int index;          // among its record's controls of the same sort
};

template <class Record>
void collect(const std::vector<brindleset::Block<Record>>& table, std::vector<Control>& controls) {
  int flags = 0;
  int others = 0;
  for (const auto& block : table) {
    for (size_t i = 0; i < block.count; ++i) {
      const Binding<Record>& row = block.rows[i];
      if (row.kind == Kind::kCopy) continue;  // its control is another row's
      bool flag = row.kind == Kind::kSwitch || row.kind == Kind::kChoice || row.kind == Kind::kPair;
      controls.push_back({row.control, row.kind, row.count, row.other ? row.other : "",
                          flag ? ++flags : ++others});
    }
  }
}

int buttonsOf(const Control& c) { return c.kind == Kind::kChoice ? c.count : 2; }

// A switch, pair or choice in round `round`: a digit of its index written
// in the base of its buttons. "show only last tag" stays ticked, so that
// the tag ids are kept.
unsigned int flagValue(const Control& c, int round) {
  if (c.name == "tinfo_last") return 1;
  int base = buttonsOf(c);
  int value = c.index;
  for (int i = 0; i < round; ++i) value /= base;
  return static_cast<unsigned int>(value % base);
}

// Every text ends in the path separator, which the writers add to folders.
std::string textValue(const Control& c, int round, bool memo) {
  std::string text = c.name + (memo ? "\r\n\xE9#" : "\xE9#") + std::to_string(round);
  return text + platform::kPathSepText;
}

unsigned int numberValue(const Control& c, int round) {
  return 1000u * static_cast<unsigned int>(round + 1) + static_cast<unsigned int>(c.index);
}

std::vector<std::string> listValue(const Control& c, int round) {
  std::string base = c.name + "#" + std::to_string(round);
  return {base + "-a", base + "-b"};
}

bool isMemo(TMainWindow& w, const Control& c) { return find<TMemo>(w, c.name.c_str()) != nullptr; }

XString choiceButton(const Control& c, int i) { return XString(c.name.c_str()) + XString(i); }

void fill(TMainWindow& w, const std::vector<Control>& controls, int round) {
  for (const Control& c : controls) {
    const char* name = c.name.c_str();
    switch (c.kind) {
      case Kind::kText:
      case Kind::kFolder:
      case Kind::kTagId:
        if (isMemo(w, c)) {
          the<TMemo>(w, name).setText(XString(textValue(c, round, true)));
        } else {
          the<TEdit>(w, name).setText(XString(textValue(c, round, false)));
        }
        break;
      case Kind::kCaption:
        the<TLabel>(w, name).setCaption(XString(textValue(c, round, false)));
        break;
      case Kind::kNumber:
        the<TEdit>(w, name).setText(XString(numberValue(c, round)));
        break;
      case Kind::kSwitch:
        the<TCheckBox>(w, name).setChecked(flagValue(c, round) != 0);
        break;
      case Kind::kPair:
        the<TRadioButton>(w, flagValue(c, round) ? name : c.other.c_str()).setChecked(true);
        break;
      case Kind::kChoice:
        the<TRadioButton>(w, choiceButton(c, static_cast<int>(flagValue(c, round))).c_str())
            .setChecked(true);
        break;
      case Kind::kList:
      case Kind::kFolderList:
      case Kind::kBareFolderList: {
        TStrings* items = the<TListBox>(w, name).Items();
        items->Clear();
        for (const std::string& item : listValue(c, round)) items->Add(XString(item));
        break;
      }
      case Kind::kCopy:
        break;
    }
  }
}

// What the controls show again after a save and a second start.
void expectShown(TMainWindow& w, const std::vector<Control>& controls, int round) {
  for (const Control& c : controls) {
    const char* name = c.name.c_str();
    switch (c.kind) {
      case Kind::kText:
      case Kind::kFolder:
      case Kind::kTagId:
        if (isMemo(w, c)) {
          EXPECT_EQ(the<TMemo>(w, name).Text(), textValue(c, round, true)) << name;
        } else {
          EXPECT_EQ(the<TEdit>(w, name).Text(), textValue(c, round, false)) << name;
        }
        break;
      case Kind::kCaption:
        EXPECT_EQ(the<TLabel>(w, name).Caption(), textValue(c, round, false)) << name;
        break;
      case Kind::kNumber:
        EXPECT_EQ(the<TEdit>(w, name).Text(), XString(numberValue(c, round))) << name;
        break;
      case Kind::kSwitch:
        EXPECT_EQ(the<TCheckBox>(w, name).Checked(), flagValue(c, round) != 0) << name;
        break;
      case Kind::kPair:
        EXPECT_EQ(the<TRadioButton>(w, name).Checked(), flagValue(c, round) != 0) << name;
        EXPECT_EQ(the<TRadioButton>(w, c.other.c_str()).Checked(), flagValue(c, round) == 0)
            << name;
        break;
      case Kind::kChoice:
        for (int i = 0; i < c.count; ++i) {
          EXPECT_EQ(the<TRadioButton>(w, choiceButton(c, i).c_str()).Checked(),
                    static_cast<unsigned int>(i) == flagValue(c, round))
              << name << i;
        }
        break;
      case Kind::kList:
      case Kind::kFolderList:
      case Kind::kBareFolderList:
        EXPECT_EQ(itemsOf(w, name), listValue(c, round)) << name;
        break;
      case Kind::kCopy:
        break;
    }
  }
}

// Reads a settings file item by item as the layout says.
class Reader {
 public:
  explicit Reader(std::string bytes) : bytes_(std::move(bytes)) {}
  uint32_t u32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(byte()) << (8 * i);
    return value;
  }
  unsigned char byte() {
    if (at_ >= bytes_.size()) {
      ADD_FAILURE() << "the file ends early";
      return 0;
    }
    return static_cast<unsigned char>(bytes_[at_++]);
  }
  std::string text() {
    uint32_t length = u32();
    std::string text = bytes_.substr(at_, length);
    at_ += length;
    return text;
  }
  std::vector<std::string> list() {
    std::vector<std::string> texts;
    for (uint32_t n = u32(); n > 0 && at_ < bytes_.size(); --n) texts.push_back(text());
    return texts;
  }
  bool atEnd() const { return at_ == bytes_.size(); }

 private:
  std::string bytes_;
  size_t at_ = 0;
};

// Each stored item holds the value put into the control that the layout
// names for it; every control of the tables is named by some item.
template <size_t n>
void expectStored(const std::string& file, const Item (&layout)[n],
                  const std::vector<Control>& controls, int round) {
  std::map<std::string, const Control*> byName;
  for (const Control& c : controls) byName[c.name] = &c;
  std::map<std::string, int> stored;
  Reader in(readFile(file));
  for (const Item& item : layout) {
    if (item.encoding == kRest) return;
    const Control* c = byName.count(item.control) ? byName[item.control] : nullptr;
    if (*item.control && !c) ADD_FAILURE() << "no row binds " << item.control;
    if (c) ++stored[c->name];
    switch (item.encoding) {
      case kTextItem: {
        std::string text = in.text();
        if (!c) break;
        std::string expected = textValue(*c, round, text.find('\r') != std::string::npos);
        if (c->kind == Kind::kTagId) expected = "[" + expected + "]";
        EXPECT_EQ(text, expected) << item.control;
        break;
      }
      case kU32: {
        uint32_t number = in.u32();
        if (c) {
          EXPECT_EQ(number, numberValue(*c, round)) << item.control;
        }
        break;
      }
      case kByte: {
        unsigned char value = in.byte();
        if (c) {
          EXPECT_EQ(value, flagValue(*c, round)) << item.control;
        }
        break;
      }
      case kListItem: {
        std::vector<std::string> list = in.list();
        if (!c) break;
        // Each item went to the head in turn; a folder list's items carry a
        // final separator.
        std::vector<std::string> expected = listValue(*c, round);
        std::swap(expected[0], expected[1]);
        if (c->kind == Kind::kFolderList) {
          for (std::string& folder : expected) folder += platform::kPathSepText;
        }
        EXPECT_EQ(list, expected) << item.control;
        break;
      }
      case kRest:
        break;
    }
  }
  EXPECT_TRUE(in.atEnd()) << file;
  for (const Control& c : controls) EXPECT_GE(stored[c.name], 1) << c.name << " in " << file;
}

// Every control of the three tables, with a distinct value, through save,
// the settings files and a second start; each lands in the item of the
// file that bears its name, so a row that edits another control's member
// is caught.
TEST_F(WindowTest, EveryControlOfTheTablesMakesTheRoundTripIntoTheItemOfItsName) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}, {"b.bcm", "/b/", "b"}});
  std::vector<Control> global;
  collect(brindleset::tables::globalTable(), global);
  std::vector<Control> linker;
  collect(brindleset::tables::linkerTable(), linker);
  std::vector<Control> module;
  collect(brindleset::tables::moduleTable(), module);
  for (const auto* controls : {&global, &linker, &module}) {
    int flags = 0;
    for (const Control& c : *controls) {
      if (c.kind == Kind::kSwitch || c.kind == Kind::kChoice || c.kind == Kind::kPair) ++flags;
    }
    ASSERT_LT(flags, 64) << "more rounds are needed to tell the switches apart";
  }

  auto window = start();
  for (int round = 0; round < kRounds; ++round) {
    TMainWindow& w = *window;
    fill(w, global, round);
    fill(w, linker, round);
    // Each module keeps its own values while the pages switch between them.
    w.overview->setSelected(w.modulesNode->Item(1));
    fill(w, module, round);
    w.overview->setSelected(w.modulesNode->Item(2));
    fill(w, module, round + kRounds);
    w.overview->setSelected(w.modulesNode->Item(1));
    expectShown(w, module, round);
    ASSERT_TRUE(click(*w.save));
    ASSERT_TRUE(hook.messages.empty()) << hook.messages[0].text.c_str();
    ASSERT_TRUE(Application->Terminated());

    expectStored(data("BCconfig.bcc"), kGlobalLayout, global, round);
    expectStored(data("linkerconfig.bcc"), kLinkerLayout, linker, round);
    expectStored(data("a.bcm"), kModuleLayout, module, round);
    expectStored(data("b.bcm"), kModuleLayout, module, round + kRounds);

    forms::testing::clearTerminated();
    window = start();
    expectShown(*window, global, round);
    expectShown(*window, linker, round);
    window->overview->setSelected(window->modulesNode->Item(2));
    expectShown(*window, module, round + kRounds);
    window->overview->setSelected(window->modulesNode->Item(1));
    expectShown(*window, module, round);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace brindleset_test
