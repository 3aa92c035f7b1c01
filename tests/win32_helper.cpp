// A second process for the Windows tests, which cannot fork: it takes
// locks, writes to a board or the memo beside others, reports what it was
// started with, and hangs on request. Started as "chmod.exe" it is a chmod program that never ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/lock.h"
#include "platform/process.h"
#include "tests/process_writers.h"

namespace {

bool writeText(const std::string& path, const std::string& text) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && ok;
}

// Adds one to the number in `path` (missing: 0).
bool increment(const std::string& path) {
  long value = 0;
  if (FILE* in = std::fopen(path.c_str(), "rb")) {
    if (std::fscanf(in, "%ld", &value) != 1) value = 0;
    std::fclose(in);
  }
  return writeText(path, std::to_string(value + 1));
}

const char* typeName(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return "none";
  switch (GetFileType(handle)) {
    case FILE_TYPE_CHAR:
      return "char";
    case FILE_TYPE_DISK:
      return "disk";
    case FILE_TYPE_PIPE:
      return "pipe";
    default:
      return "unknown";
  }
}

// Starts this program again with `arguments`, not waiting for it.
bool startAgain(const std::string& arguments) {
  char self[MAX_PATH];
  if (GetModuleFileNameA(nullptr, self, sizeof self) == 0) return false;
  std::string line = "\"" + std::string(self) + "\" " + arguments;
  STARTUPINFOA start = {};
  start.cb = sizeof start;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(self, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string self = argc > 0 ? argv[0] : "";
  if (self.size() >= 9 && _stricmp(self.c_str() + self.size() - 9, "chmod.exe") == 0) {
    Sleep(INFINITE);
  }
  if (argc < 2) return 100;
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  auto number = [&](size_t i) { return i < args.size() ? std::atol(args[i].c_str()) : 0L; };

  if (command == "exit" && args.size() == 1) {
    return static_cast<int>(std::strtoul(args[0].c_str(), nullptr, 0));
  }
  // lock FILE MARKER MS / folderlock FOLDER MARKER MS: once the lock is
  // held, write the marker, hold on for MS milliseconds.
  if ((command == "lock" || command == "folderlock") && args.size() == 3) {
    if (command == "lock") {
      platform::FileLock lock(args[0].c_str());
      if (!lock.held() || !writeText(args[1], "held")) return 1;
      Sleep(static_cast<DWORD>(number(2)));
    } else {
      platform::FolderLock lock(args[0].c_str());
      if (!lock.held() || !writeText(args[1], "held")) return 1;
      Sleep(static_cast<DWORD>(number(2)));
    }
    return 0;
  }
  // trylock FILE: 0 when the run lock could be had at once, 1 when not.
  if (command == "trylock" && args.size() == 1) {
    platform::RunLock lock(args[0].c_str());
    return lock.held() ? 0 : 1;
  }
  // count LOCKFILE COUNTER N: N locked read-modify-writes of the counter.
  if (command == "count" && args.size() == 3) {
    for (long i = 0; i < number(2); ++i) {
      platform::FileLock lock(args[0].c_str());
      if (!lock.held() || !increment(args[1])) return 1;
    }
    return 0;
  }
  // status WRITER ROUNDS: one writer of the memo test, in the current folder.
  if (command == "status" && args.size() == 2) {
    return testing_support::markWriterRounds(static_cast<int>(number(0)),
                                             static_cast<int>(number(1)))
               ? 0
               : 1;
  }
  // board WRITER LIMIT: one writer of the board test, in the current folder.
  if (command == "board" && args.size() == 2) {
    return testing_support::addWriterEntries(static_cast<int>(number(0)),
                                             static_cast<unsigned int>(number(1)))
               ? 0
               : 1;
  }
  // args FILE ARG...: the arguments as the runtime parsed them, one a line.
  if (command == "args" && !args.empty()) {
    std::string text;
    for (size_t i = 1; i < args.size(); ++i) text += args[i] + "\n";
    return writeText(args[0], text) ? 0 : 1;
  }
  // cmdline FILE ...: the command-line text the suite's programs take.
  if (command == "cmdline" && !args.empty()) {
    return writeText(args[0], platform::commandLineText(argc, argv)) ? 0 : 1;
  }
  // stdio FILE HANDLE: what the standard handles are, whether input ends at
  // once, and whether the handle with the number HANDLE reached us.
  if (command == "stdio" && args.size() == 2) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char first;
    DWORD got = 1;
    bool ended = ReadFile(input, &first, 1, &got, nullptr) && got == 0;
    DWORD flags = 0;
    HANDLE other =
        reinterpret_cast<HANDLE>(static_cast<intptr_t>(std::strtoll(args[1].c_str(), nullptr, 0)));
    bool reached = GetHandleInformation(other, &flags) && GetFileType(other) == FILE_TYPE_DISK;
    std::string text = std::string("in:") + typeName(input) +
                       " out:" + typeName(GetStdHandle(STD_OUTPUT_HANDLE)) +
                       " err:" + typeName(GetStdHandle(STD_ERROR_HANDLE)) +
                       (ended ? " ended" : " open") + (reached ? " inherited" : " alone");
    return writeText(args[0], text) ? 0 : 1;
  }
  // sleep MS [MARKER]: with a marker, first start a child that writes it
  // after MS / 2 milliseconds; then sleep.
  if (command == "sleep" && !args.empty()) {
    if (args.size() == 2 &&
        !startAgain("late " + std::to_string(number(0) / 2) + " \"" + args[1] + "\"")) {
      return 1;
    }
    Sleep(static_cast<DWORD>(number(0)));
    return 0;
  }
  // server FILE: starts a program as the FTP server does, with the whole
  // command line the server gives it, byte for byte (Wine quotes whatever
  // arguments it hands on, so the line comes in a file): FILE holds the
  // program's path on its first line and the command line on its second.
  // Waits and ends with the program's exit code; 199 when it cannot start.
  if (command == "server" && args.size() == 1) {
    std::string text;
    if (FILE* in = std::fopen(args[0].c_str(), "rb")) {
      char buffer[4096];
      size_t got;
      while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
      std::fclose(in);
    }
    std::string::size_type first = text.find('\n');
    std::string::size_type second =
        first == std::string::npos ? std::string::npos : text.find('\n', first + 1);
    if (second == std::string::npos) return 199;
    std::string program = text.substr(0, first);
    std::string line = text.substr(first + 1, second - first - 1);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &start, &started)) {
      std::fprintf(stderr, "win32_helper: cannot start %s (error %lu)\n", program.c_str(),
                   GetLastError());
      return 199;
    }
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 199;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
  }
  if (command == "late" && args.size() == 2) {
    Sleep(static_cast<DWORD>(number(0)));
    return writeText(args[1], "late") ? 0 : 1;
  }
  return 100;
}
