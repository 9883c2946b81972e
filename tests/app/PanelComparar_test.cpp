// The compare panel: its rows against each method run alone in the window.
#include "app/PanelComparar.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <algorithm>

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
  // In every column but the points the least figure is bold, in each row that has it.
  QTableWidget* table = form->PanelComparar->Tabla;
  for (int c : {0, 1, 2, 4, 5}) {
    std::vector<double> column;
    for (int r = 0; r < table->rowCount(); ++r)
      column.push_back(QString(Row(r)[c]).remove(QLatin1Char(',')).toDouble());
    const double least = *std::min_element(column.begin(), column.end());
    for (int r = 0; r < table->rowCount(); ++r)
      EXPECT_EQ(table->item(r, c)->font().bold(), column[size_t(r)] == least) << r << "," << c;
  }
  // Wide enough that no figure is cut.
  int columns = table->verticalHeader()->width();
  for (int c = 0; c < table->columnCount(); ++c) columns += table->columnWidth(c);
  EXPECT_GE(table->viewport()->width() + table->verticalHeader()->width(), columns);
  form->PanelComparar->CopyClick();
  const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 10);  // header, 8 rows, final newline
  EXPECT_EQ(lines[2].split(QLatin1Char('\t')).mid(1), Row(1));
}

}  // namespace
}  // namespace qv
