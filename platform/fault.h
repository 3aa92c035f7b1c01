// Failures on purpose, for tests: a save that fails after a good load is
// otherwise out of a test's reach.
#ifndef PLATFORM_FAULT_H_
#define PLATFORM_FAULT_H_

namespace platform {

// The steps of a write-then-rename that a test can make fail: making the
// temporary file, flushing what was written to it (the close, and the flush
// to the disk of a durable save), the rename that puts it in place
// (replacing or not), and the flush of the folder after a durable save's
// rename.
enum class FaultStep { kTempFile, kFlush, kRename, kFolderFlush };

// The `nth` step of kind `step` from now on (1: the very next) fails, once;
// 0 takes a planned failure of that kind back. Every other step goes as
// usual.
void failStepAt(FaultStep step, int nth = 1);

// True while a failure of that kind is planned and has not happened yet.
bool faultPlanned(FaultStep step);

// Called by the file layer at each such step: true when this one fails.
bool stepFails(FaultStep step);

}  // namespace platform

#endif  // PLATFORM_FAULT_H_
