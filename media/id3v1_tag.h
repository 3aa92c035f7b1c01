// The ID3v1 tag in the last 128 bytes of an MP3 file.
#ifndef MEDIA_ID3V1_TAG_H_
#define MEDIA_ID3V1_TAG_H_

#include <cstddef>

// Size of the tag block at the end of the file.
constexpr size_t kID3v1TagSize = 128;
// Genres with a name; every other genre byte reads "unknown".
constexpr int kGenreCount = 148;

// Copies n bytes of `source` into `destination` without their trailing run
// of blanks and NUL bytes and ends the text there. `destination` holds at
// least n + 1 characters.
void copyTrimmed(char* destination, const char* source, size_t n);

// The name of a genre byte: the ID3v1 numbering extended to 148 entries,
// "unknown" for 148 to 255.
const char* genreNameOf(unsigned char genre);

// The texts and numbers of one ID3v1 or ID3v1.1 tag. A 1.1 tag has a NUL at
// byte 125 and a non-zero track number at byte 126, which leaves the comment
// 28 characters; a 1.0 comment has all 30. Texts come without their padding.
class ID3v1Tag {
 public:
  // Reads a 128-byte block. False, and the tag unchanged, when the block
  // does not begin with "TAG".
  bool parse(const unsigned char* block);

  const char* title() const { return title_; }
  const char* artist() const { return artist_; }
  const char* album() const { return album_; }
  const char* comment() const { return comment_; }
  // The four year bytes as a number, as atol reads them; 0 when they are
  // not a number.
  int year() const { return year_; }
  // 0 in a 1.0 tag.
  int track() const { return track_; }
  // 1.0 or 1.1; 0 before a tag was parsed.
  float tagVersion() const { return tagVersion_; }
  unsigned char genre() const { return genre_; }
  const char* genreName() const { return genreNameOf(genre_); }

 private:
  char title_[31] = {};
  char artist_[31] = {};
  char album_[31] = {};
  char comment_[31] = {};
  int year_ = 0;
  int track_ = 0;
  float tagVersion_ = 0;
  unsigned char genre_ = 0;
};

#endif  // MEDIA_ID3V1_TAG_H_
