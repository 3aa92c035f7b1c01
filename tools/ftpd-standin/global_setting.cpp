#include "tools/ftpd-standin/global_setting.h"

#include <cstdint>

#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

bool* switchOf(const std::string& key, GConfig* g) {
  if (key == "nd_en") return &g->nd.en;
  if (key == "nd_today") return &g->nd.today;
  if (key == "nd_yesterday") return &g->nd.yesterday;
  return nullptr;
}

XString* folderOf(const std::string& key, GConfig* g) {
  if (key == "nd_path") return &g->nd.path;
  if (key == "nd_todaylink") return &g->nd.todaylink;
  if (key == "nd_yesterdaylink") return &g->nd.yesterdaylink;
  return nullptr;
}

XString* nameOf(const std::string& key, GConfig* g) {
  if (key == "nd_usernametod") return &g->tod.username;
  if (key == "nd_grouptod") return &g->tod.group;
  if (key == "nd_usernamepast") return &g->past.username;
  if (key == "nd_grouppast") return &g->past.group;
  return nullptr;
}

XString* rightsOf(const std::string& key, GConfig* g) {
  if (key == "nd_allowtod") return &g->tod.allow;
  if (key == "nd_allowpast") return &g->past.allow;
  return nullptr;
}

// Printable text without the separators of the files it ends up in.
bool isPlainText(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == '|' || c == ':') return false;
  }
  return true;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string::npos ? at : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

bool parseWhole(const std::string& text, int* number) {
  bool negative = !text.empty() && text[0] == '-';
  uint64_t magnitude = 0;
  if (!parseDigits(negative ? text.substr(1) : text, 10, &magnitude)) return false;
  if (magnitude > (negative ? uint64_t{2147483648u} : uint64_t{2147483647u})) return false;
  *number =
      negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return true;
}

bool setAllotment(const std::string& value, GConfig* g, std::string* error) {
  *error =
      "allot takes NAME:WHEN:MODE:NUMBER[:FILLLESS] (WHEN daily, weekly or monthly; MODE "
      "off, add or fill; NUMBER whole credits; FILLLESS 0 or 1)";
  std::vector<std::string> parts = splitAt(value, ':');
  if (parts.size() != 4 && parts.size() != 5) return false;
  User user{XString(parts[0]), XString(), XString()};
  static const char* const kWhen[] = {"daily", "weekly", "monthly"};
  static const char* const kModes[] = {"off", "add", "fill"};
  bool whenFound = false;
  bool modeFound = false;
  for (unsigned char i = 0; i < 3; ++i) {
    if (parts[1] == kWhen[i]) {
      user.when = i;
      whenFound = true;
    }
    if (parts[2] == kModes[i]) {
      user.mode = i;
      modeFound = true;
    }
  }
  if (parts[0].empty() || !isPlainText(parts[0]) || !whenFound || !modeFound ||
      !parseWhole(parts[3], &user.number)) {
    return false;
  }
  if (parts.size() == 5) {
    if (parts[4] != "0" && parts[4] != "1") return false;
    user.fillless = parts[4] == "1";
  }
  error->clear();
  if (User* had = g->al.find(user.user)) {
    *had = user;
  } else {
    g->al.add(user);
  }
  return true;
}

}  // namespace

const std::vector<std::string>& globalSettingKeys() {
  static const std::vector<std::string> keys = {
      "nd_en",           "nd_today",         "nd_yesterday",   "nd_format",   "nd_path",
      "nd_todaylink",    "nd_yesterdaylink", "nd_usernametod", "nd_grouptod", "nd_allowtod",
      "nd_usernamepast", "nd_grouppast",     "nd_allowpast",   "allot"};
  return keys;
}

bool isGlobalSetting(const std::string& assignment) {
  const std::string key = assignment.substr(0, assignment.find('='));
  for (const std::string& k : globalSettingKeys()) {
    if (k == key) return true;
  }
  return false;
}

bool setGlobalSetting(const std::string& assignment, const VfsMap& vfs, GConfig* global,
                      std::string* error) {
  std::string key, value;
  if (!splitAssignment(assignment, &key, &value, error)) return false;
  if (bool* flag = switchOf(key, global)) return setSwitch(key, value, flag, error);
  if (XString* folder = folderOf(key, global)) {
    std::string physical;
    if (value.empty() || value[0] != '/' || !vfs.toPhysical(value, &physical)) {
      *error = key + " takes a virtual folder of the site";
      return false;
    }
    *folder = XString(physical);
    return true;
  }
  if (XString* name = nameOf(key, global)) {
    if (value.empty() || !isPlainText(value) || value.find(' ') != std::string::npos) {
      *error = key + " takes a name without blanks";
      return false;
    }
    *name = XString(value);
    return true;
  }
  if (XString* rights = rightsOf(key, global)) {
    if (value.size() != 3 || value.find_first_not_of("01234567") != std::string::npos) {
      *error = key + " takes three octal digits";
      return false;
    }
    *rights = XString(value);
    return true;
  }
  if (key == "nd_format") {
    if (!isPlainText(value)) {
      *error = "nd_format takes a text without control characters, '|' or ':'";
      return false;
    }
    global->nd.format = XString(value);
    return true;
  }
  if (key == "allot") return setAllotment(value, global, error);
  *error = "unknown key " + key;
  return false;
}

}  // namespace ftpd
