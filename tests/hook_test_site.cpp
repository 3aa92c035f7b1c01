#include "tests/hook_test_site.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "settings/module_index.h"

namespace hook_test {

HookSite::HookSite() {
  global.setDefaults(0);
  global.raidenftpd = XString(box.root() + "/raidenftpd");
  config.setDefaults(0);
  save();
}

void HookSite::save() {
  ASSERT_TRUE(global.save("BCconfig.bcc"));
  ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"), XString("d"),
                             0);
  index.append(new Module<MConfig>(XString("m0.bcm"), XString(modulePath), XString("m0"),
                                   XString(""), 0, moduleIsDefault));
  ASSERT_TRUE(index.save("ModuleIndex.idx"));
  ASSERT_TRUE(config.save("m0.bcm"));
}

std::string HookSite::release(const std::string& relative) const {
  std::string path = box.site() + "/" + relative;
  testing_support::makeDirs(path);
  return path;
}

std::string HookSite::line(const char* program, std::initializer_list<std::string> fields) const {
  std::string text = box.program(program);
  for (const std::string& field : fields) text += "??-??" + field;
  return text;
}

std::string slotBytes(const std::string& path, bool flag) {
  std::string out;
  uint32_t n = static_cast<uint32_t>(path.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
  return out + path + std::string(1, flag ? 1 : 0);
}

}  // namespace hook_test
