#include "programs/brindleset/module_pages.h"

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/panel_tools.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/window_controls.h"

namespace brindleset {

namespace {

constexpr int kPageWidth = 580;  // what a tab shows
constexpr int kMargin = 6;
constexpr int kInner = kPageWidth - 2 * kMargin;
constexpr int kHalf = (kInner - 6) / 2;

constexpr const char* kBarLengthOnly =
    "The bar length of the progress bar must contain numbers only!";

const char* const kMarkerKinds[] = {"disabled", "file", "folder"};
const char* const kTagIdControls[] = {"tinfo_idl",    "tinfo_id",    "tinfo_idr",
                                      "tinfo_idmull", "tinfo_idmul", "tinfo_idmulr"};

// The radio buttons `<prefix>0`, `<prefix>1`, ... in a row.
void addChoiceRow(TWinControl* parent, const char* prefix, const char* const* captions, int count,
                  int left, int top, int step) {
  for (int i = 0; i < count; ++i) {
    XString name(prefix);
    name += XString(i);
    addRadio(parent, name.c_str(), captions[i], left + i * step, top, step - 4);
  }
}

// A marker kind's group: "disabled", "file", "folder" and its switch of the
// multi-CD form at the top, the names below.
TGroupBox* addMarkerGroup(TWinControl* page, const char* group, const char* caption,
                          const char* prefix, const char* mcd, int top, int height) {
  TGroupBox* box = addGroup(page, group, caption, kMargin, top, kInner, height);
  addChoiceRow(box, prefix, kMarkerKinds, 3, 10, 20, 85);
  if (mcd) addCheck(box, mcd, "multi CD form", 300, 20, 200);
  return box;
}

}  // namespace

ModulePages::ModulePages(TMainWindow& window, TPageControl* pages)
    : window_(window), pages_(pages) {
  buildGeneralPage();
  buildSfvPage();
  buildMp3Page();
  buildBarPage();
  rows_.bind(*pages_, tables::kModule);
}

void ModulePages::show(MConfig& settings, bool listsReversed) {
  rows_.show(settings, listsReversed);
  // Each rule runs when its switch changes; the calls cover an unchanged one.
  followTagInfo();
  followAdvertisement();
}

bool ModulePages::take(MConfig& settings) {
  try {
    rows_.take(settings);
    return true;
  } catch (const EConvertError&) {
    window_.refuseInput(window_.panels_moduledetail, byName<TTabSheet>(*pages_, "modules_pb"),
                        kBarLengthOnly);
    return false;
  }
}

void ModulePages::followTagInfo() {
  bool last = byName<TCheckBox>(*pages_, "tinfo_last")->Checked();
  for (const char* name : kTagIdControls) byName<TControl>(*pages_, name)->setVisible(last);
  if (last) return;
  byName<TEdit>(*pages_, "tinfo_id")->setText("");
  byName<TEdit>(*pages_, "tinfo_idmul")->setText("");
}

void ModulePages::followAdvertisement() {
  bool on = byName<TCheckBox>(*pages_, "ad_en")->Checked();
  byName<TControl>(*pages_, "ad_file")->setEnabled(on);
  byName<TControl>(*pages_, "ad_browse")->setEnabled(on);
}

void ModulePages::showTestBar() {
  int length = StrToInt(byName<TEdit>(*pages_, "pb_len")->Text());
  byName<TLabel>(*pages_, "pb_test")
      ->setCaption(barPreview(length, byName<TTrackBar>(*pages_, "pb_slider")->Position(),
                              byName<TEdit>(*pages_, "pb_full")->Text(),
                              byName<TEdit>(*pages_, "pb_empty")->Text()));
}

void ModulePages::buildGeneralPage() {
  TTabSheet* page = byName<TTabSheet>(*pages_, "modules_general");
  TGroupBox* owner = addOwner(window_, page,
                              {"chmod_set", "owner of what the hooks make", "chmod_change",
                               "chmod_username", "chmod_group", "chmod_allow"},
                              kMargin, 6, kInner, 76, 44);
  addRadio(owner, "chmod_touser", "the uploading user", 10, 20, 170);
  addRadio(owner, "chmod_tobc", "the user settings left", 190, 20, 200);

  int top = 90;
  const int editLeft = 214;
  TGroupBox* move = addGroup(page, "movecompleted", "completed releases", kMargin, top, kInner, 50);
  addCheck(move, "move_en", "move completed releases to:", 10, 21, 200);
  addEdit(move, "move_dir", editLeft, 20, kInner - editLeft - 10);
  top += 56;
  TGroupBox* advert = addGroup(page, "advertisement", "advertisement", kMargin, top, kInner, 50);
  TCheckBox* ad = addCheck(advert, "ad_en", "enable advertisement", 10, 21, 200);
  ad->OnClick = forms::handler(&window_, &TMainWindow::advertisement_update);
  addFileEdit(window_, advert, "ad_file", "ad_browse", editLeft, 20, kInner - editLeft - 10);
  top += 56;

  TGroupBox* bad = addGroup(page, "badfiles", "bad files", kMargin, top, kHalf, 50);
  const char* const badKinds[] = {"disabled", "delete", "0 byte file"};
  addChoiceRow(bad, "badf_", badKinds, 3, 10, 22, 88);
  TGroupBox* creator =
      addGroup(page, "creatorinfo", "creator info marker", kMargin + kHalf + 6, top, kHalf, 50);
  addChoiceRow(creator, "cinfo_", kMarkerKinds, 3, 10, 22, 88);
  top += 56;

  TGroupBox* special =
      addGroup(page, "specialndl", "special new directory list", kMargin, top, kInner, 118);
  addRadio(special, "ndlspecial_0", "disabled", 10, 22, 90);
  addRadio(special, "ndlspecial_1", "enabled", 100, 22, 90);
  addCheck(special, "ndlspecial_addmain", "also add entrys to main ndl", 200, 22, 300);
  addLabel(special, "output files:", 10, 50, 90);
  addFileEdit(window_, special, "ndlspecial_file", "ndlspecial_browse", 100, 50, kInner - 110);
  TButton* reset = addButton(special, "specialndl_delete", "delete special ndl", 10, 84, 170, 26);
  reset->OnClick = forms::handler(&window_, &TMainWindow::deleteBoard);
}

void ModulePages::buildSfvPage() {
  TTabSheet* page = byName<TTabSheet>(*pages_, "modules_sfv");
  struct Marker {
    const char* group;
    const char* caption;
    const char* prefix;
    const char* pat;
    const char* patmul;
    const char* mcd;
  };
  const Marker markers[] = {
      {"sfvm_set", "marker while the sfv is missing", "sfvm_", "sfvm_pat", "sfvm_patmul",
       "mcd_sfvm"},
      {"sfvi_set", "marker while the release is incomplete", "sfvi_", "sfvi_pat", "sfvi_patmul",
       "mcd_sfvi"},
  };
  int top = 6;
  for (const Marker& marker : markers) {
    TGroupBox* box =
        addMarkerGroup(page, marker.group, marker.caption, marker.prefix, marker.mcd, top, 76);
    addLabel(box, "name:", 10, 46, 45);
    addEdit(box, marker.pat, 55, 46, 215)->setFixedPitch(true);
    addLabel(box, "multi CD name:", 285, 46, 95);
    addEdit(box, marker.patmul, 380, 46, kInner - 390)->setFixedPitch(true);
    top += 82;
  }
  TGroupBox* missing =
      addMarkerGroup(page, "mfiles_set", "markers of missing files", "mfiles_", nullptr, top, 50);
  addLabel(missing, "name:", 285, 20, 45);
  addEdit(missing, "mfiles_pat", 330, 20, kInner - 340)->setFixedPitch(true);
  top += 58;

  addCheck(page, "sfv_force", "force upload sfv first", kMargin + 2, top, 180);
  addCheck(page, "sfv_oneonly", "one sfv per folder only", 195, top, 185);
  addCheck(page, "sfv_insfv", "upload files in sfv only", 390, top, 185);
  top += 26;
  int height = 456 - top;
  TGroupBox* files =
      addGroup(page, "sfv_fileset", "files exempt from the sfv rules", kMargin, top, kHalf, height);
  addListEditor(window_, files, "sfv_filelist", 10, 22, kHalf - 20, height - 30);
  TGroupBox* folders = addGroup(page, "sfv_dirset", "folders exempt from all sfv rules",
                                kMargin + kHalf + 6, top, kHalf, height);
  addListEditor(window_, folders, "sfv_dirlist", 10, 22, kHalf - 20, height - 30);
}

void ModulePages::buildMp3Page() {
  TTabSheet* page = byName<TTabSheet>(*pages_, "modules_mp3");
  TGroupBox* playlists = addGroup(page, "m3u_set", "playlists", kMargin, 6, kInner, 72);
  addCheck(playlists, "m3u_create", "create playlist when completed", 10, 20, 270);
  addCheck(playlists, "m3u_deny", "deny upload of playlists", 290, 20, 260);
  addCheck(playlists, "m3u_skip", "don't create playlist when user uploaded one", 10, 44, 400);

  TGroupBox* tags =
      addMarkerGroup(page, "tinfo_set", "tag info marker", "tinfo_", "mcd_ti", 86, 250);
  TCheckBox* last = addCheck(tags, "tinfo_last", "show only last tag", 10, 46, 200);
  last->OnClick = forms::handler(&window_, &TMainWindow::updateTagInfo);
  addCheck(tags, "tinfo_merge", "merge with completed progress bar", 220, 46, 300);
  // The id is stored in brackets; the edits hold what stands between them.
  // The ids and formats name markers and are filtered as names are; the
  // merged forms never were.
  struct Row {
    const char* caption;
    const char* left;
    const char* edit;
    const char* right;
    bool name;
  };
  const Row rows[] = {
      {"id:", "tinfo_idl", "tinfo_id", "tinfo_idr", true},
      {"format:", nullptr, "tinfo_format", nullptr, true},
      {"merged:", nullptr, "tinfo_mergepat", nullptr, false},
      {"multi CD id:", "tinfo_idmull", "tinfo_idmul", "tinfo_idmulr", true},
      {"multi CD format:", nullptr, "tinfo_formatmul", nullptr, true},
      {"multi CD merged:", nullptr, "tinfo_mergepatmul", nullptr, false},
  };
  const int editLeft = 120;
  int top = 76;
  for (int i = 0; i < 6; ++i) {
    const Row& row = rows[i];
    if (i == 3) top += 8;  // the multi-CD forms apart
    addLabel(tags, row.caption, 10, top, editLeft - 12);
    int left = editLeft;
    int width = kInner - editLeft - 10;
    if (row.left) {
      addNamedLabel(tags, row.left, editLeft, top, 8)->setCaption("[");
      addNamedLabel(tags, row.right, editLeft + 152, top, 8)->setCaption("]");
      left = editLeft + 9;
      width = 140;
    }
    TEdit* edit = row.name ? addPathEdit(window_, tags, row.edit, left, top, width)
                           : addEdit(tags, row.edit, left, top, width);
    edit->setFixedPitch(true);
    top += kRowStep;
  }
}

void ModulePages::buildBarPage() {
  TTabSheet* page = byName<TTabSheet>(*pages_, "modules_pb");
  addMarkerGroup(page, "pb_set", "progress bar marker", "pb_", "mcd_pb", 6, 50);
  int top = 66;
  addLabel(page, "bar length:", kMargin + 2, top, 80);
  addNumberEdit(window_, page, "pb_len", 90, top, 50);
  addLabel(page, "full cell:", 165, top, 60);
  addEdit(page, "pb_full", 225, top, 60)->setFixedPitch(true);
  addLabel(page, "empty cell:", 305, top, 75);
  addEdit(page, "pb_empty", 380, top, 60)->setFixedPitch(true);
  top += kRowStep + 6;
  const struct {
    const char* caption;
    const char* edit;
  } names[] = {{"incomplete:", "pb_incpat"},
               {"completed:", "pb_compat"},
               {"multi CD incomplete:", "pb_incpatmul"},
               {"multi CD completed:", "pb_compatmul"}};
  for (const auto& name : names) {
    addLabel(page, name.caption, kMargin + 2, top, 135);
    addEdit(page, name.edit, 145, top, kPageWidth - kMargin - 145)->setFixedPitch(true);
    top += kRowStep;
  }
  top += 8;
  TGroupBox* preview = addGroup(page, "pb_preview", "preview", kMargin, top, kInner, 56);
  auto* slider = new TTrackBar(preview, "pb_slider");
  slider->SetBounds(10, 24, 150, 22);
  slider->setMax(kPreviewSteps);
  slider->OnChange = forms::handler(&window_, &TMainWindow::showTestBar);
  TLabel* bar = addNamedLabel(preview, "pb_test", 170, 22, kInner - 180);
  bar->setCaption("TEST");
  bar->setFixedPitch(true);
  top += 64;
  addLabel(page, "placeholders:", kMargin + 2, top, 90);
  addLegend(window_, page, "pb_varshow", 100, top, kMargin, top + 28, 260);
}

}  // namespace brindleset
