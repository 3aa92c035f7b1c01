// The race statistics text: the module's templates rendered from a race,
// for the reply to the server and for the release's ".message".
#include <string>

#include "foundation/numbers.h"
#include "foundation/xfile.h"
#include "media/mp3_info.h"
#include "platform/paths.h"
#include "race/racer.h"
#include "stores/formated_line.h"

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

XString extensionOf(const XString& path) {
  XString ext(path);
  if (ext.findLast('.') >= 0) ext.keepAfterLast('.');
  return ext;
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

}  // namespace

bool Racer::writeStats(const XString& path, bool ask) {
  if (settings == nullptr) return false;
  XFile out;
  out.openReplacing(path.c_str(), true);
  if (!out.isOpen()) return false;

  const bool sfvText = !mySfv.empty() && settings->sen;
  const TextStyle style = sfvText ? sfvStyle(*settings) : generalStyle(*settings);
  if (ask) out << XString("0\n");

  // What the last upload gives every template.
  XString virtualPath(lastVirtual);
  virtualPath.dropLast('/');
  XPath folderName(lastFile);
  folderName.toParent();
  folderName.dropLast(platform::kPathSep);
  folderName.toFileName();
  XPath fileName(lastFile);
  fileName.toFileName();

  auto shared = [&](XReplaceList& keys) {
    if (ask) keys.add('%', XString("%%"));
    keys.add('k', sizeText(lastKb));
    if (sfvText) {
      keys.add('i', sizeText(sfvListedKb));
      keys.add('m', countText(sfvListedFiles));
      keys.add('S', sizeText(sfvUploadedKb));
      keys.add('N', countText(sfvUploadedFiles));
    } else {
      keys.add('S', sizeText(allKb));
      keys.add('N', countText(allFiles));
    }
  };
  auto lineShared = [&](XReplaceList& keys) {
    shared(keys);
    keys.add('d', column(virtualPath, style.ldplen, style.lcutdp));
    keys.add('D', column(folderName, style.ldnlen, style.lcutdn));
    keys.add('f', column(fileName, style.lfnlen, style.lcutfn));
  };
  auto entryValues = [&](XReplaceList& keys, const RacerListEntry& e, unsigned int rank) {
    keys.add('s', sizeText(sfvText ? e.sfvKb : e.kb));
    keys.add('n', countText(sfvText ? e.sfvFiles : e.filesCount));
    keys.add('p',
             percentText(sfvText ? percentOf(e.sfvKb, sfvUploadedKb) : percentOf(e.kb, allKb)));
    keys.add('v', speedText(e.averageSpeed()));
    keys.add('r', countText(rank));
  };

  sortList(users, style.sortu);
  std::string userLines;
  float speedTotal = 0;
  unsigned int rank = 0;
  for (RacerListEntry* e = users.head; e != nullptr; e = e->next) {
    XFormatedLine line(*style.userLine);
    lineShared(line.keys);
    line.keys.add('u', column(e->name, style.lunlen, style.lcutun));
    line.keys.add('g', column(e->group, style.lgrlen, style.lcutgr));
    entryValues(line.keys, *e, ++rank);
    speedTotal += e->averageSpeed();
    if (rank > 1) userLines += "\r\n";
    userLines += line.render().str();
  }

  sortList(groups, style.sortg);
  std::string groupLines;
  rank = 0;
  for (RacerListEntry* e = groups.head; e != nullptr; e = e->next) {
    XFormatedLine line(*style.groupLine);
    lineShared(line.keys);
    line.keys.add('c', countText(e->racers.count));
    line.keys.add('g', column(e->name, style.lgrlen, style.lcutgr));
    entryValues(line.keys, *e, ++rank);
    if (rank > 1) groupLines += "\r\n";
    groupLines += line.render().str();
  }

  XFormatedLine body(*style.body);
  shared(body.keys);
  body.keys.add('u', XString(userLines));
  body.keys.add('g', XString(groupLines));
  body.keys.add('d', column(virtualPath, style.bdplen, style.bcutdp));
  body.keys.add('D', column(folderName, style.bdnlen, style.bcutdn));
  body.keys.add('f', column(fileName, style.bfnlen, style.bcutfn));
  float meanSpeed = users.count == 0 ? 0.0f : speedTotal / static_cast<float>(users.count);
  body.keys.add('v', speedText(meanSpeed));
  if (sfvText) {
    int percent = percentOf(sfvUploadedFiles, sfvListedFiles);
    body.keys.add('p', percentText(percent));
    // Beyond 100 per cent the bar grows past its length, as it always did;
    // only a length far beyond any real bar is capped.
    uint64_t cells = settings->sbarlen < kMaxPadWidth ? settings->sbarlen : kMaxPadWidth;
    uint64_t full = cells * static_cast<unsigned int>(percent) / 100;
    if (full > kMaxPadWidth) full = kMaxPadWidth;
    std::string bar;
    for (uint64_t i = 0; i < full; ++i) bar.append(settings->sbarfull.c_str());
    for (uint64_t i = full; i < cells; ++i) bar.append(settings->sbarempty.c_str());
    body.keys.add('b', XString(bar));
  }
  out << body.render();

  if (settings->men && extensionOf(lastFile).equalsNoCase(XString("mp3"))) {
    MP3Info info;
    info.read(lastFile);
    XFormatedLine block(settings->mbody);
    if (ask) block.keys.add('%', XString("%%"));
    block.keys.add('B', column(XString(info.bitrate), 3, false));
    block.keys.add('a', column(XString(info.artist), settings->marlen, settings->mcutar));
    block.keys.add('A', column(XString(info.album), settings->mallen, settings->mcutal));
    block.keys.add('g', column(XString(info.genre), settings->mgelen, settings->mcutge));
    block.keys.add('y', column(XString(info.year), 4, false));
    block.keys.add('m', column(XString(info.versionText), settings->mmmlen, settings->mcutmm));
    block.keys.add('f', column(XString(info.sampleRate), 5, false));
    block.keys.add('M', column(XString(info.modeText), 12, false));
    block.keys.add('c', column(XString(info.comment), settings->mcolen, settings->mcutco));
    out << block.render();
  }
  return out.commit();
}
