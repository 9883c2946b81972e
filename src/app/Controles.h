// Small controls the window needs beyond Qt's own.
#pragma once

#include <QSpinBox>

namespace qv {

// A spin field whose text is free: any text of up to maxLength sign and digit characters can
// be typed (the handlers read and interpret the text), while the arrows step within
// [minValue, maxValue].
class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  TSpinEdit(QWidget* parent, int minValue, int maxValue, int maxLength, int value);

  // The integer in the text, or fallback when the text is not an integer.
  int IntValue(int fallback) const;
  // True when the text is an integer.
  bool HoldsInteger() const;
  // Replaces the text as typing would (the change signals follow).
  void SetText(const QString& text);

  void stepBy(int steps) override;

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;
  QString textFromValue(int value) const override;

 private:
  int minValue_;
  int maxValue_;
  int maxLength_;
};

}  // namespace qv

#include <QImage>
#include <QWidget>

namespace qv {

// Shows an image owned elsewhere (the compass), as it stands at each repaint.
class TImageView : public QWidget {
  Q_OBJECT

 public:
  TImageView(QWidget* parent, const QImage* image);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* image_;
};

}  // namespace qv
