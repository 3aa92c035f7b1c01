// Waiting until a window is on the screen, for the two window programs of
// the configuration utility's benchmark.
#ifndef BENCH_WINDOW_SHOWN_H_
#define BENCH_WINDOW_SHOWN_H_

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

namespace bench {

// Handles events until the shown window is exposed, at most five seconds:
// the expose paints it. False when it never was exposed.
inline bool waitShown(QWidget* widget) {
  QDeadlineTimer deadline(5000);
  while (!widget->windowHandle() || !widget->windowHandle()->isExposed()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace bench

#endif  // BENCH_WINDOW_SHOWN_H_
