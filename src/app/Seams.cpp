#include "app/Seams.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "methods/Aleatorio.h"

namespace qv {

void TMessageBoxes::ShowMessage(const QString& text) {
  QMessageBox::information(parent_, QStringLiteral("Quilvaron"), text);
}

namespace {

QString WithExtension(QString name, const QString& defaultExtension) {
  if (!name.isEmpty() && !defaultExtension.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
    name += QLatin1Char('.') + defaultExtension;
  }
  return name;
}

}  // namespace

QString TFileDialogs::OpenFileName(const QString& filter, const QString& defaultExtension) {
  return WithExtension(QFileDialog::getOpenFileName(parent_, QString(), QString(), filter),
                       defaultExtension);
}

QString TFileDialogs::SaveFileName(const QString& filter, const QString& defaultExtension) {
  return WithExtension(QFileDialog::getSaveFileName(parent_, QString(), QString(), filter),
                       defaultExtension);
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
