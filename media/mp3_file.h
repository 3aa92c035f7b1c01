// Reading the first MPEG audio frame header, its Xing block and the ID3v1
// tag of one file.
#ifndef MEDIA_MP3_FILE_H_
#define MEDIA_MP3_FILE_H_

#include <cstdint>
#include <string>

#include "foundation/xstring.h"
#include "media/id3v1_tag.h"

// Results of MP3File::open.
constexpr int kMP3Read = 0;
constexpr int kMP3CannotOpen = 1;     // cannot be opened, or its size taken
constexpr int kMP3NoStream = 2;       // no input stream on an empty path
constexpr int kMP3NoFrameHeader = 4;  // no header within the search window

// The last offset at which a frame header is looked for, and the bytes that
// the search reads: a header found there still needs its four bytes.
constexpr int64_t kHeaderSearchLastOffset = 204800;
constexpr int64_t kHeaderSearchWindow = kHeaderSearchLastOffset + 4;

// The facts of one MP3 file: the first frame header within the first
// 204,804 bytes, the frame count of a Xing block right after it, and the
// ID3v1 tag in the last 128 bytes. Made on the stack for one read; it reads
// nothing else of the file (no ID3v2, no frame walk).
class MP3File {
 public:
  // 0 after reading, else one of the results above. Short and damaged files
  // read safely: a Xing block or tag that the file does not hold whole is
  // absent, and a file shorter than 128 bytes has no tag.
  int open(const char* path);

  // Puts four file bytes, big-endian, into `header`.
  void setHeaderBytes(const unsigned char* bytes);
  // Sync bits set and no reserved or forbidden value in the fields used.
  bool isFrameHeader() const;
  // Takes a 12-byte block: true when it begins with "Xing"; `xingFrames` is
  // its frame count when the block's frames flag is set, else -1.
  bool readXing(const unsigned char* block);

  // 1, 2 or 2.5 (0 for the reserved version bits).
  float version() const;
  // 1, 2 or 3.
  int layer() const;
  // kbps from the header's bitrate index; 0 for free and bad indexes.
  int headerBitrate() const;
  // Hz.
  int sampleRate() const;
  const char* channelModeName() const;
  // Bytes of side information between the header and a Xing block.
  int sideInfoLength() const;
  // kbps: the average over the Xing frame count when a Xing block gave a
  // count above 0, else the header's bitrate.
  int bitrate() const;
  int frameCount() const { return xingFrames; }

  // "MPEG 1 Layer III", "MPEG 2.5 Layer II", ...
  XString versionText() const;
  const char* modeText() const { return channelModeName(); }
  const char* artist() const { return tag.artist(); }
  const char* album() const { return tag.album(); }
  const char* comment() const { return tag.comment(); }
  const char* genre() const { return tag.genreName(); }

  uint32_t header = 0;
  int xingFrames = -1;
  ID3v1Tag tag;
  int hasXing = 0;
  int hasTag = 0;
  std::string fileName;
  int64_t fileLength = 0;
};

#endif  // MEDIA_MP3_FILE_H_
