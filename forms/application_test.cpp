#include "forms/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "forms/form.h"
#include "forms/qt_glue.h"
#include "forms/testing.h"

namespace {

using forms::testing::ScriptedHook;

TEST(FormsApplication, MessageBoxesAndHelpCallsGoToTheHook) {
  ScriptedHook hook;
  hook.messageAnswers.push_back(7);
  EXPECT_EQ(Application->MessageBox("Cannot load module: x", "error", 0), 7);
  EXPECT_EQ(Application->MessageBox("second", "error", 0), IDOK);
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0].text, "Cannot load module: x");
  EXPECT_EQ(hook.messages[0].caption, "error");
  EXPECT_EQ(hook.messages[0].flags, 0);

  EXPECT_TRUE(Application->HelpCommand(HELP_CONTEXT, 17));
  EXPECT_FALSE(Application->HelpCommand(2, 17));
  ASSERT_EQ(hook.helpCalls.size(), 1u);
  EXPECT_EQ(hook.helpCalls[0].command, HELP_CONTEXT);
  EXPECT_EQ(hook.helpCalls[0].data, 17);
  EXPECT_EQ(hook.messages.size(), 2u);
}

TEST(FormsApplication, RealMessageBoxesShowPlainTextAndNameTheHelpFile) {
  forms::glue::setHeadlessGuard(false);
  std::vector<QString> shown;
  auto answerNext = [&shown] {
    QTimer::singleShot(10, [&shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      shown.push_back(box->windowTitle() + QLatin1Char('|') + box->text());
      box->accept();
    });
  };
  answerNext();
  EXPECT_EQ(Application->MessageBox("<b>not bold</b>", "Info", MB_OK), IDOK);
  answerNext();
  EXPECT_TRUE(Application->HelpCommand(HELP_CONTEXT, 23));
  forms::glue::setHeadlessGuard(true);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], QStringLiteral("Info|<b>not bold</b>"));
  // No main form here, so no help file: the message names the folder.
  EXPECT_TRUE(shown[1].contains(QStringLiteral("Help file: ") + QDir::currentPath()));
  EXPECT_TRUE(shown[1].endsWith(QStringLiteral("Context: 23")));
}

class CountedForm : public TForm {
 public:
  explicit CountedForm(TComponent* owner) : TForm(owner) { ++alive; }
  ~CountedForm() override { --alive; }
  static int alive;
};
int CountedForm::alive = 0;

TEST(FormsApplication, TheMainFormIsTheFirstMadeAndClosingItEndsTheProgram) {
  ScriptedHook hook;
  Application->Initialize();
  Application->setTitle("Brindlecast Configuration Utility");
  CountedForm* main = nullptr;
  CountedForm* second = nullptr;
  Application->CreateForm(main);
  Application->CreateForm(second);
  EXPECT_EQ(Application->MainForm(), main);
  EXPECT_EQ(CountedForm::alive, 2);
  main->HelpFile = "Brindlecast.hlp";
  Application->HelpCommand(HELP_CONTEXT, 10);
  ASSERT_EQ(hook.helpCalls.size(), 1u);
  EXPECT_EQ(hook.helpCalls[0].helpFile, "Brindlecast.hlp");

  second->Close();
  EXPECT_FALSE(Application->Terminated());
  forms::testing::closeByFrame(*main);
  EXPECT_TRUE(Application->Terminated());
  // Terminated before it ran: Run returns at once and frees the forms.
  Application->Run();
  EXPECT_EQ(CountedForm::alive, 0);
  EXPECT_EQ(Application->MainForm(), nullptr);
  // Tests may end the program again.
  forms::testing::clearTerminated();
  EXPECT_FALSE(Application->Terminated());
}

TEST(FormsApplication, ADisplayIsThereWhenTheEnvironmentNamesOne) {
  const char* names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* value = std::getenv(names[i]);
    had[i] = value != nullptr;
    if (value) saved[i] = value;
    unsetenv(names[i]);
  }
  EXPECT_FALSE(forms::displayAvailable());
  setenv("DISPLAY", "", 1);
  EXPECT_FALSE(forms::displayAvailable());
  setenv("DISPLAY", ":0", 1);
  EXPECT_TRUE(forms::displayAvailable());
  unsetenv("DISPLAY");
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(forms::displayAvailable());
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_TRUE(forms::displayAvailable());
  for (int i = 0; i < 3; ++i) {
    if (had[i]) {
      setenv(names[i], saved[i].c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}

}  // namespace
