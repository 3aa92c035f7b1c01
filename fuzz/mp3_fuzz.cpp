// Reads arbitrary bytes as an MP3 file: header search, Xing block and tag.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "media/mp3_file.h"
#include "media/mp3_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_support::scratchPath("input.mp3");
  if (!fuzz_support::writeInput(path, data, size)) return 0;

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
