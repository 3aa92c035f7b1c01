#include "programs/brindleset/board_panel.h"

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/window_controls.h"

namespace brindleset {

namespace {

constexpr int kWidth = 600;  // of a panel
constexpr int kHeight = 500;
constexpr int kMargin = 8;  // between a panel's edge and its controls
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kHalf = (kInner - 8) / 2;
constexpr int kEditLeft = 125;  // where edits begin after their caption
constexpr int kNumberWidth = 60;
constexpr int kLineHeight = 15;  // of a template memo
constexpr int kHeadLines = 5;

const char* const kLevels[] = {"root", "super", "normal", "guest"};

// The controls each enable switch greys out while it is off; the "message
// if disabled" box stays, since it says what users are told meanwhile.
const char* const kMessageBoardFollowers[] = {
    "mb_head",      "mb_lineformat", "mb_tail",   "mb_browse",  "mb_file", "mb_unlen", "mb_tlen",
    "mb_maxentrys", "mb_cutun",      "mb_cuttxt", "mb_maxmode", "delm_0",  "delm_1",   "delm_2",
    "delm_3",       "postm_0",       "postm_1",   "postm_2",    "postm_3", nullptr};
const char* const kRequestBoardFollowers[] = {
    "rb_head",       "rb_lineformat", "rb_tail",      "rb_browse", "rb_file",   "rb_preqpath",
    "rb_unlen",      "rb_tlen",       "rb_maxentrys", "rb_cutun",  "rb_cuttxt", "rb_maxmode",
    "rb_postfilled", "rb_makedir",    "delr_0",       "delr_1",    "delr_2",    "delr_3",
    "postr_0",       "postr_1",       "postr_2",      "postr_3",   nullptr};
const char* const kNewDirListFollowers[] = {
    "ndl_head", "ndl_lineformat", "ndl_tail",  "ndl_browse", "ndl_file", "ndl_unlen",
    "ndl_tlen", "ndl_maxentrys",  "ndl_cutun", "ndl_cuttxt", nullptr};

struct BoardText {
  const char* prefix;
  Block<GConfig> rows;
  const char* const* followers;  // null: no enable switch
  const char* enableCaption;
  const char* textCaption;
  const char* cutTextCaption;
  const char* reset;  // null: no reset button
  const char* resetCaption;
};

const BoardText& textOf(BoardPanel::Board board) {
  static const BoardText texts[] = {
      {"mb_", tables::kMessageBoard, kMessageBoardFollowers, "enable board",
       "message length:", "cut message", "mb_delete", "delete message board"},
      {"rb_", tables::kRequestBoard, kRequestBoardFollowers, "enable board",
       "request length:", "cut request", "rb_delete", "delete request board"},
      {"ndl_", tables::kNewDirList, kNewDirListFollowers, "enable list", "path length:", "cut path",
       "ndl_delete", "delete new directory list"},
      {"ndlspecial_", tables::kSpecialList, nullptr, nullptr, "path length:", "cut path", nullptr,
       nullptr},
  };
  return texts[board];
}

}  // namespace

BoardPanel::BoardPanel(TMainWindow& window, TPanel* panel, Board board)
    : window_(window), panel_(panel), board_(board), prefix_(textOf(board).prefix) {
  build();
  const BoardText& text = textOf(board_);
  if (text.followers) {
    for (const char* const* name = text.followers; *name; ++name) {
      followers_.push_back(byName<TControl>(*panel_, *name));
    }
  }
  rows_.bind(*panel_, text.rows);
}

void BoardPanel::show(GConfig& settings) {
  rows_.show(settings);
  followSwitch();
}

bool BoardPanel::take(GConfig& settings) {
  try {
    rows_.take(settings);
    return true;
  } catch (const EConvertError&) {
    window_.refuseInput(panel_, nullptr,
                        "username length, message length and maximum entrys must contain "
                        "numbers only!");
    return false;
  }
}

void BoardPanel::followSwitch() {
  if (!enable_) return;
  bool on = enable_->Checked();
  for (TControl* control : followers_) control->setEnabled(on);
}

void BoardPanel::build() {
  const BoardText& text = textOf(board_);
  TPanel* p = panel_;
  auto name = [this](const char* member) { return prefix_ + member; };
  if (board_ == kSpecialList) {
    addLabel(p, "The layout of the new directory list that each module may keep of its own.",
             kMargin + 2, 6, kInner);
  } else {
    enable_ = addCheck(p, name("en").c_str(), text.enableCaption, kMargin + 2, 8, 150);
    void (TMainWindow::*rule)(TObject*) = board_ == kMessageBoard   ? &TMainWindow::updateMBoard
                                          : board_ == kRequestBoard ? &TMainWindow::updateRBoard
                                                                    : &TMainWindow::updateNDL;
    enable_->OnClick = forms::handler(&window_, rule);
    addCheck(p, name("messageifdis").c_str(), "message if disabled", 170, 8, 170);
  }
  if (board_ == kMessageBoard || board_ == kRequestBoard) {
    addCheck(p, name("maxmode").c_str(), "delete old if full", 345, 8, 200);
  }
  int top = addLimits(text.textCaption, text.cutTextCaption, 36);
  if (board_ == kMessageBoard) {
    addLevels("mb_post", "postm_", "mb_del", "who may delete any message", "delm_", top);
    top += 56;
  } else if (board_ == kRequestBoard) {
    addCheck(p, "rb_postfilled", "post filled requests", 345, top - kRowStep + 1, 200);
    addLabel(p, "request folder:", kMargin + 2, top, 115);
    addPathEdit(window_, p, "rb_preqpath", kEditLeft, top, 210);
    addCheck(p, "rb_makedir", "create upload dir", 345, top + 1, 200);
    top += kRowStep + 2;
    addLevels("rb_post", "postr_", "rb_del", "who may delete any request", "delr_", top);
    top += 56;
  } else {
    top += 2;
  }
  top = addTemplates(top);
  addTools(top);
}

// The length and count edits with their cut boxes, the directory name's
// too on the new-directory lists. Returns the top of the row after them.
int BoardPanel::addLimits(const char* textCaption, const char* cutTextCaption, int top) {
  TPanel* p = panel_;
  auto name = [this](const char* member) { return prefix_ + member; };
  auto number = [&](const char* member, int left, int row) {
    addNumberEdit(window_, p, name(member).c_str(), left, row, kNumberWidth);
  };
  addLabel(p, "username length:", kMargin + 2, top, 115);
  number("unlen", kEditLeft, top);
  addCheck(p, name("cutun").c_str(), "cut username", kEditLeft + kNumberWidth + 10, top + 1, 130);
  addLabel(p, "maximum entrys:", 345, top, 110);
  number("maxentrys", 455, top);
  top += kRowStep;
  addLabel(p, textCaption, kMargin + 2, top, 115);
  number("tlen", kEditLeft, top);
  addCheck(p, name("cuttxt").c_str(), cutTextCaption, kEditLeft + kNumberWidth + 10, top + 1, 130);
  top += kRowStep;
  if (board_ == kNewDirList || board_ == kSpecialList) {
    addLabel(p, "dirname length:", kMargin + 2, top, 115);
    number("namelen", kEditLeft, top);
    addCheck(p, name("cutname").c_str(), "cut dirname", kEditLeft + kNumberWidth + 10, top + 1,
             130);
    top += kRowStep;
  }
  return top;
}

// "who may post" and "who may delete": one radio button per user level.
void BoardPanel::addLevels(const char* postGroup, const char* postPrefix, const char* delGroup,
                           const char* delCaption, const char* delPrefix, int top) {
  const struct {
    const char* group;
    const char* caption;
    const char* prefix;
    int left;
  } boxes[] = {{postGroup, "who may post", postPrefix, kMargin},
               {delGroup, delCaption, delPrefix, kMargin + kHalf + 8}};
  for (const auto& levels : boxes) {
    TGroupBox* box = addGroup(panel_, levels.group, levels.caption, levels.left, top, kHalf, 48);
    for (int i = 0; i < 4; ++i) {
      XString name(levels.prefix);
      name += XString(i);
      addRadio(box, name.c_str(), kLevels[i], 10 + i * 68, 22, 66);
    }
  }
}

// The row template, the head and the tail. Returns the top of the row
// after them.
int BoardPanel::addTemplates(int top) {
  TPanel* p = panel_;
  addLabel(p, "line format:", kMargin + 2, top, 110);
  addEdit(p, (prefix_ + "lineformat").c_str(), kEditLeft, top, kWidth - kMargin - kEditLeft)
      ->setFixedPitch(true);
  top += kRowStep + 2;
  headTop_ = top;
  addLabel(p, "head:", kMargin + 2, top - 4, 110);
  int headHeight = kHeadLines * kLineHeight + 12;
  addMemo(p, (prefix_ + "head").c_str(), kMargin, top + 14, kInner, headHeight);
  top += 14 + headHeight + 4;
  addLabel(p, "tail:", kMargin + 2, top - 4, 110);
  int tailHeight = 3 * kLineHeight + 12;
  addMemo(p, (prefix_ + "tail").c_str(), kMargin, top + 14, kInner, tailHeight);
  return top + 14 + tailHeight + 6;
}

// The output files, the placeholder legend, which opens over the right of
// the templates, and the reset of the stored list.
void BoardPanel::addTools(int top) {
  const BoardText& text = textOf(board_);
  TPanel* p = panel_;
  int left = kMargin;
  int toolsTop = top + 35;
  if (board_ != kSpecialList) {
    addLabel(p, "output files:", kMargin + 2, top, 110);
    addFileEdit(window_, p, (prefix_ + "file").c_str(), (prefix_ + "browse").c_str(), kEditLeft,
                top, kWidth - kMargin - kEditLeft);
  }
  if (board_ == kNewDirList) {
    // The excluded folders fill the left of the rows below.
    top += kRowStep + 4;
    int height = kHeight - kMargin - top;
    TGroupBox* excluded =
        addGroup(p, "ndl_exset", "directorys kept out of the lists", kMargin, top, 400, height);
    addListEditor(window_, excluded, "ndl_exlist", 10, 22, 380, height - 30);
    left = 416;
    toolsTop = top;
  }
  addLabel(p, "placeholders:", left + 2, toolsTop, 90);
  // The legend covers the templates from the head's caption down.
  addLegend(window_, p, (prefix_ + "varshow").c_str(), left + 95, toolsTop, 300, headTop_, 292);
  if (!text.reset) return;
  bool below = board_ == kNewDirList;
  TButton* reset =
      addButton(p, text.reset, text.resetCaption, below ? left : kWidth - kMargin - 190,
                below ? toolsTop + 34 : toolsTop - 1, below ? 176 : 190, 26);
  reset->OnClick = forms::handler(&window_, &TMainWindow::deleteBoard);
}

}  // namespace brindleset
