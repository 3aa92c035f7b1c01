// Starts the settings stamp on arbitrary bytes: the first byte says how many
// of the following bytes are the stamp file, the rest is the link builder's
// settings file. A settings file the start rewrote must load.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/lconfig.h"
#include "settings/settings_stamp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz_support::scratchFolder("stamp");
  if (size == 0) return 0;
  size_t stampLength = data[0] % 6;
  if (stampLength > size - 1) stampLength = size - 1;
  const uint8_t* stamp = data + 1;
  const uint8_t* settings = stamp + stampLength;
  size_t settingsLength = size - 1 - stampLength;
  const std::string stampPath = folder + "/" + kSettingsStampFile;
  const std::string settingsPath = folder + "/" + kLinkerConfigFile;

  std::remove(stampPath.c_str());
  if (stampLength > 0 && !fuzz_support::writeInput(stampPath, stamp, stampLength)) return 0;
  if (!fuzz_support::writeInput(settingsPath, settings, settingsLength)) return 0;

  // The stamp converts the settings file in the working folder; the fuzzer
  // keeps its own working folder for what it finds.
  std::error_code error;
  const std::filesystem::path home = std::filesystem::current_path(error);
  if (error) return 0;
  std::filesystem::current_path(folder, error);
  if (error) return 0;
  BCconfigSettings start(kSettingsStampFile);
  bool saved = start.save();
  std::filesystem::current_path(home, error);
  if (error || !saved || start.version != 956) std::abort();

  std::string after = fuzz_support::readBytes(settingsPath.c_str());
  if (after != std::string(reinterpret_cast<const char*>(settings), settingsLength)) {
    LConfig c;
    if (!c.load(settingsPath.c_str())) std::abort();
  }
  return 0;
}
