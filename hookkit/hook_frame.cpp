#include "hookkit/hook_frame.h"

#include <cstring>
#include <string>

#include "foundation/xfile.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {
const XString kNoField;
}  // namespace

XString virtualFolder(const XString& path) {
  int slash = path.findLast('/');
  if (slash <= 0) return XString();
  return path.substring(0, static_cast<unsigned int>(slash) - 1);
}

HookFrame::HookFrame(const HookProgram& program) : program_(program) {}

HookFrame::~HookFrame() { delete index; }

int HookFrame::takeFields(const XString& commandLine) {
  XString text(commandLine);
  const size_t fieldCount = std::strlen(program_.fields);
  // Fields come off the right end, the last one first. A field that runs out
  // of separators means the server passed fewer fields than we take: the
  // program would work in the wrong folder, so it ends here.
  for (size_t i = fieldCount; i-- > 0;) {
    if (text.findLast(kFieldSeparator) < 0) return kExitFieldCount;
    values_[i] = text.splitLast(kFieldSeparator);
  }
  // An install folder with a blank may come quoted from the server's
  // settings; the quotes are no part of the path.
  ownPath_ = XString(platform::unquotedPath(text.splitLast(kFieldSeparator).str()));
  // The periodic programs take only their own path and check nothing more.
  if (fieldCount > 0 && !text.empty()) return kExitFieldCount;

  const std::string folder = platform::programFolder(ownPath_.str());
  if (!platform::changeDir(folder.c_str()) || !platform::changeDir("data")) {
    return kExitNoDataFolder;
  }
  return kExitDone;
}

void HookFrame::loadGlobal() { global.load("BCconfig.bcc"); }

int HookFrame::chooseModule() {
  if (program_.moduleField == 0) return kExitDone;
  const XString& path = field(program_.moduleField);
  modulePath_ = program_.moduleByFolder ? virtualFolder(path) : path;
  index = new ModuleIndex<MConfig>("ModuleIndex.idx");
  int chosen = index->findByPath(modulePath_);
  if (chosen < 0) chosen = index->findDefault();
  if (chosen < 0) return kExitNoModule;
  module = index->at(chosen);
  config = module->config();
  return kExitDone;
}

int HookFrame::start(const XString& commandLine) {
  int code = takeFields(commandLine);
  if (code != kExitDone) return code;
  loadGlobal();
  return chooseModule();
}

const XString& HookFrame::field(char variable) const {
  const char* at = std::strchr(program_.fields, variable);
  if (variable == 0 || at == nullptr) return kNoField;
  return values_[at - program_.fields];
}

XString HookFrame::serverFolder() const {
  int sep = global.raidenftpd.findLast(platform::kPathSep);
  if (sep < 0) return XString();
  return global.raidenftpd.substring(0, static_cast<unsigned int>(sep));
}

XString HookFrame::replyPath(const XString& name) const {
  return replyFileIn(serverFolder(), name);
}

XString replyFileIn(const XString& serverFolder, const XString& name) {
  if (serverFolder.empty()) return XString();
  return serverFolder + "output" + platform::kPathSepText + name;
}

bool siteLockAvailable() {
  platform::FileLock probe;
  return probe.held();
}

bool writeReply(const XString& path, const XString& text) {
  if (path.empty()) return false;
  XFile file;
  file.openReplacing(path.c_str(), true);
  if (!file.isOpen()) return false;
  file << text;
  return file.commit();
}
