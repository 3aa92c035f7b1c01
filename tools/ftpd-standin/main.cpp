// ftpd-standin: what the FTP server does for the suite, on a sandbox site.
// Tests and the demo use it in place of the server.
//
//   ftpd-standin init SITE --programs DIR
//     Makes a site in the folder SITE (new or empty): SITE/install with the
//     suite's programs found in DIR and the chmod stand-in, their data folder
//     with the default settings and module index, SITE/server with the
//     ".ftpd" file registering the hooks that were installed, the vfs file
//     and the output folder, and SITE/root as the virtual "/". The
//     new-directory list is shown in SITE/install/data/newdirlist.txt.
//   ftpd-standin init SITE --programs DIR --wine WINE --launcher EXE
//     The same for the Windows programs (the .exe files of DIR) run under
//     Wine: the loader WINE starts the launcher EXE (the Windows tests'
//     win32_helper.exe), which starts each hook with the server's command
//     line byte for byte. Every path the programs read (settings, the
//     .ftpd and vfs files, the hooks' fields) is a Windows path on Wine's
//     drive Z:; every other command works on such a site as on any.
//   ftpd-standin upload SITE LOCALFILE VFOLDER --user U --group G
//                [--speed KBPS] [--name NAME]
//     One upload into the existing virtual folder VFOLDER: ask landguard
//     (a reply beginning with "0" refuses, nothing is stored), store the
//     file, check its CRC32 against the folder's first SFV when that lists
//     it (passed: tallyglad; failed: the file becomes NAME.bad and tallysour
//     runs), tallyfull when the check completed the release, then landfall.
//     An uploaded SFV checks the listed files already there instead: each
//     that fails becomes .bad with a tallysour run; when every listed file
//     is there and passes, tallyfull runs with the SFV as the completing
//     file. An SFV is read as the hooks read it: its entries are the lines
//     they count, each named by the text before its last blank (a line with
//     a TAB before its checksum names no file and never passes), and an
//     entry naming the SFV itself counts as passed and is never checked.
//   ftpd-standin mkdir SITE VPATH --user U --group G
//     Makes the folder, then asks foldbirth and shows its reply; a refusal
//     ("0") removes the folder again.
//   ftpd-standin delete SITE VPATH --user U --group G
//     Starts sweepguard, then deletes the file.
//   ftpd-standin site SITE VFOLDER TEXT --user U --group G [--level N]
//     A SITE command typed in VFOLDER by a user of that level (0 root, 1
//     super, 2 normal, 3 guest): starts quipgate, shows its reply and
//     removes it.
//   ftpd-standin path SITE VPATH
//     Prints the physical path of a virtual one.
//   ftpd-standin set SITE KEY=VALUE...
//     Changes a few switches of the site's default module (default.bcm):
//     sfv_force, sfv_oneonly, sfv_insfv, m3u_deny, m3u_create, m3u_skip,
//     move_en (0 or 1), badf (0 leave, 1 delete, 2 empty a bad file),
//     move_dir (a virtual folder of the site, stored as its physical path)
//     and cinfo (a new folder's creator marker: 0 none, 1 file, 2 folder).
//     Keys beginning "link_" are the link builder's switches instead
//     (linkerconfig.bcc): link_en, link_artisten, link_genreen,
//     link_groupen, link_yearen, link_dirnameen, link_allinoneen,
//     link_listp, link_show and link_makeunknown, 0 or 1. A new site has the
//     link builder off, its roots in SITE/links and the virtual root as its
//     source. Nothing is saved unless every assignment is valid.
//
// The CRC check of a listed file reads only that file: what passed is kept
// per release in SITE/server/checks (rebuilt from a check of every listed
// file when the release's SFV is uploaded, or is not the one the record was
// made against). Files changed on disk behind the stand-in's back are seen
// when the SFV is uploaded again.
//
// Uploads are listed in SITE/server/uploads-in-flight from their store to
// the end of their hooks. A server raises "release complete" only when every
// file of the release is in and dealt with: the upload that completes a
// release runs its tallyglad at once, but waits (at most 120 seconds) until
// every upload stored before it into the same folder has ended its hooks
// before it starts tallyfull and landfall, and says so with "waiting for N
// earlier uploads of the release".
//
// A hook is started with its registered command, the server's variables
// substituted, as one argument: %m physical path, %r virtual path, %g group,
// %S user, %V speed, %@ request id, %R the virtual folder of the file, %b
// its size in bytes; for site commands %^ the physical folder (with a
// trailing separator), %e the virtual folder, %$ the level (default 2),
// %! the command text. Each hook is reported as "  NAME: exit CODE", its
// reply lines as "  | LINE". Hooks that are not registered are reported as
// such and skipped. Values holding "??-??" or a line end are refused.
//
// A site that has the folder SITE/server/kept-replies (the stand-in never
// makes it) gets a copy of every reply read there, named by the order read
// and the reply's name less its request id ("2-ask-landfall").
//
// Exit codes: 0 done, 1 refused by a hook, 2 usage, 3 the site or the
// target cannot be used.
//
// The periodic programs are not the server's to start: on a site made by
// init (which also writes the server's user file SITE/server/raidenftpd.usr
// with the users alice, bob and carol) they are run by hand from
// SITE/install. For them set also takes the global settings of the new-day
// program (nd_en, nd_today, nd_yesterday: 0 or 1; nd_format: the day
// folder's name template; nd_path, nd_todaylink, nd_yesterdaylink: virtual
// folders of the site, stored as their physical paths; nd_usernametod,
// nd_grouptod, nd_allowtod, nd_usernamepast, nd_grouppast, nd_allowpast:
// the owners of today's and past folders) and a user's credit allotment
// (allot=NAME:WHEN:MODE:NUMBER[:FILLLESS], WHEN daily, weekly or monthly,
// MODE off, add or fill, FILLLESS 0 or 1).
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/lconfig.h"
#include "settings/mconfig.h"
#include "tools/ftpd-standin/ftpd_server.h"
#include "tools/ftpd-standin/ftpd_site.h"
#include "tools/ftpd-standin/global_setting.h"
#include "tools/ftpd-standin/link_switch.h"
#include "tools/ftpd-standin/module_switch.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  ftpd-standin init SITE --programs DIR [--wine WINE --launcher EXE]\n"
    "  ftpd-standin upload SITE LOCALFILE VFOLDER --user U --group G [--speed KBPS] "
    "[--name NAME]\n"
    "  ftpd-standin mkdir SITE VPATH --user U --group G\n"
    "  ftpd-standin delete SITE VPATH --user U --group G\n"
    "  ftpd-standin site SITE VFOLDER TEXT --user U --group G [--level N]\n"
    "  ftpd-standin path SITE VPATH\n"
    "  ftpd-standin set SITE KEY=VALUE... (keys: sfv_force sfv_oneonly sfv_insfv m3u_deny\n"
    "                 m3u_create m3u_skip move_en: 0/1; badf: 0/1/2; move_dir: a virtual folder;\n"
    "                 cinfo: 0/1/2; link_en link_artisten link_genreen link_groupen\n"
    "                 link_yearen link_dirnameen link_allinoneen link_listp link_show\n"
    "                 link_makeunknown: 0/1)\n"
    "Plays the FTP server's part for the suite's hooks on a sandbox site.\n"
    "set also takes the global settings nd_en nd_today nd_yesterday: 0/1; nd_format;\n"
    "  nd_path nd_todaylink nd_yesterdaylink: virtual folders; nd_usernametod nd_grouptod\n"
    "  nd_allowtod nd_usernamepast nd_grouppast nd_allowpast; and\n"
    "  allot=NAME:daily|weekly|monthly:off|add|fill:NUMBER[:FILLLESS 0/1].\n"
    "Exit codes: 0 done, 1 refused by a hook, 2 usage, 3 site or target unusable.\n";

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
};

// "--name VALUE" and "--name=VALUE"; false for an option without a value
// or one that the command does not take.
bool parseArguments(int argc, char** argv, const std::vector<std::string>& allowed,
                    Arguments* out) {
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.compare(0, 2, "--") != 0) {
      out->positional.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::string value;
    std::string::size_type equals = name.find('=');
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      std::fprintf(stderr, "ftpd-standin: --%s needs a value\n", name.c_str());
      return false;
    }
    bool known = false;
    for (const std::string& a : allowed) known = known || a == name;
    if (!known) {
      std::fprintf(stderr, "ftpd-standin: unknown option --%s\n", name.c_str());
      return false;
    }
    out->options[name] = value;
  }
  return true;
}

int usage() {
  std::fputs(kUsage, stderr);
  return ftpd::kExitUsage;
}

bool required(const Arguments& args, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (args.options.count(name) == 0) {
      std::fprintf(stderr, "ftpd-standin: --%s is needed\n", name.c_str());
      return false;
    }
  }
  return true;
}

std::string option(const Arguments& args, const std::string& name, const std::string& otherwise) {
  auto it = args.options.find(name);
  return it == args.options.end() ? otherwise : it->second;
}

int setSwitches(const ftpd::FtpdSite& site, const std::vector<std::string>& positional) {
  const std::string path = ftpd::joinPath(site.data(), "default.bcm");
  MConfig config;
  if (!config.load(path.c_str())) {
    std::fprintf(stderr, "ftpd-standin: cannot read %s\n", path.c_str());
    return ftpd::kExitFailed;
  }
  // The new-day and allotment keys are global settings; the link_ keys are
  // the link builder's.
  const std::string globalPath = ftpd::joinPath(site.data(), "BCconfig.bcc");
  GConfig global;
  bool anyGlobal = false;
  for (size_t i = 1; i < positional.size(); ++i) {
    anyGlobal = anyGlobal || ftpd::isGlobalSetting(positional[i]);
  }
  if (anyGlobal && !global.load(globalPath.c_str())) {
    std::fprintf(stderr, "ftpd-standin: cannot read %s\n", globalPath.c_str());
    return ftpd::kExitFailed;
  }
  const std::string linkerPath = ftpd::joinPath(site.data(), kLinkerConfigFile);
  LConfig linker;
  bool linkerSet = false;
  for (size_t i = 1; i < positional.size(); ++i) {
    std::string error;
    bool ok;
    if (ftpd::isLinkSwitch(positional[i])) {
      if (!linkerSet && !linker.load(linkerPath.c_str())) {
        std::fprintf(stderr, "ftpd-standin: cannot read %s\n", linkerPath.c_str());
        return ftpd::kExitFailed;
      }
      linkerSet = true;
      ok = ftpd::setLinkSwitch(positional[i], &linker, &error);
    } else if (ftpd::isGlobalSetting(positional[i])) {
      ok = ftpd::setGlobalSetting(positional[i], site.vfs(), &global, &error);
    } else {
      ok = ftpd::setModuleSwitch(positional[i], site.vfs(), &config, &error);
    }
    if (!ok) {
      std::fprintf(stderr, "ftpd-standin: %s\n", error.c_str());
      return ftpd::kExitUsage;
    }
  }
  if (linkerSet && !linker.save(linkerPath.c_str())) {
    std::fprintf(stderr, "ftpd-standin: cannot write %s\n", linkerPath.c_str());
    return ftpd::kExitFailed;
  }
  // The Windows programs take Windows folders, the new day's root with its
  // own separator at the end.
  std::string dayRoot;
  if (site.wine().active()) {
    config.move_dir = XString(ftpd::windowsPath(config.move_dir.str()));
    for (XString* folder : {&global.nd.todaylink, &global.nd.yesterdaylink}) {
      *folder = XString(ftpd::windowsPath(folder->str()));
    }
    dayRoot = ftpd::windowsPath(global.nd.path.str());
    if (!dayRoot.empty() && dayRoot.back() == '/') dayRoot.pop_back();
    if (!dayRoot.empty() && dayRoot.back() != '\\') dayRoot += '\\';
    global.nd.path = XString(dayRoot);
  }
  if (!config.save(path.c_str())) {
    std::fprintf(stderr, "ftpd-standin: cannot write %s\n", path.c_str());
    return ftpd::kExitFailed;
  }
  if (anyGlobal && (!global.save(globalPath.c_str()) ||
                    (site.wine().active() && !ftpd::dropPosixSeparator(globalPath, {dayRoot})))) {
    std::fprintf(stderr, "ftpd-standin: cannot write %s\n", globalPath.c_str());
    return ftpd::kExitFailed;
  }
  for (size_t i = 1; i < positional.size(); ++i) {
    std::printf("set %s\n", positional[i].c_str());
  }
  return ftpd::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "help" || command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return ftpd::kExitOk;
  }

  std::vector<std::string> allowed;
  size_t positionals = 0;
  std::vector<std::string> needed;
  if (command == "init") {
    allowed = {"programs", "wine", "launcher"};
    needed = {"programs"};
    positionals = 1;
  } else if (command == "upload") {
    allowed = {"user", "group", "speed", "name"};
    needed = {"user", "group"};
    positionals = 3;
  } else if (command == "mkdir" || command == "delete") {
    allowed = {"user", "group"};
    needed = {"user", "group"};
    positionals = 2;
  } else if (command == "site") {
    allowed = {"user", "group", "level"};
    needed = {"user", "group"};
    positionals = 3;
  } else if (command == "path") {
    positionals = 2;
  } else if (command == "set") {
    positionals = 0;  // the site and one or more assignments
  } else {
    std::fprintf(stderr, "ftpd-standin: unknown command %s\n", command.c_str());
    return usage();
  }
  Arguments args;
  if (!parseArguments(argc, argv, allowed, &args) || !required(args, needed)) return usage();
  const bool countFits =
      command == "set" ? args.positional.size() >= 2 : args.positional.size() == positionals;
  if (!countFits) {
    return usage();
  }

  ftpd::FtpdSite site(args.positional[0]);
  std::string error;
  if (command == "init") {
    ftpd::WineRunner wine;
    wine.wine = option(args, "wine", "");
    wine.launcher = option(args, "launcher", "");
    if (wine.wine.empty() != wine.launcher.empty()) {
      std::fprintf(stderr, "ftpd-standin: --wine and --launcher go together\n");
      return usage();
    }
    if (!site.create(args.options["programs"], wine, stdout, &error)) {
      std::fprintf(stderr, "ftpd-standin: %s\n", error.c_str());
      return ftpd::kExitFailed;
    }
    return ftpd::kExitOk;
  }
  if (!site.load(&error)) {
    std::fprintf(stderr, "ftpd-standin: %s\n", error.c_str());
    return ftpd::kExitFailed;
  }
  if (command == "set") return setSwitches(site, args.positional);
  ftpd::FtpdServer server(site, stdout);
  int code = ftpd::kExitOk;
  if (command == "upload") {
    ftpd::UploadRequest request;
    request.localFile = args.positional[1];
    request.virtualFolder = args.positional[2];
    request.user = args.options["user"];
    request.group = args.options["group"];
    request.speed = option(args, "speed", request.speed);
    request.name = option(args, "name", "");
    code = server.upload(request);
  } else if (command == "mkdir") {
    code = server.makeFolder(args.positional[1], args.options["user"], args.options["group"]);
  } else if (command == "delete") {
    code = server.deleteFile(args.positional[1], args.options["user"], args.options["group"]);
  } else if (command == "site") {
    code = server.siteCommand(args.positional[1], args.positional[2], args.options["user"],
                              args.options["group"], option(args, "level", "2"));
  } else {
    std::string physical;
    if (!server.physicalPath(args.positional[1], &physical)) {
      std::fprintf(stderr, "ftpd-standin: no mapping for %s\n", args.positional[1].c_str());
      return ftpd::kExitFailed;
    }
    std::printf("%s\n", physical.c_str());
  }
  std::fflush(stdout);
  return code;
}
