#include "tests/e2e/site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "foundation/xfile.h"
#include "race/status.h"

namespace e2e {

namespace {

using testing_support::lines;
using testing_support::readFile;

const char* const kStandin = "ftpd-standin";

std::string trimmedLeft(const std::string& line) {
  std::string::size_type first = line.find_first_not_of(' ');
  return first == std::string::npos ? "" : line.substr(first);
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

std::string trimmed(const std::string& text) {
  std::string::size_type first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  std::string::size_type last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// "| --   | a | b | n | ..." split at '|', each cell trimmed.
std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::string::size_type start = 0;
  while (start <= line.size()) {
    std::string::size_type bar = line.find('|', start);
    if (bar == std::string::npos) bar = line.size();
    out.push_back(trimmed(line.substr(start, bar - start)));
    start = bar + 1;
  }
  return out;
}

int number(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(text);
}

std::string virtualJoin(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string virtualParentOf(const std::string& path) {
  std::string::size_type at = path.rfind('/');
  return at == 0 || at == std::string::npos ? "/" : path.substr(0, at);
}

std::string lastPartOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

int RaceText::sumUserFiles() const {
  int sum = 0;
  for (const auto& entry : userFiles) sum += entry.second;
  return sum;
}

int RaceText::sumGroupFiles() const {
  int sum = 0;
  for (const auto& entry : groupFiles) sum += entry.second;
  return sum;
}

RaceText parseRaceText(const std::vector<std::string>& textLines) {
  RaceText race;
  bool inGroups = false;
  for (std::string line : textLines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string::size_type at = line.find("[FILE: ");
    if (at != std::string::npos) {
      std::string::size_type end = line.find(" ]", at);
      if (end != std::string::npos) race.file = trimmed(line.substr(at + 7, end - at - 7));
    }
    // "[ N/ M]" closes the line of the bar; the MP3 block's "[ ARTiST: AC/DC ]"
    // is no bar.
    if (endsWith(line, "] |") && line.find('/') != std::string::npos) {
      std::string::size_type open = line.rfind('[');
      std::string inside = line.substr(open + 1, line.size() - open - 4);
      std::string::size_type slash = inside.find('/');
      if (slash != std::string::npos && number(trimmed(inside.substr(0, slash))) >= 0) {
        race.uploaded = number(trimmed(inside.substr(0, slash)));
        race.listed = number(trimmed(inside.substr(slash + 1)));
      }
    }
    std::vector<std::string> row = cells(line);
    if (row.size() > 3 && row[1].empty() && row[2] == "Group" && row[3] == "Racers") {
      inGroups = true;
    } else if (row.size() > 3 && row[1].empty() && row[2] == "Racer") {
      race.found = true;
    } else if (row.size() > 5 && row[1] == "--") {
      if (inGroups) {
        race.groupFiles[row[2]] += number(row[4]);
        race.groupRacers[row[2]] = number(row[3]);
      } else {
        race.userFiles[row[2]] += number(row[4]);
      }
    }
    at = line.find("TotSize: ");
    if (at != std::string::npos) {
      std::istringstream in(line.substr(at + 9));
      int kb = -1;
      std::string unit;
      if (in >> kb >> unit && unit == "kb") race.totalKb = kb;
    }
  }
  return race;
}

RaceText parseRaceText(const std::string& text) { return parseRaceText(lines(text)); }

int RunResult::hookExit(const std::string& hook) const {
  const std::string lead = "  " + hook + ": exit ";
  for (const std::string& line : lines(output)) {
    if (line.compare(0, lead.size(), lead) == 0) return std::stoi(line.substr(lead.size()));
  }
  return kNotRun;
}

std::vector<std::string> RunResult::reply(const std::string& hook) const {
  std::vector<std::string> out;
  const std::string lead = "  " + hook + ": ";
  bool inHook = false;
  for (const std::string& line : lines(output)) {
    if (line.compare(0, lead.size(), lead) == 0) {
      inHook = true;
      continue;
    }
    if (!inHook) continue;
    if (line.compare(0, 4, "  | ") != 0) break;
    out.push_back(line.substr(4));
  }
  return out;
}

bool RunResult::says(const std::string& wanted) const {
  for (const std::string& line : lines(output)) {
    if (trimmedLeft(line) == wanted) return true;
  }
  return false;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

RunResult runProgram(const std::vector<std::string>& argv) {
  RunResult result;
  static_cast<testing_support::CapturedRun&>(result) = testing_support::runCaptured(argv);
  return result;
}

std::string builtProgram(const std::string& name) {
  return std::string(BRINDLE_BINARY_DIR) + "/bin/" + name;
}

std::string mediaFixture(const std::string& name) {
  return std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name;
}

Site::Site() : folder_(temp_.at("site")), scratch_(temp_.at("local")) {
  testing_support::makeDirs(scratch_);
  init_ = runProgram({builtProgram(kStandin), "init", folder_, "--programs",
                      std::string(BRINDLE_BINARY_DIR) + "/bin"});
  EXPECT_EQ(init_.exitCode, 0) << init_.output << init_.errors;
  settings_.setDefaults(0);
}

bool Site::registered(const std::string& hook) const {
  for (const std::string& line : lines(init_.output)) {
    if (line.compare(0, 11, "registered:") != 0) continue;
    std::istringstream words(line.substr(11));
    for (std::string word; words >> word;) {
      if (word == hook) return true;
    }
  }
  return false;
}

RunResult Site::upload(const std::string& localFile, const std::string& virtualFolder,
                       const std::string& user, const std::string& group, const std::string& name,
                       const std::string& speed) const {
  std::vector<std::string> argv = {builtProgram(kStandin),
                                   "upload",
                                   folder_,
                                   localFile,
                                   virtualFolder,
                                   "--user",
                                   user,
                                   "--group",
                                   group};
  if (!name.empty()) argv.insert(argv.end(), {"--name", name});
  if (!speed.empty()) argv.insert(argv.end(), {"--speed", speed});
  return runProgram(argv);
}

RunResult Site::mkdir(const std::string& virtualPath, const std::string& user,
                      const std::string& group) const {
  return runProgram(
      {builtProgram(kStandin), "mkdir", folder_, virtualPath, "--user", user, "--group", group});
}

RunResult Site::remove(const std::string& virtualPath, const std::string& user,
                       const std::string& group) const {
  return runProgram(
      {builtProgram(kStandin), "delete", folder_, virtualPath, "--user", user, "--group", group});
}

RunResult Site::site(const std::string& virtualFolder, const std::string& text,
                     const std::string& user, const std::string& group,
                     const std::string& level) const {
  return runProgram({builtProgram(kStandin), "site", folder_, virtualFolder, text, "--user", user,
                     "--group", group, "--level", level});
}

std::string Site::physical(const std::string& virtualPath) const {
  RunResult result = runProgram({builtProgram(kStandin), "path", folder_, virtualPath});
  EXPECT_EQ(result.exitCode, 0) << result.errors;
  std::string path = result.output;
  while (!path.empty() && path.back() == '\n') path.pop_back();
  return path;
}

std::vector<std::string> Site::list(const std::string& virtualFolder) const {
  return testing_support::listNames(physical(virtualFolder));
}

bool Site::has(const std::string& virtualPath) const {
  return testing_support::exists(physical(virtualPath));
}

std::vector<std::string> Site::namesStartingWith(const std::string& virtualFolder,
                                                 const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& name : list(virtualFolder)) {
    if (name.compare(0, prefix.size(), prefix) == 0) out.push_back(name);
  }
  return out;
}

std::string Site::localCopy(const std::string& fixture, const std::string& name) const {
  testing_support::writeFile(local(name), readFile(mediaFixture(fixture)));
  return local(name);
}

std::string Site::localSfv(const std::string& sfvName,
                           const std::vector<std::string>& names) const {
  std::vector<std::string> argv = {"/usr/bin/cksfv", "-b"};
  for (const std::string& name : names) argv.push_back(local(name));
  RunResult made = runProgram(argv);
  EXPECT_EQ(made.exitCode, 0) << made.errors;
  testing_support::writeFile(local(sfvName), made.output);
  return local(sfvName);
}

std::string Site::racerBytes(const std::string& virtualFolder) const {
  std::string path = physical(virtualFolder) + "/" + Racer::kFileName;
  return testing_support::exists(path) ? readFile(path) : std::string();
}

std::unique_ptr<Racer> Site::racer(const std::string& virtualFolder) {
  std::string path = physical(virtualFolder) + "/" + Racer::kFileName;
  auto racer = std::make_unique<Racer>(&settings_.racer);
  if (!racer->load(XString(path))) return nullptr;
  return racer;
}

RunResult Site::set(const std::vector<std::string>& assignments) const {
  std::vector<std::string> argv = {builtProgram(kStandin), "set", folder_};
  argv.insert(argv.end(), assignments.begin(), assignments.end());
  return runProgram(argv);
}

std::vector<MemoSlot> Site::memo() const {
  std::string path = data() + "/" + Status::kFileName;
  XFile file(path.c_str(), "rb", false);
  Status::part slots[5];
  std::vector<Status::Record> records;
  if (!file.isOpen() || !readStatus(file, slots, &records)) return {};
  std::vector<MemoSlot> out;
  for (const Status::part& slot : slots) out.push_back({slot.path.str(), slot.flag});
  return out;
}

std::vector<std::string> Site::progressBars(const std::string& release) const {
  std::vector<std::string> out;
  for (const std::string& name : list(release)) {
    if (endsWith(name, " files uploaded")) out.push_back(name);
  }
  return out;
}

std::vector<std::string> Site::completedMarkers(const std::string& release) const {
  return namesStartingWith(release, "[COMPLETED] - ");
}

std::vector<std::string> Site::staleMarkers(const std::string& release) const {
  std::vector<std::string> out;
  for (const std::string& name : list(release)) {
    if (endsWith(name, " files uploaded") || endsWith(name, "-missing") ||
        startsWith(name, "TAG ")) {
      out.push_back(virtualJoin(release, name));
    }
  }
  const std::string parent = virtualParentOf(release);
  const std::string own = lastPartOf(release);
  for (const std::string& name : list(parent)) {
    if (name == own + " - SFV incomplete" || name == own + " - SFV missing") {
      out.push_back(virtualJoin(parent, name));
    }
  }
  return out;
}

std::string Site::message(const std::string& release) const {
  std::string path = physical(release + "/.message");
  return testing_support::exists(path) ? readFile(path) : std::string();
}

void Site::editModule(const std::function<void(MConfig&)>& edit, const std::string& file) const {
  std::string path = data() + "/" + file;
  MConfig config;
  ASSERT_TRUE(config.load(path.c_str())) << path;
  edit(config);
  ASSERT_TRUE(config.save(path.c_str())) << path;
}

}  // namespace e2e
