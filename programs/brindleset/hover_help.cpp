// The hover help: which text the memo "help" shows for which control, and
// the handler that the window, its main panels and the controls of the
// table hear mouse moves with.
#include "programs/brindleset/hover_help.h"

#include <cstring>

#include "foundation/version.h"
#include "programs/brindleset/binding.h"
#include "programs/brindleset/main_window.h"

namespace brindleset {

namespace {

// Compared in this order; the first row that names a control gives its
// text. The multi-CD name templates clear the memo on purpose.
const HelpRow kRows[] = {
    {{"p_userfile"},
     "The user file of your server. The allotment panel reads the users from it, and the credit "
     "allotment writes their new credits into it."},
    {{"p_vfsfile"},
     "The virtual file system file of your server. The tunelacer writes its links into it, and the "
     "dawnroll dir keeps its today and yesterday links in it."},
    {{"p_vfsbackup"},
     "A copy of your server's vfs file that holds only the entries you made yourself. The "
     "tunelacer rebuilds the vfs file from this copy at every run, so change this copy when you "
     "change your virtual file system."},
    {{"p_raidenftpd"},
     "The program file of your server. Brindlecast answers the server through the output folder in "
     "the folder of this file."},
    {{"p_mcd"},
     "Folder names of the CDs of a release, for example CD*. A directory whose name matches one of "
     "these patterns is handled as one CD of a multi-CD release. You can use wildcards."},
    {{"p_deny"},
     "Names of files and directories your users may not upload or create, whatever the module "
     "says. You can use wildcards, for example *incomplete*."},
    {{"al_user"},
     "Select the user whose credit allotment you want to see or change. The list holds the users "
     "of your server's user file."},
    {{"al_group"},
     "The group of the selected user, as your server's user file gives it. \"update group\" "
     "changes every user of this group."},
    {{"al_credit"},
     "The credits the selected user has now, as your server's user file gives them."},
    {{"al_mode"},
     "How the credits are alloted:\r\noff : nothing is alloted\r\nadd : the number is added to the "
     "user's credits\r\nfill : the users credits are set to the given number"},
    {{"al_when"},
     "Select when you want to allot credits to this user:\r\ndaily : every day\r\nweekly : every "
     "monday\r\nmonthly : every first day of month"},
    {{"al_fillless"},
     "If you set the user's mode to 'fill' and check this box, there are no changes if the users "
     "credits are higher than the given number.\r\nElse the user could loose credits."},
    {{"al_number"},
     "The credits in MB that are added to the user's credits (add) or that the user's credits are "
     "set to (fill)."},
    {{"al_loaduserfile"},
     "Reads the users from the user file set at 'General Settings'. If nothing happens, check that "
     "path and press this button again."},
    {{"al_updateuser"},
     "Stores the allotment settings on the right for the selected user. They are written when you "
     "save the settings."},
    {{"al_updategroup"},
     "Stores the allotment settings on the right for every user of the group shown. They are "
     "written when you save the settings."},
    {{"mb_en", "rb_en", "ndl_en"},
     "Switch the board on or off. While it is off, nothing is added to the board and its site "
     "commands do not work."},
    {{"mb_messageifdis", "rb_messageifdis"},
     "If checked and the board is disabled, the user gets a \"unknown sitecommand\" message "
     "instead of the specific Brindlecast message. Useful, if you have another sitecommand script, "
     "that uses the same sitecommands."},
    {{"mb_browse", "mb_file", "rb_browse", "rb_file", "ndl_browse", "ndl_file", "ndlspecial_file",
      "ndlspecial_browse"},
     "The text files the board is written to after every change, for example to show it as a "
     "directory message. Separate several files with |, or leave it empty to write none."},
    {{"mb_head", "rb_head", "ndl_head", "ndlspecial_head"},
     "The text written above the entries of the board."},
    {{"mb_lineformat", "rb_lineformat", "ndl_lineformat", "ndlspecial_lineformat"},
     "The format of one entry of the board. Press \"show\" to see the placeholders you can use."},
    {{"mb_tail", "rb_tail", "ndl_tail", "ndlspecial_tail"},
     "The text written below the entries of the board."},
    {{"mb_unlen", "rb_unlen", "ndl_unlen", "ndlspecial_unlen"},
     "The width of the username in an entry: shorter names are filled up with blanks. 0 leaves the "
     "names as they are."},
    {{"mb_tlen", "rb_tlen", "ndl_tlen", "ndlspecial_tlen"},
     "The width of the text in an entry (the message, the request or the directory path): shorter "
     "texts are filled up with blanks. 0 leaves the texts as they are."},
    {{"ndl_namelen", "ndlspecial_namelen"},
     "The width of the directory name in an entry: shorter names are filled up with blanks. 0 "
     "leaves the names as they are."},
    {{"mb_maxentrys", "rb_maxentrys", "ndl_maxentrys", "ndlspecial_maxentrys"},
     "The maximum number of entries the board keeps."},
    {{"mb_cutun", "rb_cutun", "ndl_cutun", "ndlspecial_cutun"},
     "If checked, usernames longer than the username length are cut to that length."},
    {{"ndl_cutname", "ndlspecial_cutname"},
     "If checked, directory names longer than the dirname length are cut to that length."},
    {{"mb_cuttxt", "rb_cuttxt", "ndl_cuttxt", "ndlspecial_cuttxt"},
     "If checked, texts longer than their length are cut to that length."},
    {{"mb_maxmode", "rb_maxmode"},
     "What to do if the board is at its message limit and a new message is added: if set, the "
     "oldest message is deleted else the new message is rejected."},
    {{"mb_post", "rb_post"},
     "The level a user requires to post on the board. Users of a higher level may post as well."},
    {{"mb_del", "rb_del"},
     "The level, the user requires to delete any post (users can always delete their own posts)."},
    {{"rb_postfilled"}, "If checked, every filled request is announced on the message board."},
    {{"rb_makedir"},
     "If checked, a folder named after the request is created in the request folder when the "
     "request is filled."},
    {{"rb_preqpath"},
     "The folder in which the folders of filled requests are created. A user who fills a request "
     "is told to upload into this folder."},
    {{"ndl_exlist"},
     "Add all directorys here that should not be listed in the new directory list. You can use "
     "wildcards. Example: c:\\server\\private* will not list any new dirs that are subdirectorys "
     "of c:\\server\\private."},
    {{"nd_en"},
     "Switch the dawnroll dir on or off. If on, the dawnroll program creates a directory for every "
     "day; it must be run once a day."},
    {{"nd_path"}, "The folder in which the day directories are created."},
    {{"nd_format"},
     "The name of a day directory, made from the date: %d day, %o month, %O short month name, %p "
     "month name, %Y year, %y year in two digits."},
    {{"nd_today"}, "If checked, the today link always shows the directory of today."},
    {{"nd_todaylink"},
     "A folder inside your virtual file system. Its virtual path becomes the today link."},
    {{"nd_yesterday"}, "If checked, the yesterday link always shows the directory of yesterday."},
    {{"nd_yesterdaylink"},
     "A folder inside your virtual file system. Its virtual path becomes the yesterday link."},
    {{"link_en"},
     "Switch the linker on or off. In addition to turning it on here, you must also execute tht "
     "tunelacer.exe regularly to keep the links up to date. This is done best by adding an entry "
     "to the RaidenFTPD.task."},
    {{"llog_browse", "link_logfile"},
     "The file the tunelacer writes its log to. Leave it empty for no log."},
    {{"link_sortby"},
     "Select the criteria you want to sort by. Every selected criterion will create an extra "
     "folder. Artist, genre, bitrate and album just take the corresponding attribute, group is "
     "taken from the foldername: everything form the last - to the end. The \"all in one\" folder "
     "will contain links to all directorys sorted by their name."},
    {{"link_artistdir", "link_genredir", "link_groupdir", "link_yeardir", "link_dirnamedir",
      "link_allinonedir"},
     "The folder in which the links of this criterion are created. It is emptied at every run of "
     "the tunelacer, so give each criterion a folder of its own."},
    {{"vfs_maxentrys"},
     "The maximum entrys Raiden can handle in its vfs file. Because this limit is sometimes "
     "raised, you can enter the actual value here. If you don't know it, just leave the deafult "
     "value of 8192. Entering too much can cause Raiden to stop workin properly."},
    {{"link_listp0", "link_listp1"},
     "Positive list: only the groups in the list get a group link. Negative list: the groups in "
     "the list get none."},
    {{"link_list"},
     "The release groups for the group links, one name or pattern an entry. You can use "
     "wildcards."},
    {{"link_load", "link_save"},
     "Saves the group list to a text file or loads it from one, one group a line."},
    {{"link_paset"},
     "All these pathes will be searched for mp3s including subfolders. Note that if you enter "
     "pathes outside your Raiden virtual filesystem, they will be linked as well so your users "
     "will get access to them."},
    {{"link_makeunknown"},
     "If checked, a release whose tag or name lacks the value of a criterion is linked all the "
     "same, for example in a folder named \"unknown\"."},
    {{"link_show"}, "If checked, the tunelacer shows a small window while it works."},
    {{"addmodule"},
     "Adds a new module. A module holds the settings for one path of your virtual file system and "
     "everything below it."},
    {{"dupmodule"}, "Adds a copy of the selected module, which you can then edit."},
    {{"editmodule"},
     "Changes the file name, section name, description or path of the selected module. The default "
     "module cannot be edited."},
    {{"delmodule"},
     "Removes the selected module from the list; its settings file stays on disk. The default "
     "module cannot be removed."},
    {{"chmod_username", "chmod_group"},
     "The user and group that own what Brindlecast creates for this module, if 'the user settings "
     "left' is selected. Press \"change\" to set them."},
    {{"chmod_tobc"},
     "Uses the user settings on the left side for Brindlecast-files. Your users may not be able to "
     "delete them."},
    {{"chmod_touser"},
     "Uses the name and group of the uploading user. Thus this user will be able to delete these "
     "files."},
    {{"creatorinfo"},
     "Creates a marker in every new directory that names the user who created it: an empty file or "
     "a folder named @ followed by the username."},
    {{"movecompleted"},
     "If enabled, every completed release of this module is moved into the given folder."},
    {{"badfiles"},
     "Uploaded files, that fail the crc-check are renamed to .bad by Raiden, with this you can "
     "auto-delete or resize those bad files.\nNote: you must enable Raiden's \"rename to bad\" "
     "feature for this to work."},
    {{"advertisement"},
     "If enabled, the given file is copied into every completed release, for example a text file "
     "about your site."},
    {{"specialndl"},
     "If the special ndl is enabled for this module, all new dirs are added to a separate new dir "
     "list. You can view this list with \"site ndl <module short description>\"."},
    {{"mcd_sfvm", "mcd_sfvi", "mcd_pb", "mcd_ti"},
     "If enabled and the directory uploaded to matches one of the multiCD-patterns from 'General "
     "Settings', the files/folder of this feature will be created in parent directory (one dir "
     "higher that usual)."},
    {{"sfvm_pat", "mfiles_pat", "sfvi_pat", "pb_incpat", "tinfo_format"},
     "The name of this marker in a release that is not split into CDs. Its placeholders are filled "
     "in when the marker is created."},
    {{"sfvm_patmul", "sfvi_patmul", "pb_incpatmul", "tinfo_formatmul"}, ""},
    {{"sfv_oneonly"},
     "If checked, a second .sfv cannot be uploaded into a directory that already holds one."},
    {{"sfv_force"},
     "If checked, no other file can be uploaded into a directory before its .sfv. The files of the "
     "list below are exempt."},
    {{"sfv_insfv"},
     "If checked, only files listed in the directory's .sfv can be uploaded. The files of the list "
     "below are exempt."},
    {{"sfv_filelist"},
     "Enter filename patterns the rules \"force upload sfv first\" and \"upload files in sfv "
     "only\" do not apply to, for example \"*.nfo\"."},
    {{"sfv_dirlist"},
     "Enter dirname patterns all sfv feaures are unwanted in here. Useful if you have some "
     "directorys you do not want any sfv-features in, for example \"sample\" directorys. Note: "
     "Brindlecast checks the whole directory path, so if you want to exclude \"sample\" "
     "directorys, you must add \"*sample\"; press the ?-button for more examples."},
    {{"pb_len"},
     "How many distinct fields your bar is made of. If you enter 1, the bar is either completely "
     "full or completelty empty (either tht full or the empty field below), if you enter 2, the "
     "bar may be full, half-full or empty. A recommended value would be ten, then you get a short "
     "but still expressive bar."},
    {{"pb_empty", "pb_full"},
     "The text of one empty and of one full field of the bar. Each may be several characters "
     "long."},
    {{"pb_test"}, "A preview of the bar: move the slider to see it at other states of the upload."},
    {{"pb_compat", "pb_compatmul"},
     "These patterns will be used when the .sfv is completely uploaded. If \"merge with progress "
     "bar\" is enabled at tag info feature, the merged pattern at tag info settings on the next "
     "page is used."},
    {{"tinfo_last"},
     "If checked, the tag info marker that was there before is removed when a new one is created, "
     "so only the last one stays. The id is put in front of the marker's name to find it."},
    {{"tinfo_id", "tinfo_idmul"},
     "The start of the tag info marker's name, put in brackets. It finds the old marker when only "
     "the last tag is shown."},
    {{"tinfo_mergepat", "tinfo_mergepatmul"},
     "The name of the tag info marker of a completed release, if it is merged with the progress "
     "bar."},
    {{"tinfo_merge"}, "If enabled, the completed progress bar will be replaced by this pattern."},
    {{"m3u_deny"},
     "Denies the upload of playlists (.m3u) and tells your user that they are created "
     "automatically. If you don't want to auto-create them and still deny them, add \"*.m3u\" to "
     "the deny list at general settings, then your users will just be notified that the filetype "
     "is unwanted."},
    {{"m3u_create"},
     "Creates a playlist of the uploaded songs when the .sfv is completed. The songs in the "
     "playlist are lower case and sorted lexicographically (a < b < c...)."},
    {{"m3u_skip"},
     "If checked, no playlist is created for a release that already holds one, for example one "
     "your user uploaded."},
    {{"cancel"}, "Close without saving."},
    {{"save"}, "Close and save."},
};

}  // namespace

int helpRowCount() { return static_cast<int>(sizeof kRows / sizeof kRows[0]); }

const HelpRow& helpRow(int index) { return kRows[index]; }

const char* helpTextOf(const XString& controlName) {
  for (const HelpRow& row : kRows) {
    for (const char* name : row.controls) {
      if (name && std::strcmp(name, controlName.c_str()) == 0) return row.text;
    }
  }
  return nullptr;
}

XString welcomeText() {
  return XString("Welcome to Brindlecast configuration utility!\r\n\r\n") + versionString;
}

}  // namespace brindleset

// Over the window's background and the panels of the tree's top nodes the
// greeting comes back; the special lists and the module pages are not
// among them, so over those the memo keeps its text.
void TMainWindow::displayHelp(TObject* Sender, TShiftState Shift, int X, int Y) {
  const TObject* const welcoming[] = {this,
                                      panels_general,
                                      panels_allotment,
                                      panels_messageboard,
                                      panels_modules,
                                      panels_tunelacer,
                                      panels_dawnrolldir,
                                      panels_newdirlist,
                                      panels_requestboard};
  for (const TObject* shown : welcoming) {
    if (Sender == shown) {
      help->setText(brindleset::welcomeText());
      return;
    }
  }
  auto* component = dynamic_cast<TComponent*>(Sender);
  if (!component) return;
  if (const char* text = brindleset::helpTextOf(component->Name())) help->setText(text);
}

// A move over a child control is the child's alone, so each control of the
// table hears moves itself. The boxes and pages that hold them hear them
// too and keep the memo as it is, as do the two panels without greeting.
void TMainWindow::bindHelp() {
  TMouseMoveEvent show = forms::handler(this, &TMainWindow::displayHelp);
  OnMouseMove = show;
  TPanel* const panels[] = {panels_general,      panels_allotment,  panels_messageboard,
                            panels_requestboard, panels_newdirlist, panels_ndlspecial,
                            panels_dawnrolldir,  panels_tunelacer,  panels_modules,
                            panels_moduledetail};
  for (TPanel* panel : panels) panel->OnMouseMove = show;
  for (int i = 0; i < brindleset::helpRowCount(); ++i) {
    for (const char* name : brindleset::helpRow(i).controls) {
      if (!name) break;
      for (TControl* c = brindleset::byName<TControl>(*this, name); c && !c->OnMouseMove;
           c = c->Parent()) {
        c->OnMouseMove = show;
      }
    }
  }
}
