#include "tests/test_support.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "foundation/xstring_list.h"
#include "platform/clock.h"
#include "platform/fs.h"
#include "platform/paths.h"

namespace testing_support {

std::vector<std::string> items(const XStringList& list) {
  std::vector<std::string> out;
  for (XStringListEntry* e = list.head; e != nullptr; e = e->next) out.push_back(e->text.str());
  return out;
}

namespace {

std::string joined(const std::string& folder, const std::string& name) {
  return folder + platform::kPathSepText + name;
}

// Links are removed as links; read-only files (Windows) are made writable
// first.
bool removeTreeOnce(const std::string& path) {
  if (!platform::pathExists(path.c_str())) return true;
  if (platform::isFolder(path.c_str()) && !platform::isLink(path.c_str())) {
    for (const std::string& name : listNames(path)) removeTreeOnce(joined(path, name));
    return platform::removeDir(path.c_str());
  }
  if (platform::removeFile(path.c_str())) return true;
  (void)platform::setModeBits(path.c_str(), 0666);  // a retry follows
  return platform::removeFile(path.c_str());
}

// Under Wine a program that just ended can hold its working folder for a
// moment, so the delete is tried again for a while.
void removeTree(const std::string& path) {
  for (int tries = 0; tries < 50 && !removeTreeOnce(path); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::string makeTempFolder() {
#ifdef _WIN32
  char base[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof base, base);
  if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
  std::string folder(base, n);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  static unsigned counter = 0;
  for (int tries = 0; tries < 100; ++tries) {
    char name[64];
    std::snprintf(name, sizeof name, "brindle-test-%lx-%x-%x",
                  static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned>(GetTickCount()), ++counter);
    std::string path = joined(folder, name);
    if (platform::makeDir(path.c_str())) return path;
  }
  throw std::runtime_error("cannot make a temporary folder");
#else
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/brindle-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return buffer.data();
#endif
}

}  // namespace

ScopedTempDir::ScopedTempDir() {
  if (!platform::currentDir(savedCwd_)) savedCwd_.clear();
  path_ = makeTempFolder();
}

ScopedTempDir::~ScopedTempDir() {
  if (!savedCwd_.empty() && !platform::changeDir(savedCwd_.c_str())) std::perror("chdir");
  removeTree(path_);
}

std::string ScopedTempDir::at(const std::string& relative) const {
  return joinPath(path_, relative);
}

InstallSandbox::InstallSandbox() {
  makeDirs(data());
  makeDirs(output());
  makeDirs(site());
  const std::string chmodName = std::string("chmod") + platform::kExeSuffix;
  std::string standin = std::string(BRINDLE_BINARY_DIR) + "/bin/" + chmodName;
  writeFile(joined(root(), chmodName), readFile(standin));
  if (!platform::setModeBits(joined(root(), chmodName).c_str(), 0755)) {
    throw std::runtime_error("cannot make the chmod stand-in runnable");
  }
  if (!platform::changeDir(data().c_str())) throw std::runtime_error("cannot enter data");
}

std::vector<std::string> InstallSandbox::chmodLog() const {
  // Written in text mode: CR LF line ends on Windows.
  std::vector<std::string> out = lines(readFile(joined(root(), "chmod.log")));
  for (std::string& line : out) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return out;
}

void InstallSandbox::clearChmodLog() const { removeFileForTest(joined(root(), "chmod.log")); }

PinnedClock::PinnedClock(int year, int month, int day, int weekday, int hour, int minute,
                         int second) {
  platform::LocalTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.weekday = weekday;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  platform::pinLocalNow(&t);
}

PinnedClock::~PinnedClock() { platform::pinLocalNow(nullptr); }

PlannedFault::PlannedFault(platform::FaultStep step, int nth) : step_(step) {
  platform::failStepAt(step, nth);
}

PlannedFault::~PlannedFault() { platform::failStepAt(step_, 0); }

bool PlannedFault::happened() const { return !platform::faultPlanned(step_); }

std::string joinPath(const std::string& folder, const std::string& relative) {
  return joined(folder, nativePath(relative));
}

std::string nativePath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = platform::kPathSep;
  }
  return path;
}

std::string textBytes(const std::string& text) {
#ifdef _WIN32
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
#else
  return text;
#endif
}

std::string readTextFile(const std::string& path) {
  const std::string bytes = readFile(path);
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
#ifdef _WIN32
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
#endif
    text += bytes[i];
  }
  if (textBytes(text) != bytes || text.find("\r\n") != std::string::npos) {
    throw std::runtime_error(path + " does not end each line in one line end of the platform");
  }
  return text;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool exists(const std::string& path) { return platform::pathExists(path.c_str()); }

std::string onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
#ifdef _WIN32
  const char listSep = ';';
#else
  const char listSep = ':';
#endif
  for (std::string folder; std::getline(folders, folder, listSep);) {
    std::string candidate = joinPath(folder.empty() ? "." : folder, program);
    if (exists(candidate)) return candidate;
  }
  return "";
}

void removeFileForTest(const std::string& path) {
  (void)platform::removeFile(path.c_str());  // a file that is not there is gone
}

bool isDir(const std::string& path) { return platform::isFolder(path.c_str()); }

// Each folder on the way is made; one that is there already is fine.
void makeDirs(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/' || path[i] == platform::kPathSep) {
      (void)platform::makeDir(path.substr(0, i).c_str());
    }
  }
}

std::vector<std::string> listNames(const std::string& folder) {
  std::vector<std::string> names;
  std::vector<platform::DirEntry> entries;
  if (!platform::listFolderUnsorted(folder, false, entries)) return names;
  for (const platform::DirEntry& entry : entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

}  // namespace testing_support
