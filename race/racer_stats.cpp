// The race statistics text: the module's templates rendered from a race,
// for the reply to the server and for the release's ".message".
#include <string>

#include "foundation/formated_line.h"
#include "foundation/numbers.h"
#include "foundation/xfile.h"
#include "hookkit/release_event.h"
#include "media/mp3_info.h"
#include "platform/paths.h"
#include "race/racer.h"

namespace {

// A size: "kb" below 1024, else MB or GB, right-aligned in 9.
XString sizeText(unsigned int kb) {
  XString text = formatSize(kb);
  text.padLeft(' ', 9);
  return text;
}

XString countText(unsigned int n) {
  XString text(n);
  text.padLeft(' ', 2);
  return text;
}

// The share a/b in per cent, rounded half up, in 4-byte float arithmetic
// step by step: 29 of 200 gives 15.
int percentOf(unsigned int a, unsigned int b) {
  if (b == 0) return 0;
  volatile float share = static_cast<float>(a) / static_cast<float>(b);
  volatile float scaled = share * 1000.0f;
  volatile float rounded = scaled + 5.0f;
  volatile float percent = rounded * 0.1f;
  // Only a damaged race file gets near the end of the range.
  if (!(percent < 2147483520.0f)) return 2147483520;
  return static_cast<int>(percent);
}

XString percentText(int percent) {
  XString text(percent);
  text.padLeft(' ', 3);
  return text;
}

XString speedText(float speed) {
  XString text(speed, 2);
  text.padLeft(' ', 8);
  return text;
}

// A text in a column of `width`: padded with blanks, cut only when `cut`.
XString column(const XString& value, unsigned int width, bool cut) {
  XString text(value);
  if (cut) text.truncate(width);
  text.padRight(' ', width);
  return text;
}

// The widths, cuts, templates and sorts of one of the two texts.
struct TextStyle {
  const XString* body;
  const XString* userLine;
  const XString* groupLine;
  unsigned int bdplen, bdnlen, bfnlen;
  bool bcutdp, bcutdn, bcutfn;
  unsigned int lunlen, lgrlen, ldplen, ldnlen, lfnlen;
  bool lcutun, lcutgr, lcutdp, lcutdn, lcutfn;
  char sortu, sortg;
};

TextStyle sfvStyle(const RacerSettings& s) {
  return {&s.sbody,  &s.suser,  &s.sgroup, s.sbdplen, s.sbdnlen, s.sbfnlen, s.sbcutdp,
          s.sbcutdn, s.sbcutfn, s.slunlen, s.slgrlen, s.sldplen, s.sldnlen, s.slfnlen,
          s.slcutun, s.slcutgr, s.slcutdp, s.slcutdn, s.slcutfn, s.ssortu,  s.ssortg};
}

TextStyle generalStyle(const RacerSettings& s) {
  return {&s.gbody,  &s.guser,  &s.ggroup, s.gbdplen, s.gbdnlen, s.gbfnlen, s.gbcutdp,
          s.gbcutdn, s.gbcutfn, s.glunlen, s.glgrlen, s.gldplen, s.gldnlen, s.glfnlen,
          s.glcutun, s.glcutgr, s.glcutdp, s.glcutdn, s.glcutfn, s.gsortu,  s.gsortg};
}

void sortList(RacerList& list, char choice) {
  if (choice == 0) {
    list.sortByFiles();
  } else if (choice == 1) {
    list.sortBySize();
  } else {
    list.sortBySpeed();
  }
}

// One rendering of a race: the sfv or the general text chosen once, and
// the figures of the last upload that every template may show.
class StatsText {
 public:
  StatsText(Racer& race, bool ask);

  // The body with its user and group lines. Sorts the race's lists.
  XString body();
  // The MP3 block follows the body only after an MP3 upload, and only when
  // the module shows it.
  bool hasMp3Block() const;
  XString mp3Block() const;

 private:
  // %k and the race's totals, which every template of the text shows; in
  // ask mode "%%" stays for the server.
  void addTotals(XReplaceList& keys) const;
  // The totals and the last upload's %d, %D and %f in a line's widths.
  void addLineKeys(XReplaceList& keys) const;
  // %s, %n, %p, %v and %r of a user or group line.
  void addEntryKeys(XReplaceList& keys, const RacerListEntry& entry, unsigned int rank) const;
  // The lines joined with "\r\n"; `speedTotal` sums the users' average
  // speeds for the body's mean.
  std::string userLines(float& speedTotal);
  std::string groupLines();
  // The sfv text's bar of `percent` per cent.
  XString sfvBar(int percent) const;

  Racer& race_;
  const RacerSettings& settings_;
  const bool ask_;
  const bool sfvText_;
  const TextStyle style_;
  XString virtualPath_;  // less one trailing '/'
  XPath folderName_;     // of the folder that holds the upload
  XPath fileName_;
};

StatsText::StatsText(Racer& race, bool ask)
    : race_(race),
      settings_(*race.settings),
      ask_(ask),
      sfvText_(!race.mySfv.empty() && race.settings->sen),
      style_(sfvText_ ? sfvStyle(settings_) : generalStyle(settings_)),
      virtualPath_(race.lastVirtual),
      folderName_(race.lastFile),
      fileName_(race.lastFile) {
  virtualPath_.dropLast('/');
  folderName_.toParent();
  folderName_.dropLast(platform::kPathSep);
  folderName_.toFileName();
  fileName_.toFileName();
}

void StatsText::addTotals(XReplaceList& keys) const {
  if (ask_) keys.add('%', XString("%%"));
  keys.add('k', sizeText(race_.lastKb));
  if (sfvText_) {
    keys.add('i', sizeText(race_.sfvListedKb));
    keys.add('m', countText(race_.sfvListedFiles));
    keys.add('S', sizeText(race_.sfvUploadedKb));
    keys.add('N', countText(race_.sfvUploadedFiles));
  } else {
    keys.add('S', sizeText(race_.allKb));
    keys.add('N', countText(race_.allFiles));
  }
}

void StatsText::addLineKeys(XReplaceList& keys) const {
  addTotals(keys);
  keys.add('d', column(virtualPath_, style_.ldplen, style_.lcutdp));
  keys.add('D', column(folderName_, style_.ldnlen, style_.lcutdn));
  keys.add('f', column(fileName_, style_.lfnlen, style_.lcutfn));
}

void StatsText::addEntryKeys(XReplaceList& keys, const RacerListEntry& entry,
                             unsigned int rank) const {
  const bool sfv = sfvText_;
  keys.add('s', sizeText(sfv ? entry.sfvKb : entry.kb));
  keys.add('n', countText(sfv ? entry.sfvFiles : entry.filesCount));
  keys.add('p', percentText(sfv ? percentOf(entry.sfvKb, race_.sfvUploadedKb)
                                : percentOf(entry.kb, race_.allKb)));
  keys.add('v', speedText(entry.averageSpeed()));
  keys.add('r', countText(rank));
}

std::string StatsText::userLines(float& speedTotal) {
  sortList(race_.users, style_.sortu);
  std::string lines;
  unsigned int rank = 0;
  for (RacerListEntry* e = race_.users.head; e != nullptr; e = e->next) {
    XFormatedLine line(*style_.userLine);
    addLineKeys(line.keys);
    line.keys.add('u', column(e->name, style_.lunlen, style_.lcutun));
    line.keys.add('g', column(e->group, style_.lgrlen, style_.lcutgr));
    addEntryKeys(line.keys, *e, ++rank);
    speedTotal += e->averageSpeed();
    if (rank > 1) lines += "\r\n";
    lines += line.render().str();
  }
  return lines;
}

std::string StatsText::groupLines() {
  sortList(race_.groups, style_.sortg);
  std::string lines;
  unsigned int rank = 0;
  for (RacerListEntry* e = race_.groups.head; e != nullptr; e = e->next) {
    XFormatedLine line(*style_.groupLine);
    addLineKeys(line.keys);
    line.keys.add('c', countText(e->racers.count));
    line.keys.add('g', column(e->name, style_.lgrlen, style_.lcutgr));
    addEntryKeys(line.keys, *e, ++rank);
    if (rank > 1) lines += "\r\n";
    lines += line.render().str();
  }
  return lines;
}

XString StatsText::sfvBar(int percent) const {
  // Beyond 100 per cent the bar grows past its length, as it always did;
  // only a length far beyond any real bar is capped.
  uint64_t cells = settings_.sbarlen < kMaxPadWidth ? settings_.sbarlen : kMaxPadWidth;
  uint64_t full = cells * static_cast<unsigned int>(percent) / 100;
  if (full > kMaxPadWidth) full = kMaxPadWidth;
  std::string bar;
  for (uint64_t i = 0; i < full; ++i) bar.append(settings_.sbarfull.c_str());
  for (uint64_t i = full; i < cells; ++i) bar.append(settings_.sbarempty.c_str());
  return XString(bar);
}

XString StatsText::body() {
  float speedTotal = 0;
  XString users(userLines(speedTotal));
  XString groups(groupLines());
  XFormatedLine body(*style_.body);
  addTotals(body.keys);
  body.keys.add('u', users);
  body.keys.add('g', groups);
  body.keys.add('d', column(virtualPath_, style_.bdplen, style_.bcutdp));
  body.keys.add('D', column(folderName_, style_.bdnlen, style_.bcutdn));
  body.keys.add('f', column(fileName_, style_.bfnlen, style_.bcutfn));
  const unsigned int userCount = race_.users.count;
  float meanSpeed = userCount == 0 ? 0.0f : speedTotal / static_cast<float>(userCount);
  body.keys.add('v', speedText(meanSpeed));
  if (sfvText_) {
    int percent = percentOf(race_.sfvUploadedFiles, race_.sfvListedFiles);
    body.keys.add('p', percentText(percent));
    body.keys.add('b', sfvBar(percent));
  }
  return body.render();
}

bool StatsText::hasMp3Block() const {
  return settings_.men && extensionOrName(race_.lastFile).equalsNoCase(XString("mp3"));
}

XString StatsText::mp3Block() const {
  MP3Info info;
  info.read(race_.lastFile);
  const RacerSettings& s = settings_;
  XFormatedLine block(s.mbody);
  if (ask_) block.keys.add('%', XString("%%"));
  // The tag's texts are shown as the tag has them, but for control bytes,
  // which have no business in a text file.
  block.keys.add('B', column(XString(info.bitrate), 3, false));
  block.keys.add('a', column(printableText(info.artist), s.marlen, s.mcutar));
  block.keys.add('A', column(printableText(info.album), s.mallen, s.mcutal));
  block.keys.add('g', column(printableText(info.genre), s.mgelen, s.mcutge));
  block.keys.add('y', column(XString(info.year), 4, false));
  block.keys.add('m', column(XString(info.versionText), s.mmmlen, s.mcutmm));
  block.keys.add('f', column(XString(info.sampleRate), 5, false));
  block.keys.add('M', column(XString(info.modeText), 12, false));
  block.keys.add('c', column(printableText(info.comment), s.mcolen, s.mcutco));
  return block.render();
}

}  // namespace

bool Racer::writeStats(const XString& path, bool ask) {
  if (settings == nullptr) return false;
  XFile out;
  out.openReplacing(path.c_str(), true);
  if (!out.isOpen()) return false;
  // The reply to the server starts with its "0" line.
  if (ask) out << XString("0\n");
  StatsText text(*this, ask);
  out << text.body();
  if (text.hasMp3Block()) out << text.mp3Block();
  return out.commit();
}
