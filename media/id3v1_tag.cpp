#include "media/id3v1_tag.h"

#include <cstdlib>
#include <cstring>

namespace {

// Field offsets of the tag block.
constexpr size_t kTitleAt = 3;
constexpr size_t kArtistAt = 33;
constexpr size_t kAlbumAt = 63;
constexpr size_t kYearAt = 93;
constexpr size_t kCommentAt = 97;
constexpr size_t kTrackMarkAt = 125;  // NUL in a 1.1 tag
constexpr size_t kTrackAt = 126;
constexpr size_t kGenreAt = 127;
constexpr size_t kTextLength = 30;
constexpr size_t kShortCommentLength = 28;

const char* const kGenreNames[kGenreCount] = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "Acapella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore",
    "Terror",
    "Indie",
    "BritPop",
    "BlackPunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Trash Metal",
    "Anime",
    "Jpop",
    "Synthpop",
};

}  // namespace

void copyTrimmed(char* destination, const char* source, size_t n) {
  size_t length = n;
  while (length > 0 && (source[length - 1] == ' ' || source[length - 1] == 0)) --length;
  std::memcpy(destination, source, length);
  destination[length] = 0;
  destination[n] = 0;
}

const char* genreNameOf(unsigned char genre) {
  return genre < kGenreCount ? kGenreNames[genre] : "unknown";
}

bool ID3v1Tag::parse(const unsigned char* block) {
  if (std::memcmp(block, "TAG", 3) != 0) return false;
  const char* text = reinterpret_cast<const char*>(block);
  copyTrimmed(title_, text + kTitleAt, kTextLength);
  copyTrimmed(artist_, text + kArtistAt, kTextLength);
  copyTrimmed(album_, text + kAlbumAt, kTextLength);

  // Only the four year bytes: the comment follows them without a break.
  char year[5];
  std::memcpy(year, text + kYearAt, 4);
  year[4] = 0;
  year_ = static_cast<int>(std::atol(year));

  if (block[kTrackMarkAt] != 0 || block[kTrackAt] == 0) {
    tagVersion_ = 1.0f;
    track_ = 0;
    copyTrimmed(comment_, text + kCommentAt, kTextLength);
  } else {
    tagVersion_ = 1.1f;
    track_ = block[kTrackAt];
    copyTrimmed(comment_, text + kCommentAt, kShortCommentLength);
  }
  genre_ = block[kGenreAt];
  return true;
}
