#include "tools/ftpd-standin/link_switch.h"

#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

std::string keyOf(const std::string& assignment) {
  return assignment.substr(0, assignment.find('='));
}

bool* switchOf(const std::string& key, LConfig* c) {
  if (key == "link_en") return &c->link_en;
  if (key == "link_artisten") return &c->link_artisten;
  if (key == "link_genreen") return &c->link_genreen;
  if (key == "link_groupen") return &c->link_groupen;
  if (key == "link_yearen") return &c->link_yearen;
  if (key == "link_dirnameen") return &c->link_dirnameen;
  if (key == "link_allinoneen") return &c->link_allinoneen;
  if (key == "link_listp") return &c->link_listp;
  if (key == "link_show") return &c->link_show;
  if (key == "link_makeunknown") return &c->link_makeunknown;
  return nullptr;
}

}  // namespace

bool isLinkSwitch(const std::string& assignment) {
  LConfig probe;
  return assignment.find('=') != std::string::npos && switchOf(keyOf(assignment), &probe);
}

bool setLinkSwitch(const std::string& assignment, LConfig* config, std::string* error) {
  const std::string key = keyOf(assignment);
  bool* flag = switchOf(key, config);
  if (flag == nullptr || assignment.size() == key.size()) {
    *error = "unknown key " + key;
    return false;
  }
  return setSwitch(key, assignment.substr(key.size() + 1), flag, error);
}

}  // namespace ftpd
