// The compare panel: its rows against each method run alone in the window, and its refusals.
#include "app/PanelComparar.h"

#include <QClipboard>
#include <QGuiApplication>

#include "VentanaPrueba.h"

namespace qv {
namespace {

class ComparePanel : public test::Ventana {
 protected:
  void SetUp() override {
    test::Ventana::SetUp();
    form->PanelComparar->show();
  }
  QStringList Row(int row) const {
    QStringList cells;
    for (int c = 0; c < form->PanelComparar->Tabla->columnCount(); ++c)
      cells << form->PanelComparar->Tabla->item(row, c)->text();
    return cells;
  }
};

TEST_F(ComparePanel, EveryRowHoldsTheFiguresOfItsMethodRunAlone) {
  const std::vector<QAction*> methods = {form->tbBarrido, form->tbCapas,   form->RBarrido,
                                         form->RDelaunay, form->RRemoverA, form->RRemoverT,
                                         form->IBoundedF, form->IBoundedV};
  for (uint32_t seed : {3u, 29u}) {
    TRandom points(seed);
    form->Doc.Points = GenerateUniform(points, 12 + static_cast<int>(seed), 600, 400);
    for (int row = 0; row < static_cast<int>(methods.size()); ++row) {
      chooser.Answers.push_back({});  // "OK" on the fan
      Execute(methods[size_t(row)]);
      ExpectNoMessage();
      ASSERT_EQ(form->PanelComparar->Tabla->rowCount(), 8);  // no polygon, no shortest paths
      EXPECT_EQ(Row(row), Panel()) << "seed " << seed << " row " << row;
    }
  }
  form->PanelComparar->CopyClick();
  const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 10);  // header, 8 rows, final newline
  EXPECT_EQ(lines[2].split(QLatin1Char('\t')).mid(1), Row(1));
}

TEST_F(ComparePanel, ARefusedSetShowsEachMethodsTextAndAPolygonAddsShortestPaths) {
  const struct {
    TNube points;
    bool polygon;
    int rows;
    const char* first;  // the first row's refusal, or the shortest paths row's point count
  } rows[] = {{{{10, 10}, {20, 20}, {30, 30}, {40, 40}},
               false,
               8,
               "At least 3 non-collinear points are needed."},
              {{{10, 10}, {50, 10}, {10, 10}, {30, 60}}, false, 8, "No coincident points allowed."},
              {{{10, 10}, {200, 20}, {120, 60}, {210, 140}, {30, 130}}, true, 9, "5"}};
  for (const auto& r : rows) {
    form->Doc.Points = r.points;
    form->Doc.PolygonClosed = r.polygon;
    form->PanelComparar->Recompute();
    QTableWidget* t = form->PanelComparar->Tabla;
    ASSERT_EQ(t->rowCount(), r.rows);
    EXPECT_EQ(r.polygon ? t->item(8, 3)->text() : t->item(0, 0)->text(),
              QString::fromUtf8(r.first));
    EXPECT_EQ(t->columnSpan(0, 0), r.polygon ? 1 : 6);
  }
}

}  // namespace
}  // namespace qv
