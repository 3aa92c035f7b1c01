// The playlist of an MP3 release.
#ifndef HOOKKIT_PLAYLIST_H_
#define HOOKKIT_PLAYLIST_H_

#include "hookkit/dir_set.h"

// Writes the release folder's ".m3u": the folder's MP3 names, lower-cased and
// sorted, one per line. It is named like the folder's SFV with ".m3u" for
// its extension, or "00-" + the folder's name + ".m3u" in lower case when the
// folder holds no SFV; the folder's path keeps its case. Returns 0 when the
// playlist was written (and handed to the chmod program), 1 when there is
// nothing to do (skipIfExists and some ".m3u" is there, or no ".mp3"), -1
// when it cannot be written (nothing is left behind then).
[[nodiscard]] int makePlaylist(const DirSet* dirSet, bool skipIfExists);

#endif  // HOOKKIT_PLAYLIST_H_
