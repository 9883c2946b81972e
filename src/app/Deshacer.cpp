#include "app/Deshacer.h"

#include <algorithm>
#include <cassert>
#include <type_traits>

namespace qv {

// ---------------------------------------------------------------------------------------------
// Edit script

namespace {

// Beyond this many single removals and insertions the two middles are kept whole: finding the
// shortest script costs time and memory growing with the square of its length.
constexpr int kMaxEdits = 256;

struct TEdicion {
  bool Insert = false;  // else a removal
  int A = 0;            // position in the sequence before (removed point, or insertion place)
  int B = 0;            // position in the sequence after (inserted point)
};

// The shortest edit script between a[0..n) and b[0..m) (Myers' greedy algorithm, keeping the
// frontier of every round), in order; false when it has more than kMaxEdits edits.
bool ShortestScript(const TPoint* a, int n, const TPoint* b, int m, std::vector<TEdicion>& out) {
  const int limit = std::min(kMaxEdits, n + m);
  // v[k + offset]: the furthest x reached on diagonal k = x - y.
  const int offset = limit + 1;
  std::vector<int> v(static_cast<size_t>(2 * offset + 1), 0);
  std::vector<std::vector<int>> rounds;  // the frontier at the start of each round, k in -d-1..d+1
  int last = -1;
  for (int d = 0; d <= limit && last < 0; ++d) {
    rounds.emplace_back(v.begin() + (offset - d - 1), v.begin() + (offset + d + 2));
    for (int k = -d; k <= d; k += 2) {
      const bool down = k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]);
      int x = down ? v[offset + k + 1] : v[offset + k - 1] + 1;
      int y = x - k;
      while (x < n && y < m && a[x] == b[y]) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) {
        last = d;
        break;
      }
    }
  }
  if (last < 0) return false;
  out.clear();
  int x = n, y = m;
  for (int d = last; d > 0; --d) {
    const std::vector<int>& r = rounds[static_cast<size_t>(d)];
    auto at = [&](int k) { return r[static_cast<size_t>(k + d + 1)]; };
    const int k = x - y;
    const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
    const int px = down ? at(k + 1) : at(k - 1);
    const int py = px - (down ? k + 1 : k - 1);
    // The common run back to the edit is skipped: only the edit is kept.
    out.push_back(down ? TEdicion{true, px, py} : TEdicion{false, px, py});
    x = px;
    y = py;
  }
  std::reverse(out.begin(), out.end());
  return true;
}

}  // namespace

TDiferencia TDiferencia::Between(const TNube& before, const TNube& after) {
  TDiferencia diff;
  const int n = static_cast<int>(before.size()), m = static_cast<int>(after.size());
  int head = 0;
  while (head < n && head < m && before[head] == after[head]) ++head;
  int tail = 0;
  while (tail < n - head && tail < m - head && before[n - 1 - tail] == after[m - 1 - tail]) ++tail;
  const int rn = n - head - tail, rm = m - head - tail;
  if (rn == 0 && rm == 0) return diff;

  std::vector<TEdicion> edits;
  if (!ShortestScript(before.data() + head, rn, after.data() + head, rm, edits)) {
    diff.tramos_.push_back({head, TNube(before.begin() + head, before.end() - tail),
                            TNube(after.begin() + head, after.end() - tail)});
    return diff;
  }
  for (const TEdicion& e : edits) {
    const int at = head + e.A;
    // Edits with no common point between them form one run.
    if (diff.tramos_.empty() ||
        diff.tramos_.back().At + static_cast<int>(diff.tramos_.back().Removed.size()) != at) {
      diff.tramos_.push_back({at, {}, {}});
    }
    TTramo& run = diff.tramos_.back();
    if (e.Insert) {
      run.Added.push_back(after[static_cast<size_t>(head + e.B)]);
    } else {
      run.Removed.push_back(before[static_cast<size_t>(at)]);
    }
  }
  return diff;
}

TNube TDiferencia::Forward(const TNube& before) const {
  TNube after;
  after.reserve(before.size());
  size_t from = 0;
  for (const TTramo& t : tramos_) {
    assert(std::equal(t.Removed.begin(), t.Removed.end(), before.begin() + t.At));
    after.insert(after.end(), before.begin() + static_cast<std::ptrdiff_t>(from),
                 before.begin() + t.At);
    after.insert(after.end(), t.Added.begin(), t.Added.end());
    from = static_cast<size_t>(t.At) + t.Removed.size();
  }
  after.insert(after.end(), before.begin() + static_cast<std::ptrdiff_t>(from), before.end());
  return after;
}

TNube TDiferencia::Backward(const TNube& after) const {
  TNube before;
  before.reserve(after.size());
  size_t from = 0;
  std::ptrdiff_t shift = 0;  // where the sequence after has moved a run's place
  for (const TTramo& t : tramos_) {
    const std::ptrdiff_t at = t.At + shift;
    assert(std::equal(t.Added.begin(), t.Added.end(), after.begin() + at));
    before.insert(before.end(), after.begin() + static_cast<std::ptrdiff_t>(from),
                  after.begin() + at);
    before.insert(before.end(), t.Removed.begin(), t.Removed.end());
    from = static_cast<size_t>(at) + t.Added.size();
    shift +=
        static_cast<std::ptrdiff_t>(t.Added.size()) - static_cast<std::ptrdiff_t>(t.Removed.size());
  }
  before.insert(before.end(), after.begin() + static_cast<std::ptrdiff_t>(from), after.end());
  return before;
}

std::size_t TDiferencia::StoredPoints() const {
  std::size_t stored = 0;
  for (const TTramo& t : tramos_) stored += t.Removed.size() + t.Added.size();
  return stored;
}

TEscalares EscalaresDe(const TDocumento& doc) {
  return {doc.PolygonClosed, doc.PolygonLength, doc.SweepAngle};
}

// ---------------------------------------------------------------------------------------------
// Steps

TCambio::TCambio(THistoria& historia, const QString& text, TDiferencia puntos, TEscalares antes,
                 TEscalares despues, TAjustes ajustesAntes, TAjustes ajustesDespues)
    : QUndoCommand(text),
      historia_(historia),
      puntos_(std::move(puntos)),
      antes_(antes),
      despues_(despues),
      ajustesAntes_(std::move(ajustesAntes)),
      ajustesDespues_(std::move(ajustesDespues)) {}

void TCambio::undo() {
  historia_.Apply(*this, false);
}

void TCambio::redo() {
  if (pushed_) historia_.Apply(*this, true);
  pushed_ = true;
}

namespace {

class TColocarPunto final : public TCambio {
 public:
  template <class... A>
  explicit TColocarPunto(A&&... a) : TCambio(std::forward<A>(a)...) {}
};

class TMoverPunto final : public TCambio {
 public:
  template <class... A>
  explicit TMoverPunto(A&&... a) : TCambio(std::forward<A>(a)...) {}
};

class TQuitarPunto final : public TCambio {
 public:
  template <class... A>
  explicit TQuitarPunto(A&&... a) : TCambio(std::forward<A>(a)...) {}
};

// Random distribution, Open, New and Clean canvas put a new set in place of the old one.
class TReemplazo : public TCambio {
 public:
  template <class... A>
  explicit TReemplazo(A&&... a) : TCambio(std::forward<A>(a)...) {}
  bool ReplacesSet() const override { return true; }
  TSeguimiento OwnFollowUp() const override { return TSeguimiento::Repaint; }
};

class TDistribucionAleatoria final : public TReemplazo {
 public:
  using TReemplazo::TReemplazo;
};

class TAbrir final : public TReemplazo {
 public:
  using TReemplazo::TReemplazo;
};

class TNuevo final : public TReemplazo {
 public:
  using TReemplazo::TReemplazo;
};

class TLimpiar final : public TReemplazo {
 public:
  using TReemplazo::TReemplazo;
};

class TEdicionPoligono : public TCambio {
 public:
  template <class... A>
  explicit TEdicionPoligono(A&&... a) : TCambio(std::forward<A>(a)...) {}
  TSeguimiento OwnFollowUp() const override { return TSeguimiento::Repaint; }
  bool EditsPolygon() const override { return true; }
};

class TAnadirVertice final : public TEdicionPoligono {
 public:
  using TEdicionPoligono::TEdicionPoligono;
  bool BuildsPolygon() const override { return true; }
};

class TEncadenarVertice final : public TEdicionPoligono {
 public:
  using TEdicionPoligono::TEdicionPoligono;
  bool BuildsPolygon() const override { return true; }
};

class TCerrarPoligono final : public TEdicionPoligono {
 public:
  using TEdicionPoligono::TEdicionPoligono;
  bool BuildsPolygon() const override { return true; }
};

class TReabrirPoligono final : public TEdicionPoligono {
 public:
  using TEdicionPoligono::TEdicionPoligono;
};

class TBorrarArista final : public TEdicionPoligono {
 public:
  using TEdicionPoligono::TEdicionPoligono;
};

}  // namespace

// Consecutive changes of the angle (typing a number, holding an arrow) make one step.
class TAnguloBarrido final : public TCambio {
 public:
  template <class... A>
  explicit TAnguloBarrido(A&&... a) : TCambio(std::forward<A>(a)...) {}
  TSeguimiento OwnFollowUp() const override { return TSeguimiento::Redraw; }
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override {
    return historia_.Merge(*this, *static_cast<const TCambio*>(other));
  }
};

// ---------------------------------------------------------------------------------------------
// History

THistoria::THistoria(TDocumento& doc) : doc_(doc) {
  Remember();
  stack_.setUndoLimit(kLimit);
}

THistoria::~THistoria() {
  // The stack's last signals (it reports itself clean as it empties) find no listener.
  stack_.blockSignals(true);
}

void THistoria::Remember() {
  points_ = doc_.Points;
  escalares_ = EscalaresDe(doc_);
  method_ = doc_.SelectedMethod;
  shown_ = doc_.ResultShown;
}

bool THistoria::PointsDrifted() const {
  return doc_.Points != points_ || EscalaresDe(doc_) != escalares_;
}

bool THistoria::Drifted() const {
  return PointsDrifted() || doc_.SelectedMethod != method_ || doc_.ResultShown != shown_;
}

TCambio& THistoria::Step(int i) {
  // The stack hands out its steps read-only; they are ours, and only their content changes.
  return *const_cast<TCambio*>(static_cast<const TCambio*>(stack_.command(i)));
}

void THistoria::Sync() {
  if (!Drifted()) return;
  const bool points = doc_.Points != points_;
  const TEscalares now = EscalaresDe(doc_);
  const int i = stack_.index();
  if (i > 0) {
    // The last step done now ends where the document stands.
    TCambio& done = Step(i - 1);
    if (points) done.puntos_ = TDiferencia::Between(done.puntos_.Backward(points_), doc_.Points);
    done.despues_ = now;
    if (doc_.ResultShown && !done.ajustesDespues_.ResultShown) done.recomputes_ = true;
    done.ajustesDespues_.SelectedMethod = doc_.SelectedMethod;
    done.ajustesDespues_.ResultShown = doc_.ResultShown;
  }
  if (i < stack_.count()) {
    // The next step to redo now starts there.
    TCambio& next = Step(i);
    if (points) next.puntos_ = TDiferencia::Between(doc_.Points, next.puntos_.Forward(points_));
    next.antes_ = now;
    next.ajustesAntes_.SelectedMethod = doc_.SelectedMethod;
    next.ajustesAntes_.ResultShown = doc_.ResultShown;
  }
  Remember();
}

void THistoria::Record(TTipoCambio kind, const TAjustes& before, const TAjustes& after) {
  if (!PointsDrifted()) {
    Sync();  // no step; a result shown or refused stays with the last one
    return;
  }
  auto diff = TDiferencia::Between(points_, doc_.Points);
  const TEscalares now = EscalaresDe(doc_);
  auto make = [&](auto tag, const char* text) -> QUndoCommand* {
    using T = typename decltype(tag)::type;
    return new T(*this, QString::fromLatin1(text), std::move(diff), escalares_, now, before, after);
  };
  QUndoCommand* step = nullptr;
  switch (kind) {
    case TTipoCambio::PlacePoint:
      step = make(std::type_identity<TColocarPunto>{}, "Place Point");
      break;
    case TTipoCambio::MovePoint:
      step = make(std::type_identity<TMoverPunto>{}, "Move Point");
      break;
    case TTipoCambio::RemovePoint:
      step = make(std::type_identity<TQuitarPunto>{}, "Remove Point");
      break;
    case TTipoCambio::RandomSet:
      step = make(std::type_identity<TDistribucionAleatoria>{}, "Random Distribution");
      break;
    case TTipoCambio::Open:
      step = make(std::type_identity<TAbrir>{}, "Open");
      break;
    case TTipoCambio::New:
      step = make(std::type_identity<TNuevo>{}, "New");
      break;
    case TTipoCambio::CleanCanvas:
      step = make(std::type_identity<TLimpiar>{}, "Clean Canvas");
      break;
    case TTipoCambio::AddVertex:
      step = make(std::type_identity<TAnadirVertice>{}, "Add Vertex");
      break;
    case TTipoCambio::ChainVertex:
      step = make(std::type_identity<TEncadenarVertice>{}, "Chain Vertex");
      break;
    case TTipoCambio::ClosePolygon:
      step = make(std::type_identity<TCerrarPoligono>{}, "Close Polygon");
      break;
    case TTipoCambio::ReopenPolygon:
      step = make(std::type_identity<TReabrirPoligono>{}, "Reopen Polygon");
      break;
    case TTipoCambio::DeleteLastEdge:
      step = make(std::type_identity<TBorrarArista>{}, "Delete Last Edge");
      break;
    case TTipoCambio::SweepAngle:
      step = make(std::type_identity<TAnguloBarrido>{}, "Sweep Angle");
      break;
  }
  // A merge reads the content recorded so far, so it is updated only afterwards.
  stack_.push(step);
  Remember();
}

bool THistoria::Merge(TCambio& first, const TCambio& second) {
  first.puntos_ = TDiferencia::Between(first.puntos_.Backward(points_), doc_.Points);
  first.despues_ = second.despues_;
  first.ajustesDespues_ = second.ajustesDespues_;
  // A series of changes that ends where it began is no step at all.
  first.setObsolete(first.puntos_.Empty() && first.antes_ == first.despues_);
  return true;
}

void THistoria::Apply(const TCambio& step, bool forward) {
  const TEscalares& escalares = forward ? step.despues_ : step.antes_;
  const TAjustes& ajustes = forward ? step.ajustesDespues_ : step.ajustesAntes_;
  doc_.Points = forward ? step.puntos_.Forward(points_) : step.puntos_.Backward(points_);
  doc_.PolygonClosed = escalares.PolygonClosed;
  doc_.PolygonLength = escalares.PolygonLength;
  doc_.SweepAngle = escalares.SweepAngle;
  doc_.SelectedMethod = ajustes.SelectedMethod;
  doc_.ResultShown = ajustes.ResultShown;
  Remember();
}

const TCambio* THistoria::Undo() {
  Sync();
  if (!stack_.canUndo()) return nullptr;
  const TCambio* step = Top();
  stack_.undo();
  return step;
}

const TCambio* THistoria::Redo() {
  Sync();
  if (!stack_.canRedo()) return nullptr;
  const auto* step = static_cast<const TCambio*>(stack_.command(stack_.index()));
  stack_.redo();
  return step;
}

const TCambio* THistoria::Top() const {
  const int i = stack_.index();
  return i > 0 ? static_cast<const TCambio*>(stack_.command(i - 1)) : nullptr;
}

std::size_t THistoria::StoredPoints() const {
  std::size_t stored = 0;
  for (int i = 0; i < stack_.count(); ++i) {
    stored += static_cast<const TCambio*>(stack_.command(i))->StoredPoints();
  }
  return stored;
}

}  // namespace qv
