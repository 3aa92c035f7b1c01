#include "media/id3v1_tag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/mp3_test_bytes.h"

namespace {

ID3v1Tag parsed(const std::string& block) {
  ID3v1Tag tag;
  EXPECT_EQ(block.size(), kID3v1TagSize);
  EXPECT_TRUE(tag.parse(reinterpret_cast<const unsigned char*>(block.data())));
  return tag;
}

TEST(CopyTrimmed, DropsTrailingBlanksAndNuls) {
  char out[31];
  std::memset(out, 'x', sizeof out);
  copyTrimmed(out, "Artist \0 \0\0  ", 13);
  EXPECT_STREQ("Artist", out);

  copyTrimmed(out, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", 30);
  EXPECT_STREQ("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", out);

  copyTrimmed(out, "  a b  ", 7);
  EXPECT_STREQ("  a b", out);

  copyTrimmed(out, "   \0\0", 5);
  EXPECT_STREQ("", out);

  // Only n bytes are taken, whatever follows them.
  copyTrimmed(out, "abcdef", 3);
  EXPECT_STREQ("abc", out);
}

TEST(ID3v1Tag, RejectsBlockWithoutMarker) {
  std::string block = mp3_test::id3v1("t", "a", "b", "1999", "c", 1);
  block[0] = 'X';
  ID3v1Tag tag;
  EXPECT_FALSE(tag.parse(reinterpret_cast<const unsigned char*>(block.data())));
  EXPECT_STREQ("", tag.artist());
  EXPECT_EQ(0.0f, tag.tagVersion());
}

TEST(ID3v1Tag, ReadsFieldsAndTellsVersions) {
  std::string comment11(28, 'c');
  comment11 += std::string("\0\7", 2);
  ID3v1Tag v11 = parsed(mp3_test::id3v1("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "Artist   ", "Album",
                                        "1999", comment11, 17));
  EXPECT_STREQ("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", v11.title());
  EXPECT_STREQ("Artist", v11.artist());
  EXPECT_STREQ("Album", v11.album());
  EXPECT_EQ(1999, v11.year());
  EXPECT_FLOAT_EQ(1.1f, v11.tagVersion());
  EXPECT_EQ(7, v11.track());
  EXPECT_EQ(std::string(28, 'c'), v11.comment());
  EXPECT_STREQ("Rock", v11.genreName());

  // Byte 126 zero: a 1.0 tag, whose comment may use all 30 bytes.
  ID3v1Tag zeroTrack = parsed(mp3_test::id3v1("", "", "", "", std::string("short\0\0", 7), 0));
  EXPECT_FLOAT_EQ(1.0f, zeroTrack.tagVersion());
  EXPECT_EQ(0, zeroTrack.track());
  EXPECT_STREQ("short", zeroTrack.comment());

  ID3v1Tag v10 = parsed(mp3_test::id3v1("", "", "", "", "a comment of thirty characters", 0));
  EXPECT_FLOAT_EQ(1.0f, v10.tagVersion());
  EXPECT_EQ(0, v10.track());
  EXPECT_STREQ("a comment of thirty characters", v10.comment());
}

TEST(ID3v1Tag, ReadsYearFromItsFourBytesOnly) {
  // The comment follows the year without a break; it must not run on.
  EXPECT_EQ(1999, parsed(mp3_test::id3v1("", "", "", "1999", "2001 live", 0)).year());
  EXPECT_EQ(0, parsed(mp3_test::id3v1("", "", "", "    ", "12", 0)).year());
  EXPECT_EQ(0, parsed(mp3_test::id3v1("", "", "", "0000", "", 0)).year());
  EXPECT_EQ(0, parsed(mp3_test::id3v1("", "", "", "", "1234", 0)).year());
  EXPECT_EQ(42, parsed(mp3_test::id3v1("", "", "", " 42x", "", 0)).year());
  EXPECT_EQ(-12, parsed(mp3_test::id3v1("", "", "", "-12", "3", 0)).year());
  EXPECT_EQ(0, parsed(mp3_test::id3v1("", "", "", "ab12", "", 0)).year());
}

TEST(ID3v1Tag, NamesGenres) {
  EXPECT_STREQ("Blues", genreNameOf(0));
  EXPECT_STREQ("Pop/Funk", genreNameOf(62));
  EXPECT_STREQ("Psychadelic", genreNameOf(67));
  EXPECT_STREQ("Rock & Roll", genreNameOf(78));
  EXPECT_STREQ("Drum & Bass", genreNameOf(127));
  EXPECT_STREQ("Trash Metal", genreNameOf(144));
  EXPECT_STREQ("Synthpop", genreNameOf(147));
  EXPECT_STREQ("unknown", genreNameOf(148));
  EXPECT_STREQ("unknown", genreNameOf(255));
  // Every named entry is there once: a missing comma would merge two.
  std::set<std::string> names;
  for (int g = 0; g < kGenreCount; ++g) names.insert(genreNameOf(static_cast<unsigned char>(g)));
  EXPECT_EQ(static_cast<size_t>(kGenreCount), names.size());
  EXPECT_EQ(0u, names.count("unknown"));
}

}  // namespace
