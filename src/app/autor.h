// The About box TFormAutor: the program's logo, name and version.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>

namespace qv {

class TFormAutor : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAutor(QWidget* parent);

  QFrame* Panel1 = nullptr;
  QLabel* Image1 = nullptr;  // the 80 x 60 logo
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;  // the version line
};

// The 80 x 60 logo: a pseudo-triangle, three convex corners joined by concave chains.
QPixmap AboutLogo();

}  // namespace qv
