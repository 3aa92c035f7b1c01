// The floor of the configuration utility's benchmark: a Qt program that
// shows one empty window of the main window's size and ends.
#include <QApplication>
#include <QWidget>

#include "bench/window_shown.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(738, 550);
  window.show();
  return bench::waitShown(&window) ? 0 : 1;
}
