// brindleset, the configuration utility: the one program of the suite with
// a window.
#ifndef PROGRAMS_BRINDLESET_BRINDLESET_H_
#define PROGRAMS_BRINDLESET_BRINDLESET_H_

// Shows the main window on the data folder beside the program and runs
// until the settings are saved or the window is left. Needs a display.
int WinMain();

#endif  // PROGRAMS_BRINDLESET_BRINDLESET_H_
