#include <QApplication>

#include "app/Principal.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quilvaron"));
  qv::TForm1 form;
  form.show();
  return QApplication::exec();
}
