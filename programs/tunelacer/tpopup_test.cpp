#include "programs/tunelacer/tpopup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "forms/testing.h"

namespace {

using forms::testing::find;

QWidget* shownBusyWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == "Brindlecast tunelacer busy") return w;
  }
  return nullptr;
}

bool showsLabel(QWidget* window, const char* text) {
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->text() == QLatin1String(text)) return true;
  }
  return false;
}

TEST(Tpopup, TheWindowAsBuiltAndItsCount) {
  Tpopup popup(nullptr);
  EXPECT_EQ(popup.Name(), "popup");
  EXPECT_EQ(popup.Caption(), "Brindlecast tunelacer busy");
  EXPECT_EQ(find<TLabel>(popup, "num"), popup.num);
  EXPECT_EQ(popup.num->Caption(), "0");
  EXPECT_EQ(find<TLabel>(popup, "Label2")->Caption(), "linked directorys:");
  EXPECT_EQ(popup.status->Caption(), "cleaning up old directorys...");
  EXPECT_EQ(popup.linkedCount, 0);

  QWidget* window = popup.widget();
  EXPECT_EQ(window->width(), 420);
  EXPECT_EQ(window->height(), 81);
  Qt::WindowFlags flags = window->windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint));

  popup.linkedCount = 12345;
  popup.showCount();
  EXPECT_EQ(popup.num->Caption(), "12345");
}

// With a display the run's window is shown at once and follows the run;
// without one there is none and the run goes on alone.
TEST(Tpopup, BusyWindowFollowsTheRunWhereADisplayIs) {
  {
    std::unique_ptr<BusyWindow> busy = makeBusyPopup();
    ASSERT_NE(busy, nullptr);
    QWidget* window = shownBusyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(showsLabel(window, "cleaning up old directorys..."));
    busy->linking("/music/Band-Album-2024/");
    busy->linking("/music/Band-Album-2024/CD2/");
    EXPECT_TRUE(showsLabel(window, "2"));
    EXPECT_TRUE(showsLabel(window, "/music/Band-Album-2024/CD2/"));
  }
  EXPECT_EQ(shownBusyWindow(), nullptr);

  const std::string platform = std::getenv("QT_QPA_PLATFORM");
  unsetenv("QT_QPA_PLATFORM");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(makeBusyPopup(), nullptr);
  setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}

}  // namespace
