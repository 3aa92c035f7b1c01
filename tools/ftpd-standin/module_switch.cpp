#include "tools/ftpd-standin/module_switch.h"

#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

bool* switchOf(const std::string& key, MConfig* c) {
  if (key == "sfv_force") return &c->sfv_force;
  if (key == "sfv_oneonly") return &c->sfv_oneonly;
  if (key == "sfv_insfv") return &c->sfv_insfv;
  if (key == "m3u_deny") return &c->m3u_deny;
  if (key == "m3u_create") return &c->m3u_create;
  if (key == "m3u_skip") return &c->m3u_skip;
  if (key == "move_en") return &c->move_en;
  return nullptr;
}

}  // namespace

const std::vector<std::string>& moduleSwitchKeys() {
  static const std::vector<std::string> keys = {
      "sfv_force", "sfv_oneonly", "sfv_insfv", "m3u_deny", "m3u_create",
      "m3u_skip",  "move_en",     "badf",      "move_dir", "cinfo"};
  return keys;
}

bool setModuleSwitch(const std::string& assignment, const VfsMap& vfs, MConfig* config,
                     std::string* error) {
  std::string key, value;
  if (!splitAssignment(assignment, &key, &value, error)) return false;
  if (bool* flag = switchOf(key, config)) return setSwitch(key, value, flag, error);
  if (key == "badf") {
    if (value != "0" && value != "1" && value != "2") {
      *error = "badf takes 0 (leave), 1 (delete) or 2 (empty)";
      return false;
    }
    config->badf = static_cast<unsigned char>(value[0] - '0');
    return true;
  }
  if (key == "cinfo") {
    if (value != "0" && value != "1" && value != "2") {
      *error = "cinfo takes 0 (no creator marker), 1 (a file) or 2 (a folder)";
      return false;
    }
    config->cinfo = static_cast<unsigned char>(value[0] - '0');
    return true;
  }
  if (key == "move_dir") {
    std::string physical;
    if (value.empty() || value[0] != '/' || !vfs.toPhysical(value, &physical)) {
      *error = "move_dir takes a virtual folder of the site";
      return false;
    }
    config->move_dir = XString(physical);
    return true;
  }
  *error = "unknown key " + key;
  return false;
}

}  // namespace ftpd
