#include "settings/settings_file.h"

bool readSettingsHeader(XFile& file, const char* header, unsigned int* version) {
  if (!file.isOpen()) return false;
  XString text;
  file >> text;
  if (file.failed() || text != header) return false;
  file >> *version;
  return !file.failed();
}
