#include "app/Seams.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <utility>

#include "methods/Aleatorio.h"

namespace qv {

void TMessageBoxes::ShowMessage(const QString& text) {
  QMessageBox::information(parent_, QStringLiteral("Quilvaron"), text);
}

TSaveAnswer TMessageBoxes::AskToSave(const QString& question) {
  switch (QMessageBox::question(parent_, QStringLiteral("Quilvaron"), question,
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                QMessageBox::Save)) {
    case QMessageBox::Save:
      return TSaveAnswer::Save;
    case QMessageBox::Discard:
      return TSaveAnswer::Discard;
    default:
      return TSaveAnswer::Cancel;  // also a box closed without an answer
  }
}

bool TMessageBoxes::Confirm(const QString& question) {
  return QMessageBox::question(parent_, QStringLiteral("Quilvaron"), question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool TRecordedMessages::Confirm(const QString& question) {
  Questions.push_back(question);
  if (Confirmations.empty()) return true;
  const bool answer = Confirmations.front();
  Confirmations.pop_front();
  return answer;
}

TSaveAnswer TRecordedMessages::AskToSave(const QString& question) {
  Questions.push_back(question);
  if (Answers.empty()) return TSaveAnswer::Discard;
  const TSaveAnswer answer = Answers.front();
  Answers.pop_front();
  return answer;
}

QStringList DialogNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // The label's own parenthesised list is only for the eye; the pattern decides.
    QString label = parts[i];
    label.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      for (const QString& variant : {pattern.trimmed(), pattern.trimmed().toLower()}) {
        if (!patterns.contains(variant)) patterns << variant;
      }
    }
    filters << label + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

namespace {

// "*.pt" -> "pt".
QString Suffix(QString defaultExtension) {
  while (defaultExtension.startsWith(QLatin1Char('*')) ||
         defaultExtension.startsWith(QLatin1Char('.'))) {
    defaultExtension.remove(0, 1);
  }
  return defaultExtension;
}

QString Ask(QWidget* parent, bool save, const QString& filter, const QString& defaultExtension,
            const QString& remembered) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The window asks before replacing a file, through its message seam.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(DialogNameFilters(filter));
  dialog.setDefaultSuffix(Suffix(defaultExtension));
  if (!remembered.isEmpty()) dialog.selectFile(remembered);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().front();
}

}  // namespace

QString TFileDialogs::OpenFileName(const QString& filter, const QString& defaultExtension,
                                   const QString& remembered) {
  return Ask(parent_, false, filter, defaultExtension, remembered);
}

QString TFileDialogs::SaveFileName(const QString& filter, const QString& defaultExtension,
                                   const QString& remembered) {
  return Ask(parent_, true, filter, defaultExtension, remembered);
}

QString TScriptedFileDialogs::OpenFileName(const QString& filter, const QString& defaultExtension,
                                           const QString& remembered) {
  Requests.push_back({false, filter, defaultExtension, remembered});
  return Next();
}

QString TScriptedFileDialogs::SaveFileName(const QString& filter, const QString& defaultExtension,
                                           const QString& remembered) {
  Requests.push_back({true, filter, defaultExtension, remembered});
  return Next();
}

QString TScriptedFileDialogs::Next() {
  if (Names.empty()) return QString();
  QString name = Names.front();
  Names.pop_front();
  return name;
}

bool TScriptedChooser::ShowModal(int n) {
  Shown.push_back(n);
  EnabledWhenShown.push_back(OptionsEnabled);
  Model.Prepare(n);
  if (Answers.empty()) return false;
  const TChooserAnswer answer = Answers.front();
  Answers.pop_front();
  for (const char press : answer.Presses) {
    if (press == 'N') Model.Next();
    if (press == 'P') Model.Prev();
    if (press == 'R') Model.RandomFlips(random_);
  }
  if (answer.Labels >= 0) LabelsChecked = answer.Labels != 0;
  if (answer.Pockets >= 0) SetPockets(answer.Pockets != 0);
  if (answer.Monocolor >= 0) SetMonocolor(answer.Monocolor != 0);
  return answer.Ok;
}

void TScriptedChooser::SetPockets(bool checked) {
  if (checked == PocketsChecked) return;
  PocketsChecked = checked;
  if (!PocketsChecked) MonocolorChecked = false;
  Model.Recompute = true;
}

void TScriptedChooser::SetMonocolor(bool checked) {
  MonocolorChecked = checked;
  SetPockets(PocketsChecked || MonocolorChecked);
}

}  // namespace qv
