#include "app/PanelComparar.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <limits>

#include "app/Principal.h"
#include "geometry/UserError.h"
#include "methods/CaminosMinimos.h"
#include "methods/Capas.h"
#include "methods/Ejecucion.h"
#include "methods/Eleccion.h"
#include "methods/Incremental.h"
#include "methods/Remocion.h"
#include "stats/EstadisticasCapas.h"

namespace qv {

namespace {

const QStringList kColumns = {QStringLiteral("Weight"),   QStringLiteral("V degree"),
                              QStringLiteral("F degree"), QStringLiteral("Points"),
                              QStringLiteral("Faces"),    QStringLiteral("Triangles")};

// The chooser's triangulation when it opens on an n-gon: the fan from vertex 0.
TDCEL Fan(int n) {
  TTriangulationChoice choice;
  choice.Prepare(n);
  return choice.Triangulation();
}

template <TRemocionVariant variant>
TStatistics Remove(TNube& points, const TDocumento&, const std::string& separator) {
  int dragged = kNone;
  TDCEL pt;
  ComputeTriangulateRemove(points, variant, dragged, pt);
  return ComputeStatistics(points, pt, separator);
}

TStatistics Sweep(TNube& points, const TDocumento& doc, const std::string& separator) {
  int dragged = kNone;
  TDCEL pt;
  ComputeSweepLine(points, doc.SweepDirX, doc.SweepDirY, dragged, pt);
  return ComputeStatistics(points, pt, separator);
}

TStatistics Layers(TNube& points, const TDocumento&, const std::string& separator) {
  int dragged = kNone;
  TPTCapas layers;
  ComputeConvexLayers(points, dragged, layers);
  return ComputeLayerStatistics(points, layers, separator);
}

TStatistics IncrementalFace(TNube& points, const TDocumento&, const std::string& separator) {
  int dragged = kNone;
  TDCEL pt;
  ComputeIncrementalFace(points, dragged, Fan, pt);
  return ComputeStatistics(points, pt, separator);
}

TStatistics IncrementalVertex(TNube& points, const TDocumento&, const std::string& separator) {
  int dragged = kNone;
  TDCEL pt;
  ComputeIncrementalVertex(points, dragged, pt);
  return ComputeStatistics(points, pt, separator);
}

TStatistics ShortestPaths(TNube& points, const TDocumento&, const std::string& separator) {
  TShortestPathsRun run(points);
  const int n = static_cast<int>(points.size());
  TDCEL pt;
  run.Compute(
      Fan(n), false, [](int m, TDCEL& t) { ConvexPolygonFan(m, t); }, pt);
  return ComputeStatistics(points, pt, separator);
}

// The six figures in the columns' order, as numbers for finding the best.
std::array<double, 6> Numbers(const TStatistics& s) {
  return {s.WeightValue,    double(s.VertexDegree), double(s.FaceDegree),
          double(s.Points), double(s.Faces),        double(s.Triangles)};
}

QStringList Texts(const TStatistics& s) {
  return {QString::fromStdString(s.Weight), QString::number(s.VertexDegree),
          QString::number(s.FaceDegree),    QString::number(s.Points),
          QString::number(s.Faces),         QString::number(s.Triangles)};
}

}  // namespace

const std::vector<TVarianteComparada>& VariantesComparadas() {
  static const std::vector<TVarianteComparada> variants = {
      {QStringLiteral("Sweepline PT"), false, Sweep},
      {QStringLiteral("Convex layers PT"), false, Layers},
      {QStringLiteral("Remove: sweep triangulation"), false, Remove<TRemocionVariant::Sweep>},
      {QStringLiteral("Remove: Delaunay"), false, Remove<TRemocionVariant::Delaunay>},
      {QStringLiteral("Remove: edges"), false, Remove<TRemocionVariant::RemoveEdges>},
      {QStringLiteral("Remove: triangles"), false, Remove<TRemocionVariant::RemoveTriangles>},
      {QStringLiteral("Incremental: bounded face degree"), false, IncrementalFace},
      {QStringLiteral("Incremental: bounded vertex degree"), false, IncrementalVertex},
      {QStringLiteral("Shortest paths PT"), true, ShortestPaths},
  };
  return variants;
}

std::vector<TFilaComparada> CompareVariants(const TDocumento& doc, const std::string& separator) {
  std::vector<TFilaComparada> rows;
  for (const TVarianteComparada& v : VariantesComparadas()) {
    if (v.NeedsPolygon && !doc.PolygonClosed) continue;
    TFilaComparada row{v.Caption, v.NeedsPolygon, std::nullopt, QString()};
    try {
      if (doc.PointCount() < 3) throw UserError("At least 3 points are needed.");
      TNube points = doc.Points;
      row.Figures = v.Run(points, doc, separator);
    } catch (const UserError& e) {
      row.Refusal = QString::fromUtf8(e.what());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TPanelComparar::TPanelComparar(QWidget* parent, const TDocumento& doc)
    : QDockWidget(QStringLiteral("Compare methods"), parent), doc_(doc) {
  setObjectName(QStringLiteral("PanelComparar"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  Tabla = new QTableWidget(0, static_cast<int>(kColumns.size()), body);
  Tabla->setHorizontalHeaderLabels(kColumns);
  Tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* copy = new QPushButton(QStringLiteral("Copy"), body);
  copy->setObjectName(QStringLiteral("BotonCopiar"));
  connect(copy, &QPushButton::clicked, this, [this] { CopyClick(); });
  layout->addWidget(Tabla);
  layout->addWidget(copy);
  setWidget(body);
  catchUp_.setSingleShot(true);
  connect(&catchUp_, &QTimer::timeout, this, [this] { Recompute(); });
}

bool TPanelComparar::Current() const {
  return computed_ && polygon_ == doc_.PolygonClosed && dirX_ == doc_.SweepDirX &&
         dirY_ == doc_.SweepDirY && points_ == doc_.Points;
}

void TPanelComparar::Show(const QString& shownRow, const std::optional<TStatistics>& shownFigures) {
  shownRow_ = shownRow;
  shownFigures_ = shownFigures;
  if (!isVisible()) {
    computed_ = false;  // a closed panel never shows rows of another document
    return;
  }
  if (Current()) {
    Fill();
    return;
  }
  // A drag outruns a slow panel: the moves between recomputations are skipped and the rows
  // catch up once the last recomputation's time has passed.
  if (doc_.DraggedPoint != kNone && lastCostMs_ > kDragBudgetMs) {
    if (!catchUp_.isActive()) catchUp_.start(static_cast<int>(std::min<qint64>(lastCostMs_, 2000)));
    return;
  }
  catchUp_.stop();
  Recompute();
}

void TPanelComparar::Recompute() {
  QElapsedTimer clock;
  clock.start();
  rows_ = CompareVariants(doc_, QLocale().groupSeparator().toStdString());
  computed_ = true;
  points_ = doc_.Points;
  polygon_ = doc_.PolygonClosed;
  dirX_ = doc_.SweepDirX;
  dirY_ = doc_.SweepDirY;
  lastCostMs_ = clock.elapsed();
  Fill();
}

void TPanelComparar::Fill() {
  std::vector<TFilaComparada> rows = rows_;
  for (TFilaComparada& r : rows)
    if (shownFigures_ && r.Caption == shownRow_) r.Figures = shownFigures_;
  Tabla->clearSpans();
  Tabla->setRowCount(static_cast<int>(rows.size()));
  // The lowest value of a column is the best among the methods that cover the same region (the
  // hull, or the polygon); points are the same for every method.
  std::array<std::array<double, 6>, 2> best;
  for (auto& group : best) group.fill(std::numeric_limits<double>::infinity());
  std::array<int, 2> members{0, 0};
  for (const TFilaComparada& r : rows) {
    if (!r.Figures) continue;
    const std::array<double, 6> n = Numbers(*r.Figures);
    std::array<double, 6>& b = best[r.Polygon ? 1 : 0];
    ++members[r.Polygon ? 1 : 0];
    for (size_t c = 0; c < n.size(); ++c) b[c] = std::min(b[c], n[c]);
  }
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TFilaComparada& r = rows[size_t(i)];
    Tabla->setVerticalHeaderItem(i, new QTableWidgetItem(r.Caption));
    for (int c = 0; c < Tabla->columnCount(); ++c) Tabla->setItem(i, c, new QTableWidgetItem);
    if (!r.Figures) {
      Tabla->item(i, 0)->setText(r.Refusal);
      Tabla->setSpan(i, 0, 1, Tabla->columnCount());
      continue;
    }
    const QStringList texts = Texts(*r.Figures);
    const std::array<double, 6> n = Numbers(*r.Figures);
    // A method alone in its group has nothing to be weighed against.
    const bool compared = members[r.Polygon ? 1 : 0] > 1;
    for (int c = 0; c < Tabla->columnCount(); ++c) {
      QTableWidgetItem* item = Tabla->item(i, c);
      item->setText(texts[c]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (compared && c != 3 && n[size_t(c)] == best[r.Polygon ? 1 : 0][size_t(c)]) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setBackground(QColor(200, 240, 200));
      }
    }
  }
  // Wide enough to read every cell; the canvas beside it shrinks.
  Tabla->resizeColumnsToContents();
  int width = Tabla->verticalHeader()->width() + 2 * Tabla->frameWidth() +
              Tabla->verticalScrollBar()->sizeHint().width() + 24;
  for (int c = 0; c < Tabla->columnCount(); ++c) width += Tabla->columnWidth(c);
  widget()->setMinimumWidth(width);
}

QString TPanelComparar::TableText() const {
  QString text = QStringLiteral("Method\t") + kColumns.join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (int i = 0; i < Tabla->rowCount(); ++i) {
    QStringList cells{Tabla->verticalHeaderItem(i)->text()};
    const int columns = Tabla->columnSpan(i, 0) > 1 ? 1 : Tabla->columnCount();
    for (int c = 0; c < columns; ++c) cells << Tabla->item(i, c)->text();
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return text;
}

void TPanelComparar::CopyClick() {
  QApplication::clipboard()->setText(TableText());
}

void TPanelComparar::showEvent(QShowEvent* event) {
  QDockWidget::showEvent(event);
  if (!Current()) Recompute();
}

TPanelComparar* InstallComparePanel(TForm1& form) {
  auto* panel = new TPanelComparar(&form, form.Doc);
  form.addDockWidget(Qt::RightDockWidgetArea, panel);
  panel->hide();
  QAction* entry = panel->toggleViewAction();
  entry->setObjectName(QStringLiteral("VComparar"));
  auto* view = new QMenu(QStringLiteral("View"), &form);
  view->addAction(entry);
  form.menuBar()->insertMenu(form.About1, view);
  return panel;
}

}  // namespace qv
