#include "programs/brindleset/racer_pages.h"

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/panel_tools.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/window_controls.h"

namespace brindleset {

namespace {

// The legends open over the left of a page; their "show" panels stay at
// its right edge, where no legend covers them.
constexpr int kPageWidth = 572;  // what a racer page shows
constexpr int kMargin = 6;
constexpr int kInner = kPageWidth - 2 * kMargin;
constexpr int kShowLeft = kPageWidth - kMargin - 56;
constexpr int kLegendWidth = 300;
constexpr int kWidthStep = 24;  // from one width row to the next

constexpr const char* kLengthsOnly = "All length entrys must contain numbers only!";

// A value's width edit and its cut switch, with the value's caption.
struct Width {
  const char* caption;
  const char* length;
  const char* cut;
};

XString named(const char* pattern, char kind) {
  XString name(pattern);
  name.replace('X', kind);
  return name;
}

const char* const kSortKeys[] = {"number of files", "filesize", "speed"};

}  // namespace

RacerPages::RacerPages(TMainWindow& window, TPageControl* pages) : window_(window), pages_(pages) {
  TTabSheet* general = byName<TTabSheet>(*pages_, "racer_general");
  addCheck(general, "racer_en", "enable Racer", kMargin + 2, 4, 150);
  addCheck(general, "racer_chmod", "apply chmod to racer.sav", 170, 4, 250);
  addRaceTexts(general, 'g', 164);

  TTabSheet* sfv = byName<TTabSheet>(*pages_, "racer_sfv");
  addCheck(sfv, "racer_sen", "use if .sfv is uploaded", kMargin + 2, 4, 250);
  int top = addRaceTexts(sfv, 's', 90) + 4;
  TGroupBox* bar = addGroup(sfv, "racer_sbarset", "the bar (%b)", kMargin, top, kInner, 78);
  addLabel(bar, "length:", 8, 20, 50);
  addNumberEdit(window_, bar, "racer_sbarlen", 60, 20, 44);
  addLabel(bar, "full cell:", 116, 20, 60);
  addEdit(bar, "racer_sbarfull", 176, 20, 44)->setFixedPitch(true);
  addLabel(bar, "empty cell:", 232, 20, 72);
  addEdit(bar, "racer_sbarempty", 304, 20, 44)->setFixedPitch(true);
  auto* slider = new TTrackBar(bar, "racer_sbbslider");
  slider->SetBounds(364, 20, kInner - 376, 22);
  slider->setMax(kPreviewSteps);
  slider->OnChange = forms::handler(&window_, &TMainWindow::racer_sbbsliderChange);
  TLabel* preview = addNamedLabel(bar, "racer_sbbtest", 8, 46, kInner - 16);
  preview->setCaption("Text");
  preview->setFixedPitch(true);

  TTabSheet* mp3 = byName<TTabSheet>(*pages_, "racer_mp3");
  addCheck(mp3, "racer_men", "append if mp3 uploaded", kMargin + 2, 4, 250);
  addLabel(mp3, "body:", kMargin + 2, 26, 60);
  addMemo(mp3, "racer_mbody", kMargin, 46, kInner, 200);
  const Width widths[] = {{"artist:", "racer_marlen", "racer_mcutar"},
                          {"album:", "racer_mallen", "racer_mcutal"},
                          {"genre:", "racer_mgelen", "racer_mcutge"},
                          {"mpeg mode:", "racer_mmmlen", "racer_mcutmm"},
                          {"comment:", "racer_mcolen", "racer_mcutco"}};
  TGroupBox* box = addGroup(mp3, "racer_mset", "widths", kMargin, 256, 196, 24 + 5 * kWidthStep);
  for (int i = 0; i < 5; ++i) {
    int row = 20 + i * kWidthStep;
    addLabel(box, widths[i].caption, 8, row, 86);
    addNumberEdit(window_, box, widths[i].length, 96, row, 44);
    addCheck(box, widths[i].cut, "cut", 146, row + 1, 44);
  }
  addLegend(window_, mp3, "racer_mbodyshow", kShowLeft, 24, kMargin, 46, kLegendWidth);

  rows_.bind(*pages_, tables::kRacer);
}

void RacerPages::show(MConfig& settings) { rows_.show(settings); }

bool RacerPages::take(MConfig& settings) {
  try {
    rows_.take(settings);
    return true;
  } catch (const EConvertError&) {
    // The racer's own page stays as it was.
    window_.refuseInput(window_.panels_moduledetail,
                        byName<TTabSheet>(*window_.modules_pages, "modules_racer"), kLengthsOnly);
    return false;
  }
}

void RacerPages::showTestBar() {
  int length = 0;
  try {
    length = StrToInt(byName<TEdit>(*pages_, "racer_sbarlen")->Text());
  } catch (const EConvertError&) {
    Application->MessageBox("Thebar length is not a valid integer.", "error", 0);
    return;
  }
  byName<TLabel>(*pages_, "racer_sbbtest")
      ->setCaption(barPreview(length, byName<TTrackBar>(*pages_, "racer_sbbslider")->Position(),
                              byName<TEdit>(*pages_, "racer_sbarfull")->Text(),
                              byName<TEdit>(*pages_, "racer_sbarempty")->Text()));
}

// One template family: the body, the user and group lines, their widths
// and cut switches and the two sort choices. `kind` is 'g' or 's'. Returns
// the top of what follows.
int RacerPages::addRaceTexts(TTabSheet* page, char kind, int bodyHeight) {
  XString bodyShow = named("racer_Xbodyshow", kind);
  XString lineShow = named("racer_Xlineshow", kind);
  addLabel(page, "body:", kMargin + 2, 26, 60);
  int top = 46;
  addMemo(page, named("racer_Xbody", kind).c_str(), kMargin, top, kInner, bodyHeight);
  top += bodyHeight + 6;
  addLabel(page, "user line:", kMargin + 2, top, 75);
  addEdit(page, named("racer_Xuser", kind).c_str(), 85, top, kShowLeft - 91)->setFixedPitch(true);
  int linesTop = top;
  top += kRowStep;
  addLabel(page, "group line:", kMargin + 2, top, 75);
  addEdit(page, named("racer_Xgroup", kind).c_str(), 85, top, kShowLeft - 91)->setFixedPitch(true);
  top += kRowStep + 4;

  auto addWidths = [&](const char* group, const char* caption, int left, const Width* rows,
                       int count) {
    TGroupBox* box = addGroup(page, named(group, kind).c_str(), caption, left, top, 180,
                              24 + count * kWidthStep);
    for (int i = 0; i < count; ++i) {
      int row = 20 + i * kWidthStep;
      addLabel(box, rows[i].caption, 8, row, 70);
      addNumberEdit(window_, box, named(rows[i].length, kind).c_str(), 80, row, 44);
      addCheck(box, named(rows[i].cut, kind).c_str(), "cut", 130, row + 1, 44);
    }
  };
  const Width body[] = {{"dir path:", "racer_Xbdplen", "racer_Xbcutdp"},
                        {"dir name:", "racer_Xbdnlen", "racer_Xbcutdn"},
                        {"file name:", "racer_Xbfnlen", "racer_Xbcutfn"}};
  const Width lines[] = {{"username:", "racer_Xlunlen", "racer_Xlcutun"},
                         {"group:", "racer_Xlgrlen", "racer_Xlcutgr"},
                         {"dir path:", "racer_Xldplen", "racer_Xlcutdp"},
                         {"dir name:", "racer_Xldnlen", "racer_Xlcutdn"},
                         {"file name:", "racer_Xlfnlen", "racer_Xlcutfn"}};
  addWidths("racer_Xbset", "widths in the body", kMargin, body, 3);
  addWidths("racer_Xlset", "widths in the lines", kMargin + 186, lines, 5);
  const struct {
    const char* group;
    const char* caption;
    const char* prefix;
  } sorts[] = {{"racer_Xsortuset", "sort users by", "racer_Xsortu"},
               {"racer_Xsortgset", "sort groups by", "racer_Xsortg"}};
  int sortTop = top;
  for (const auto& sort : sorts) {
    TGroupBox* box = addGroup(page, named(sort.group, kind).c_str(), sort.caption, kMargin + 372,
                              sortTop, kInner - 372, 72);
    for (int i = 0; i < 3; ++i) {
      XString name = named(sort.prefix, kind) + XString(i);
      addRadio(box, name.c_str(), kSortKeys[i], 10, 16 + i * 18, kInner - 392);
    }
    sortTop += 76;
  }

  addLegend(window_, page, bodyShow.c_str(), kShowLeft, 24, kMargin, 46, kLegendWidth);
  addLegend(window_, page, lineShow.c_str(), kShowLeft, linesTop, kMargin, 4, kLegendWidth);
  return top + 24 + 5 * kWidthStep;
}

}  // namespace brindleset
