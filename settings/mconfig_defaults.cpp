// The defaults of a module's settings, with the race statistics templates.
#include <string>

#include "settings/mconfig.h"

namespace {

// The banner and the large letters are drawn with stand-ins that map to
// the block characters of the OEM code page: '#' full block (0xDB), '.'
// lower half block (0xDC), '\'' upper half block (0xDF). The bytes are
// stored as they stand; no code page is converted anywhere.
std::string drawn(const char* pattern) {
  std::string out;
  for (const char* p = pattern; *p != 0; ++p) {
    switch (*p) {
      case '#':
        out.push_back(static_cast<char>(0xDB));
        break;
      case '.':
        out.push_back(static_cast<char>(0xDC));
        break;
      case '\'':
        out.push_back(static_cast<char>(0xDF));
        break;
      default:
        out.push_back(*p);
    }
  }
  return out;
}

// Four lines of 19, 36, 35 and 44 characters.
const char* const kBanner[] = {
    "#''''. #'''' ......",
    "#....' #     #'''''''''''''''''''''#",
    "#    # #     # __|__|__|__|__|__|__",
    "''''' '''''  '''''''''''''''''''' __ POWERED",
};

const std::string kFrameLine = "+" + std::string(69, '=') + "+";
const std::string kRuleLine =
    "+------+------------+------------+-------+-----------+-----+----------+";
const std::string kBlankLine = "|" + std::string(69, ' ') + "|";
const std::string kPeriodLine = "." + std::string(69, '-') + ".";

// Every line of a race template ends in CR LF, the last one too.
void addLine(XString& text, const std::string& line) {
  text += XString(line);
  text += "\r\n";
}

XString banner() {
  XString text;
  for (const char* line : kBanner) addLine(text, drawn(line));
  return text;
}

// The part of bodies G and S from the racer heading to the end.
XString raceTable() {
  XString text;
  addLine(text, "|      | Racer      | Group      | Files | Size      |  %%  |   KB/s   |");
  addLine(text, kRuleLine);
  addLine(text, "%u");
  addLine(text, kFrameLine);
  addLine(text, "|      | Group      | Racers     | Files | Size      |  %%  |   KB/s   |");
  addLine(text, kRuleLine);
  addLine(text, "%g");
  addLine(text, kFrameLine);
  addLine(text, "| Section: general  | TotSize: %S | Avg speed: %v        |");
  addLine(text, "`-------------------+--------------------+----------------------------'");
  return text;
}

XString generalBody() {
  XString text = banner();
  addLine(text, kPeriodLine);
  addLine(text, kBlankLine);
  addLine(text, "| [FILE: %f ] |");
  addLine(text, kBlankLine);
  addLine(text, kFrameLine);
  text += raceTable();
  return text;
}

XString sfvBody() {
  XString text = banner();
  addLine(text, kPeriodLine);
  addLine(text, kBlankLine);
  addLine(text, "| [FILE: %f ] |");
  addLine(text, "| file passed the crc check successfully                              |");
  addLine(text, kBlankLine);
  addLine(text, "| %p%% [%b] [%N/%m] |");
  addLine(text, kFrameLine);
  text += raceTable();
  return text;
}

// The MP3 block; its last four lines end in the large letters M P 3 at
// columns 56, 68, 61 and 71. The comment line shows the comment (%c).
XString mp3Body() {
  XString text;
  addLine(text, ".-----------------=======[ MP3 Information ]=======-------------------.");
  addLine(text, "| [ ARTiST: %a                        ] |");
  addLine(text, "| [  ALBUM: %A                        ] |");
  addLine(text, "| [  GENRE: %g                        ] |");
  addLine(text, "| [   YEAR: %y                                                    ] |");
  addLine(text, "| [COMMENT: %c                        ] |");
  addLine(text, "+" + std::string(69, '-') + "+");
  addLine(text, "| [  %m  ]  [   BiTRATE: %B kbps   ]     __  __ ___ ____");
  addLine(text, "|                         [    FREQ: %f hz     ]    |  \\/  | _ \\__ /");
  addLine(text, "|________________________ [    MODE: %M ]    | |\\/| |  _/|_ \\");
  addLine(text, std::string(25, ' ') + "\\" + std::string(28, '_') + " |_|  |_|_| |___/");
  return text;
}

}  // namespace

void MConfig::setDefaults(int value) {
  if (value != 0) return;
  version = 956;

  chmod.touser = true;
  chmod.username = "Brindlecast";
  chmod.group = "default";
  chmod.allow = "764";
  sfvm = 1;
  sfvm_pat = "%n - SFV missing";
  sfvm_patmul = "%b-%n - SFV missing";
  mcd_sfvm = true;
  sfvi = 1;
  sfvi_pat = "%n - SFV incomplete";
  sfvi_patmul = "%b-%n - SFV incomplete";
  mcd_sfvi = true;
  mfiles = 1;
  mfiles_pat = "%n-missing";
  ad_en = false;
  ad_file = "";
  sfv_force = false;
  sfv_oneonly = false;
  sfv_insfv = false;
  sfv_filelist.add("*.m3u");
  sfv_filelist.add("*.nfo");

  pb.mode = 1;
  pb.len = 10;
  pb.empty = "--";
  pb.full = "%";
  pb.incpat = "[%b] - %p%% - %F of %o files uploaded";
  pb.compat = "[COMPLETED] - %sMB in %o files";
  pb.incpatmul = "[%b] - %p%% - %F of %o files uploaded in %P";
  pb.compatmul = "[%P COMPLETED] - %sMB in %o files";
  pb.merge = true;
  pb.mcd = false;
  move_en = false;
  move_dir = "";

  tinfo.mode = 2;
  tinfo.id = "TAG";
  tinfo.format = " %B  -  %a  -  %y  -  %g";
  tinfo.mergepat = "[COMPLETED] - %s in %o files using %B - %a - %y - %g";
  tinfo.idmul = "TAG";
  tinfo.formatmul = " %B  -  %a  -  %y  -  %g in %P";
  tinfo.mergepatmul = "[%P COMPLETED] - %s in %o files using %B - %a - %y - %g";
  tinfo.mcd = false;
  tinfo.merge = true;
  tinfo.last = true;

  m3u_deny = false;
  m3u_create = false;
  m3u_skip = false;
  cinfo = 0;
  badf = 2;
  specialndl = false;
  ndlspecial_file = "";
  ndlspecial_addmain = false;

  const XString userLine = "| --   | %u | %g |    %n | %s | %p | %v |";
  const XString groupLine = "| --   | %g | %c         |    %n | %s | %p | %v |";
  RacerSettings& r = racer;
  r.gbody = generalBody();
  r.guser = userLine;
  r.ggroup = groupLine;
  r.gbdplen = 30;
  r.gbdnlen = 30;
  r.gbfnlen = 58;
  r.gbcutdp = false;
  r.gbcutdn = false;
  r.gbcutfn = false;
  r.glunlen = 10;
  r.glgrlen = 10;
  r.gldplen = 30;
  r.gldnlen = 30;
  r.glfnlen = 30;
  r.glcutun = true;
  r.glcutgr = true;
  r.glcutdp = false;
  r.glcutdn = false;
  r.glcutfn = false;
  r.gsortu = 1;
  r.gsortg = 1;

  r.sbody = sfvBody();
  r.suser = userLine;
  r.sgroup = groupLine;
  r.sbdplen = 30;
  r.sbdnlen = 30;
  r.sbfnlen = 58;
  r.sbcutdp = false;
  r.sbcutdn = false;
  r.sbcutfn = false;
  r.slunlen = 10;
  r.slgrlen = 10;
  r.sldplen = 30;
  r.sldnlen = 30;
  r.slfnlen = 30;
  r.slcutun = true;
  r.slcutgr = true;
  r.slcutdp = false;
  r.slcutdn = false;
  r.slcutfn = false;
  r.sbarempty = ":";
  r.sbarfull = "#";
  r.sbarlen = 52;
  r.ssortu = 1;
  r.ssortg = 1;

  r.mbody = mp3Body();
  r.marlen = 32;
  r.mallen = 32;
  r.mgelen = 32;
  r.mmmlen = 16;
  r.mcolen = 32;
  r.mcutar = false;
  r.mcutal = false;
  r.mcutge = false;
  r.mcutmm = false;
  r.mcutco = false;
  r.en = true;
  r.sen = true;
  r.men = true;
  r.chmod = true;
}
