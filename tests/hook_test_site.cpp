#include "tests/hook_test_site.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/fs.h"
#include "settings/module_index.h"

namespace hook_test {

HookSite::HookSite() {
  global.setDefaults(0);
  global.raidenftpd = XString(testing_support::joinPath(box.root(), "raidenftpd"));
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
  std::string path = testing_support::joinPath(box.site(), relative);
  testing_support::makeDirs(path);
  return path;
}

std::string HookSite::line(const char* program, std::initializer_list<std::string> fields) const {
  std::string text = box.program(program);
  for (const std::string& field : fields) text += "??-??" + field;
  return text;
}

namespace {

std::string word(uint32_t n) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
  return out;
}

}  // namespace

std::string slotBytes(const std::string& path, bool flag) {
  return word(static_cast<uint32_t>(path.size())) + path + std::string(1, flag ? 1 : 0);
}

std::string recordBytes(const std::vector<std::pair<std::string, int>>& records) {
  std::string out = "BCR1" + word(static_cast<uint32_t>(records.size()));
  for (const auto& record : records) {
    out += word(static_cast<uint32_t>(record.first.size())) + record.first +
           std::string(1, static_cast<char>(record.second));
  }
  return out;
}

const platform::FaultStep kSaveSteps[3] = {
    platform::FaultStep::kTempFile, platform::FaultStep::kFlush, platform::FaultStep::kRename};

bool holdsTemporaryFile(const std::string& folder) {
  for (const std::string& name : testing_support::listNames(folder)) {
    if (name.rfind(platform::kTempPrefix, 0) == 0) return true;
  }
  return false;
}

}  // namespace hook_test
