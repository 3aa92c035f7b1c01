// Registers the hooks in a server's ".ftpd" file made of arbitrary bytes.
// Every line stays a line, with CR LF where it had a line end, and a second
// registration changes nothing more.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "programs/brindleset/ftpd_registration.h"

namespace {

size_t lineCount(std::string_view text) {
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines + (!text.empty() && text.back() != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const XString dir("/srv/site/");
  const std::string once = brindleset::registerHooks(text, dir);
  if (lineCount(once) != lineCount(text)) std::abort();
  for (size_t at = once.find('\n'); at != std::string::npos; at = once.find('\n', at + 1)) {
    if (at == 0 || once[at - 1] != '\r') std::abort();
  }
  if (brindleset::registerHooks(once, dir) != once) std::abort();
  return 0;
}
