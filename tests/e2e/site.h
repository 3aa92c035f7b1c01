// The end-to-end tests' road to the built programs: a sandbox site made by
// the server stand-in in a fresh temporary folder, with one helper per
// request the server passes on (upload, new folder, delete, site command)
// and helpers to look at what the hooks left behind.
#ifndef TESTS_E2E_SITE_H_
#define TESTS_E2E_SITE_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "race/racer.h"
#include "settings/mconfig.h"
#include "tests/process_capture.h"
#include "tests/test_support.h"

namespace e2e {

// What one run of a program gave, and what the stand-in's report says.
struct RunResult : testing_support::CapturedRun {
  // The stand-in's report of a hook, by program name ("landfall"):
  // whether it was started, its exit code (kNotRun when it was not), and
  // the reply lines it showed (without the "  | " lead).
  static constexpr int kNotRun = -1000;
  bool ran(const std::string& hook) const { return hookExit(hook) != kNotRun; }
  int hookExit(const std::string& hook) const;
  std::vector<std::string> reply(const std::string& hook) const;
  // The output holds this line (leading blanks ignored).
  bool says(const std::string& line) const;
};

// `names` holds `name`.
bool contains(const std::vector<std::string>& names, const std::string& name);

// Runs argv[0] with the arguments, waits, and captures both outputs.
RunResult runProgram(const std::vector<std::string>& argv);

// A built program in the build's bin folder.
std::string builtProgram(const std::string& name);
// A file of media/testdata.
std::string mediaFixture(const std::string& name);

// The race figures that a statistics text (a reply or ".message") shows.
// With an SFV the files counted are the checked ones.
struct RaceText {
  bool found = false;  // the text shows the race table
  std::string file;    // the "[FILE: ...]" of the last upload
  int uploaded = -1;   // "[N/M]": files of the SFV in, files it lists
  int listed = -1;
  std::map<std::string, int> userFiles;    // racer -> files
  std::map<std::string, int> groupFiles;   // group -> files
  std::map<std::string, int> groupRacers;  // group -> racers
  int totalKb = -1;                        // "TotSize: N kb"

  int sumUserFiles() const;
  int sumGroupFiles() const;
};
RaceText parseRaceText(const std::vector<std::string>& lines);
RaceText parseRaceText(const std::string& text);

// One slot of the hooks' memo.
struct MemoSlot {
  std::string path;
  bool flag = true;
};

class Site {
 public:
  // A fresh site through "ftpd-standin init" with every program built.
  Site();
  Site(const Site&) = delete;
  Site& operator=(const Site&) = delete;

  const std::string& folder() const { return folder_; }
  std::string install() const { return folder_ + "/install"; }
  std::string data() const { return install() + "/data"; }
  std::string output() const { return folder_ + "/server/output"; }
  const RunResult& initResult() const { return init_; }
  // The hook program was installed and registered.
  bool registered(const std::string& hook) const;

  // The server's requests, each one run of the stand-in.
  RunResult upload(const std::string& localFile, const std::string& virtualFolder,
                   const std::string& user, const std::string& group, const std::string& name = "",
                   const std::string& speed = "") const;
  RunResult mkdir(const std::string& virtualPath, const std::string& user,
                  const std::string& group) const;
  RunResult remove(const std::string& virtualPath, const std::string& user,
                   const std::string& group) const;
  RunResult site(const std::string& virtualFolder, const std::string& text, const std::string& user,
                 const std::string& group, const std::string& level = "2") const;

  // The physical path of a virtual one, through the stand-in's vfs mapping.
  std::string physical(const std::string& virtualPath) const;
  // Names in a virtual folder, sorted, "." and ".." left out.
  std::vector<std::string> list(const std::string& virtualFolder) const;
  bool has(const std::string& virtualPath) const;
  // Names in a virtual folder that begin with `prefix`.
  std::vector<std::string> namesStartingWith(const std::string& virtualFolder,
                                             const std::string& prefix) const;

  // Local files to upload live in a scratch folder beside the site.
  std::string local(const std::string& name) const { return scratch_ + "/" + name; }
  // Copies a media fixture into the scratch folder under `name`; its path.
  std::string localCopy(const std::string& fixture, const std::string& name) const;
  // Writes an SFV of scratch files with cksfv; its path.
  std::string localSfv(const std::string& sfvName, const std::vector<std::string>& names) const;

  // The release's race file: its bytes ("" when missing) or loaded through
  // the race statistics (null when it cannot be loaded).
  std::string racerBytes(const std::string& virtualFolder) const;
  std::unique_ptr<Racer> racer(const std::string& virtualFolder);

  // Loads a module's settings file in the data folder, lets `edit` change
  // it and saves it.
  void editModule(const std::function<void(MConfig&)>& edit,
                  const std::string& file = "default.bcm") const;
  // "ftpd-standin set" with KEY=VALUE assignments for the default module.
  RunResult set(const std::vector<std::string>& assignments) const;

  // The memo's five slots from the data folder's "Status.sav"; empty when
  // it is missing or does not hold five slots.
  std::vector<MemoSlot> memo() const;

  // The markers of a release that a complete release no longer has: the
  // progress bar of an incomplete state, "-missing" markers and
  // incomplete tag info inside it, "SFV incomplete" and "SFV missing"
  // beside it. Each is named by its virtual path.
  std::vector<std::string> staleMarkers(const std::string& release) const;
  // The release's progress bars of an incomplete state.
  std::vector<std::string> progressBars(const std::string& release) const;
  // The "[COMPLETED] - ..." markers: the merged tag or the complete bar.
  std::vector<std::string> completedMarkers(const std::string& release) const;
  // The release's ".message"; "" when missing.
  std::string message(const std::string& release) const;

 private:
  testing_support::ScopedTempDir temp_;
  std::string folder_;
  std::string scratch_;
  RunResult init_;
  MConfig settings_;  // for the race statistics' templates
};

}  // namespace e2e

#endif  // TESTS_E2E_SITE_H_
