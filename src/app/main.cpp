#include <QApplication>
#include <QTimer>
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
  // quilvaron FILE.pt (as the desktop opens a file): opened once the window stands, so that
  // the view fits the canvas it shows in; a file that cannot be read leaves an empty document
  // and its message.
  if (argc >= 2) {
    const QString name = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(0, &form, [&form, name] {
      form.Guarded([&] {
        form.OpenName = name;
        form.OpenPointsFile(name);
      });
    });
  }
  return QApplication::exec();
}
