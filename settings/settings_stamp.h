// The settings stamp "BCconfigSettings.cfg": the settings version of the
// installation, which tells whether an old link-builder file needs
// converting.
#ifndef SETTINGS_SETTINGS_STAMP_H_
#define SETTINGS_SETTINGS_STAMP_H_

#include "foundation/xstring.h"

// The stamp's one name, in the data folder.
constexpr const char* kSettingsStampFile = "BCconfigSettings.cfg";

// Reads the stamp when built. When it is missing or older than the current
// settings versions, a link-builder file of the oldest, headerless form in
// the working folder is converted to the current form; a file that already
// has a header, or that does not read whole in the oldest form, is left as
// it is. The stamp is written back by save(), never by the destructor.
class BCconfigSettings {
 public:
  explicit BCconfigSettings(const char* stampPath);
  BCconfigSettings(const BCconfigSettings&) = delete;
  BCconfigSettings& operator=(const BCconfigSettings&) = delete;

  // Writes `version` to the stamp file; false leaves the old one.
  [[nodiscard]] bool save();

  unsigned int version = 0;
  XString path;
};

#endif  // SETTINGS_SETTINGS_STAMP_H_
