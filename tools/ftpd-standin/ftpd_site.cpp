#include "tools/ftpd-standin/ftpd_site.h"

#include <cstdio>
#include <vector>

#include "foundation/xstring.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "settings/gconfig.h"
#include "settings/lconfig.h"
#include "settings/mconfig.h"
#include "settings/module_index.h"

namespace ftpd {

namespace {

// The server's files hold at most this much; anything larger is no site of
// ours.
constexpr size_t kServerFileLimit = 16 << 20;

// The site's answer to "site bchelp", in the install folder.
constexpr const char* kHelpText =
    "Site commands:\n"
    "  site version            the suite's version (also: vers)\n"
    "  site bchelp             this text (also: ?)\n"
    "  site board              the message board\n"
    "  site message TEXT       posts a message (without a text: the board)\n"
    "  site delmessage N       deletes message N (also: deletemessage)\n"
    "  site showreq            the request board (also: showrequests)\n"
    "  site request TEXT       posts a request (without a text: the board)\n"
    "  site fillrequest N      fills request N: where to upload it (also: fillreq)\n"
    "  site delrequest N       deletes request N (also: deleterequest)\n"
    "  site new [N] [LIST]     the N newest folders, or those of a module's LIST\n"
    "                          (also: newdir, ndl)\n"
    "  site playlist           a playlist of this folder's MP3 files (also: makem3u)\n"
    "  site rescan             checks this folder's SFV again and mends its markers\n";

// Where the site's requests are made: a folder of the virtual root.
constexpr const char* kRequestFolder = "requests";

// The owner triple of the site's one vfs entry.
constexpr const char* kVfsOwner = "site";
constexpr const char* kVfsGroup = "site";
constexpr const char* kVfsRights = "777";

// The text file, in the data folder, that shows the new-directory list.
constexpr const char* kNewDirListText = "newdirlist.txt";

// The server's users on a new site: name, group and credits (MB).
struct SiteUser {
  const char* name;
  const char* group;
  const char* credits;
};
constexpr SiteUser kSiteUsers[] = {
    {"alice", "Couriers", "1500.00"}, {"bob", "Racers", "250.50"}, {"carol", "Racers", "0.00"}};

// A user file line as the server writes one: 23 fields separated by ':', of
// which the suite reads the name (1), the groups (4) and the credits (16);
// the others hold what a new account has.
std::string userLine(const SiteUser& user) {
  const std::vector<std::string> fields = {
      user.name, "0", "*", user.group,   "1", "0", "0",        "0", "0", "0", "0", "0",
      "",        "",  "",  user.credits, "0", "0", "0000000-", "",  "0", "0", ""};
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ':';
    line += fields[i];
  }
  return line + "\n";
}

// The ".ftpd" line of a hook of the Windows programs, as the configuration
// utility writes it on Windows: `program` is its Windows path.
std::string windowsEntryLine(const HookProgram& hook, const std::string& program) {
  std::string line = std::string(hook.ftpdKey) + "=" + hook.scheme + program + " " + program;
  for (const char* variable = hook.fields; *variable != 0; ++variable) {
    line += kFieldSeparator;
    line += '%';
    line += *variable;
  }
  return line + "\r\n";
}

bool copyProgram(const std::string& from, const std::string& to) {
  FILE* in = platform::openFile(from.c_str(), "rb");
  if (in == nullptr) return false;
  FILE* out = platform::openFile(to.c_str(), "wb");
  if (out == nullptr) {
    std::fclose(in);
    return false;
  }
  return copyAndClose(in, out) && platform::setModeBits(to.c_str(), 0755);
}

bool makeFolder(const std::string& path, std::string* error) {
  if (platform::makeDir(path.c_str())) return true;
  *error = "cannot make the folder " + path;
  return false;
}

// Goes back to the folder it was made in when it goes.
class FolderReturn {
 public:
  // A folder that cannot be read is not gone back to.
  FolderReturn() { (void)platform::currentDir(saved_); }
  ~FolderReturn() {
    // A destructor has no one to tell that the way back is gone.
    if (!saved_.empty()) (void)platform::changeDir(saved_.c_str());
  }
  FolderReturn(const FolderReturn&) = delete;
  FolderReturn& operator=(const FolderReturn&) = delete;

 private:
  std::string saved_;
};

}  // namespace

const std::vector<std::string>& installedPrograms() {
  static const std::vector<std::string> programs = {
      "landfall",  "landguard", "tallyglad", "tallyfull",  "tallysour", "sweepguard",
      "foldbirth", "quipgate",  "dawnroll",  "creditdole", "tunelacer", "chmod"};
  return programs;
}

FtpdSite::FtpdSite(const std::string& folder) : folder_(folder) {
  if (folder_.empty() || folder_[0] != platform::kPathSep) {
    std::string current;
    // Without a current folder the site is taken as it was named.
    (void)platform::currentDir(current);
    folder_ = folder_.empty() || folder_ == "." ? current : joinPath(current, folder_);
  }
  while (folder_.size() > 1 && folder_.back() == platform::kPathSep) folder_.pop_back();
}

std::string FtpdSite::native(const std::string& path) const {
  return wine_.active() ? windowsPath(path) : path;
}

std::string FtpdSite::programFile(const std::string& name) const {
  return name + (wine_.active() ? ".exe" : platform::kExeSuffix);
}

bool FtpdSite::create(const std::string& programsDir, std::FILE* out, std::string* error) {
  return create(programsDir, WineRunner(), out, error);
}

bool FtpdSite::create(const std::string& programsDir, const WineRunner& wine, std::FILE* out,
                      std::string* error) {
  wine_ = wine;
  if (platform::pathExists(folder_.c_str())) {
    std::vector<platform::DirEntry> listing;
    if (!platform::isFolder(folder_.c_str()) || !platform::listFolder(folder_, listing) ||
        !listing.empty()) {
      *error = folder_ + " is there already and is not an empty folder";
      return false;
    }
  } else if (!makeFolder(folder_, error)) {
    return false;
  }
  for (const std::string& folder :
       {install(), data(), server(), output(), checkRecords(), root(), links()}) {
    if (!makeFolder(folder, error)) return false;
  }

  std::string copied;
  for (const std::string& name : installedPrograms()) {
    std::string file = programFile(name);
    std::string from = joinPath(programsDir, file);
    if (!platform::isRegularFile(from.c_str())) continue;
    if (!copyProgram(from, joinPath(install(), file))) {
      *error = "cannot copy " + from;
      return false;
    }
    copied += " " + name;
  }
  std::fprintf(out, "installed:%s\n", copied.empty() ? " nothing" : copied.c_str());

  // Hooks that are not built are not registered.
  std::string ftpd;
  std::string registered;
  std::string installDir = install() + platform::kPathSepText;
  for (const HookProgram* hook : kServerHooks) {
    std::string program = joinPath(install(), programFile(hook->name));
    if (!platform::isRegularFile(program.c_str())) continue;
    ftpd += wine_.active() ? windowsEntryLine(*hook, native(program))
                           : hookEntryLine(*hook, XString(installDir)).str();
    registered += " " + std::string(hook->name);
  }
  if (!writeWholeFile(ftpdFile(), ftpd)) {
    *error = "cannot write " + ftpdFile();
    return false;
  }
  if (wine_.active() && !writeWineRunner(wineFile(), wine_)) {
    *error = "cannot write " + wineFile();
    return false;
  }
  std::fprintf(out, "registered:%s\n", registered.empty() ? " nothing" : registered.c_str());

  std::string vfs = vfsLine(native(root()), "/", kVfsOwner, kVfsGroup, kVfsRights) +
                    vfsLine(native(links()), "/links", kVfsOwner, kVfsGroup, kVfsRights);
  if (!writeWholeFile(vfsFile(), vfs) || !writeWholeFile(vfsBackup(), vfs)) {
    *error = "cannot write " + vfsFile();
    return false;
  }
  std::string users;
  for (const SiteUser& user : kSiteUsers) users += userLine(user);
  if (!writeWholeFile(userFile(), users)) {
    *error = "cannot write " + userFile();
    return false;
  }
  if (!writeSettings(error)) return false;
  if (!writeWholeFile(joinPath(install(), "help.txt"), kHelpText) ||
      !makeFolder(joinPath(root(), kRequestFolder), error)) {
    if (error->empty()) *error = "cannot write the site's help text";
    return false;
  }
  std::fprintf(out, "site ready: virtual / is %s\n", root().c_str());
  return true;
}

// The settings files name each other relative to the data folder, so they
// are written from inside it.
bool FtpdSite::writeSettings(std::string* error) const {
  FolderReturn back;
  if (!platform::changeDir(data().c_str())) {
    *error = "cannot enter " + data();
    return false;
  }
  GConfig global;
  global.setDefaults(0);
  global.raidenftpd = XString(native(serverProgram()));
  global.vfsfile = XString(native(vfsFile()));
  global.vfsbackup = XString(native(vfsBackup()));
  global.userfile = XString(native(userFile()));
  // The new-directory list is shown in a text file of the data folder.
  global.ndl.file = kNewDirListText;
  // The request board is on; a fill makes the request's folder in
  // /requests and notes the fill on the message board.
  global.rb.en = true;
  global.rb.postfilled = true;
  global.rb.preqpath = XString(native(joinPath(root(), kRequestFolder) + platform::kPathSepText));
  if (!global.save("BCconfig.bcc")) {
    *error = "cannot write the global settings";
    return false;
  }

  // The link builder keeps its defaults (switched off) but knows the
  // site: its roots below SITE/links, its source the virtual root, its log
  // in the data folder.
  LConfig linker;
  linker.setDefaults(0);
  const std::string linkRoot = links();
  // The Windows programs' folders end in their own separator.
  const std::string folderEnd = wine_.active() ? "\\" : "";
  std::vector<std::string> folders;
  for (const char* name : {"artist", "genre", "group", "year", "dirname", "allinone"}) {
    folders.push_back(native(joinPath(linkRoot, name)) + folderEnd);
  }
  linker.link_artistdir = XString(folders[0]);
  linker.link_genredir = XString(folders[1]);
  linker.link_groupdir = XString(folders[2]);
  linker.link_yeardir = XString(folders[3]);
  linker.link_dirnamedir = XString(folders[4]);
  linker.link_allinonedir = XString(folders[5]);
  linker.link_logfile = XString(native(joinPath(data(), "tunelacer.log")));
  linker.link_pathes.add(XString(native(root())));
  if (!linker.save(kLinkerConfigFile) ||
      (wine_.active() && !dropPosixSeparator(kLinkerConfigFile, folders))) {
    *error = "cannot write the link builder's settings";
    return false;
  }

  ModuleIndex<MConfig> index("default.bcm", "/", "default",
                             "This module applies when no other does.", 0);
  index.ensureDefault();
  // Opening the default module's settings gives it its defaults, and the
  // index's save then writes them too.
  index.at(0)->config();
  if (!index.save("ModuleIndex.idx")) {
    *error = "cannot write the module index";
    return false;
  }
  return true;
}

bool FtpdSite::load(std::string* error) {
  std::string text;
  if (!readSmallFile(ftpdFile(), kServerFileLimit, &text)) {
    *error = "cannot read " + ftpdFile() + " (make the site with init first)";
    return false;
  }
  hooks_.parse(text);
  if (!readSmallFile(vfsFile(), kServerFileLimit, &text)) {
    *error = "cannot read " + vfsFile();
    return false;
  }
  // A site of the Windows programs keeps their runner; its vfs file holds
  // Windows paths.
  if (readWineRunner(wineFile(), &wine_)) text = posixVfsText(text);
  vfs_.parse(text);
  return true;
}

}  // namespace ftpd
