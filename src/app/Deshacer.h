// The undo history of the document: one QUndoCommand class per kind of change, each holding
// only what its change altered (an edit script of the point sequence and a few values), so
// that a thousand steps over a large set cost memory in proportion to the edits made.
//
// The window records a change after making it: THistoria::Record compares the document with
// the content it last recorded and pushes one step holding the difference. Executions also
// reorder the points (every method sorts them; the sweep may shift one by a pixel) without
// being changes of their own; THistoria::Sync folds such drift into the step it followed, so
// that every step always joins the content before it to the content after it.
#pragma once

#include <QString>
#include <QUndoCommand>
#include <QUndoStack>
#include <cstddef>
#include <memory>
#include <vector>

#include "app/Documento.h"
#include "methods/Eleccion.h"

namespace qv {

// An edit script between two point sequences: runs of points removed from the first and
// inserted in their place. It holds only the points that differ (or the two differing middles
// when they differ in too many places for a short script to be worth finding).
class TDiferencia {
 public:
  static TDiferencia Between(const TNube& before, const TNube& after);
  // The sequence after, from the sequence before; and the reverse.
  TNube Forward(const TNube& before) const;
  TNube Backward(const TNube& after) const;
  bool Empty() const { return tramos_.empty(); }
  // The points the script keeps.
  std::size_t StoredPoints() const;

 private:
  struct TTramo {
    int At = 0;  // index in the sequence before
    TNube Removed;
    TNube Added;
  };
  std::vector<TTramo> tramos_;
};

// The document's values that every step restores together with the points.
struct TEscalares {
  bool PolygonClosed = false;
  int PolygonLength = 0;
  int SweepAngle = 0;
  bool operator==(const TEscalares&) const = default;
};

TEscalares EscalaresDe(const TDocumento& doc);

// A point file as it was last opened or saved: its name and what it holds.
struct TArchivoAbierto {
  QString Name;
  TNube Points;
  bool Polygon = false;
};

// The settings around the content. Every step gives back the method and whether a result was
// shown, so that the window runs the method again exactly where it did after the change; steps
// that replace the whole set give back the rest, and polygon edits the edit mode.
struct TAjustes {
  TMethod SelectedMethod = TMethod::NoMethod;
  bool ResultShown = false;
  bool GridVisible = false;
  bool BackgroundLoaded = false;
  TEditMode EditMode = TEditMode::PlacePoints;
  QString PointsFileName;
  QString SaveName;
  // The file the document was last opened from or saved to (none for a new document).
  std::shared_ptr<const TArchivoAbierto> File;
  // The triangulation chosen for the result (the incremental method's hull, the polygon of the
  // shortest paths): a result comes back with the choice it was made from.
  std::shared_ptr<const TTriangulationChoice> Choice;
};

// The kinds of change, one command class each.
enum class TTipoCambio {
  PlacePoint,
  MovePoint,
  RemovePoint,
  RandomSet,
  Open,
  New,
  CleanCanvas,
  AddVertex,
  ChainVertex,
  ClosePolygon,
  ReopenPolygon,
  DeleteLastEdge,
  SweepAngle,
};

// What the window does to show the document a step left, as it did after the change itself.
enum class TSeguimiento {
  Recompute,  // run the method again when a result is shown, else repaint (point edits)
  Repaint,    // the points and the polygon, no method (new sets, polygon edits)
  Redraw,     // the repaint or recomputation after a change of settings (the angle)
};

class THistoria;

// One step of the history. The first redo, when the step is pushed, does nothing: the change
// has already been made.
class TCambio : public QUndoCommand {
 public:
  TCambio(THistoria& historia, const QString& text, TDiferencia puntos, TEscalares antes,
          TEscalares despues, TAjustes ajustesAntes, TAjustes ajustesDespues);

  void undo() override;
  void redo() override;

  // An execution folded into the step (Execute pressed after it) makes it one that recomputes.
  TSeguimiento FollowUp() const { return recomputes_ ? TSeguimiento::Recompute : OwnFollowUp(); }
  // The step replaces the whole set and gives back the settings of TAjustes.
  virtual bool ReplacesSet() const { return false; }
  // The step adds to the polygon under definition (taking it back deletes its last edge).
  virtual bool BuildsPolygon() const { return false; }
  // The step edits the polygon and gives back the edit mode and the polygon's standing.
  virtual bool EditsPolygon() const { return BuildsPolygon(); }

  virtual TSeguimiento OwnFollowUp() const { return TSeguimiento::Recompute; }

  const TAjustes& SettingsBefore() const { return ajustesAntes_; }
  const TAjustes& SettingsAfter() const { return ajustesDespues_; }
  std::size_t StoredPoints() const { return puntos_.StoredPoints(); }

 protected:
  THistoria& historia_;

 private:
  friend class THistoria;
  TDiferencia puntos_;
  TEscalares antes_;
  TEscalares despues_;
  TAjustes ajustesAntes_;
  TAjustes ajustesDespues_;
  bool pushed_ = false;
  bool recomputes_ = false;
};

// The history of one document, at most kLimit steps.
class THistoria {
 public:
  static constexpr int kLimit = 1000;

  explicit THistoria(TDocumento& doc);
  ~THistoria();
  THistoria(const THistoria&) = delete;
  THistoria& operator=(const THistoria&) = delete;

  QUndoStack& Stack() { return stack_; }
  const QUndoStack& Stack() const { return stack_; }

  // Folds changes made outside the history (an execution's sort, a method selected or run)
  // into the step they followed.
  void Sync();
  // Records the change of the document since the last Sync or Record as one step of the
  // kind; a change that left the content as it was records nothing.
  void Record(TTipoCambio kind, const TAjustes& before, const TAjustes& after);
  // Undoes or redoes one step of the document's content, method and result flag; the step, or
  // nullptr when none.
  const TCambio* Undo();
  const TCambio* Redo();
  // The step the next undo would take back, or nullptr.
  const TCambio* Top() const;
  // Points kept by all steps together.
  std::size_t StoredPoints() const;

 private:
  friend class TCambio;
  friend class TAnguloBarrido;
  bool PointsDrifted() const;
  bool Drifted() const;
  void Remember();
  TCambio& Step(int i);
  void Apply(const TCambio& step, bool forward);
  // The first step's content is extended to end where the second ends.
  bool Merge(TCambio& first, const TCambio& second);

  TDocumento& doc_;
  // The document's content as the history last left it.
  TNube points_;
  TEscalares escalares_;
  TMethod method_;
  bool shown_;
  QUndoStack stack_;
};

}  // namespace qv
