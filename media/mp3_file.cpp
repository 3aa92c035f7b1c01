#include "media/mp3_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/fs.h"

namespace {

// Most files have their first header at offset 0 or right after an ID3v2
// block, so the search reads this much first and the rest of the window
// only when no header is in it.
constexpr int64_t kFirstRead = 16384;

constexpr unsigned char kXingMagic[4] = {'X', 'i', 'n', 'g'};
constexpr size_t kXingBlockSize = 12;

// kbps by row (see bitrateRow) and bitrate index.
constexpr int kBitrates[6][16] = {
    // MPEG 2 and 2.5: Layer III, Layer II, Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    // MPEG 1: Layer III, Layer II, Layer I
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
};

// Hz by version bits x 3 + sample-rate index.
constexpr int kSampleRates[12] = {
    11025, 12000, 8000,   // MPEG 2.5
    0,     0,     0,      // reserved
    22050, 24000, 16000,  // MPEG 2
    44100, 48000, 32000,  // MPEG 1
};

constexpr float kVersions[4] = {2.5f, 0, 2, 1};
constexpr const char* kLayerNames[4] = {"", "III", "II", "I"};
constexpr const char* kChannelModes[4] = {"Stereo", "Joint Stereo", "Dual Channel",
                                          "Single Channel"};
constexpr int kSingleChannel = 3;
constexpr unsigned int kVersionMPEG1 = 3;
constexpr unsigned int kLayerBitsI = 3;
constexpr unsigned int kLayerBitsIII = 1;

// Reads n bytes at `offset`; the count read.
size_t readAt(std::FILE* in, int64_t offset, unsigned char* out, size_t n) {
  if (!platform::seekFile(in, offset)) return 0;
  return std::fread(out, 1, n, in);
}

// The file as the reader sees it: the part of the search window read so far
// in memory, the rest through the file. Nothing past the end is read.
class Source {
 public:
  Source(std::FILE* in, int64_t length) : in_(in), length_(length) {}

  // Reads the window on from what is held up to `size` bytes; false when
  // the file gave fewer bytes than it should.
  bool extendTo(size_t size) {
    size_t old = window_.size();
    if (size <= old) return true;
    window_.resize(size);
    held_ = old + readAt(in_, static_cast<int64_t>(old), window_.data() + old, size - old);
    return held_ == size;
  }

  const unsigned char* window() const { return window_.data(); }
  size_t held() const { return held_; }

  // n bytes at `offset`; false when the file does not hold them all.
  bool fetch(int64_t offset, unsigned char* out, size_t n) {
    if (offset < 0 || offset > length_ || static_cast<int64_t>(n) > length_ - offset) return false;
    if (offset + static_cast<int64_t>(n) <= static_cast<int64_t>(held_)) {
      std::memcpy(out, window_.data() + offset, n);
      return true;
    }
    return readAt(in_, offset, out, n) == n;
  }

 private:
  std::FILE* in_;
  int64_t length_;
  std::vector<unsigned char> window_;  // value-initialised: zero until read
  size_t held_ = 0;
};

}  // namespace

void MP3File::setHeaderBytes(const unsigned char* bytes) {
  header = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

bool MP3File::isFrameHeader() const {
  unsigned int versionBits = (header >> 19) & 3;
  unsigned int layerBits = (header >> 17) & 3;
  unsigned int bitrateIndex = (header >> 12) & 15;
  unsigned int rateIndex = (header >> 10) & 3;
  unsigned int emphasis = header & 3;
  return (header & 0xFFE00000u) == 0xFFE00000u && versionBits != 1 && layerBits != 0 &&
         bitrateIndex != 0 && bitrateIndex != 15 && rateIndex != 3 && emphasis != 2;
}

bool MP3File::readXing(const unsigned char* block) {
  xingFrames = -1;
  if (std::memcmp(block, kXingMagic, 4) != 0) return false;
  if (block[7] & 1) {
    uint32_t frames = static_cast<uint32_t>(block[8]) << 24 |
                      static_cast<uint32_t>(block[9]) << 16 |
                      static_cast<uint32_t>(block[10]) << 8 | static_cast<uint32_t>(block[11]);
    // A count past INT_MAX is no count; bitrate() ignores counts below 1.
    xingFrames = frames > static_cast<uint32_t>(INT_MAX) ? -1 : static_cast<int>(frames);
  }
  return true;
}

float MP3File::version() const { return kVersions[(header >> 19) & 3]; }

int MP3File::layer() const { return 4 - static_cast<int>((header >> 17) & 3); }

int MP3File::headerBitrate() const {
  unsigned int layerBits = (header >> 17) & 3;
  if (layerBits == 0) return 0;
  unsigned int row = layerBits - 1;
  if (((header >> 19) & 3) == kVersionMPEG1) row += 3;
  return kBitrates[row][(header >> 12) & 15];
}

int MP3File::sampleRate() const {
  unsigned int index = ((header >> 19) & 3) * 3 + ((header >> 10) & 3);
  return index < 12 ? kSampleRates[index] : 0;
}

const char* MP3File::channelModeName() const { return kChannelModes[(header >> 6) & 3]; }

int MP3File::sideInfoLength() const {
  bool mono = ((header >> 6) & 3) == kSingleChannel;
  if (((header >> 19) & 3) == kVersionMPEG1) return mono ? 17 : 32;
  return mono ? 9 : 17;
}

int MP3File::bitrate() const {
  if (!hasXing || xingFrames <= 0) return headerBitrate();
  // Bytes a frame holds per bit per second of sample rate, times 1000:
  // 384 samples a frame in Layer I, 1152 in Layer II and MPEG 1 Layer III,
  // 576 in Layer III of MPEG 2 and 2.5.
  unsigned int layerBits = (header >> 17) & 3;
  long double k = 144.0L;
  if (layerBits == kLayerBitsI) {
    k = 48.0L;
  } else if (layerBits == kLayerBitsIII && ((header >> 19) & 3) != kVersionMPEG1) {
    k = 72.0L;
  }
  float bytesPerFrame = static_cast<float>(fileLength) / static_cast<float>(xingFrames);
  long double kbps = sampleRate() * static_cast<long double>(bytesPerFrame) / (k * 1000.0L);
  if (!(kbps < static_cast<long double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(kbps);
}

XString MP3File::versionText() const {
  char text[32];
  std::snprintf(text, sizeof text, "MPEG %g Layer %s", static_cast<double>(version()),
                kLayerNames[(header >> 17) & 3]);
  return XString(text);
}

int MP3File::open(const char* path) {
  header = 0;
  xingFrames = -1;
  tag = ID3v1Tag();
  hasXing = 0;
  hasTag = 0;
  fileName.clear();
  fileLength = 0;
  if (path == nullptr || path[0] == 0) return kMP3NoStream;

  // Only a regular file, never through a link and never waiting on a FIFO
  // that an uploader named like an MP3.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(platform::openFile(path, "rb"), std::fclose);
  if (in == nullptr) return kMP3CannotOpen;
  // Every read below is one block: no stdio buffer to copy through.
  std::setvbuf(in.get(), nullptr, _IONBF, 0);
  int64_t end = platform::openFileSize(in.get());
  if (end < 0) return kMP3CannotOpen;
  fileLength = end;
  fileName = path;

  // The search reads the window once, in at most two pieces, and tries
  // every offset whose four bytes it holds, 0 to 204,800.
  const size_t windowSize = static_cast<size_t>(std::min(fileLength, kHeaderSearchWindow));
  Source source(in.get(), fileLength);
  bool whole = source.extendTo(std::min(windowSize, static_cast<size_t>(kFirstRead)));
  int64_t found = -1;
  size_t next = 0;
  for (;;) {
    const unsigned char* window = source.window();
    size_t held = source.held();
    size_t limit =
        held < 4 ? 0 : std::min(held - 3, static_cast<size_t>(kHeaderSearchLastOffset + 1));
    while (next < limit) {
      // A header begins with 0xFF; nothing else needs a closer look.
      const void* hit = std::memchr(window + next, 0xFF, limit - next);
      if (hit == nullptr) {
        next = limit;
        break;
      }
      next = static_cast<size_t>(static_cast<const unsigned char*>(hit) - window);
      setHeaderBytes(window + next);
      if (isFrameHeader()) {
        found = static_cast<int64_t>(next);
        break;
      }
      ++next;
    }
    if (found >= 0 || !whole || held >= windowSize) break;
    whole = source.extendTo(windowSize);
  }
  if (found < 0) return kMP3NoFrameHeader;

  unsigned char xing[kXingBlockSize] = {};
  if (source.fetch(found + 4 + sideInfoLength(), xing, sizeof xing)) {
    hasXing = readXing(xing) ? 1 : 0;
  } else {
    xingFrames = -1;
  }

  unsigned char block[kID3v1TagSize] = {};
  if (fileLength >= static_cast<int64_t>(kID3v1TagSize) &&
      source.fetch(fileLength - static_cast<int64_t>(kID3v1TagSize), block, sizeof block)) {
    hasTag = tag.parse(block) ? 1 : 0;
  }
  return kMP3Read;
}
