// Reads arbitrary bytes as an MP3 file: header search, Xing block and tag.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "media/mp3_file.h"
#include "media/mp3_info.h"

namespace {

std::string scratchPath() { return "/tmp/brindle-mp3-fuzz-" + std::to_string(getpid()) + ".mp3"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = scratchPath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  MP3Info info;
  info.read(path.c_str());
  MP3File file;
  if (file.open(path.c_str()) == kMP3Read) {
    volatile int sink = file.bitrate() + file.sampleRate() + file.layer();
    (void)sink;
    XString text = file.versionText();
  }
  return 0;
}
