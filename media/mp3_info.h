// The display texts of one MP3 file.
#ifndef MEDIA_MP3_INFO_H_
#define MEDIA_MP3_INFO_H_

#include "foundation/xstring.h"

// What the suite shows of an MP3 file: sample rate, bitrate, version and
// layer, channel mode, and the artist, album, genre, year and comment of its
// ID3v1 tag. A file that cannot be read shows "unknown", "n-a" and
// "no comment".
//
// The tag's texts become parts of file names, and whoever made the file chose
// them: '/', '\' and control characters in them read as '_', and a text that
// is "." or ".." counts as missing ("unknown", "no comment").
class MP3Info {
 public:
  MP3Info();

  // Fills every text from the file at `path`.
  void read(const char* path);

  XString sampleRate;  // Hz
  XString bitrate;     // kbps
  XString year;
  char genre[32];
  char album[32];
  char artist[32];
  char versionText[32];
  char modeText[32];
  char comment[32];
};

#endif  // MEDIA_MP3_INFO_H_
