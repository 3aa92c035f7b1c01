#include "tests/test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "foundation/xstring_list.h"
#include "platform/clock.h"

namespace testing_support {

std::vector<std::string> items(const XStringList& list) {
  std::vector<std::string> out;
  for (XStringListEntry* e = list.head; e != nullptr; e = e->next) out.push_back(e->text.str());
  return out;
}

namespace {

void removeTree(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    for (const std::string& name : listNames(path)) removeTree(path + "/" + name);
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

}  // namespace

ScopedTempDir::ScopedTempDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) != nullptr) savedCwd_ = cwd;
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/brindle-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

ScopedTempDir::~ScopedTempDir() {
  if (!savedCwd_.empty() && chdir(savedCwd_.c_str()) != 0) std::perror("chdir");
  removeTree(path_);
}

std::string ScopedTempDir::at(const std::string& relative) const { return path_ + "/" + relative; }

InstallSandbox::InstallSandbox() {
  makeDirs(data());
  makeDirs(output());
  makeDirs(site());
  std::string standin = std::string(BRINDLE_BINARY_DIR) + "/bin/chmod";
  writeFile(root() + "/chmod", readFile(standin));
  chmod((root() + "/chmod").c_str(), 0755);
  if (chdir(data().c_str()) != 0) throw std::runtime_error("cannot enter data");
}

std::vector<std::string> InstallSandbox::chmodLog() const {
  return lines(readFile(root() + "/chmod.log"));
}

void InstallSandbox::clearChmodLog() const { unlink((root() + "/chmod.log").c_str()); }

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

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

void removeFileForTest(const std::string& path) { unlink(path.c_str()); }

bool isDir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void makeDirs(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
  }
}

std::vector<std::string> listNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
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
