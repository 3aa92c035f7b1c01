#include "programs/foldbirth/foldbirth.h"

#include "hookkit/ask.h"
#include "hookkit/dir_set.h"
#include "hookkit/hook_frame.h"
#include "platform/paths.h"
#include "settings/module_index.h"
#include "stores/board.h"

namespace {

// Enters the new folder in the module's own list (when the module keeps
// one) and in the site's list, under one hold of the site-wide lock, and
// rewrites their shown files. The site's list is read first and its files
// are rewritten last, even when it did not change, since its head or tail
// may show the module lists. False when the lock cannot be had; then
// nothing was read or written.
bool enterInLists(const GConfig& global, const XString& section, const MConfig& c,
                  const XString& text, const XString& user) {
  DateTime now;
  now.setNow();
  Board main(global.ndl, &global.ndlspecial);
  BoardUpdate done = main.update(Board::kNewDirListFile, global.ndl.file, [&](Board& list) {
    if (!c.specialndl) {
      // The list makes room by dropping its oldest entry: it always takes
      // one more.
      (void)list.prepend(text, user, &now);
      return true;
    }
    // The store is named after the module's section: a section name that
    // would reach outside the data folder keeps no list of its own.
    if (isListName(section)) {
      const XString store = section + Board::kListSuffix;
      Board own(global.ndlspecial);
      // A missing store starts an empty list.
      (void)own.load(store.c_str());
      (void)own.prepend(text, user, &now);
      // Shown files that cannot be written are skipped, as every failed
      // step of the hooks is; after a failed save they are left as they
      // were, so they never show what the store does not hold.
      if (own.save(store.c_str()) == 1) (void)own.writeFiles(c.ndlspecial_file, -1);
    }
    if (!c.ndlspecial_addmain) {
      // The site's list stays as stored; its shown files are written here,
      // since an unchanged list writes none.
      (void)list.writeFiles(global.ndl.file, -1);
      return false;
    }
    (void)list.prepend(text, user, &now);
    return true;
  });
  return done.locked;
}

}  // namespace

int runNewDirHook(const XString& commandLine) {
  HookFrame frame(kFoldbirth);
  int code = frame.takeFields(commandLine);
  if (code != kExitDone) return code;
  frame.loadGlobal();
  // From here on every way out answers the server.
  Ask ask(frame.serverFolder(), XString("foldbirth"), frame.field('@'));
  code = frame.chooseModule();
  if (code != kExitDone) return code;

  const GConfig& g = frame.global;
  const MConfig& c = *frame.config;
  UserInfo user{frame.field('S'), frame.field('g')};
  DirSet dirSet(frame.field('m'), &c.chmod, &user);

  if (g.deny_list.matchAny(dirSet.dirName)) {
    ask.deny(XString("dirnames matching \"") + g.deny_list.firstMatch(dirSet.dirName) +
             "\" not allowed.");
    return kExitDone;
  }

  XString excluded(frame.field('m'));
  excluded.ensureTrailing(platform::kPathSep);
  const bool listed = g.ndl.en && !g.ndl_exlist.matchAny(excluded);
  // The folder is allowed either way; without the lock the lists need it
  // is left unmarked as well as unlisted, and the exit code says why.
  if (listed && !siteLockAvailable()) return kExitNoLock;

  // A marker that cannot be made is skipped: the hooks report no failed
  // step. Without a folder path the marker would land in the file system's
  // root.
  if (c.cinfo != 0 && !frame.field('m').empty()) (void)dirSet.createCreatorInfo(c.cinfo);
  if (listed && !enterInLists(g, frame.module->sectionName, c, frame.field('r'), user.name)) {
    return kExitNoLock;
  }
  return kExitDone;
}
