#include "platform/process.h"

#include <unistd.h>

#include <vector>

namespace platform {

std::string commandLineText(int argc, char** argv) {
  if (argc <= 1) return argc == 1 && argv[0] != nullptr ? argv[0] : "";
  if (argc == 2) return argv[1];
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

std::string executableFolder() {
  std::vector<char> buffer(4096);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "";
  std::string path(buffer.data(), static_cast<size_t>(n));
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace platform
