// The colour dialog TFormColores: colour and line width of the seven pen styles. It has no OK
// or Cancel button; closing it applies what it shows.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QString>
#include <array>

#include "app/Lienzo.h"

namespace qv {

// One entry of the colour lists.
struct TNamedColor {
  const char* Name;
  QColor Color;
};

// The twenty colours the lists offer, in their order.
const std::array<TNamedColor, 20>& NamedColors();

class TFormColores : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRows = TPenStyles::kCount;

  explicit TFormColores(QWidget* parent);

  // Shows the styles: each row's colour selected, its width as the entry "1", "2" or "3", or as
  // typed text when outside them.
  void LoadStyles(const TPenStyles& styles);
  // Takes over what the dialog shows: first the seven colours, then the widths in row order.
  // A width text that is not an integer fails with "'<text>' is not a valid integer value",
  // leaving that row and the rows below with their previous widths.
  void ApplyStyles(TPenStyles& styles) const;

  QGroupBox* GroupBox1 = nullptr;
  // Row k (0 .. 6) edits pen style k + 1: ColorBox1 .. ColorBox7 and CBAncho1 .. CBAncho7.
  std::array<QComboBox*, kRows> ColorBox{};
  std::array<QComboBox*, kRows> CBAncho{};
};

}  // namespace qv
