// The running program and the programs it starts, on Windows.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

#include "platform/process.h"

// The runtime must not expand wildcards in the arguments: a SITE command or
// a path may hold '*' and '?' as they stand.
extern "C" {
int _dowildcard = 0;
}

namespace platform {

namespace {

// Quotes one argument so that the runtime's parsing in the started program
// gives it back unchanged: backslashes are doubled only before a quote.
void appendQuoted(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  for (size_t i = 0;; ++i) {
    size_t backslashes = 0;
    while (i < argument.size() && argument[i] == '\\') {
      ++backslashes;
      ++i;
    }
    if (i == argument.size()) {
      line.append(backslashes * 2, '\\');
      break;
    }
    if (argument[i] == '"') {
      line.append(backslashes * 2 + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    line += argument[i];
  }
  line += '"';
}

class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE openNull(DWORD access) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA("NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                     nullptr);
}

// An inheritable copy of one of our standard handles, or null.
HANDLE inheritableCopy(DWORD which) {
  HANDLE own = GetStdHandle(which);
  HANDLE copy = nullptr;
  if (own == nullptr || own == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

// The process's exit code once it ended.
int exitCodeOf(HANDLE process) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code) || code == STILL_ACTIVE) return kNoExitCode;
  return static_cast<int>(code);
}

// What follows the program's own name in the runtime's command line, as the
// runtime takes that name off: up to the closing quote when it starts with
// one, else up to the first blank; then the blanks after it.
std::string textAfterProgramName() {
  const char* line = GetCommandLineA();
  if (line == nullptr) return "";
  const char* at = line;
  if (*at == '"') {
    ++at;
    while (*at != 0 && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (*at != 0 && *at != ' ' && *at != '\t') ++at;
  }
  while (*at == ' ' || *at == '\t') ++at;
  return at;
}

// Starts `application` with the command line as given, hidden, in a job of
// its own, and waits for it (see runAndWait).
int startAndWait(const std::string& application, const std::string& line, int timeoutSeconds,
                 bool shareOutput) {
  Handle input(openNull(GENERIC_READ));
  Handle nullOutput(openNull(GENERIC_WRITE));
  Handle sharedOutput(shareOutput ? inheritableCopy(STD_OUTPUT_HANDLE) : nullptr);
  Handle sharedError(shareOutput ? inheritableCopy(STD_ERROR_HANDLE) : nullptr);
  if (!input.valid() || !nullOutput.valid()) return kNotStarted;
  HANDLE output = sharedOutput.valid() ? sharedOutput.get() : nullOutput.get();
  HANDLE error = sharedError.valid() ? sharedError.get() : nullOutput.get();

  // Only the three standard handles are handed on, whatever else of ours
  // may be inheritable.
  std::vector<HANDLE> handed = {input.get(), nullOutput.get()};
  if (sharedOutput.valid()) handed.push_back(sharedOutput.get());
  if (sharedError.valid()) handed.push_back(sharedError.get());
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<char> listBytes(listSize);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBytes.data());
  bool haveList =
      listSize > 0 && InitializeProcThreadAttributeList(list, 1, 0, &listSize) &&
      UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handed.data(),
                                handed.size() * sizeof(HANDLE), nullptr, nullptr);

  STARTUPINFOEXA start = {};
  start.StartupInfo.cb = sizeof start;
  start.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  start.StartupInfo.wShowWindow = SW_HIDE;
  start.StartupInfo.hStdInput = input.get();
  start.StartupInfo.hStdOutput = output;
  start.StartupInfo.hStdError = error;
  DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP;
  if (haveList) {
    start.lpAttributeList = list;
    flags |= EXTENDED_STARTUPINFO_PRESENT;
  }
  PROCESS_INFORMATION started = {};
  std::vector<char> commandLine(line.begin(), line.end());
  commandLine.push_back(0);
  BOOL ok = CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                           nullptr, nullptr, &start.StartupInfo, &started);
  if (!ok && haveList) {
    // A system without handle lists: our own handles are not inheritable,
    // so the three are still all it gets.
    start.StartupInfo.cb = sizeof start.StartupInfo;
    ok = CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        flags & ~EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &start.StartupInfo,
                        &started);
  }
  if (haveList) DeleteProcThreadAttributeList(list);
  if (!ok) return kNotStarted;
  Handle process(started.hProcess);
  Handle thread(started.hThread);

  // The job holds the program and all it starts, so a time-out ends them
  // all. Where a job cannot be had, the program alone is ended.
  Handle job(CreateJobObjectA(nullptr, nullptr));
  bool inJob = job.valid() && AssignProcessToJobObject(job.get(), process.get());
  ResumeThread(thread.get());

  DWORD limit = timeoutSeconds > 0 ? static_cast<DWORD>(timeoutSeconds) * 1000 : INFINITE;
  if (WaitForSingleObject(process.get(), limit) == WAIT_OBJECT_0) return exitCodeOf(process.get());
  if (inJob) {
    TerminateJobObject(job.get(), 1);
  } else {
    TerminateProcess(process.get(), 1);
  }
  WaitForSingleObject(process.get(), INFINITE);
  return kTimedOut;
}

}  // namespace

std::string commandLineText(int argc, char** argv) {
  std::string rest = textAfterProgramName();
  if (!rest.empty()) return rest;
  return argc >= 1 && argv[0] != nullptr ? argv[0] : "";
}

std::vector<std::string> programArguments(int, char**) {
  return splitCommandText(textAfterProgramName());
}

std::string executableFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) {
      std::string path(buffer.data(), n);
      std::string::size_type slash = path.find_last_of("\\/");
      return slash == std::string::npos ? "" : path.substr(0, slash);
    }
    if (buffer.size() > 32768) return "";
    buffer.resize(buffer.size() * 2);
  }
}

int runAndWait(const std::vector<std::string>& argv, int timeoutSeconds, bool shareOutput) {
  if (argv.empty() || argv[0].empty()) return kNotStarted;
  std::string line;
  for (const std::string& argument : argv) {
    if (!line.empty()) line += ' ';
    appendQuoted(line, argument);
  }
  return startAndWait(argv[0], line, timeoutSeconds, shareOutput);
}

// The chmod program gets the text as it is built, not words quoted for the
// runtime's parsing: a path is always in plain double quotes.
int runChmod(const ChmodCall& call, int timeoutSeconds) {
  std::string line;
  if (call.program.empty() || !chmodCommandText(call, &line)) return kNotStarted;
  return startAndWait(call.program, line, timeoutSeconds, false);
}

}  // namespace platform
