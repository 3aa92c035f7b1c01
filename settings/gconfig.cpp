#include "settings/gconfig.h"

#include "platform/paths.h"
#include "settings/settings_file.h"

namespace {

const char kHeader[] = "Brindlecast global-configuration file";
constexpr unsigned int kVersion = 956;
// 954 to 956 share the current layout; 96 and 97 the old one.
constexpr unsigned int kOldVersion96 = 96;
constexpr unsigned int kOldVersion97 = 97;
constexpr unsigned int kFirstCurrentVersion = 954;

// Every line of the default frames is 74 characters; the lines of one frame
// are joined by CR LF and the last one has no line end.
const char kRule[] = ":------------------------------------------------------------------------:";

XString frame(std::initializer_list<const char*> lines) {
  XString text;
  bool first = true;
  for (const char* line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

// The settings other than the allotments, copied between a record and the
// scratch record a load fills.
void copySettings(const GConfig& from, GConfig& to) {
  to.version = from.version;
  to.userfile = from.userfile;
  to.vfsfile = from.vfsfile;
  to.vfsbackup = from.vfsbackup;
  to.raidenftpd = from.raidenftpd;
  to.vfs_maxentrys = from.vfs_maxentrys;
  to.mcd_list = from.mcd_list;
  to.deny_list = from.deny_list;
  to.mb = from.mb;
  to.rb = from.rb;
  to.ndl = from.ndl;
  to.ndlspecial = from.ndlspecial;
  to.ndl_exlist = from.ndl_exlist;
  to.nd = from.nd;
  to.tod = from.tod;
  to.past = from.past;
}

void readOwner(XFile& f, chmod_allow& owner) { f >> owner.username >> owner.group >> owner.allow; }

void writeOwner(XFile& f, const chmod_allow& owner) {
  f << owner.username << owner.group << owner.allow;
}

// The fields after the version, in the current layout.
void readCurrent(XFile& f, GConfig& g) {
  f >> g.userfile >> g.vfsfile >> g.vfsbackup >> g.raidenftpd >> g.vfs_maxentrys;
  f >> g.mcd_list >> g.deny_list;

  NewDirListSettings& n = g.ndl;
  f >> n.en >> n.cutun >> n.cuttxt >> n.cutname >> n.maxentrys >> n.lineformat >> n.head >>
      n.tail >> n.file >> n.unlen >> n.tlen >> n.namelen >> n.messageifdis;
  NewDirListSettings& s = g.ndlspecial;
  f >> s.en >> s.cutun >> s.cuttxt >> s.cutname >> s.maxentrys >> s.lineformat >> s.head >>
      s.tail >> s.unlen >> s.tlen >> s.namelen >> s.messageifdis;
  f >> g.ndl_exlist;

  MBoardSettings& m = g.mb;
  f >> m.en >> m.maxmode >> m.cutun >> m.unlen >> m.cuttxt >> m.tlen >> m.maxentrys >> m.delm >>
      m.postm >> m.file >> m.messageifdis >> m.lineformat >> m.head >> m.tail;
  RBoardSettings& r = g.rb;
  f >> r.en >> r.maxmode >> r.cutun >> r.unlen >> r.cuttxt >> r.tlen >> r.maxentrys >> r.delr >>
      r.postr >> r.file >> r.messageifdis >> r.lineformat >> r.head >> r.tail >> r.preqpath >>
      r.postfilled >> r.makedir;

  DawnrollSettings& d = g.nd;
  f >> d.en >> d.today >> d.yesterday >> d.path >> d.format >> d.todaylink >> d.yesterdaylink;
  readOwner(f, g.tod);
  readOwner(f, g.past);
}

// The fields after the version in versions 96 and 97. What these lack
// (the posting levels, the upload-dir switch, the name cut, the whole
// special-list block and the excluded folders) keeps its value.
void readOld(XFile& f, GConfig& g) {
  unsigned char droppedChoice = 0;
  XString droppedText;
  f >> droppedChoice >> droppedChoice >> droppedText >> droppedText;
  f >> g.userfile >> g.vfsfile >> g.vfsbackup >> g.raidenftpd >> g.vfs_maxentrys;
  f >> g.mcd_list >> g.deny_list;

  MBoardSettings& m = g.mb;
  f >> m.en >> m.maxmode >> m.cutun >> m.cuttxt >> m.maxentrys >> m.delm >> m.lineformat >>
      m.head >> m.tail >> m.file >> m.unlen >> m.tlen >> m.messageifdis;
  RBoardSettings& r = g.rb;
  f >> r.en >> r.maxmode >> r.postfilled >> r.cutun >> r.cuttxt >> r.maxentrys >> r.delr >>
      r.lineformat >> r.head >> r.tail >> r.file >> r.preqpath >> r.unlen >> r.tlen >>
      r.messageifdis;
  NewDirListSettings& n = g.ndl;
  f >> n.en >> n.cutun >> n.cuttxt >> n.maxentrys >> n.lineformat >> n.head >> n.tail >> n.file >>
      n.unlen >> n.tlen >> n.messageifdis;

  DawnrollSettings& d = g.nd;
  f >> d.en >> d.today >> d.yesterday >> d.path >> d.format >> d.todaylink >> d.yesterdaylink;
  readOwner(f, g.tod);
  readOwner(f, g.past);
}

}  // namespace

GConfig::GConfig() {
  mb.type = 1;
  rb.type = 2;
  ndl.type = 3;
  ndlspecial.type = 3;
  // The new-directory lists always make room for a new entry when full.
  ndl.maxmode = true;
  ndlspecial.maxmode = true;
}

bool GConfig::load(const char* path) {
  XFile file(path, "rb", false);
  return read(file);
}

// The fields are read into a scratch copy of the record and taken over only
// when the whole file could be read: a file that ends early, or whose
// lengths or counts are impossible, is refused and the record stays as it
// was. An unknown version is kept in `version`, nothing else changes.
bool GConfig::read(XFile& file) {
  unsigned int stored = 0;
  if (!readSettingsHeader(file, kHeader, &stored)) return false;
  bool current = stored >= kFirstCurrentVersion && stored <= kVersion;
  bool old = stored == kOldVersion96 || stored == kOldVersion97;
  if (!current && !old) {
    version = stored;
    return false;
  }

  GConfig next;
  copySettings(*this, next);
  if (current) {
    readCurrent(file, next);
  } else {
    readOld(file, next);
  }
  // The allotments are appended to what the record holds.
  next.al.read(file);
  if (file.failed()) return false;

  copySettings(next, *this);
  al.splice(next.al);
  version = kVersion;
  return true;
}

bool GConfig::save(const char* path) { return saveSettings(*this, path); }

bool GConfig::write(XFile& f) {
  if (!f.isOpen()) return false;
  if (!nd.path.empty()) nd.path.ensureTrailing(platform::kPathSep);

  f << kHeader << version;
  f << userfile << vfsfile << vfsbackup << raidenftpd << vfs_maxentrys;
  f << mcd_list << deny_list;

  const NewDirListSettings& n = ndl;
  f << n.en << n.cutun << n.cuttxt << n.cutname << n.maxentrys << n.lineformat << n.head << n.tail
    << n.file << n.unlen << n.tlen << n.namelen << n.messageifdis;
  const NewDirListSettings& s = ndlspecial;
  f << s.en << s.cutun << s.cuttxt << s.cutname << s.maxentrys << s.lineformat << s.head << s.tail
    << s.unlen << s.tlen << s.namelen << s.messageifdis;
  f << ndl_exlist;

  const MBoardSettings& m = mb;
  f << m.en << m.maxmode << m.cutun << m.unlen << m.cuttxt << m.tlen << m.maxentrys << m.delm
    << m.postm << m.file << m.messageifdis << m.lineformat << m.head << m.tail;
  const RBoardSettings& r = rb;
  f << r.en << r.maxmode << r.cutun << r.unlen << r.cuttxt << r.tlen << r.maxentrys << r.delr
    << r.postr << r.file << r.messageifdis << r.lineformat << r.head << r.tail << r.preqpath
    << r.postfilled << r.makedir;

  const DawnrollSettings& d = nd;
  f << d.en << d.today << d.yesterday << d.path << d.format << d.todaylink << d.yesterdaylink;
  writeOwner(f, tod);
  writeOwner(f, past);
  al.write(f);
  return !f.failed();
}

void GConfig::setDefaults(int value) {
  version = kVersion;
  if (value != 0) return;

  const XString boardRow = "|  %r  | %u | %t |";
  const XString dirRow = "|  %r  | %u: %t |";
  const XString dirHead =
      frame({kRule, "| N E W E S T   D I R E C T O R Y S                                      |",
             kRule, "| Rank   Directory                                                       |",
             ":------+-----------------------------------------------------------------:"});
  const XString dirTail = frame(
      {kRule, "|                                                                        |", kRule});

  userfile = "";
  vfsfile = "";
  vfsbackup = "";
  raidenftpd = "";
  vfs_maxentrys = 8192;
  mcd_list.add("CD*");
  deny_list.add("*incomplete*");

  ndl.en = true;
  ndl.cutun = false;
  ndl.cuttxt = false;
  ndl.cutname = false;
  ndl.maxentrys = 20;
  ndl.lineformat = dirRow;
  ndl.head = dirHead;
  ndl.tail = dirTail;
  ndl.file = "";
  ndl.unlen = 10;
  ndl.tlen = 51;
  ndl.namelen = 50;
  ndl.messageifdis = true;

  ndlspecial.en = true;
  ndlspecial.cutun = false;
  ndlspecial.cuttxt = false;
  ndlspecial.cutname = false;
  ndlspecial.maxentrys = 20;
  ndlspecial.lineformat = dirRow;
  ndlspecial.head = dirHead;
  ndlspecial.tail = dirTail;
  ndlspecial.unlen = 10;
  ndlspecial.tlen = 50;
  ndlspecial.namelen = 50;
  ndlspecial.messageifdis = true;

  mb.en = true;
  mb.maxmode = true;
  mb.cutun = false;
  mb.unlen = 10;
  mb.cuttxt = false;
  mb.tlen = 50;
  mb.maxentrys = 20;
  mb.delm = 1;
  mb.postm = 3;
  mb.file = "";
  mb.messageifdis = true;
  mb.lineformat = boardRow;
  mb.head =
      frame({kRule, "| M E S S A G E   B O A R D                                              |",
             kRule, "| Rank   Username     Message                                            |",
             ":------+------------+----------------------------------------------------:"});
  mb.tail = frame(
      {kRule, "|                       SITE board <message>                             |", kRule});

  rb.en = false;
  rb.maxmode = true;
  rb.cutun = false;
  rb.unlen = 10;
  rb.cuttxt = false;
  rb.tlen = 50;
  rb.maxentrys = 20;
  rb.delr = 1;
  rb.postr = 3;
  rb.file = "";
  rb.messageifdis = true;
  rb.lineformat = boardRow;
  rb.head =
      frame({kRule, "| R E Q U E S T S                                                        |",
             kRule, "| Rank   Username     Request                                            |",
             ":------+------------+----------------------------------------------------:"});
  rb.tail = frame(
      {kRule, "|  SITE request <request>   |   SITE fillrequest <Nr>   |   SITE showreq |", kRule});
  rb.preqpath = "";
  rb.postfilled = false;
  rb.makedir = true;

  nd.en = false;
  nd.today = true;
  nd.yesterday = false;
  nd.path = "";
  nd.format = "%O%d-%o-%Y";
  nd.todaylink = "";
  nd.yesterdaylink = "";
  tod.username = "Brindlecast";
  tod.group = "default";
  tod.allow = "766";
  past.username = "Brindlecast";
  past.group = "default";
  past.allow = "744";
}
