#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/Principal.h"

int main(int argc, char* argv[]) {
  // Answered before the window system is reached, so that it works without a display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quilvaron %s\n", QUILVARON_VERSION);
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quilvaron"));
  QApplication::setApplicationVersion(QStringLiteral(QUILVARON_VERSION));
  qv::TForm1 form;
  form.show();
  return QApplication::exec();
}
