#include "tests/e2e/site.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

extern char** environ;

namespace e2e {

namespace {

using testing_support::readFile;

const char* const kStandin = "ftpd-standin";

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string trimmedLeft(const std::string& line) {
  std::string::size_type first = line.find_first_not_of(' ');
  return first == std::string::npos ? "" : line.substr(first);
}

}  // namespace

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

RunResult runProgram(const std::vector<std::string>& argv) {
  RunResult result;
  testing_support::ScopedTempDir capture;
  const std::string out = capture.at("stdout");
  const std::string err = capture.at("stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    result.errors = "cannot start " + argv[0];
    return result;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.output = readFile(out);
  result.errors = readFile(err);
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

void Site::editModule(const std::function<void(MConfig&)>& edit, const std::string& file) const {
  std::string path = data() + "/" + file;
  MConfig config;
  ASSERT_TRUE(config.load(path.c_str())) << path;
  edit(config);
  ASSERT_TRUE(config.save(path.c_str())) << path;
}

}  // namespace e2e
