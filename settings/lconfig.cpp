#include "settings/lconfig.h"

#include "platform/paths.h"
#include "settings/settings_file.h"

namespace {

const char kHeader[] = "Brindlecast linker-configuration file";
constexpr unsigned int kVersion = 956;
// 954 to 956 share one layout.
constexpr unsigned int kFirstVersion = 954;

}  // namespace

bool LConfig::load(const char* path) {
  XFile file(path, "rb", false);
  return read(file);
}

// The fields are read into a copy and taken over only when the whole file
// could be read.
bool LConfig::read(XFile& file) {
  unsigned int stored = 0;
  if (!readSettingsHeader(file, kHeader, &stored)) return false;
  if (stored < kFirstVersion || stored > kVersion) {
    version = stored;
    return false;
  }
  LConfig next(*this);
  file >> next.link_artistdir >> next.link_genredir >> next.link_yeardir >> next.link_groupdir >>
      next.link_dirnamedir >> next.link_allinonedir >> next.link_logfile;
  file >> next.link_list >> next.link_pathes;
  file >> next.link_listp >> next.link_en >> next.link_artisten >> next.link_genreen >>
      next.link_yearen >> next.link_groupen >> next.link_dirnameen >> next.link_allinoneen;
  file >> next.link_reserved;
  file >> next.link_owner.username >> next.link_owner.group >> next.link_owner.allow;
  file >> next.link_show >> next.link_makeunknown;
  if (file.failed()) return false;
  *this = next;
  version = kVersion;
  return true;
}

bool LConfig::save(const char* path) { return saveSettings(*this, path); }

bool LConfig::write(XFile& f) {
  if (!f.isOpen()) return false;
  for (XPath* folder : {&link_artistdir, &link_genredir, &link_yeardir, &link_groupdir,
                        &link_dirnamedir, &link_allinonedir}) {
    if (!folder->empty()) folder->ensureTrailing(platform::kPathSep);
  }
  f << kHeader << kVersion;
  f << link_artistdir << link_genredir << link_yeardir << link_groupdir << link_dirnamedir
    << link_allinonedir << link_logfile;
  f << link_list << link_pathes;
  f << link_listp << link_en << link_artisten << link_genreen << link_yearen << link_groupen
    << link_dirnameen << link_allinoneen;
  f << link_reserved;
  f << link_owner.username << link_owner.group << link_owner.allow;
  f << link_show << link_makeunknown;
  return !f.failed();
}

void LConfig::setDefaults(int value) {
  if (value != 0) return;
  for (XPath* path : {&link_artistdir, &link_genredir, &link_yeardir, &link_groupdir,
                      &link_dirnamedir, &link_allinonedir, &link_logfile}) {
    *path = "";
  }
  link_listp = link_en = link_artisten = link_genreen = false;
  link_yearen = link_groupen = link_dirnameen = link_allinoneen = false;
  link_owner.username = "Brindlecast";
  link_owner.group = "default";
  link_owner.allow = "764";
  link_show = true;
  link_makeunknown = false;
  link_list.add("20??");
  link_list.add("19??");
}
