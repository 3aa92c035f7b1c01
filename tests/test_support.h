// Helpers shared by the unit tests.
#ifndef TESTS_TEST_SUPPORT_H_
#define TESTS_TEST_SUPPORT_H_

#include <string>
#include <vector>

#include "platform/fault.h"

class XStringList;

namespace testing_support {

// The texts of a list from its head.
std::vector<std::string> items(const XStringList& list);

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. The working folder is restored as well, so a
// test may change into the folder freely.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() joined with `relative` (written with '/') by the platform's
  // separator, as joinPath does.
  std::string at(const std::string& relative) const;

 private:
  std::string path_;
  std::string savedCwd_;
};

// An install folder in a fresh temporary folder: the chmod stand-in copied
// in, a `data` folder that is the working folder while the object lives, an
// `output` folder for replies and a `site` folder for releases.
class InstallSandbox {
 public:
  InstallSandbox();
  const std::string& root() const { return temp_.path(); }
  std::string data() const { return temp_.at("data"); }
  std::string output() const { return temp_.at("output"); }
  std::string site() const { return temp_.at("site"); }
  // The path a hook is started with: its own path inside the install folder.
  std::string program(const std::string& name) const { return temp_.at(name); }
  // The lines the chmod stand-in logged, oldest first.
  std::vector<std::string> chmodLog() const;
  void clearChmodLog() const;

 private:
  ScopedTempDir temp_;
};

// Pins the platform clock to one local date and time (weekday 0 is Sunday)
// while the object lives.
class PinnedClock {
 public:
  PinnedClock(int year, int month, int day, int weekday, int hour, int minute, int second);
  ~PinnedClock();
  PinnedClock(const PinnedClock&) = delete;
  PinnedClock& operator=(const PinnedClock&) = delete;
};

// Plans the failure of the `nth` next step of one kind of the file layer
// (see platform/fault.h) for the life of the object; whatever of it has not
// happened is taken back at the end.
class PlannedFault {
 public:
  explicit PlannedFault(platform::FaultStep step, int nth = 1);
  ~PlannedFault();
  PlannedFault(const PlannedFault&) = delete;
  PlannedFault& operator=(const PlannedFault&) = delete;
  // True once the planned step has failed.
  bool happened() const;

 private:
  platform::FaultStep step_;
};

// A physical path: `folder`, the platform's separator and `relative`, whose
// '/' become the platform's separator as well, so a test writes its paths
// one way for every platform.
std::string joinPath(const std::string& folder, const std::string& relative);
// `path` with each '/' turned into the platform's separator.
std::string nativePath(std::string path);
// The bytes the platform's text mode leaves in a file for `text`: each LF
// becomes CR LF on Windows (a CR before it stays, so "\r\n" becomes
// "\r\r\n"), as the runtime writes them there; the text as given elsewhere.
std::string textBytes(const std::string& text);
// What a program wrote to `path` as text, its line ends read as LF. Throws
// (failing the test) unless each line ends in exactly one line end of the
// platform: the file is textBytes of the text, and no CR stands before an
// LF (CR CR LF on Windows, CR LF elsewhere).
std::string readTextFile(const std::string& path);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
// The path of a program of that name in a folder of PATH; empty when there
// is none.
std::string onPath(const std::string& program);
void removeFileForTest(const std::string& path);
bool isDir(const std::string& path);
void makeDirs(const std::string& path);
// Names in a folder, sorted, "." and ".." left out.
std::vector<std::string> listNames(const std::string& folder);
// The lines of a text without their line feeds (a CR before one stays); a
// last line without one counts.
std::vector<std::string> lines(const std::string& text);

}  // namespace testing_support

#endif  // TESTS_TEST_SUPPORT_H_
