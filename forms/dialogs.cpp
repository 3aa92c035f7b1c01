#include "forms/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "forms/hook.h"
#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::toQ;

namespace forms::glue {

QString qtNameFilters(const XString& filter) {
  QStringList parts = toQ(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    if (i + 1 == parts.size() && parts[i].isEmpty()) break;  // an empty filter, or a '|' at the end
    QString description = parts[i].trimmed();
    // Qt shows the patterns after the description itself; drop those that
    // the description already names.
    if (description.endsWith(QLatin1Char(')'))) {
      qsizetype open = description.lastIndexOf(QLatin1Char('('));
      if (open > 0) description = description.left(open).trimmed();
    }
    QStringList patterns;
    const QString given = i + 1 < parts.size() ? parts[i + 1] : QString();
    for (QString pattern : given.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      pattern = pattern.trimmed();
      // "*.*" is every file, also one without a dot in its name.
      patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    filters << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters.join(QLatin1String(";;"));
}

}  // namespace forms::glue

TOpenDialog::TOpenDialog(TComponent* owner) : TOpenDialog(owner, false) {}

TOpenDialog::TOpenDialog(TComponent* owner, bool save)
    : TComponent(owner, XString()), save_(save) {}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner, true) {}

bool TOpenDialog::Execute() {
  forms::glue::ensureApp();
  if (forms::Hook* hook = forms::hook()) return hook->answerFileDialog(*this);
  if (forms::glue::headless()) forms::glue::noAnswer("a file dialog");
  QFileDialog dialog(QApplication::activeWindow(), toQ(Title), toQ(InitialDir),
                     forms::glue::qtNameFilters(Filter));
  dialog.setAcceptMode(save_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                 : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Options & ofOverwritePrompt));
  if (!DefaultExt.empty()) dialog.setDefaultSuffix(toQ(DefaultExt));
  if (!FileName.empty()) dialog.selectFile(toQ(FileName));
  for (;;) {
    if (dialog.exec() != QDialog::Accepted) return false;
    QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    QFileInfo file(chosen.first());
    if ((Options & ofPathMustExist) && !file.absoluteDir().exists()) {
      // Qt takes a name in a missing folder; ask again, as the option says.
      QMessageBox refusal(QMessageBox::Warning, dialog.windowTitle(),
                          QDir::toNativeSeparators(file.absolutePath()) +
                              QLatin1String("\nThe folder does not exist."),
                          QMessageBox::Ok, &dialog);
      refusal.setTextFormat(Qt::PlainText);
      refusal.exec();
      continue;
    }
    FileName = fromQ(QDir::toNativeSeparators(file.absoluteFilePath()));
    return true;
  }
}
