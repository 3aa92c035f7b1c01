#include "settings/settings_stamp.h"

#include "foundation/xfile.h"
#include "settings/lconfig.h"
#include "settings/settings_file.h"

namespace {

constexpr unsigned int kStampVersion = 956;
// Installations stamped with one of these have no file of the oldest form.
constexpr unsigned int kFirstStampedVersion = 953;
const char kLinkerHeader[] = "Brindlecast linker-configuration file";

// The oldest link-builder file has no header: seven texts, two lists, eight
// switches, a number, three dropped bytes and the owner. It is rewritten in
// the current form; what that form adds (the year and directory-name trees,
// the window switch, the unknown switch) takes its default. A file with a
// header, or one that does not read whole, is left as it is.
void convertOldestLinkerConfig(const char* path) {
  XFile file(path, "rb", false);
  if (!file.isOpen()) return;
  XString first;
  file >> first;
  if (!file.failed() && first == kLinkerHeader) return;

  file.open(path, "rb", false);
  XString artist, genre, group, dropped4, dropped5, allinone, logfile;
  file >> artist >> genre >> group >> dropped4 >> dropped5 >> allinone >> logfile;
  LConfig c;
  file >> c.link_list >> c.link_pathes;
  bool dropped6 = false, dropped7 = false;
  file >> c.link_en >> c.link_listp >> c.link_artisten >> c.link_genreen >> c.link_groupen >>
      dropped6 >> dropped7 >> c.link_allinoneen;
  file >> c.link_reserved;
  unsigned char droppedByte = 0;
  file >> droppedByte >> droppedByte >> droppedByte;
  file >> c.link_owner.username >> c.link_owner.group >> c.link_owner.allow;
  if (file.failed()) return;
  (void)file.close();  // read-only: nothing to check

  c.link_artistdir = artist;
  c.link_genredir = genre;
  c.link_groupdir = group;
  c.link_allinonedir = allinone;
  c.link_logfile = logfile;
  c.link_show = true;
  // A file that cannot be replaced stays as it was: the loader refuses it
  // and the defaults apply, as they would have after a failed conversion.
  (void)c.save(path);
}

}  // namespace

BCconfigSettings::BCconfigSettings(const char* stampPath) : path(stampPath) {
  XFile stamp(stampPath, "rb", false);
  if (stamp.isOpen()) stamp >> version;
  if (version < kFirstStampedVersion || version > kStampVersion) {
    convertOldestLinkerConfig(kLinkerConfigFile);
  }
  version = kStampVersion;
}

bool BCconfigSettings::save() {
  struct Stamp {
    unsigned int version;
    bool write(XFile& file) {
      file << version;
      return !file.failed();
    }
  } stamp{version};
  return saveSettings(stamp, path.c_str());
}
