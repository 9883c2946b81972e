// The compare panel: a dock with one row per method variant that applies to the document and
// the six statistics in columns, so that the methods can be weighed against each other on the
// points on show. It follows every execution of the shown method; during a drag it skips
// recomputations while the mouse moves faster than it can follow, and catches up once it can.
#pragma once

#include <QDockWidget>
#include <QElapsedTimer>
#include <QString>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "app/Documento.h"
#include "stats/Estadisticas.h"

namespace qv {

class TForm1;

// One method variant as the panel runs it: on a copy of the document's points.
struct TVarianteComparada {
  QString Caption;
  bool NeedsPolygon = false;
  // Throws UserError with the window's text when the method refuses the set.
  std::function<TStatistics(TNube& points, const TDocumento& doc, const std::string& separator)>
      Run;
};

// Every variant: sweep line at the document's angle, convex layers, the four triangulate-and-
// remove variants, both incremental variants from the fan triangulation of the hull, and
// shortest paths (fan triangulation of the polygon, no pockets).
const std::vector<TVarianteComparada>& VariantesComparadas();

// What one row shows: the figures, or the refusal text.
struct TFilaComparada {
  QString Caption;
  bool Polygon = false;  // the method covers the polygon, not the hull
  std::optional<TStatistics> Figures;
  QString Refusal;
};

// The rows for the document: a variant needing a polygon only when one is defined.
std::vector<TFilaComparada> CompareVariants(const TDocumento& doc, const std::string& separator);

class TPanelComparar : public QDockWidget {
  Q_OBJECT

 public:
  // A drag recomputes at once while a recomputation takes at most this long.
  static constexpr qint64 kDragBudgetMs = 30;

  TPanelComparar(QWidget* parent, const TDocumento& doc);

  // Brings the rows into line with the document: recomputed when the points, the polygon or
  // the sweep direction changed since the last fill (an open panel at once, or once the drag
  // lets it; a closed one when it opens). The row of the result on show, shownRow, carries
  // that result's figures, so that it says what the statistics panel says.
  void Show(const QString& shownRow, const std::optional<TStatistics>& shownFigures);
  // Recomputes every row now.
  void Recompute();
  // The table as tab-separated text, a header line first.
  QString TableText() const;
  // Puts TableText on the clipboard.
  void CopyClick();

  QTableWidget* Tabla = nullptr;
  // How long the last recomputation took.
  qint64 LastCostMs() const { return lastCostMs_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();
  bool Current() const;

  const TDocumento& doc_;
  std::vector<TFilaComparada> rows_;
  QString shownRow_;
  std::optional<TStatistics> shownFigures_;
  // What the rows were computed from.
  bool computed_ = false;
  TNube points_;
  bool polygon_ = false;
  double dirX_ = 0, dirY_ = 0;
  QTimer catchUp_;
  qint64 lastCostMs_ = 0;
};

// Creates the panel, closed, docked on the right of the window, and its entry in a "View" menu.
TPanelComparar* InstallComparePanel(TForm1& form);

}  // namespace qv
