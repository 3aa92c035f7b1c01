#include "tools/ftpd-standin/wine_site.h"

#include <algorithm>
#include <cstdint>

#include "platform/fs.h"
#include "platform/process.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

// Runner records and settings files are small.
constexpr size_t kSmallFileLimit = 1 << 20;

std::string storedLength(size_t length) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((length >> (8 * i)) & 0xff);
  return bytes;
}

}  // namespace

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string posixPath(const std::string& path) {
  if (path.size() < 3 || (path[0] != 'Z' && path[0] != 'z') || path[1] != ':' || path[2] != '\\')
    return path;
  std::string out = path.substr(2);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string posixVfsText(const std::string& text) {
  std::string out;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    std::string::size_type bar = line.find('|');
    if (bar != std::string::npos) line = posixPath(line.substr(0, bar)) + line.substr(bar);
    out += line;
    start = end;
  }
  return out;
}

std::string windowsProgramName(const std::string& program) {
  std::string::size_type sep = program.find_last_of("\\/");
  std::string name = sep == std::string::npos ? program : program.substr(sep + 1);
  if (name.size() > 4 && equalsNoCase(name.substr(name.size() - 4), ".exe")) {
    name.resize(name.size() - 4);
  }
  return name;
}

bool writeWineRunner(const std::string& file, const WineRunner& runner) {
  return writeWholeFile(file, runner.wine + "\n" + runner.launcher + "\n");
}

bool readWineRunner(const std::string& file, WineRunner* runner) {
  *runner = WineRunner();
  std::string text;
  if (!platform::isRegularFile(file.c_str()) || !readSmallFile(file, kSmallFileLimit, &text)) {
    return false;
  }
  std::vector<std::string> lines = splitLines(text);
  if (lines.size() != 2 || lines[0].empty() || lines[1].empty()) return false;
  runner->wine = lines[0];
  runner->launcher = lines[1];
  return true;
}

bool dropPosixSeparator(const std::string& file, const std::vector<std::string>& texts) {
  std::string bytes;
  if (!readSmallFile(file, kSmallFileLimit, &bytes)) return false;
  for (const std::string& text : texts) {
    if (text.empty() || text.back() != '\\') continue;
    const std::string stored = storedLength(text.size() + 1) + text + "/";
    const std::string wanted = storedLength(text.size()) + text;
    for (std::string::size_type at = bytes.find(stored); at != std::string::npos;
         at = bytes.find(stored, at + wanted.size())) {
      bytes.replace(at, stored.size(), wanted);
    }
  }
  return writeWholeFile(file, bytes);
}

int runUnderWine(const WineRunner& runner, const std::string& program,
                 const std::string& commandLine, const std::string& commandFile,
                 int timeoutSeconds) {
  if (!writeWholeFile(commandFile, program + "\n" + commandLine + "\n")) {
    return platform::kNotStarted;
  }
  int code = platform::runAndWait(
      {runner.wine, runner.launcher, "server", windowsPath(commandFile)}, timeoutSeconds);
  (void)platform::removeFile(commandFile.c_str());  // a left-over names only this request
  return code;
}

}  // namespace ftpd
