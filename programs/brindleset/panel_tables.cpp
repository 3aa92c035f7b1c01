// The placeholder legends of the templates, and the other tables of the
// panel tools.
#include <cstring>

#include "programs/brindleset/panel_tools.h"

namespace brindleset {

namespace {

// Each legend's lines; a null ends them.
const char* const kRaceBody[] = {"%u - the user lines",
                                 "%g - the group lines",
                                 "%d - path of the directory",
                                 "%D - name of the directory",
                                 "%f - name of the uploaded file",
                                 "%k - KB of the uploaded file",
                                 "%S - size of all files uploaded",
                                 "%N - number of files uploaded",
                                 "%v - average speed of the racers",
                                 "%l - (shows nothing)",
                                 "%% - a percent sign",
                                 nullptr};

const char* const kRaceLine[] = {"%u - username",
                                 "%g - group",
                                 "%r - rank",
                                 "%c - racers of the group",
                                 "%d - path of the directory",
                                 "%D - name of the directory",
                                 "%f - name of the uploaded file",
                                 "%k - KB of the uploaded file",
                                 "%s - size uploaded by this racer",
                                 "%S - size of all files uploaded",
                                 "%n - files uploaded by this racer",
                                 "%N - number of files uploaded",
                                 "%p - share of the upload in percent",
                                 "%v - average speed",
                                 "%% - a percent sign",
                                 nullptr};

const char* const kSfvBody[] = {"%u - the user lines",
                                "%g - the group lines",
                                "%d - path of the directory",
                                "%D - name of the directory",
                                "%f - name of the uploaded file",
                                "%k - KB of the uploaded file",
                                "%l - (shows nothing)",
                                "%i - size of the files in the sfv",
                                "%S - size of those uploaded",
                                "%m - number of files in the sfv",
                                "%N - number of those uploaded",
                                "%b - the bar",
                                "%p - percent of the files uploaded",
                                "%v - average speed of the racers",
                                "%% - a percent sign",
                                nullptr};

const char* const kSfvLine[] = {"%u - username",
                                "%g - group",
                                "%r - rank",
                                "%c - racers of the group",
                                "%d - path of the directory",
                                "%D - name of the directory",
                                "%f - name of the uploaded file",
                                "%k - KB of the uploaded file",
                                "%i - size of the files in the sfv",
                                "%s - size uploaded by this racer",
                                "%S - size of the sfv's files uploaded",
                                "%m - number of files in the sfv",
                                "%n - files uploaded by this racer",
                                "%N - number of the sfv's files uploaded",
                                "%p - share of the upload in percent",
                                "%v - average speed",
                                "%% - a percent sign",
                                nullptr};

const char* const kMp3Body[] = {"%B - bitrate",
                                "%a - artist",
                                "%A - album",
                                "%g - genre",
                                "%y - year",
                                "%m - MPEG version and layer",
                                "%f - sample rate",
                                "%M - channel mode",
                                "%c - comment",
                                "%% - a percent sign",
                                nullptr};

const char* const kMessageBoard[] = {"%u - username",
                                     "%t - message",
                                     "%r - rank",
                                     "%h - hour",
                                     "%m - minute",
                                     "%s - second",
                                     "%d - day",
                                     "%o - month",
                                     "%O - short month name",
                                     "%p - month name",
                                     "%y - year in two digits",
                                     "%Y - year",
                                     "%% - a percent sign",
                                     nullptr};

const char* const kRequestBoard[] = {"%u - username",
                                     "%t - request",
                                     "%r - rank",
                                     "%h - hour",
                                     "%m - minute",
                                     "%s - second",
                                     "%d - day",
                                     "%o - month",
                                     "%O - short month name",
                                     "%p - month name",
                                     "%y - year in two digits",
                                     "%Y - year",
                                     "%% - a percent sign",
                                     nullptr};

const char* const kNewDirList[] = {"%u - username",
                                   "%t - path of the directory",
                                   "%n - name of the directory",
                                   "%r - rank",
                                   "%h - hour",
                                   "%m - minute",
                                   "%s - second",
                                   "%d - day",
                                   "%o - month",
                                   "%O - short month name",
                                   "%p - month name",
                                   "%y - year in two digits",
                                   "%Y - year",
                                   "%X<name> - the list of module name",
                                   "%% - a percent sign",
                                   nullptr};

const char* const kSpecialList[] = {"%u - username",
                                    "%t - path of the directory",
                                    "%n - name of the directory",
                                    "%r - rank",
                                    "%h - hour",
                                    "%m - minute",
                                    "%s - second",
                                    "%d - day",
                                    "%o - month",
                                    "%O - short month name",
                                    "%p - month name",
                                    "%y - year in two digits",
                                    "%Y - year",
                                    "%% - a percent sign",
                                    nullptr};

const char* const kProgressBar[] = {"%b - the bar",          "%F - files present",
                                    "%o - files in the sfv", "%p - percent present",
                                    "%s - MB present",       "%P - name of the CD folder",
                                    "%% - a percent sign",   nullptr};

const Legend kLegends[] = {
    {"racer_gbodyshow", "racer_gbodyvar", kRaceBody},
    {"racer_glineshow", "racer_glinevar", kRaceLine},
    {"racer_sbodyshow", "racer_sbodyvar", kSfvBody},
    {"racer_slineshow", "racer_slinevar", kSfvLine},
    {"racer_mbodyshow", "racer_mbodyvar", kMp3Body},
    {"mb_varshow", "mb_vartext", kMessageBoard},
    {"rb_varshow", "rb_vartext", kRequestBoard},
    {"ndl_varshow", "ndl_vartext", kNewDirList},
    {"ndlspecial_varshow", "ndlspecial_vartext", kSpecialList},
    {"pb_varshow", "pb_vartext", kProgressBar},
};

const StoreReset kResets[] = {
    {"mb_delete", "Do you really want to delete your old message board?", "mboard.sav"},
    {"rb_delete", "Do you really want to delete your old request board?", "rboard.sav"},
    {"ndl_delete", "Do you really want to delete your old new dir list?", "newdirlist.sav"},
    {"specialndl_delete", "Do you really want to delete the special new dir list of this module?",
     nullptr},
};

const OwnerTriple kOwners[] = {
    {"link_change", "link_username", "link_group", "link_allow"},
    {"nd_changetod", "nd_usernametod", "nd_grouptod", "nd_allowtod"},
    {"nd_changepast", "nd_usernamepast", "nd_grouppast", "nd_allowpast"},
    {"chmod_change", "chmod_username", "chmod_group", "chmod_allow"},
};

template <class Entry, size_t n>
const Entry* byFirstName(const Entry (&table)[n], const char* Entry::*field, const XString& name) {
  for (const Entry& entry : table) {
    if (std::strcmp(entry.*field, name.c_str()) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace

const Legend* legendOf(const XString& showName) {
  return byFirstName(kLegends, &Legend::show, showName);
}

XString legendText(const Legend& legend) {
  XString text;
  for (const char* const* line = legend.lines; *line; ++line) {
    if (line != legend.lines) text += "\r\n";
    text += *line;
  }
  return text;
}

const StoreReset* storeResetOf(const XString& buttonName) {
  return byFirstName(kResets, &StoreReset::button, buttonName);
}

const OwnerTriple* ownerTripleOf(const XString& buttonName) {
  return byFirstName(kOwners, &OwnerTriple::button, buttonName);
}

XString barPreview(long long length, int position, const XString& full, const XString& empty) {
  if (length < 0) length = 0;
  long long fullCells = length * position / kPreviewSteps;
  if (fullCells < 0) fullCells = 0;
  if (fullCells > length) fullCells = length;
  long long shown = length < kPreviewCells ? length : kPreviewCells;
  XString bar;
  for (long long cell = 0; cell < shown; ++cell) bar += cell < fullCells ? full : empty;
  return bar;
}

}  // namespace brindleset
