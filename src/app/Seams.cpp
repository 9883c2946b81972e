#include "app/Seams.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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

}  // namespace qv
