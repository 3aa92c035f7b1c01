// The display texts of one MP3 file.
#ifndef MEDIA_MP3_INFO_H_
#define MEDIA_MP3_INFO_H_

#include "foundation/xstring.h"

// What the suite shows of an MP3 file: sample rate, bitrate, version and
// layer, channel mode, and the artist, album, genre, year and comment of its
// ID3v1 tag. A file that cannot be read shows "unknown", "n-a" and
// "no comment". The tag's texts are as whoever made the file chose them:
// they pass through markerSafeText or printableText before use.
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

// A tag text made fit to stand in a file name: every character that Windows
// forbids in a name (\ / : * ? " < > |) and every control character becomes
// '_', and a text that is then "." or ".." gives `missing`.
XString markerSafeText(const char* text, const char* missing);

// A text made fit to stand as one folder name of a link: as markerSafeText,
// and then without its trailing dots and blanks (which Windows drops from a
// name). A text that is left empty (".", ".." and "" among them) gives
// `missing`.
XString linkSafeText(const char* text, const char* missing);

// A tag text as shown to users in a text file: control characters read as
// '?', everything else stays.
XString printableText(const char* text);

#endif  // MEDIA_MP3_INFO_H_
