// The rows that bind the main window's controls to the global, link-builder
// and module settings: for each record its blocks, one per panel or page,
// in the order the window shows and takes them. A block that holds a
// number is taken as one: its first number that does not convert stops it.
#ifndef PROGRAMS_BRINDLESET_SETTINGS_TABLES_H_
#define PROGRAMS_BRINDLESET_SETTINGS_TABLES_H_

#include <vector>

#include "programs/brindleset/binding.h"
#include "settings/gconfig.h"
#include "settings/lconfig.h"
#include "settings/mconfig.h"

namespace brindleset::tables {

// GConfig: the general panel, the four board panels and the dawnroll dir.
extern const Block<GConfig> kGeneral;
extern const Block<GConfig> kMessageBoard;
extern const Block<GConfig> kRequestBoard;
extern const Block<GConfig> kNewDirList;
extern const Block<GConfig> kSpecialList;
extern const Block<GConfig> kDawnroll;
// LConfig: the link builder's panel.
extern const Block<LConfig> kLinker;
// MConfig: the module pages but the racer's, then the racer's pages.
extern const Block<MConfig> kModule;
extern const Block<MConfig> kRacer;

// Each record's blocks in order.
std::vector<Block<GConfig>> globalTable();
std::vector<Block<LConfig>> linkerTable();
std::vector<Block<MConfig>> moduleTable();

}  // namespace brindleset::tables

#endif  // PROGRAMS_BRINDLESET_SETTINGS_TABLES_H_
