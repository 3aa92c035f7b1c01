#include "programs/brindleset/window_controls.h"

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/list_editors.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/panel_tools.h"

namespace brindleset {

namespace {

constexpr int kBrowseWidth = 28;
constexpr int kSmallButton = 26;  // "+" and "-"
constexpr int kShowWidth = 56;    // of a "show" panel
constexpr int kLegendLineHeight = 14;

}  // namespace

TEdit* addPathEdit(TMainWindow& window, TWinControl* parent, const char* name, int left, int top,
                   int width) {
  TEdit* edit = addEdit(parent, name, left, top, width);
  edit->OnKeyPress = forms::handler(&window, &TMainWindow::IsPathname);
  return edit;
}

TEdit* addNumberEdit(TMainWindow& window, TWinControl* parent, const char* name, int left, int top,
                     int width) {
  TEdit* edit = addEdit(parent, name, left, top, width);
  edit->OnKeyPress = forms::handler(&window, &TMainWindow::OnlyNumbers);
  return edit;
}

TEdit* addFileEdit(TMainWindow& window, TWinControl* parent, const char* editName,
                   const char* browseName, int left, int top, int width) {
  TEdit* edit = addPathEdit(window, parent, editName, left, top, width - kBrowseWidth - 4);
  TButton* browse =
      addButton(parent, browseName, "...", left + width - kBrowseWidth, top - 1, kBrowseWidth);
  browse->OnClick = forms::handler(&window, &TMainWindow::onBrowse);
  return edit;
}

void addListEditor(TMainWindow& window, TWinControl* parent, const char* listName, int left,
                   int top, int width, int height) {
  const ListEditor* names = listEditorOf(listName);
  int inputTop = top + height - kEditHeight;
  auto* list = new TListBox(parent, names->list);
  list->SetBounds(left, top, width, height - kEditHeight - 6);
  list->setMultiSelect(names->multiSelect);
  list->OnClick = forms::handler(&window, &TMainWindow::onListClick);
  int inputWidth = width - 2 * (kSmallButton + 4);
  addEdit(parent, names->input, left, inputTop, inputWidth);
  TButton* add =
      addButton(parent, names->add, "+", left + inputWidth + 4, inputTop - 1, kSmallButton);
  add->OnClick = forms::handler(&window, &TMainWindow::onListAdd);
  TButton* del =
      addButton(parent, names->del, "-", left + width - kSmallButton, inputTop - 1, kSmallButton);
  del->OnClick = forms::handler(&window, &TMainWindow::onListDel);
}

void addLegend(TMainWindow& window, TWinControl* parent, const char* showName, int showLeft,
               int showTop, int memoLeft, int memoTop, int memoWidth) {
  const Legend* legend = legendOf(showName);
  int lines = 0;
  while (legend->lines[lines]) ++lines;
  int memoHeight = lines * kLegendLineHeight + 16;
  auto* show = new TPanel(parent, showName);
  show->SetBounds(showLeft, showTop, kShowWidth, kEditHeight);
  show->setCaption("show");
  show->OnClick = forms::handler(&window, &TMainWindow::variable_show);
  // Made after the controls it covers, so it lies above them when shown.
  TMemo* memo = addMemo(parent, legend->memo, memoLeft, memoTop, memoWidth, memoHeight);
  memo->setReadOnly(true);
  memo->setTabStop(false);
  memo->setText(legendText(*legend));
  memo->setVisible(false);
}

TGroupBox* addOwner(TMainWindow& window, TWinControl* parent, const OwnerBox& names, int left,
                    int top, int width, int height, int rowTop) {
  TGroupBox* box = addGroup(parent, names.group, names.caption, left, top, width, height);
  addLabel(box, "username:", 10, rowTop, 70);
  addNamedLabel(box, names.user, 80, rowTop, 130);
  addLabel(box, "group:", 220, rowTop, 50);
  addNamedLabel(box, names.groupLabel, 270, rowTop, 110);
  addLabel(box, "rights:", 390, rowTop, 50);
  addNamedLabel(box, names.allow, 440, rowTop, 40);
  TButton* change = addButton(box, names.button, "change", width - 86, rowTop - 4, 76);
  change->OnClick = forms::handler(&window, &TMainWindow::chmod_changeClick);
  return box;
}

}  // namespace brindleset
