// Reads every value kind, in both modes, from arbitrary bytes.
#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/xfile.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_support::scratchPath("xfile");
  if (!fuzz_support::writeInput(path, data, size)) return 0;

  for (bool text : {false, true}) {
    XFile in(path.c_str(), text ? "rt" : "rb", text);
    int i = 0;
    unsigned int u = 0;
    bool b = false;
    char c = 0;
    unsigned char uc = 0;
    float fl = 0;
    XString s;
    XStringList list;
    for (int round = 0; round < 8 && !in.failed() && !in.atEnd(); ++round) {
      in >> i >> u >> s >> list >> b >> c >> uc >> fl >> s;
    }
    XFile lines(path.c_str(), "rt", true);
    XString line;
    bool tooLong = false;
    for (int n = 0; n < 10000 && lines.readLine(line, 64, &tooLong); ++n) {
    }
  }
  return 0;
}
