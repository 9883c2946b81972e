// Undo and redo on the real window: seeded random edits undone and redone step by step, the
// Edit menu and its keys, the polygon modes' Ctrl+Z, the recomputation after a step, the
// unsaved-changes question, Open Recent and dropped files.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <map>
#include <random>

#include "VentanaPrueba.h"

namespace qv {
namespace {

// The document as the history gives it back.
struct TVisto {
  TNube Points;
  bool Closed = false;
  int Length = 0;
  int Angle = 0;
  TMethod Method = TMethod::NoMethod;
  bool Shown = false;
  bool operator==(const TVisto&) const = default;
};

void PrintTo(const TVisto& v, std::ostream* os) {
  *os << v.Points.size() << " points (" << (v.Points.empty() ? 0 : v.Points[0].X) << ","
      << (v.Points.empty() ? 0 : v.Points[0].Y) << ")... closed " << v.Closed << " length "
      << v.Length << " angle " << v.Angle << " method " << int(v.Method) << " shown " << v.Shown;
}

const char* const kAsk = "Save changes to the points?";

class History : public test::Ventana {
 protected:
  void SetUp() override {
    test::Ventana::SetUp();
    form->SetChooser(&chooser);
    Spit(Path("four.pt"), "NUB\n100\n100\n400\n120\n380\n400\n150\n350\n");
    Spit(Path("tri.pt"), "POL\n100\n100\n300\n120\n200\n300\n");
  }
  TVisto Seen() const {
    const TDocumento& d = form->Doc;
    return {d.Points,     d.PolygonClosed,  d.PolygonLength,
            d.SweepAngle, d.SelectedMethod, d.ResultShown};
  }
  int Index() const { return form->Historia.Stack().index(); }
  void Drag(TPoint from, TPoint to) {
    form->tbMover->trigger();
    Press(from.X, from.Y);
    MoveTo((from.X + to.X) / 2, (from.Y + to.Y) / 2);
    MoveTo(to.X, to.Y);
    Release(to.X, to.Y);
  }
  void Open(const QString& name) {
    dialogs.Names = {name};
    form->FAbrir->trigger();
  }

  // One edit chosen by the generator, through the window's own controls.
  void RandomEdit(std::mt19937& g) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(g); };
    const int n = form->Doc.PointCount();
    const TPoint any = n > 0 ? form->Doc.Points[size_t(pick(n))] : TPoint{50, 50};
    switch (pick(11)) {
      case 0:
      case 1:
        form->tbPunto->trigger();
        Click(20 + pick(600), 20 + pick(400));
        break;
      case 2:
        Drag(any, {20 + pick(600), 20 + pick(400)});
        break;
      case 3:
        form->tbBorrar->trigger();
        Click(any.X, any.Y);
        break;
      case 4:
        form->SpinPuntos->SetText(QString::number(3 + pick(5)));
        form->BotonPuntosOK->click();
        break;
      case 5:
        Open(Path(pick(2) ? "four.pt" : "tri.pt"));
        break;
      case 6:
        (pick(2) ? form->FNuevo : form->tbLimpiar)->trigger();
        break;
      case 7:
        form->SpinAngulo->SetText(QString::number(pick(360)));
        break;
      case 8:  // a polygon, chained or drawn, closed or not, perhaps shortened by Ctrl+Z
        form->tbUnir->trigger();  // no step: the polygon it ends joins the last one
        Mark();
        if (form->Doc.EditMode == TEditMode::ChainPolygon) {
          for (int i = 0; i < n; ++i)
            Click(form->Doc.Points[size_t(i)].X, form->Doc.Points[size_t(i)].Y);
          if (pick(2)) Click(form->Doc.Points[0].X, form->Doc.Points[0].Y);
        } else {
          ClickAll({{100, 100}, {300, 120}, {200, 300}});
          if (pick(2)) Click(5, 5, Qt::RightButton);
        }
        if (pick(2)) Key(Qt::Key_Z);
        break;
      case 9:
        form->tbEjecutar->trigger();  // no step: the sort joins the last one
        break;
      default:
        Key(Qt::Key_Z);
        break;
    }
  }

  // The document as each step of the history left it.
  void Mark() { states[Index()] = Seen(); }

  TRandom random{7};
  TScriptedChooser chooser{random};
  std::map<int, TVisto> states;
};

struct TSecuencia {
  unsigned Seed;
  int Method;  // 0 none, 1 sweep line, 2 convex layers, 3 incremental (face degree)
  int Edits;
};

class RandomHistory : public History, public ::testing::WithParamInterface<TSecuencia> {};

TEST_P(RandomHistory, UndoingAndRedoingEveryEditGivesBackEachRecordedState) {
  const TSecuencia row = GetParam();
  Mark();
  // An edit may make several steps (a polygon), and a later execution changes the last one.
  const auto recording =
      QObject::connect(&form->Historia.Stack(), &QUndoStack::indexChanged, [this](int) { Mark(); });
  ClickAll({{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}});
  const std::array<QAction*, 4> methods{nullptr, form->tbBarrido, form->tbCapas,
                                        form->tbIncremental};
  if (methods[size_t(row.Method)] != nullptr) Execute(methods[size_t(row.Method)]);
  Mark();
  std::mt19937 g(row.Seed);
  for (int i = 0; i < row.Edits; ++i) {
    RandomEdit(g);
    Mark();
  }
  QObject::disconnect(recording);
  const int top = Index();
  ASSERT_GT(top, row.Edits / 3);
  for (int i = top - 1; i >= 0; --i) {
    form->EDeshacer->trigger();
    ASSERT_EQ(Index(), i);
    ASSERT_EQ(Seen(), states[i]) << "undone to step " << i;
  }
  for (int i = 1; i <= top; ++i) {
    form->ERehacer->trigger();
    ASSERT_EQ(Seen(), states[i]) << "redone to step " << i;
  }
  // The last edit may have been a Ctrl+Z, leaving steps to redo.
  EXPECT_EQ(form->ERehacer->isEnabled(), form->Historia.Stack().count() > top);
}

INSTANTIATE_TEST_SUITE_P(Seeded, RandomHistory,
                         ::testing::Values(TSecuencia{1, 0, 40}, TSecuencia{2, 1, 40},
                                           TSecuencia{3, 2, 30}, TSecuencia{4, 3, 30}));

TEST_F(History, TheEditMenuNamesTheStepAndEveryKeyTakesItBackOrAgain) {
  ClickAll({{100, 100}, {300, 300}});
  Drag({100, 100}, {150, 120});
  EXPECT_EQ(form->EDeshacer->text(), QStringLiteral("Undo Move Point"));
  EXPECT_FALSE(form->ERehacer->isEnabled());
  struct Row {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    TPoint first;
    const char* redo;
  };
  const std::vector<Row> rows{
      {Qt::ControlModifier, Qt::Key_Z, {100, 100}, "Redo Move Point"},
      {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, {150, 120}, "Redo"},
      {Qt::ControlModifier, Qt::Key_Z, {100, 100}, "Redo Move Point"},
      {Qt::ControlModifier, Qt::Key_Y, {150, 120}, "Redo"},
      {Qt::ControlModifier, Qt::Key_Z, {100, 100}, "Redo Move Point"},
      {Qt::ControlModifier, Qt::Key_Z, {100, 100}, "Redo Place Point"},
  };
  for (const Row& r : rows) {
    Key(r.key, r.modifiers);
    EXPECT_EQ(form->Doc.Points.front(), r.first);
    EXPECT_EQ(form->ERehacer->text(), QString::fromLatin1(r.redo));
  }
  EXPECT_EQ(form->Doc.PointCount(), 1);
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 1"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(History, EachRedoKeyTakesOneStepAlsoFromAFocusedField) {
  ClickAll({{100, 100}, {300, 300}, {200, 400}, {400, 200}});
  for (int i = 0; i < 4; ++i) Key(Qt::Key_Z);
  ASSERT_EQ(form->Doc.PointCount(), 0);
  Key(Qt::Key_Y);
  EXPECT_EQ(form->Doc.PointCount(), 1);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form->Doc.PointCount(), 2);
  // The angle field would take these keys as its own redo; the window sees them first. (A typed
  // angle would be a step of its own, leaving nothing to redo.)
  form->tbBrujula->trigger();
  form->SpinAngulo->setFocus();
  const QString angle = form->SpinAngulo->text();
  QTest::keyClick(form->SpinAngulo, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(form->Doc.PointCount(), 3);
  QTest::keyClick(form->SpinAngulo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form->Doc.PointCount(), 4);
  EXPECT_EQ(form->SpinAngulo->text(), angle);
  // Nothing left to redo: the keys are still the window's, and change nothing.
  QTest::keyClick(form->SpinAngulo, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(form->Doc.PointCount(), 4);
  EXPECT_EQ(form->SpinAngulo->text(), angle);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(History, InThePolygonModesCtrlZDeletesTheLastEdgeAndUndoTakesThatBack) {
  form->tbUnir->trigger();
  ClickAll({{400, 100}, {600, 120}, {500, 300}});
  Click(5, 5, Qt::RightButton);
  EXPECT_EQ(form->EDeshacer->text(), QStringLiteral("Undo Close Polygon"));
  Key(Qt::Key_Z);  // the closing is taken back, then the last vertex
  EXPECT_FALSE(form->Doc.PolygonClosed);
  Key(Qt::Key_Z);
  EXPECT_EQ(form->Doc.PointCount(), 2);
  Key(Qt::Key_Y);
  Key(Qt::Key_Y);
  EXPECT_TRUE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.PointCount(), 3);

  // An opened polygon was drawn by no step: Ctrl+Z deletes its last edge as a step of its own.
  Open(Path("tri.pt"));
  ASSERT_TRUE(form->Doc.PolygonClosed);
  Key(Qt::Key_Z);
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}, {300, 120}}));
  EXPECT_EQ(form->EDeshacer->text(), QStringLiteral("Undo Delete Last Edge"));
  form->EDeshacer->trigger();
  EXPECT_EQ(form->Doc.PointCount(), 3);
  EXPECT_TRUE(form->Doc.PolygonClosed);
  EXPECT_TRUE(test::SegmentDrawn(Canvas(), {190, 280}, {110, 120}, Qt::black));
}

TEST_F(History, AStepRunsTheMethodAgainKeepingTheChosenHullWhileItKeepsItsSize) {
  form->tbIncremental->trigger();
  ClickAll({{100, 100}, {400, 100}, {400, 400}, {100, 400}, {200, 250}});
  form->tbEjecutar->trigger();
  Click(300, 200);  // inside: the chooser is asked as after any placed point
  ASSERT_EQ(chooser.Shown, (std::vector<int>{4, 4}));
  struct Row {
    QAction* action;
    int vertices;
    std::vector<int> shown;
  };
  const std::vector<Row> rows{
      {form->EDeshacer, 5, {4, 4}},
      {form->ERehacer, 6, {4, 4}},
  };
  for (const Row& r : rows) {
    r.action->trigger();
    EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), r.vertices);
    EXPECT_EQ(chooser.Shown, r.shown);
    EXPECT_TRUE(ResultDrawn());
  }
  Click(600, 250);  // outside: five corners
  form->EDeshacer->trigger();
  EXPECT_EQ(chooser.Shown, (std::vector<int>{4, 4, 5, 4}));
  EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), 6);
}

TEST_F(History, UnsavedPointsAreAskedAboutBeforeNewOpenAndExit) {
  enum Action { kNew, kClean, kOpen, kExit, kCloseButton };
  struct Row {
    Action action;
    TSaveAnswer answer;
    const char* saveAs;  // the name the save dialog answers, if asked
    bool proceeds;
  };
  const std::vector<Row> rows{
      {kNew, TSaveAnswer::Cancel, "", false},
      {kNew, TSaveAnswer::Discard, "", true},
      {kClean, TSaveAnswer::Cancel, "", false},
      {kOpen, TSaveAnswer::Save, "", false},
      {kOpen, TSaveAnswer::Save, "kept.pt", true},
      {kExit, TSaveAnswer::Cancel, "", false},
      {kExit, TSaveAnswer::Discard, "", true},
      {kCloseButton, TSaveAnswer::Cancel, "", false},
      {kCloseButton, TSaveAnswer::Save, "shut.pt", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(int(&r - rows.data()));
    form->show();
    Key(Qt::Key_N);
    form->tbPunto->trigger();
    ClickAll({{100, 100}, {300, 120}, {200, 300}});
    ASSERT_TRUE(form->windowTitle().startsWith(QLatin1Char('*')));
    messages.Questions.clear();
    messages.Answers = {r.answer};
    dialogs.Names.clear();  // an empty name cancels the save dialog
    if (r.answer == TSaveAnswer::Save) dialogs.Names.push_back(*r.saveAs ? Path(r.saveAs) : "");
    if (r.action == kOpen) dialogs.Names.push_back(Path("four.pt"));
    switch (r.action) {
      case kNew:
        Key(Qt::Key_N);
        break;
      case kClean:
        form->tbLimpiar->trigger();
        break;
      case kOpen:
        form->FAbrir->trigger();
        break;
      case kExit:
        form->FSalir->trigger();
        break;
      case kCloseButton:
        form->close();
        break;
    }
    EXPECT_EQ(messages.Questions, One(kAsk));
    const bool closing = r.action == kExit || r.action == kCloseButton;
    EXPECT_EQ(closing ? !form->isVisible() : form->Doc.PointCount() != 3, r.proceeds);
    if (*r.saveAs != '\0') {
      EXPECT_EQ(Slurp(Path(r.saveAs)).substr(0, 10), "NUB\r\n100\r\n");
    }
  }
  // Saved, opened or new points are not asked about; the mark comes and goes with the steps.
  form->show();
  Open(Path("four.pt"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral(" four.pt - Quilvaron"));
  Click(500, 500);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("* four.pt - Quilvaron"));
  form->EDeshacer->trigger();
  EXPECT_EQ(form->windowTitle(), QStringLiteral(" four.pt - Quilvaron"));
  messages.Questions.clear();
  Key(Qt::Key_N);
  EXPECT_TRUE(messages.Questions.empty());
  form->EDeshacer->trigger();  // New is a step too
  EXPECT_EQ(form->windowTitle(), QStringLiteral("* four.pt - Quilvaron"));
  EXPECT_EQ(form->Doc.PointCount(), 4);
}

TEST_F(History, OpenRecentKeepsTheLastEightFilesForTheNextWindow) {
  for (int i = 0; i < 9; ++i) {
    Spit(Path("p" + std::to_string(i) + ".pt"), "NUB\n" + std::to_string(10 + i) + "\n10\n");
    Open(Path("p" + std::to_string(i) + ".pt"));
  }
  Open(Path("p4.pt"));  // again: moves to the top
  QStringList expected;
  for (int i : {4, 8, 7, 6, 5, 3, 2, 1}) expected << Path("p" + std::to_string(i) + ".pt");
  EXPECT_EQ(form->RecentFiles(), expected);
  ASSERT_EQ(form->FRecientes->actions().size(), 8);
  form->FRecientes->actions()[2]->trigger();
  EXPECT_EQ(form->Doc.Points, (TNube{{17, 10}}));
  EXPECT_EQ(form->windowTitle(), QStringLiteral(" p7.pt - Quilvaron"));
  EXPECT_TRUE(std::filesystem::exists(settings / "Quilvaron" / "Quilvaron.ini"));
  TForm1 next;
  EXPECT_EQ(next.RecentFiles().front(), Path("p7.pt"));
}

TEST_F(History, ADroppedPointFileOpensAsOpenWould) {
  Spit(Path("bad.pt"), "NUB\n1\nx\n");
  struct Row {
    const char* name;
    bool accepted;
    std::vector<QString> shown;
    int points;
  };
  const std::vector<Row> rows{
      {"tri.bmp", false, {}, 0},
      {"gone.pt", true, One("File does not exist. Cannot load."), 0},
      {"bad.pt", true, One("'x' is not a valid integer value"), 0},
      {"four.pt", true, {}, 4},
  };
  for (const Row& r : rows) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(Path(r.name))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), r.accepted) << r.name;
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), r.shown) << r.name;
    EXPECT_EQ(form->Doc.PointCount(), r.points) << r.name;
  }
  EXPECT_EQ(form->windowTitle(), QStringLiteral(" four.pt - Quilvaron"));
  EXPECT_EQ(form->RecentFiles(), QStringList{Path("four.pt")});
}

}  // namespace
}  // namespace qv
