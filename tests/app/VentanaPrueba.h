// A shown main window with recorded messages, scripted file dialogs and a scratch folder: the
// fixture of every window test, with the mouse and key helpers and the checks of what the
// canvas shows.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "Pixeles.h"
#include "TempDir.h"
#include "app/Principal.h"
#include "app/Seams.h"
#include "methods/Aleatorio.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace qv::test {

class Ventana : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = UniqueTempDir("qv_window");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // The window's settings (the recent files) live beside the scratch folder of the test.
    settings = dir.string() + "_settings";
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(settings.string()));
    form = std::make_unique<TForm1>();
    form->SetMessages(&messages);
    form->SetFileDialogs(&dialogs);
    form->SetChooser(&chooser);
    form->setWindowState(Qt::WindowNoState);
    form->resize(1000, 700);
    form->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    form.reset();
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(settings);
  }

  QString Path(const std::string& name) const {
    return QString::fromStdString((dir / name).string());
  }
  static std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Spit(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
  }
  int FilesInDir() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir),
                                          std::filesystem::directory_iterator()));
  }

  // Mouse on the canvas, in canvas pixels.
  void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(form->Pizarra, button, {}, QPoint(x, y));
  }
  void ClickAll(const TNube& points) {
    for (const TPoint& p : points) Click(p.X, p.Y);
  }
  void Press(int x, int y) { QTest::mousePress(form->Pizarra, Qt::LeftButton, {}, QPoint(x, y)); }
  void MoveTo(int x, int y) { QTest::mouseMove(form->Pizarra, QPoint(x, y)); }
  void Release(int x, int y) {
    QTest::mouseRelease(form->Pizarra, Qt::LeftButton, {}, QPoint(x, y));
  }
  // Presses at from and lets go at to, by way of the middle, with the tool (the move tool unless
  // told).
  void Drag(TPoint from, TPoint to, QAction* tool = nullptr) {
    (tool != nullptr ? tool : form->tbMover)->trigger();
    Press(from.X, from.Y);
    MoveTo((from.X + to.X) / 2, (from.Y + to.Y) / 2);
    MoveTo(to.X, to.Y);
    Release(to.X, to.Y);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(form.get(), key, modifiers);
  }
  void Resize(QSize size) {
    form->resize(size);
    QCoreApplication::processEvents();
  }
  void ToggleComparePanel() {
    form->findChild<QAction*>(QStringLiteral("VComparar"))->trigger();
    QCoreApplication::processEvents();
  }
  QImage Canvas() { return form->Pizarra->Surface().copy(); }
  // The messages shown since the last call.
  std::vector<QString> Shown() {
    std::vector<QString> shown;
    shown.swap(messages.Messages);
    return shown;
  }
  std::vector<QString> One(const char* text) { return {QString::fromUtf8(text)}; }
  void ExpectNoMessage() {
    ASSERT_TRUE(messages.Messages.empty()) << messages.Messages[0].toStdString();
  }
  // Selects a method or variant from its menu item or tool button and executes it.
  void Execute(QAction* method) {
    method->trigger();
    form->tbEjecutar->trigger();
  }

  // The middle half of the segment between points a and b is drawn in colour c.
  bool MiddleDrawn(const QImage& img, int a, int b, const QColor& c) const {
    const TPoint p = form->Doc.Points[size_t(a)], q = form->Doc.Points[size_t(b)];
    return SegmentDrawn(img, QPoint(p.X + (q.X - p.X) / 4, p.Y + (q.Y - p.Y) / 4),
                        QPoint(p.X + 3 * (q.X - p.X) / 4, p.Y + 3 * (q.Y - p.Y) / 4), c);
  }
  // The statistics panel: weight, vertex and face degree, points, faces, pseudo-triangles. The
  // figures of a column end on one edge, the right column beyond the left one's.
  QStringList Panel() const {
    const int left = form->LPeso->geometry().right(), right = form->LPuntos->geometry().right();
    EXPECT_TRUE(form->LGradoV->geometry().right() == left &&
                form->LGradoC->geometry().right() == left &&
                form->LNumCaras->geometry().right() == right &&
                form->LNumT->geometry().right() == right && form->LPuntos->x() > left);
    // No caption or figure is narrower than its text: none is cut.
    for (const QLabel* l : form->PanelStat->findChildren<QLabel*>())
      EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
    QStringList cells;
    for (QLabel* l :
         {form->LPeso, form->LGradoV, form->LGradoC, form->LPuntos, form->LNumCaras, form->LNumT})
      cells << l->text();
    return cells;
  }
  // Every point is drawn over whatever lies beneath it, in the point colour.
  bool PointsDrawn() {
    const QImage img = Canvas();
    for (const TPoint& p : form->Doc.Points)
      if (!Is(img, p.X, p.Y, Qt::red)) return false;
    return true;
  }
  // Every edge of the current result is drawn in black between its end points.
  bool ResultDrawn() {
    const QImage img = Canvas();
    const TDCEL& pt = form->Doc.CurrentPT;
    if (pt.HalfEdgeCount() == 0) return false;
    for (int e = 0; e < pt.HalfEdgeCount(); ++e)
      if (pt.Origin(e) != kNone && !MiddleDrawn(img, pt.Origin(e), pt.Destination(e), Qt::black))
        return false;
    return true;
  }

  std::filesystem::path dir;
  std::filesystem::path settings;
  std::unique_ptr<TForm1> form;
  TRecordedMessages messages;
  TScriptedFileDialogs dialogs;
  TRandom random{7};
  TScriptedChooser chooser{random};
};

}  // namespace qv::test
