#include "settings/mconfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::items;

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string golden(const std::string& name) {
  return std::string(BRINDLE_SOURCE_DIR) + "/settings/testdata/" + name;
}

std::vector<std::string> lines(const XString& text) {
  std::vector<std::string> out;
  std::string s = text.str();
  size_t start = 0;
  for (size_t at; (at = s.find("\r\n", start)) != std::string::npos; start = at + 2) {
    out.push_back(s.substr(start, at - start));
  }
  EXPECT_EQ(start, s.size()) << "the last line ends in CR LF";
  return out;
}

// Values of the independent writer's non-default module files, as in the
// global settings test: "m<item>-text", 100000 + item, lists reversed by the
// load, switches the opposite of the default.
XString text(int item) { return XString("m" + std::to_string(item) + "-text"); }
unsigned int number(int item) { return 100000u + item; }
std::vector<std::string> reversedList(int item) {
  return {"m" + std::to_string(item) + "-b", "m" + std::to_string(item) + "-a"};
}

// `c` was loaded from the values file of `v` into a record that held
// `before`.
void expectValues(const MConfig& c, unsigned int v, const MConfig& before) {
  MConfig d;
  d.setDefaults(0);
  EXPECT_EQ(c.version, 956u);
  EXPECT_EQ(c.chmod.touser, !d.chmod.touser);
  EXPECT_EQ(c.chmod.username, text(4));
  EXPECT_EQ(c.chmod.group, text(5));
  EXPECT_EQ(c.chmod.allow, text(6));
  EXPECT_EQ(c.sfvm, 2);
  EXPECT_EQ(c.sfvm_pat, text(8));
  EXPECT_EQ(c.sfvm_patmul, text(9));
  EXPECT_EQ(c.mcd_sfvm, !d.mcd_sfvm);
  EXPECT_EQ(c.sfvi, 0);
  EXPECT_EQ(c.sfvi_pat, text(12));
  EXPECT_EQ(c.sfvi_patmul, text(13));
  EXPECT_EQ(c.mcd_sfvi, !d.mcd_sfvi);
  EXPECT_EQ(c.mfiles, 2);
  EXPECT_EQ(c.mfiles_pat, text(16));
  EXPECT_EQ(c.ad_en, !d.ad_en);
  EXPECT_EQ(c.ad_file, text(18));
  EXPECT_EQ(c.sfv_force, !d.sfv_force);
  EXPECT_EQ(c.sfv_oneonly, !d.sfv_oneonly);
  EXPECT_EQ(c.sfv_insfv, !d.sfv_insfv);
  EXPECT_EQ(items(c.sfv_filelist), reversedList(22));
  if (v >= 955) {
    EXPECT_EQ(items(c.sfv_dirlist), reversedList(23));
  } else {
    EXPECT_EQ(items(c.sfv_dirlist), items(before.sfv_dirlist));
  }
  EXPECT_EQ(c.pb.mode, 2);
  EXPECT_EQ(c.pb.len, number(25));
  EXPECT_EQ(c.pb.empty, text(26));
  EXPECT_EQ(c.pb.full, text(27));
  EXPECT_EQ(c.pb.incpat, text(28));
  EXPECT_EQ(c.pb.compat, text(29));
  EXPECT_EQ(c.pb.incpatmul, text(30));
  EXPECT_EQ(c.pb.compatmul, text(31));
  // Version 96 has no merge switch of its own: it follows the tag info's.
  EXPECT_EQ(c.pb.merge, v >= 97 ? !d.pb.merge : c.tinfo.merge);
  EXPECT_EQ(c.pb.mcd, !d.pb.mcd);
  EXPECT_EQ(c.move_en, !d.move_en);
  EXPECT_EQ(c.move_dir, text(35));
  EXPECT_EQ(c.tinfo.mode, 1);
  EXPECT_EQ(c.tinfo.id, text(37));
  EXPECT_EQ(c.tinfo.format, text(38));
  EXPECT_EQ(c.tinfo.mergepat, text(39));
  EXPECT_EQ(c.tinfo.idmul, text(40));
  EXPECT_EQ(c.tinfo.formatmul, text(41));
  EXPECT_EQ(c.tinfo.mergepatmul, text(42));
  EXPECT_EQ(c.tinfo.mcd, !d.tinfo.mcd);
  EXPECT_EQ(c.tinfo.merge, !d.tinfo.merge);
  EXPECT_EQ(c.tinfo.last, !d.tinfo.last);
  EXPECT_EQ(c.m3u_deny, !d.m3u_deny);
  EXPECT_EQ(c.m3u_create, !d.m3u_create);
  EXPECT_EQ(c.m3u_skip, !d.m3u_skip);
  EXPECT_EQ(c.cinfo, 2);
  EXPECT_EQ(c.badf, 1);
  if (v >= 954) {
    EXPECT_EQ(c.specialndl, !d.specialndl);
    EXPECT_EQ(c.ndlspecial_file, text(52));
  } else {
    EXPECT_EQ(c.specialndl, before.specialndl);
    EXPECT_EQ(c.ndlspecial_file, before.ndlspecial_file);
  }
  EXPECT_EQ(c.ndlspecial_addmain, v >= 956 ? !d.ndlspecial_addmain : before.ndlspecial_addmain);

  const RacerSettings& r = c.racer;
  const RacerSettings& rd = d.racer;
  EXPECT_EQ(r.gbody, text(54));
  EXPECT_EQ(r.guser, text(55));
  EXPECT_EQ(r.ggroup, text(56));
  EXPECT_EQ(r.gbdplen, number(57));
  EXPECT_EQ(r.gbdnlen, number(58));
  EXPECT_EQ(r.gbfnlen, number(59));
  EXPECT_EQ(r.gbcutdp, !rd.gbcutdp);
  EXPECT_EQ(r.gbcutdn, !rd.gbcutdn);
  EXPECT_EQ(r.gbcutfn, !rd.gbcutfn);
  EXPECT_EQ(r.glunlen, number(63));
  EXPECT_EQ(r.glgrlen, number(64));
  EXPECT_EQ(r.gldplen, number(65));
  EXPECT_EQ(r.gldnlen, number(66));
  EXPECT_EQ(r.glfnlen, number(67));
  EXPECT_EQ(r.glcutun, !rd.glcutun);
  EXPECT_EQ(r.glcutgr, !rd.glcutgr);
  EXPECT_EQ(r.glcutdp, !rd.glcutdp);
  EXPECT_EQ(r.glcutdn, !rd.glcutdn);
  EXPECT_EQ(r.glcutfn, !rd.glcutfn);
  EXPECT_EQ(r.gsortu, 2);
  EXPECT_EQ(r.gsortg, 0);
  EXPECT_EQ(r.sbody, text(75));
  EXPECT_EQ(r.suser, text(76));
  EXPECT_EQ(r.sgroup, text(77));
  EXPECT_EQ(r.sbdplen, number(78));
  EXPECT_EQ(r.sbdnlen, number(79));
  EXPECT_EQ(r.sbfnlen, number(80));
  EXPECT_EQ(r.sbcutdp, !rd.sbcutdp);
  EXPECT_EQ(r.sbcutdn, !rd.sbcutdn);
  EXPECT_EQ(r.sbcutfn, !rd.sbcutfn);
  EXPECT_EQ(r.slunlen, number(84));
  EXPECT_EQ(r.slgrlen, number(85));
  EXPECT_EQ(r.sldplen, number(86));
  EXPECT_EQ(r.sldnlen, number(87));
  EXPECT_EQ(r.slfnlen, number(88));
  EXPECT_EQ(r.slcutun, !rd.slcutun);
  EXPECT_EQ(r.slcutgr, !rd.slcutgr);
  EXPECT_EQ(r.slcutdp, !rd.slcutdp);
  EXPECT_EQ(r.slcutdn, !rd.slcutdn);
  EXPECT_EQ(r.slcutfn, !rd.slcutfn);
  EXPECT_EQ(r.sbarempty, text(94));
  EXPECT_EQ(r.sbarfull, text(95));
  EXPECT_EQ(r.sbarlen, number(96));
  EXPECT_EQ(r.ssortu, 0);
  EXPECT_EQ(r.ssortg, 2);
  EXPECT_EQ(r.mbody, text(99));
  EXPECT_EQ(r.marlen, number(100));
  EXPECT_EQ(r.mallen, number(101));
  EXPECT_EQ(r.mgelen, number(102));
  EXPECT_EQ(r.mmmlen, number(103));
  EXPECT_EQ(r.mcolen, number(104));
  EXPECT_EQ(r.mcutar, !rd.mcutar);
  EXPECT_EQ(r.mcutal, !rd.mcutal);
  EXPECT_EQ(r.mcutge, !rd.mcutge);
  EXPECT_EQ(r.mcutmm, !rd.mcutmm);
  EXPECT_EQ(r.mcutco, !rd.mcutco);
  EXPECT_EQ(r.en, !rd.en);
  EXPECT_EQ(r.sen, !rd.sen);
  EXPECT_EQ(r.men, !rd.men);
  EXPECT_EQ(r.chmod, v >= 956 ? !rd.chmod : before.racer.chmod);
}

std::string stored(MConfig& c, const ScopedTempDir& temp) {
  std::string path = temp.at("stored.bcm");
  EXPECT_TRUE(c.save(path.c_str()));
  return readFile(path);
}

TEST(MConfigTest, DefaultsSaveAsTheIndependentWriterDoes) {
  ScopedTempDir temp;
  MConfig c;
  c.setDefaults(0);
  std::string path = temp.at("default.bcm");
  ASSERT_TRUE(c.save(path.c_str()));
  EXPECT_EQ(readFile(path), readFile(golden("module-956-defaults.bcm")));
  EXPECT_EQ(items(c.sfv_filelist), (std::vector<std::string>{"*.nfo", "*.m3u"}));

  // After one save and load the list order is reversed.
  MConfig loaded;
  ASSERT_TRUE(loaded.load(path.c_str()));
  EXPECT_EQ(items(loaded.sfv_filelist), (std::vector<std::string>{"*.m3u", "*.nfo"}));
}

TEST(MConfigTest, DefaultRaceTemplatesHaveTheirShape) {
  MConfig c;
  c.setDefaults(0);
  const RacerSettings& r = c.racer;
  std::vector<std::string> g = lines(r.gbody), s = lines(r.sbody), m = lines(r.mbody);
  ASSERT_EQ(g.size(), 19u);
  ASSERT_EQ(s.size(), 21u);
  ASSERT_EQ(m.size(), 11u);

  // The banner: four lines of block characters, '_', '|' and blanks.
  const std::vector<size_t> widths = {19, 36, 35, 44};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(g[i], s[i]);
    EXPECT_EQ(g[i].size(), widths[i]);
    std::string drawing = i == 3 ? g[i].substr(0, g[i].size() - 7) : g[i];
    for (char ch : drawing) {
      unsigned char u = static_cast<unsigned char>(ch);
      EXPECT_TRUE(u == 0xDB || u == 0xDC || u == 0xDF || ch == '_' || ch == '|' || ch == ' ');
    }
  }
  EXPECT_EQ(g[3].substr(37), "POWERED");
  // Body S repeats body G's table from the racer heading on.
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(s[11 + i], g[9 + i]);
  EXPECT_EQ(g[9].find("| Racer "), 7u);
  EXPECT_EQ(s[7], "| file passed the crc check successfully                              |");

  // The MP3 block shows the comment on its comment line, and the large
  // letters end at the stated columns.
  EXPECT_EQ(m[5], "| [COMMENT: %c                        ] |");
  EXPECT_EQ(m[3], "| [  GENRE: %g                        ] |");
  const std::vector<size_t> ends = {56, 68, 61, 71};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(m[7 + i].size(), ends[i]);
  EXPECT_EQ(m[10].substr(0, 54), std::string(25, ' ') + "\\" + std::string(28, '_'));

  EXPECT_EQ(r.guser, "| --   | %u | %g |    %n | %s | %p | %v |");
  EXPECT_EQ(r.sgroup, "| --   | %g | %c         |    %n | %s | %p | %v |");
}

TEST(MConfigTest, SetDefaultsKeepsTheFolderListAndIgnoresOtherValues) {
  MConfig c;
  c.sfv_dirlist.add("/keep/");
  c.sfv_filelist.add("*.old");
  c.setDefaults(0);
  EXPECT_EQ(items(c.sfv_dirlist), (std::vector<std::string>{"/keep/"}));
  EXPECT_EQ(items(c.sfv_filelist), (std::vector<std::string>{"*.nfo", "*.m3u", "*.old"}));

  MConfig other;
  other.version = 5;
  other.setDefaults(1);
  EXPECT_EQ(other.version, 5u);
  EXPECT_TRUE(other.racer.gbody.empty());
}

TEST(MConfigTest, LoadsEveryVersion) {
  ScopedTempDir temp;
  for (unsigned int v : {956u, 955u, 954u, 97u, 96u}) {
    SCOPED_TRACE(v);
    std::string name = golden("module-" + std::to_string(v) + "-values.bcm");
    MConfig built;
    MConfig fresh;
    ASSERT_TRUE(built.load(name.c_str()));
    expectValues(built, v, fresh);

    MConfig withDefaults;
    withDefaults.setDefaults(0);
    withDefaults.sfv_dirlist.add("/kept/");
    MConfig before;
    before.setDefaults(0);
    before.sfv_dirlist.add("/kept/");
    ASSERT_TRUE(withDefaults.load(name.c_str()));
    expectValues(withDefaults, v, before);

    // Saved again it is a version-956 file with every item, loading the same.
    std::string path = temp.at("upgraded.bcm");
    ASSERT_TRUE(withDefaults.save(path.c_str()));
    EXPECT_EQ(readFile(path).substr(41, 4), std::string("\xbc\x03\0\0", 4));
    MConfig again;
    ASSERT_TRUE(again.load(path.c_str()));
    EXPECT_EQ(again.racer.chmod, withDefaults.racer.chmod);
    EXPECT_EQ(again.pb.merge, withDefaults.pb.merge);
    EXPECT_EQ(items(again.sfv_dirlist).size(), items(withDefaults.sfv_dirlist).size());
  }
}

TEST(MConfigTest, RoundTripReversesListsOnEachLoad) {
  ScopedTempDir temp;
  std::string once = temp.at("once.bcm"), twice = temp.at("twice.bcm");
  MConfig a;
  ASSERT_TRUE(a.load(golden("module-956-values.bcm").c_str()));
  ASSERT_TRUE(a.save(once.c_str()));
  EXPECT_NE(readFile(once), readFile(golden("module-956-values.bcm")));
  MConfig b;
  ASSERT_TRUE(b.load(once.c_str()));
  ASSERT_TRUE(b.save(twice.c_str()));
  EXPECT_EQ(readFile(twice), readFile(golden("module-956-values.bcm")));
}

TEST(MConfigTest, RefusedFilesChangeNothing) {
  ScopedTempDir temp;
  MConfig c;
  c.setDefaults(0);
  const std::string before = stored(c, temp);
  std::string path = temp.at("bad.bcm");
  EXPECT_FALSE(c.load(temp.at("missing.bcm").c_str()));
  writeFile(path, "");
  EXPECT_FALSE(c.load(path.c_str()));
  std::string good = readFile(golden("module-956-values.bcm"));
  std::string wrong = good;
  wrong[16] = 'M';
  writeFile(path, wrong);
  EXPECT_FALSE(c.load(path.c_str()));
  EXPECT_EQ(stored(c, temp), before);
  for (unsigned int v : {953u, 957u, 98u}) {
    std::string other = good;
    other[41] = static_cast<char>(v & 0xff);
    other[42] = static_cast<char>(v >> 8);
    writeFile(path, other);
    EXPECT_FALSE(c.load(path.c_str()));
    EXPECT_EQ(c.version, v);
    c.version = 956;
    EXPECT_EQ(stored(c, temp), before);
  }
  XFile closed;
  EXPECT_FALSE(c.write(closed));
}

TEST(MConfigTest, TruncatedAtEveryOffset) {
  ScopedTempDir temp;
  MConfig c;
  c.setDefaults(0);
  const std::string before = stored(c, temp);
  std::string path = temp.at("cut.bcm");
  for (const char* name :
       {"module-956-values.bcm", "module-96-values.bcm", "module-956-defaults.bcm"}) {
    SCOPED_TRACE(name);
    std::string whole = readFile(golden(name));
    for (size_t n = 0; n < whole.size(); ++n) {
      writeFile(path, whole.substr(0, n));
      ASSERT_FALSE(c.load(path.c_str())) << "cut at " << n;
    }
    EXPECT_EQ(stored(c, temp), before);
  }
}

}  // namespace
