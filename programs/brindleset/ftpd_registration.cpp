#include "programs/brindleset/ftpd_registration.h"

#include <cstdint>
#include <vector>

#include "foundation/xfile.h"
#include "hookkit/hook_programs.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "serverfiles/server_file.h"

namespace brindleset {

namespace {

// A ".ftpd" file holds a few kilobytes; one near this size is not one.
constexpr uint64_t kMaxFtpdBytes = uint64_t{64} << 20;
constexpr unsigned int kOwnerWrite = 0200;
constexpr const char* kLineEnd = "\r\n";

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool beginsWithNoCase(std::string_view line, std::string_view key) {
  if (line.size() < key.size()) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    if (foldAscii(line[i]) != foldAscii(key[i])) return false;
  }
  return true;
}

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

// Whether `value` names the program file `file` (exact case) as a whole file
// name. Where programs carry no suffix, a bare "quipgate" inside another
// name, or in a folder name, must not count as the program.
bool namesProgram(std::string_view value, std::string_view file) {
  for (size_t at = value.find(file); at != std::string_view::npos; at = value.find(file, at + 1)) {
    size_t end = at + file.size();
    if ((at == 0 || !isNameChar(value[at - 1])) &&
        (end == value.size() || !isNameChar(value[end]))) {
      return true;
    }
  }
  return false;
}

// The entry lines of one run, each ending in CR LF.
struct Entries {
  explicit Entries(const XString& installDir) : dir(installDir) {
    for (const HookProgram* program : kServerHooks) {
      if (program == &kQuipgate) continue;  // registered through the slots below
      hooks.push_back({XString(program->ftpdKey) + "=", withLineEnd(*program, program->ftpdKey)});
    }
    for (const char* slot : kSiteCommandSlots) {
      slots.push_back({XString(slot) + "=", withLineEnd(kQuipgate, slot)});
    }
    quipgateFile = std::string(kQuipgate.name) + platform::kExeSuffix;
  }

  std::string withLineEnd(const HookProgram& program, const char* key) const {
    std::string line = hookEntryLine(program, key, dir).str();
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line + kLineEnd;
  }

  struct Entry {
    XString key;  // with its '='
    std::string line;
  };
  XString dir;
  std::vector<Entry> hooks;
  std::vector<Entry> slots;
  std::string quipgateFile;
};

// The slot entry that takes `line`, or null. The first slot takes an empty
// slot or one holding quipgate whenever it comes; the others only while no
// slot has been taken, the last whatever it holds.
const std::string* slotEntry(const Entries& entries, std::string_view line, bool slotTaken) {
  for (size_t i = 0; i < entries.slots.size(); ++i) {
    const Entries::Entry& slot = entries.slots[i];
    std::string_view key(slot.key.c_str(), slot.key.length());
    if (!beginsWithNoCase(line, key)) continue;
    if (i > 0 && slotTaken) return nullptr;
    std::string_view value = line.substr(key.size());
    if (i + 1 == entries.slots.size() || value.empty() ||
        namesProgram(value, entries.quipgateFile)) {
      return &slot.line;
    }
    return nullptr;
  }
  return nullptr;
}

}  // namespace

XString installFolderOf(const XString& workingFolder) {
  XPath folder(workingFolder);
  folder.toParent();
  folder.ensureTrailing(platform::kPathSep);
  return folder;
}

XString backupNameOf(const XString& ftpdFile) {
  XPath name(ftpdFile);
  name.toFileName();
  return XString("backup of ") + name;
}

std::string registerHooks(std::string_view ftpd, const XString& installDir) {
  const Entries entries(installDir);
  std::string out;
  out.reserve(ftpd.size() + ftpd.size() / 2 + 64);
  bool slotTaken = false;
  while (!ftpd.empty()) {
    size_t newline = ftpd.find('\n');
    bool hasEnd = newline != std::string_view::npos;
    std::string_view line = hasEnd ? ftpd.substr(0, newline) : ftpd;
    ftpd.remove_prefix(hasEnd ? newline + 1 : ftpd.size());
    if (hasEnd && !line.empty() && line.back() == '\r') line.remove_suffix(1);

    const std::string* entry = nullptr;
    for (const Entries::Entry& hook : entries.hooks) {
      if (beginsWithNoCase(line, std::string_view(hook.key.c_str(), hook.key.length()))) {
        entry = &hook.line;
        break;
      }
    }
    if (!entry) {
      entry = slotEntry(entries, line, slotTaken);
      if (entry) slotTaken = true;
    }
    if (entry) {
      out += *entry;
    } else {
      out.append(line);
      if (hasEnd) out += kLineEnd;
    }
  }
  return out;
}

FtpdChange changeFtpdFile(const XString& ftpdFile, const XString& backupFile,
                          const XString& installDir) {
  // The server's file may be a link the administrator made; the file it
  // leads to is read and replaced, the link kept.
  std::string target;
  if (!serverFileTarget(ftpdFile.c_str(), &target)) return FtpdChange::kNotRegular;
  FileBytes bytes;
  {
    XFile in(target.c_str(), "rb", false);
    if (!in.isOpen() || !bytes.read(in, kMaxFtpdBytes)) return FtpdChange::kNotRead;
    // Everything was read; how the reading handle closes changes nothing.
    (void)in.close();
  }
  // A line break in the folder would split an entry into lines of its own.
  if (installDir.find('\n') >= 0 || installDir.find('\r') >= 0) return FtpdChange::kBadFolder;
  // A file that its owner may not write is read-only, as the server's own
  // system would keep it; a rename over it would ignore that.
  unsigned int bits = 0;
  if (platform::modeBits(target.c_str(), &bits) && (bits & kOwnerWrite) == 0) {
    return FtpdChange::kReadOnly;
  }

  std::string_view old = bytes.view();
  XFile backup;
  backup.openReplacing(backupFile.c_str(), false);
  if (!backup.isOpen()) return FtpdChange::kNoBackup;
  if (!old.empty()) backup.writeBytes(old.data(), old.size());
  if (!backup.commitDurable()) return FtpdChange::kNoBackup;

  std::string text = registerHooks(old, installDir);
  XFile out;
  out.openReplacing(target.c_str(), false, true);
  if (!out.isOpen()) return FtpdChange::kNotWritten;
  if (!text.empty()) out.writeBytes(text.data(), text.size());
  return out.commitDurable() ? FtpdChange::kChanged : FtpdChange::kNotWritten;
}

XString ftpdChangeError(FtpdChange change) {
  switch (change) {
    case FtpdChange::kChanged:
    case FtpdChange::kNotRead:
      return XString();
    case FtpdChange::kNotRegular:
      return "Your .ftpd has not been changed: the name chosen leads to no file.";
    case FtpdChange::kBadFolder:
      return "Your .ftpd has not been changed: the path of the Brindlecast directory cannot be "
             "written into it.";
    case FtpdChange::kReadOnly:
      return "Your .ftpd is read-only. It has not been changed.";
    case FtpdChange::kNoBackup:
      return "No backup of your .ftpd could be made in Brindlecast\\data directory, so it has not "
             "been changed.";
    case FtpdChange::kNotWritten:
      return "Your .ftpd could not be written. It has been left as it was.";
  }
  return XString();
}

}  // namespace brindleset
