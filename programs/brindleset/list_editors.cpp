// Handlers that change only controls: the list editors, the browse buttons
// and the key filters.
#include "programs/brindleset/list_editors.h"

#include <cstring>
#include <vector>

#include "platform/fs.h"
#include "platform/paths.h"
#include "programs/brindleset/binding.h"
#include "programs/brindleset/main_window.h"

namespace brindleset {

namespace {

const ListEditor kListEditors[] = {
    {"mcd_list", "mcd_input", "mcd_add", "mcd_del", false},
    {"deny_list", "deny_input", "deny_add", "deny_del", false},
    {"link_pathes", "link_pathinp", "link_pathadd", "link_pathdel", true},
    {"link_list", "link_input", "link_add", "link_del", true},
    {"ndl_exlist", "ndlex_input", "ndlex_add", "ndlex_del", true},
    {"sfv_filelist", "sfv_fileinput", "sfv_fileadd", "sfv_filedel", true},
    {"sfv_dirlist", "sfv_dirinput", "sfv_diradd", "sfv_dirdel", true},
};

constexpr const char* kTextFilter = "Text files (*.txt)|*.txt|All files|*.*";

const BrowseButton kBrowseButtons[] = {
    {"llog_browse", "link_logfile", true, "log", "linker_log.txt", kTextFilter, "linker-logfile"},
    {"ndl_browse", "ndl_file", true, "txt", "newdirlist.txt", kTextFilter,
     "newdirlist plain textfile"},
    {"rb_browse", "rb_file", true, "txt", "requestboard.txt", kTextFilter,
     "request board plain textfile"},
    {"mb_browse", "mb_file", true, "txt", "messageboard.txt", kTextFilter,
     "message board plain textfile"},
    {"user_browse", "userfile", false, "user", "", "RaidenFTPD user files|*.user|All files|*.*",
     "Please browse your server's user file."},
    {"vfs_browse", "vfsfile", false, "vfs", "", "RaidenFTPD vfs files|*.vfs|All files|*.*",
     "Please browse your server's vfs file."},
    {"vfsbackup_browse", "vfsbackup", false, "vfs", "",
     "RaidenFTPD vfs files|*.vfs|Backup files|*.backup|All files|*.*",
     "Please browse the backup-copy of your server's vfs file."},
    {"raidenftpd_browse", "raidenftpd", false, "exe", "RaidenFTPD.exe",
     "executable files|*.exe|All files|*.*",
     "Please browse raidenftpd.exe in your RaidenFTPD-directory."},
    {"ad_browse", "ad_file", false, "txt", "", "Text files|*.txt|All files|*.*",
     "Please browse the ad-file."},
    {"ndlspecial_browse", "ndlspecial_file", false, "txt", "", "Text files|*.txt|All files|*.*",
     "Special NDL plain text file."},
};

bool named(const XString& name, const char* wanted) {
  return name.length() == std::strlen(wanted) && equalNoCase(name, wanted);
}

// Marker names are made from these templates: a '/' there would make a
// folder level, so it is refused even where it separates paths.
const char* const kMarkerTemplates[] = {"tinfo_format", "tinfo_formatmul", "tinfo_id",
                                        "tinfo_idmul"};

}  // namespace

const ListEditor* listEditorOf(const XString& name) {
  for (const ListEditor& editor : kListEditors) {
    if (named(name, editor.list) || named(name, editor.input) || named(name, editor.add) ||
        named(name, editor.del)) {
      return &editor;
    }
  }
  return nullptr;
}

const BrowseButton* browseButtonOf(const XString& name) {
  for (const BrowseButton& button : kBrowseButtons) {
    if (named(name, button.button)) return &button;
  }
  return nullptr;
}

}  // namespace brindleset

using brindleset::BrowseButton;
using brindleset::byName;
using brindleset::ListEditor;

namespace {

const ListEditor* editorOfSender(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  return component ? brindleset::listEditorOf(component->Name()) : nullptr;
}

}  // namespace

void TMainWindow::onListClick(TObject* Sender) {
  const ListEditor* editor = editorOfSender(Sender);
  if (!editor) return;
  auto* list = byName<TListBox>(*this, editor->list);
  auto* input = byName<TEdit>(*this, editor->input);
  for (int i = 0; i < list->Items()->Count(); ++i) {
    if (list->Selected(i)) input->setText(list->Items()->Strings(i));
  }
}

void TMainWindow::onListAdd(TObject* Sender) {
  const ListEditor* editor = editorOfSender(Sender);
  if (!editor) return;
  byName<TListBox>(*this, editor->list)->Items()->Add(byName<TEdit>(*this, editor->input)->Text());
}

void TMainWindow::onListDel(TObject* Sender) {
  const ListEditor* editor = editorOfSender(Sender);
  if (!editor) return;
  auto* list = byName<TListBox>(*this, editor->list);
  // Read the selection first: deleting an item may select its neighbour.
  std::vector<int> selected;
  for (int i = 0; i < list->Items()->Count(); ++i) {
    if (list->Selected(i)) selected.push_back(i);
  }
  for (auto i = selected.rbegin(); i != selected.rend(); ++i) list->Items()->Delete(*i);
}

// One remembered folder for every button. It is taken only from a name the
// administrator confirmed, and a folder that has gone since is replaced by
// the working folder (the data folder).
void TMainWindow::onBrowse(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  const BrowseButton* button = component ? brindleset::browseButtonOf(component->Name()) : nullptr;
  auto* edit = button ? byName<TEdit>(*this, button->edit) : nullptr;
  if (!edit) return;
  if (browseFolder_.empty() || !platform::isFolder(browseFolder_.c_str())) {
    // A working folder that cannot be read leaves it empty: the dialog then
    // starts where the system chooses.
    (void)browseFolder_.setToCurrentDir();
  }
  TSaveDialog dialog(this);
  dialog.InitialDir = browseFolder_;
  dialog.DefaultExt = button->defaultExt;
  dialog.FileName = button->fileName;
  dialog.Filter = button->filter;
  dialog.Title = button->title;
  dialog.Options = ofHideReadOnly | ofNoChangeDir | ofPathMustExist |
                   (button->output ? ofOverwritePrompt : ofFileMustExist);
  if (!dialog.Execute()) return;
  edit->setText(dialog.FileName);
  XPath folder(dialog.FileName);
  // A name without a separator is kept whole, as the dialog gave it.
  folder.toParent();
  browseFolder_ = folder;
}

void TMainWindow::IsPathname(TObject* Sender, char& Key) {
  bool markerTemplate = false;
  if (auto* component = dynamic_cast<TComponent*>(Sender)) {
    for (const char* name : brindleset::kMarkerTemplates) {
      if (brindleset::named(component->Name(), name)) markerTemplate = true;
    }
  }
  // Where '/' separates a path it is part of what is typed.
  if (Key == '/' && !markerTemplate && platform::kPathSep == '/') return;
  if (std::strchr("<>?/*", Key) != nullptr && Key != 0) Key = 0;
}

void TMainWindow::OnlyNumbers(TObject* Sender, char& Key) {
  if ((Key >= '0' && Key <= '9') || Key == 8 || Key == 127) return;
  Key = 0;
}
