#include "forms/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "forms/qt_glue.h"
#include "forms/testing.h"

namespace {

using forms::testing::ScriptedHook;

// Runs `act` on the next modal window of type T once it is up; after five
// seconds without one the test fails and whatever is modal is rejected.
template <class T>
void whenModal(std::function<void(T*)> act, int triesLeft = 500) {
  QTimer::singleShot(10, [act, triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* wanted = qobject_cast<T*>(modal)) {
      act(wanted);
    } else if (triesLeft > 0) {
      whenModal<T>(act, triesLeft - 1);
    } else {
      ADD_FAILURE() << "no " << T::staticMetaObject.className() << " came up";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    }
  });
}

// Types a name into the dialog and confirms it. Qt leaves a name that is
// being typed alone, so the name field must not have the focus.
void chooseFile(QFileDialog* dialog, const QString& path) {
  if (QWidget* typing = QApplication::focusWidget()) typing->clearFocus();
  dialog->selectFile(path);
  static_cast<QDialog*>(dialog)->accept();
}

TEST(FormsFileDialogs, TheHookSeesTheQuestionAndGivesTheAnswer) {
  ScriptedHook hook;
  TSaveDialog save(nullptr);
  save.DefaultExt = "txt";
  save.FileName = "grouplist.txt";
  save.Filter = "text files|*.txt|All files|*.*";
  save.Title = "Save grouplist.";
  save.Options = ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  hook.fileAnswers.push_back("/chosen/list.txt");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/chosen/list.txt");
  EXPECT_FALSE(save.Execute());  // no answer left: cancelled, the name stays
  EXPECT_EQ(save.FileName, "/chosen/list.txt");

  TOpenDialog open(nullptr);
  open.InitialDir = "/start";
  open.Options = ofFileMustExist;
  hook.fileAnswers.push_back("");
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(open.FileName, "");

  ASSERT_EQ(hook.fileDialogs.size(), 3u);
  const forms::testing::AskedFile& asked = hook.fileDialogs[0];
  EXPECT_TRUE(asked.save);
  EXPECT_EQ(asked.title, "Save grouplist.");
  EXPECT_EQ(asked.filter, "text files|*.txt|All files|*.*");
  EXPECT_EQ(asked.defaultExt, "txt");
  EXPECT_EQ(asked.fileName, "grouplist.txt");
  EXPECT_EQ(asked.options, ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist);
  EXPECT_FALSE(hook.fileDialogs[2].save);
  EXPECT_EQ(hook.fileDialogs[2].initialDir, "/start");
}

TEST(FormsFileDialogs, FiltersInQtsForm) {
  using forms::glue::qtNameFilters;
  EXPECT_EQ(qtNameFilters("Text files (*.txt)|*.txt|All files|*.*"),
            QStringLiteral("Text files (*.txt);;All files (*)"));
  EXPECT_EQ(qtNameFilters("RaidenFTPD vfs files|*.vfs|Backup files|*.backup|All files|*.*"),
            QStringLiteral("RaidenFTPD vfs files (*.vfs);;Backup files (*.backup);;All files (*)"));
  EXPECT_EQ(qtNameFilters("Lists|*.txt;*.lst"), QStringLiteral("Lists (*.txt *.lst)"));
  EXPECT_EQ(qtNameFilters("No pattern"), QStringLiteral("No pattern (*)"));
  EXPECT_EQ(qtNameFilters(""), QString());
}

TEST(FormsFileDialogs, TheRealDialogAsksAsTheOptionsSay) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  forms::glue::setHeadlessGuard(false);
  TSaveDialog save(nullptr);
  save.DefaultExt = "txt";
  save.Filter = "Text files (*.txt)|*.txt|All files|*.*";
  save.Title = "newdirlist plain textfile";
  save.InitialDir = XString(temp.path().toStdString());
  save.Options = ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofFileMustExist;

  // A name in a missing folder is refused and asked for again.
  QString missing = temp.path() + QStringLiteral("/missing/list");
  bool refused = false;
  whenModal<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("newdirlist plain textfile"));
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")}));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->setFileMode(QFileDialog::AnyFile);  // so Qt itself lets the name through
    whenModal<QMessageBox>([&](QMessageBox* refusal) {
      EXPECT_EQ(refusal->textFormat(), Qt::PlainText);
      refused = true;
      whenModal<QFileDialog>(
          [&](QFileDialog* again) { chooseFile(again, temp.path() + QStringLiteral("/chosen")); });
      refusal->accept();
    });
    chooseFile(dialog, missing);
  });
  bool confirmed = save.Execute();
  forms::glue::setHeadlessGuard(true);
  EXPECT_TRUE(refused);
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(
      save.FileName,
      XString(QDir::toNativeSeparators(temp.path() + QStringLiteral("/chosen.txt")).toStdString()));
}

}  // namespace
