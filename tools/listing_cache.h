// Case-insensitive lookups for the stand-ins, from one listing per folder.
#ifndef TOOLS_LISTING_CACHE_H_
#define TOOLS_LISTING_CACHE_H_

#include <string>

#include "platform/fs.h"

namespace tools {

// Finds `name` in `folder` as a case-insensitive file system would: the exact
// name first, then a match ignoring the case of 'A'..'Z' in the folder's
// listing; of several such matches the first listed wins. `found` gets the
// name as it is on disk. A name that is empty, "." or "..", or holds a
// separator (on Windows either one, or a drive's ':') is never found. The folder's listing is read
// once and kept until forgetListing: a caller that changed the folder, or that must see what other
// programs changed, forgets it first.
bool findNoCase(const std::string& folder, const std::string& name, platform::DirEntry* found);
void forgetListing(const std::string& folder);

}  // namespace tools

#endif  // TOOLS_LISTING_CACHE_H_
