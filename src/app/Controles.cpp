#include "app/Controles.h"

#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// The range every typed text of maxLength characters falls into.
int TypedBound(int maxLength) {
  return static_cast<int>(std::min(std::pow(10.0, maxLength) - 1.0, 999999999.0));
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent, int minValue, int maxValue, int maxLength, int value)
    : QSpinBox(parent), minValue_(minValue), maxValue_(maxValue), maxLength_(maxLength) {
  setRange(-TypedBound(maxLength - 1), TypedBound(maxLength));
  setValue(value);
  lineEdit()->setMaxLength(maxLength);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

bool TSpinEdit::HoldsInteger() const {
  bool ok = false;
  text().toInt(&ok);
  return ok;
}

void TSpinEdit::SetText(const QString& text) {
  lineEdit()->setText(text);
}

int TSpinEdit::IntValue(int fallback) const {
  bool ok = false;
  const int v = text().toInt(&ok);
  return ok ? v : fallback;
}

void TSpinEdit::stepBy(int steps) {
  const int from = std::clamp(IntValue(minValue_), minValue_, maxValue_);
  setValue(std::clamp(from + steps, minValue_, maxValue_));
  selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int& /*pos*/) const {
  if (input.size() > maxLength_) return QValidator::Invalid;
  for (const QChar ch : input) {
    if (!ch.isDigit() && ch != QLatin1Char('-') && ch != QLatin1Char('+')) {
      return QValidator::Invalid;
    }
  }
  return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString& text) const {
  bool ok = false;
  const int v = text.toInt(&ok);
  return ok ? std::clamp(v, minimum(), maximum()) : 0;
}

QString TSpinEdit::textFromValue(int value) const {
  return QString::number(value);
}

}  // namespace qv

#include <QPainter>

namespace qv {

TImageView::TImageView(QWidget* parent, const QImage* image) : QWidget(parent), image_(image) {}

void TImageView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (image_ != nullptr && !image_->isNull()) painter.drawImage(0, 0, *image_);
}

}  // namespace qv
