#include "app/autor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

namespace qv {

QPixmap AboutLogo() {
  QPixmap logo(80, 60);
  logo.fill(Qt::white);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF a(8, 52), b(72, 52), c(40, 6);
  // Each side bends inwards towards the centre: the corners stay the only convex ones.
  const QPointF inward(40, 38);
  QPainterPath path(a);
  path.quadTo((a + b) / 2 + (inward - (a + b) / 2) * 0.8, b);
  path.quadTo((b + c) / 2 + (inward - (b + c) / 2) * 0.8, c);
  path.quadTo((c + a) / 2 + (inward - (c + a) / 2) * 0.8, a);
  painter.setPen(QPen(QColor(0, 0, 128), 2));
  painter.setBrush(QColor(166, 202, 240));
  painter.drawPath(path);
  painter.setBrush(QColor(255, 0, 0));
  painter.setPen(QPen(Qt::black, 1));
  for (const QPointF& p : {a, b, c}) painter.drawEllipse(p, 3.0, 3.0);
  return logo;
}

TFormAutor::TFormAutor(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormAutor"));
  setWindowTitle(QStringLiteral("About Quilvaron"));
  setFixedSize(281, 126);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setGeometry(8, 16, 84, 64);
  Image1 = new QLabel(Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(2, 2, 80, 60);
  Image1->setPixmap(AboutLogo());

  QFont textFont = font();
  textFont.setPointSize(8);
  auto line = [this, &textFont](const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(textFont);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->move(x, y);
    label->adjustSize();
    return label;
  };
  Label1 = line("Label1", QStringLiteral("Quilvaron"), 128, 20);
  Label2 = line("Label2", QStringLiteral("Pseudo-triangulations"), 112, 41);
  Label3 = line("Label3", QStringLiteral("version 1.8.1  (Feb 2011)"), 123, 62);
}

}  // namespace qv
