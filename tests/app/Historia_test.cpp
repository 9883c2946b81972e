// Undo and redo on the real window: seeded random edits undone and redone step by step, the
// Edit menu and its keys, the polygon modes' Ctrl+Z, the recomputation after a step, the
// unsaved-changes question and Open Recent.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "VentanaPrueba.h"

namespace qv {
namespace {

class History : public test::Ventana {
 protected:
  void SetUp() override {
    test::Ventana::SetUp();
    Spit(Path("four.pt"), "NUB\n100\n100\n400\n120\n380\n400\n150\n350\n");
    Spit(Path("tri.pt"), "POL\n100\n100\n300\n120\n200\n300\n");
  }
  // The document as the history gives it back.
  using TVisto = std::tuple<TNube, bool, int, int, int, bool>;
  TVisto Seen() const {
    const TDocumento& d = form->Doc;
    return std::tuple(d.Points, d.PolygonClosed, d.PolygonLength, d.SweepAngle,
                      int(d.SelectedMethod), d.ResultShown);
  }
  int Index() const { return form->Historia.Stack().index(); }
  void Open(const QString& name) {
    dialogs.Names = {name};
    form->FAbrir->trigger();
  }

  // One edit chosen by the generator, through the window's own controls.
  void RandomEdit(std::mt19937& g) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(g); };
    const int n = form->Doc.PointCount();
    const TPoint any = n > 0 ? form->Doc.Points[size_t(pick(n))] : TPoint{50, 50};
    const TPoint to{20 + pick(600), 20 + pick(400)};
    switch (pick(8)) {
      case 0:
      case 1: {  // a point placed, dragged or removed
        QAction* mode = std::array{form->tbPunto, form->tbMover, form->tbBorrar}[size_t(pick(3))];
        const TPoint from = mode == form->tbPunto ? to : any;
        Drag(from, mode == form->tbMover ? to : from, mode);
        break;
      }
      case 2:
        form->SpinPuntos->SetText(QString::number(3 + pick(5)));
        form->BotonPuntosOK->click();
        break;
      case 3:
        form->SpinAngulo->SetText(QString::number(pick(360)));
        break;
      case 4:  // an execution makes no step: the sort joins the last one
        dialogs.Names = {Path(pick(2) ? "four.pt" : "tri.pt")};
        std::array{form->FAbrir, form->FNuevo, form->tbLimpiar, form->tbEjecutar}[size_t(pick(4))]
            ->trigger();
        break;
      case 5:  // a polygon, chained or drawn, closed or not, perhaps shortened by Ctrl+Z
        form->tbUnir->trigger();  // no step: the polygon it ends joins the last one
        Mark();
        ClickAll(form->Doc.EditMode == TEditMode::ChainPolygon
                     ? form->Doc.Points
                     : TNube{{100, 100}, {300, 120}, {200, 300}});
        if (pick(2)) Click(form->Doc.Points[0].X, form->Doc.Points[0].Y);
        if (pick(2)) Click(5, 5, Qt::RightButton);
        [[fallthrough]];
      default:
        if (pick(2)) Key(Qt::Key_Z);
    }
  }

  // The document as each step of the history left it.
  void Mark() { states[Index()] = Seen(); }

  std::map<int, TVisto> states;
};

class RandomHistory : public History, public ::testing::WithParamInterface<int> {};

TEST_P(RandomHistory, UndoingAndRedoingEveryEditGivesBackEachRecordedState) {
  const int method = GetParam();  // none, sweep line, convex layers, incremental: also the seed
  Mark();
  // An edit may make several steps (a polygon), and a later execution changes the last one.
  const auto recording =
      QObject::connect(&form->Historia.Stack(), &QUndoStack::indexChanged, [this](int) { Mark(); });
  ClickAll({{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}});
  const std::array methods{form->tbBarrido, form->tbCapas, form->tbIncremental};
  if (method > 0) Execute(methods[size_t(method - 1)]);
  Mark();
  std::mt19937 g(static_cast<unsigned>(method + 1));
  for (int i = 0; i < 30; ++i) {
    RandomEdit(g);
    Mark();
  }
  QObject::disconnect(recording);
  const int top = Index();
  ASSERT_GT(top, 10);
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

INSTANTIATE_TEST_SUITE_P(Seeded, RandomHistory, ::testing::Range(0, 4));

TEST_F(History, TheEditMenuNamesTheStepAndEveryKeyTakesItBackOrAgainAlsoFromAField) {
  ClickAll({{100, 100}, {300, 300}});
  Drag({100, 100}, {150, 120});
  EXPECT_EQ(form->EDeshacer->text(), QStringLiteral("Undo Move Point"));
  const Qt::KeyboardModifiers shift = Qt::ControlModifier | Qt::ShiftModifier;
  // The angle field would take these keys as its own; the window sees them first.
  form->tbBrujula->trigger();
  const QString angle = form->SpinAngulo->text();
  const std::vector<std::tuple<QWidget*, Qt::KeyboardModifiers, Qt::Key, int, const char*>> rows{
      {form.get(), Qt::ControlModifier, Qt::Key_Z, 100, "Redo Move Point"},
      {form->SpinAngulo, shift, Qt::Key_Z, 150, "Redo"},
      {form->SpinAngulo, Qt::ControlModifier, Qt::Key_Z, 100, "Redo Move Point"},
      {form.get(), Qt::ControlModifier, Qt::Key_Y, 150, "Redo"},
      {form.get(), Qt::ControlModifier, Qt::Key_Y, 150, "Redo"},  // nothing left to redo
  };
  for (const auto& [widget, modifiers, key, x, redo] : rows) {
    if (widget != form.get()) widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
    EXPECT_EQ(form->Doc.Points.front().X, x);
    EXPECT_EQ(form->ERehacer->text(), QString::fromLatin1(redo));
  }
  EXPECT_EQ(form->SpinAngulo->text(), angle);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(History, AStepRunsTheMethodAgainKeepingTheChosenHullWhileItKeepsItsSize) {
  form->tbIncremental->trigger();
  ClickAll({{100, 100}, {400, 100}, {400, 400}, {100, 400}, {200, 250}});
  form->tbEjecutar->trigger();
  Click(300, 200);  // inside: the hull keeps its four corners, so the choice stands
  for (auto [action, vertices] : {std::pair(form->EDeshacer, 5), std::pair(form->ERehacer, 6)}) {
    action->trigger();
    EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), vertices);
    EXPECT_EQ(chooser.Shown, (std::vector<int>{4}));
    EXPECT_TRUE(ResultDrawn());
  }
  const std::vector<THalfEdge> four = chooser.Model.Triangulation().HalfEdges;
  Click(600, 250);  // outside: five corners, asked
  EXPECT_EQ(chooser.Model.Size(), 5);
  // Taken back, the result returns with its own choice, and nothing asks.
  form->EDeshacer->trigger();
  EXPECT_EQ(std::tuple(chooser.Shown, chooser.Model.Triangulation().HalfEdges,
                       form->Doc.CurrentPT.VertexCount()),
            std::tuple(std::vector<int>{4, 5}, four, 6));
}

TEST_F(History, UnsavedPointsAreAskedAboutBeforeNewOpenAndExit) {
  // The action (none: the close button), the answer, the name the save dialog answers.
  const std::vector<std::tuple<QAction*, TSaveAnswer, const char*, bool>> rows{
      {form->FNuevo, TSaveAnswer::Cancel, "", false},
      {form->FAbrir, TSaveAnswer::Save, "", false},
      {form->FAbrir, TSaveAnswer::Save, "kept.pt", true},
      {form->FSalir, TSaveAnswer::Discard, "", true},
      {nullptr, TSaveAnswer::Save, "shut.pt", true},
  };
  for (const auto& [action, answer, saveAs, proceeds] : rows) {
    form->show();
    Key(Qt::Key_N);
    form->tbPunto->trigger();
    ClickAll({{100, 100}, {300, 120}, {200, 300}});
    ASSERT_TRUE(form->windowTitle().startsWith(QLatin1Char('*')));
    messages.Questions.clear();
    messages.Answers = {answer};
    dialogs.Names.clear();  // an empty name cancels the save dialog
    if (answer == TSaveAnswer::Save) dialogs.Names.push_back(*saveAs ? Path(saveAs) : "");
    if (action == form->FAbrir) dialogs.Names.push_back(Path("four.pt"));
    action != nullptr ? action->trigger() : void(form->close());
    EXPECT_EQ(messages.Questions, One("Save changes to the points?"));
    const bool closing = action == nullptr || action == form->FSalir;
    EXPECT_EQ(closing ? !form->isVisible() : form->Doc.PointCount() != 3, proceeds) << saveAs;
    EXPECT_TRUE(!*saveAs || Slurp(Path(saveAs)).starts_with("NUB\r\n100\r\n")) << saveAs;
  }
  // Points just saved are not asked about.
  form->show();
  messages.Questions.clear();
  Open(Path("four.pt"));
  EXPECT_EQ(std::pair(messages.Questions.empty(), form->Doc.PointCount()), std::pair(true, 4));
}

TEST_F(History, OpenRecentKeepsTheLastEightFilesForTheNextWindow) {
  const auto name = [this](int i) {
    return Path(std::string("p").append(std::to_string(i)) + ".pt");
  };
  for (int i = 0; i < 9; ++i) {
    Spit(name(i), "NUB\n" + std::to_string(10 + i) + "\n10\n");
    Open(name(i));
  }
  Open(name(4));  // again: moves to the top
  QStringList expected;
  for (int i : {4, 8, 7, 6, 5, 3, 2, 1}) expected << name(i);
  EXPECT_EQ(form->RecentFiles(), expected);
  ASSERT_EQ(form->FRecientes->actions().size(), 8);
  form->FRecientes->actions()[2]->trigger();
  EXPECT_EQ(form->Doc.Points, (TNube{{17, 10}}));
  EXPECT_EQ(TForm1().RecentFiles().front(), name(7));
}

}  // namespace
}  // namespace qv
