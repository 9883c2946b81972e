#include "app/ConfigColores.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <string>

#include "geometry/UserError.h"
#include "io/ArchivoPT.h"

namespace qv {

const std::array<TNamedColor, 20>& NamedColors() {
  static const std::array<TNamedColor, 20> kColors{{
      {"Black", QColor(0, 0, 0)},
      {"Maroon", QColor(128, 0, 0)},
      {"Green", QColor(0, 128, 0)},
      {"Olive", QColor(128, 128, 0)},
      {"Navy", QColor(0, 0, 128)},
      {"Purple", QColor(128, 0, 128)},
      {"Teal", QColor(0, 128, 128)},
      {"Gray", QColor(128, 128, 128)},
      {"Silver", QColor(192, 192, 192)},
      {"Red", QColor(255, 0, 0)},
      {"Lime", QColor(0, 255, 0)},
      {"Yellow", QColor(255, 255, 0)},
      {"Blue", QColor(0, 0, 255)},
      {"Fuchsia", QColor(255, 0, 255)},
      {"Aqua", QColor(0, 255, 255)},
      {"White", QColor(255, 255, 255)},
      {"Money Green", QColor(192, 220, 192)},
      {"Sky Blue", QColor(166, 202, 240)},
      {"Cream", QColor(255, 251, 240)},
      {"Med Gray", QColor(160, 160, 164)},
  }};
  return kColors;
}

namespace {

QPixmap Swatch(const QColor& color) {
  QPixmap swatch(16, 12);
  swatch.fill(color);
  QPainter painter(&swatch);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
  return swatch;
}

QComboBox* NewColorBox(QWidget* parent, int row, int top) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("ColorBox%1").arg(row + 1));
  box->setGeometry(140, top, 106, 22);
  box->setIconSize(QSize(16, 12));
  for (const TNamedColor& c : NamedColors()) {
    box->addItem(QIcon(Swatch(c.Color)), QString::fromLatin1(c.Name), c.Color);
  }
  return box;
}

QComboBox* NewWidthBox(QWidget* parent, int row, int top) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("CBAncho%1").arg(row + 1));
  box->setGeometry(331, top, 38, 21);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  return box;
}

}  // namespace

TFormColores::TFormColores(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormColores"));
  setWindowTitle(QStringLiteral("Color configuration"));
  setFixedSize(432, 270);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  GroupBox1 = new QGroupBox(QStringLiteral("Pens"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(16, 16, 393, 209);

  constexpr std::array<int, kRows> kTops{22, 47, 73, 98, 124, 150, 174};
  const std::array<const char*, kRows> kCaptions{
      "Hull",    "Internal edges", "Convex layers",  "Inter-layer",
      "Pockets", "Points",         "Selected points"};
  QFont captionFont = font();
  captionFont.setPointSize(10);
  for (int k = 0; k < kRows; ++k) {
    const int top = kTops[static_cast<size_t>(k)];
    auto* caption = new QLabel(QString::fromLatin1(kCaptions[static_cast<size_t>(k)]), GroupBox1);
    caption->setFont(captionFont);
    caption->setGeometry(10, top, 128, 22);
    ColorBox[static_cast<size_t>(k)] = NewColorBox(GroupBox1, k, top);
    auto* width = new QLabel(QStringLiteral("Width"), GroupBox1);
    width->setGeometry(279, top, 50, 22);
    CBAncho[static_cast<size_t>(k)] = NewWidthBox(GroupBox1, k, top);
  }
}

void TFormColores::LoadStyles(const TPenStyles& styles) {
  for (int k = 0; k < kRows; ++k) {
    const TPenStyle& style = styles[k + 1];
    QComboBox* colors = ColorBox[static_cast<size_t>(k)];
    colors->setCurrentIndex(colors->findData(style.Color));
    QComboBox* width = CBAncho[static_cast<size_t>(k)];
    if (style.Width >= 1 && style.Width <= 3) {
      width->setCurrentIndex(style.Width - 1);
    } else {
      width->setEditText(QString::number(style.Width));
    }
  }
}

void TFormColores::ApplyStyles(TPenStyles& styles) const {
  for (int k = 0; k < kRows; ++k) {
    const QVariant color = ColorBox[static_cast<size_t>(k)]->currentData();
    if (color.isValid()) styles[k + 1].Color = color.value<QColor>();
  }
  for (int k = 0; k < kRows; ++k) {
    const QString text = CBAncho[static_cast<size_t>(k)]->currentText();
    int32_t width = 0;
    if (!ParseCoordinate(text.toStdString(), width)) {
      throw UserError("'" + text.toStdString() + "' is not a valid integer value");
    }
    styles[k + 1].Width = width;
  }
}

}  // namespace qv
