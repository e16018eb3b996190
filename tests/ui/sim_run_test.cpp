// Offscreen runs from the main window: the control window's buttons in every engine state,
// clicks on devices while the loop runs, edge pauses, the timing-diagram window and the
// test-vector window.
#include <cmath>

#include "chronos.h"
#include "fake_dialogs.h"
#include "form_tests.h"

namespace qiro {
namespace {
using namespace qiro::test;

// A button wired straight to a light that pauses on its rising edge.
const char* const kButtonLight =
    "QIRO 2.3c\n"
    "SYM  #button1\nBB(0,-5,30,15)\nTITLE 5 -17  #button\nMODEL 59\nPROP \nREC(0,-5,20,20,y)\nVIS 1\n"
    "PIN(30,5,1.000,1.000)a\nLIG(0,-5,20,-5)\nLIG(20,-5,20,15)\nLIG(20,15,0,15)\nLIG(0,15,0,-5)\n"
    "LIG(20,5,30,5)\nFSYM\n"
    "SYM  #light1\nBB(60,-5,90,15)\nTITLE 65 -17  #light\nMODEL 49\nPROP \nREC(73,-2,14,14,r)\nVIS 17\n"
    "PIN(60,5,0.000,0.000)q\nLIG(60,5,70,5)\nFSYM\n"
    "LIG(30,5,60,5)\n";

class SimRunTest : public UiTest {
 protected:
  void OpenAndShow(const QString& file) {
    Open(file);
    frame.show();
  }
  void Press(int x, int y) { SendMouse(frame.drawing(), QEvent::MouseButtonPress, Screen(x, y)); }
  // A click (press and release) or a drag of the given button, in schematic units.
  void Drag(int x1, int y1, int x2, int y2, bool right = false) {
    frame.PointerPress(Screen(x1, y1), right);
    frame.PointerRelease(Screen(x2, y2));
  }
};

// A click on the button lights the light before the next step; clicks off and on again with the
// pause on rising edges set pause the run; the last values stay on the drawing after the stop.
TEST_F(SimRunTest, ButtonClickLightsTheLightAtOnceAndALightPausesAtItsRisingEdge) {
  WriteFile(tmp / "bl.sch", kButtonLight);
  OpenAndShow(Q(tmp / "bl.sch"));
  TSymbol& light = ws.circuit.Symbols[FindSymbol("light1")];
  light.Vis = 1;  // no pause at first
  const int cx = (light.Rec.x1 + light.Rec.x2) / 2, cy = (light.Rec.y1 + light.Rec.y2) / 2;
  int clickedAt = 0;
  std::string pausedWith;
  const auto clickAt = [&](int step) {
    if (ws.engine.StepCount < step) return false;
    clickedAt = ws.engine.StepCount;
    Press(10, 5);
    return true;
  };
  EXPECT_TRUE(Run({[&] {
                     EXPECT_FALSE(frame.action("mnuStartLife")->isEnabled() ||
                                  frame.action("mnuread")->isEnabled());
                     EXPECT_NE(PixelAt(cx, cy), QColor(Qt::red));
                     if (!clickAt(10)) return false;
                     EXPECT_EQ(ws.nodes[PinNode("light1", 1)].Value, kLogic1);
                     // The face, before any further step.
                     EXPECT_TRUE(PixelAt(cx, cy) == QColor(Qt::red) && ws.engine.StepCount == clickedAt);
                     EXPECT_TRUE(Status().startsWith("Button button1 at ") && !ws.engine.Paused);
                     return true;
                   },
                   [&] {
                     light.Vis = 17;
                     return clickAt(20);
                   },
                   [&] {
                     if (!clickAt(30)) return false;  // the light's node rises with the click
                     EXPECT_TRUE(ws.engine.Paused);
                     pausedWith = ws.status[0];
                     // Paused by an edge: only pause (to resume) and stop answer.
                     EXPECT_FALSE(ctrl().startButton()->isEnabled() || ctrl().stepButton()->isEnabled());
                     EXPECT_TRUE(ctrl().pauseButton()->isChecked() && ctrl().stopButton()->isEnabled());
                     ctrl().pauseButton()->click();
                     EXPECT_FALSE(ws.engine.Paused);
                     return true;
                   },
                   [&] {
                     if (ws.engine.StepCount < 50) return false;
                     ctrl().stopButton()->click();
                     return true;
                   }}));
  EXPECT_EQ(pausedWith, "Pause simulation at a rise edge of q at time " +
                            std::to_string(std::lround(clickedAt * ws.tech.TimeUnit)) + "ns");
  // The last values stay on the drawing.
  EXPECT_TRUE(!ws.engine.Running && PixelAt(cx, cy) == QColor(Qt::red));
  EXPECT_TRUE(frame.action("mnuStartLife")->isEnabled() && frame.action("mnuread")->isEnabled() &&
              ctrl().startButton()->isEnabled() && !ctrl().stopButton()->isEnabled() && !ctrl().isVisible());
}

TEST_F(SimRunTest, PauseSingleStepResumeAndStop) {
  OpenAndShow(Example("counter.sch"));
  int pausedAt = 0;
  EXPECT_TRUE(Run({[&] {
                     if (ws.engine.StepCount < 30) return false;
                     EXPECT_FALSE(ctrl().startButton()->isEnabled() || ctrl().stepButton()->isEnabled());
                     EXPECT_TRUE(ctrl().indicator()->isVisible());
                     ctrl().pauseButton()->click();
                     EXPECT_TRUE(ws.engine.Paused && Status() == "Pause simulation...");
                     EXPECT_TRUE(ctrl().startButton()->isEnabled() && ctrl().stepButton()->isEnabled() &&
                                 ctrl().pauseButton()->isChecked());
                     return true;
                   },
                   [&] {  // the step begun before the pause has ended; the loop now only waits
                     pausedAt = ws.engine.StepCount;
                     return true;
                   },
                   [&] {
                     EXPECT_EQ(ws.engine.StepCount, pausedAt);  // event turns go on, steps do not
                     ctrl().startButton()->click();             // a second run never starts while paused
                     EXPECT_EQ(ws.engine.StepCount, pausedAt);
                     ctrl().stepButton()->click();
                     EXPECT_TRUE(ws.engine.StepCount == pausedAt + 1 && Status() == "Simulate one step...");
                     const QImage beforeStep = frame.drawing()->base().copy();
                     frame.RedrawAll();  // the same drawing without the delay cells of every pin
                     EXPECT_NE(beforeStep, frame.drawing()->base());
                     return true;
                   },
                   [&] {
                     ctrl().pauseButton()->click();
                     EXPECT_FALSE(ws.engine.Paused || ctrl().stepButton()->isEnabled() ||
                                  ctrl().pauseButton()->isChecked());
                     return true;
                   },
                   [&] {
                     if (ws.engine.StepCount < pausedAt + 50) return false;
                     ctrl().stopButton()->click();
                     return true;
                   }}));
  EXPECT_FALSE(ws.engine.Running);
}

// The register view; closing the control window stops the run; the grid of a later run lists
// that schematic's registers only.
TEST_F(SimRunTest, RegisterViewClosingTheWindowStopsTheRunAndTheGridForgetsOldRegisters) {
  OpenAndShow(Example("counter.sch"));
  TFormSimuCtrl& c = ctrl();
  c.show();
  EXPECT_EQ(c.height(), kSimuCtrlHeight);
  c.checkReg()->click();
  EXPECT_TRUE(c.height() == kSimuCtrlRegsHeight && c.registerView());
  int closedAt = 0;
  EXPECT_TRUE(RunSteps(200, [&] {
    closedAt = ws.engine.StepCount;
    c.close();
  }));
  EXPECT_FALSE(ws.engine.Running);
  // The run gives events a turn at most every kSimEventInterval; the close stops it at once.
  EXPECT_LE(ws.engine.StepCount, closedAt + 1);
  EXPECT_TRUE(c.registers()->item(1, 0)->text().toStdString() ==
                  ws.circuit.Symbols[FindSymbol("dreg")].Title &&
              (c.registers()->item(1, 4)->text() == "0" || c.registers()->item(1, 4)->text() == "1"));
  c.show();
  OpenAndShow(Example("half_adder.sch"));
  EXPECT_TRUE(RunSteps(0));
  EXPECT_EQ(c.registers()->item(1, 0)->text() + c.registers()->item(1, 4)->text(), "");
  c.checkReg()->click();
  EXPECT_TRUE(c.height() == kSimuCtrlHeight && !c.registers()->isVisible());
}

// The first report's sequence: net b shown, a run, a new wire, net b again; then a search after
// a stopped run with pin values, and a second run that must still compute sum and carry.
TEST_F(SimRunTest, EditAfterARunLeavesNoStaleNodesOrValues) {
  OpenAndShow(Example("half_adder.sch"));
  frame.action("mnuViewInterconnect")->trigger();
  Drag(45, 75, 45, 75);  // wire b
  ASSERT_TRUE(Status().endsWith("name \"b\"")) << Status().toStdString();
  frame.toolButton("sbselect")->click();
  ctrl().pinState()->setChecked(true);
  bool toolsLocked = false;
  EXPECT_TRUE(RunSteps(100, [&] {
    toolsLocked = !frame.toolButton("sbfileopen")->isEnabled() && !frame.toolButton("sbMove")->isEnabled();
    ctrl().sbStopClick();
  }));
  EXPECT_TRUE(toolsLocked && frame.toolButton("sbfileopen")->isEnabled());
  EXPECT_TRUE(Status().startsWith("Simulation stopped, absolute time=")) << Status().toStdString();
  EXPECT_NE(PixelAt(45, 75), QColor(Qt::cyan)) << "the stopped run's wire levels stay";

  Drag(200, 100, 240, 100, true);  // a new wire with the right button
  EXPECT_NE(PixelAt(45, 75), QColor(Qt::blue)) << "an edit puts the run's values away";
  frame.action("mnuViewInterconnect")->trigger();
  Drag(45, 75, 45, 75);
  EXPECT_TRUE(Status().startsWith("Node: ") && Status().endsWith("name \"b\"")) << Status().toStdString();
  EXPECT_EQ(std::pair(PinNode("button2", 1), PinNode("button2", 1)),
            std::pair(PinNode("xor2", 2), PinNode("and2", 2)));

  dialogs.files = {QString("sum")};
  frame.action("mnuSearchPin")->trigger();
  EXPECT_EQ(PixelAt(45, 75), QColor(Qt::cyan)) << "no grey x levels come back";

  int sum = -1, carry = -1, pressedAt = 0;
  EXPECT_TRUE(Run({[&] {
                     if (ws.engine.StepCount < 20) return false;
                     Press(10, 5);  // button a
                     pressedAt = ws.engine.StepCount;
                     return true;
                   },
                   [&] {
                     // Events get a turn only every millisecond: count from the press itself.
                     if (ws.engine.StepCount < pressedAt + 100) return false;
                     sum = ws.nodes[PinNode("light1", 1)].Value;
                     carry = ws.nodes[PinNode("light2", 1)].Value;
                     ctrl().sbStopClick();
                     return true;
                   }}));
  EXPECT_EQ(std::pair(sum, carry), std::pair(int(kLogic1), int(kLogic0)));
}

// Red (logic 1) and blue (logic 0) pixels in the trace rows of the diagram: both many.
bool ShowsLevels(const TFormChronos& chronos, int traces) {
  const QImage& img = chronos.traceImage();
  int red = 0, blue = 0;
  for (int y = 60; y < 25 * (traces + 1) + 40; ++y)
    for (int x = chronos.geometry().M; x < img.width(); ++x) {
      red += img.pixelColor(x, y) == QColor(Qt::red);
      blue += img.pixelColor(x, y) == QColor(Qt::blue);
    }
  return red > 100 && blue > 100;
}

// The diagram stays open through pause and stop and follows the run; after it, the window
// zooms, scrolls, reads cursors, chooses traces and exports.
TEST_F(SimRunTest, TimingDiagramFollowsTheRunThenNavigatesReadsCursorsAndExports) {
  OpenAndShow(Example("counter.sch"));
  TFormChronos* chronos = nullptr;
  int redrawsWhilePaused = 0;
  const bool ran =
      Run({[&] {
             if (ws.engine.StepCount < 300) return false;
             frame.action("mnuChronogram")->trigger();  // returns at once: the window is not modal
             chronos = frame.chronos();
             EXPECT_TRUE(chronos->isVisible() && chronos->following());
             return true;
           },
           [&] {
             if (ws.chrono.SampleTime(1) <= 1000) return false;  // until the older half was dropped
             ctrl().pauseButton()->click();
             EXPECT_TRUE(ws.engine.Paused);
             return true;
           },
           [&] {
             chronos->RefreshIfChanged();
             redrawsWhilePaused = chronos->redrawCount();
             return true;
           },
           [&] {
             // Paused: nothing new to draw; the view holds the newest data that is still stored.
             chronos->RefreshIfChanged();
             EXPECT_EQ(chronos->redrawCount(), redrawsWhilePaused);
             const DataRange range = RecordedRange(ws.chrono, ws.engine.StepCount);
             EXPECT_GE(ws.chrono.viewStart, range.first);
             EXPECT_TRUE(ShowsNewest(ws.chrono, ws.tech.TimeUnit, range));
             // Scrolling back stops following; View All fits the stored range in one press and follows again.
             // (zoomed in first: a stored range shorter than the window leaves nothing to scroll)
             for (int i = 0; i < 3; ++i) chronos->findChild<QToolButton*>("btnLarger")->click();
             chronos->findChild<QToolButton*>("btnLeft")->click();
             EXPECT_FALSE(chronos->following());
             chronos->mnuViewAllClick();
             EXPECT_TRUE(chronos->following());
             EXPECT_EQ(ws.chrono.viewStart, range.first);
             EXPECT_DOUBLE_EQ(ws.chrono.span, (range.last - range.first) * ws.tech.TimeUnit);
             ctrl().stopButton()->click();
             return true;
           }},
          400000);
  ASSERT_TRUE(ran && chronos);
  EXPECT_TRUE(!ws.engine.Running && chronos->isVisible());
  chronos->RefreshIfChanged();
  // The picture after the run: levels of the counter's traces, on data that is still stored.
  EXPECT_TRUE(ShowsLevels(*chronos, ws.chrono.TraceCount()));
  EXPECT_GE(ws.chrono.viewStart, ws.chrono.SampleTime(1));
  // Opened again after the run, it does not follow.
  chronos->mnuQuitClick();
  EXPECT_FALSE(chronos->isVisible());
  frame.action("mnuChronogram")->trigger();
  EXPECT_TRUE(chronos->isVisible() && !chronos->following());

  // Zoom button about the middle, Ctrl+wheel about the pointer, half-window scroll.
  const ChronoGeometry g = chronos->geometry();
  const double span = ws.chrono.span;
  chronos->findChild<QToolButton*>("btnLarger")->click();
  EXPECT_EQ(ws.chrono.span, ZoomInSpan(span));
  const double under = TimeAtX(ws.chrono, g, ws.tech.TimeUnit, g.M + 100);
  chronos->WheelAt(g.M + 100, 120, true);
  EXPECT_LT(ws.chrono.span, ZoomInSpan(span));
  EXPECT_NEAR(TimeAtX(ws.chrono, g, ws.tech.TimeUnit, g.M + 100), under, ws.tech.TimeUnit);
  const int start = ws.chrono.SampleTime(1) + 1000;
  ws.chrono.span = 500 * ws.tech.TimeUnit;
  ws.chrono.viewStart = start;
  chronos->findChild<QToolButton*>("btnLeft")->click();
  const int left = ws.chrono.viewStart;
  chronos->findChild<QToolButton*>("btnRight")->click();
  EXPECT_EQ(std::pair(left, ws.chrono.viewStart), std::pair(start - 250, start));

  // Left and right buttons place the two cursors; the status reads both and their difference.
  QWidget* image = chronos->findChild<QWidget*>("ImageChrono");
  ClickAt(image, QPoint(g.M + 50, 70));
  ClickAt(image, QPoint(g.M + 150, 70), Qt::RightButton);
  const QString cursors = chronos->statusText(0);
  EXPECT_TRUE(cursors.startsWith("Cursor at time ") && cursors.contains("difference"))
      << cursors.toStdString();
  EXPECT_NEAR(chronos->cursorBar()->x() + chronos->cursorBar()->width() / 2, g.M + 50, 1);
  EXPECT_TRUE(chronos->secondCursorBar()->isVisibleTo(chronos));

  // Choosing traces: the last row dragged to the top, the next one left out, a node added.
  chronos->mnuTracesClick();
  auto* rowList = chronos->tracesDialog()->findChild<QListWidget*>("ListTraces");
  ASSERT_EQ(rowList->count(), ws.chrono.TraceCount());
  const int last = rowList->count() - 1;
  const QString lastName = rowList->item(last)->text(), firstName = rowList->item(0)->text();
  rowList->model()->moveRow(QModelIndex(), last, QModelIndex(), 0);
  QApplication::processEvents();
  EXPECT_TRUE(chronos->Rows().front() == ws.chrono.TraceCount() && rowList->item(0)->text() == lastName);
  chronos->RemoveRow(1);
  EXPECT_EQ(static_cast<int>(chronos->Rows().size()), ws.chrono.TraceCount() - 1);
  chronos->tracesDialog()->findChild<QLineEdit*>("EditNodeFilter")->setText("w5");
  auto* nodeList = chronos->tracesDialog()->findChild<QListWidget*>("ListNodes");
  ASSERT_EQ(nodeList->count(), 1);
  nodeList->setCurrentRow(0);
  chronos->tracesDialog()->findChild<QPushButton*>("btnAddTrace")->click();
  EXPECT_EQ(ws.chrono.choice.nodes, std::vector<std::string>{"w5"});

  // The CSV has the window's rows as its columns; a file that cannot be written is named.
  const auto save = [&](const std::filesystem::path& path, bool (TFormChronos::*how)()) {
    dialogs.files = {Q(path)};
    return (chronos->*how)();
  };
  EXPECT_TRUE(save(tmp / "run.csv", &TFormChronos::ExportCsv) && dialogs.filters.back() == kCsvFilter);
  const std::string csv = ReadFile(tmp / "run.csv");
  EXPECT_EQ(csv.rfind("time (ns)," + lastName.toStdString() + ",", 0), 0u) << csv.substr(0, 200);
  EXPECT_EQ(csv.substr(0, csv.find('\r')).find(firstName.toStdString()), std::string::npos);
  EXPECT_TRUE(save(tmp / "run.vcd", &TFormChronos::ExportVcd) &&
              ReadFile(tmp / "run.vcd").find("$var") != std::string::npos);
  EXPECT_TRUE(save(tmp / "run.png", &TFormChronos::SaveImage) &&
              QImage(Q(tmp / "run.png")).size() == chronos->centralWidget()->size());
  EXPECT_TRUE(!save(tmp / "missing" / "run.png", &TFormChronos::SaveImage) &&
              chronos->statusText(0).startsWith("Cannot write "));
  WriteFile(tmp / "ro.png", "old");
  std::filesystem::permissions(tmp / "ro.png", std::filesystem::perms::owner_read);
  EXPECT_FALSE(save(tmp / "ro.png", &TFormChronos::SaveImage));
  EXPECT_TRUE(chronos->statusText(0).endsWith(": read-only file")) << chronos->statusText(0).toStdString();
  chronos->mnuQuitClick();
}

// Simulate > Run Tests... on the wrong full adder: the table of a run on a copy of the drawing,
// and a double click on a failed row that starts the drawing's simulation paused after it.
TEST_F(SimRunTest, TestVectorsRunOnACopyAndAFailedRowShowsInTheDrawing) {
  OpenAndShow(Example("grading/full_adder_wrong.sch"));
  frame.action("mnuRunTests")->trigger();  // the file dialog is cancelled
  auto* form = frame.findChild<TFormTests*>("TFormTests");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->table()->rowCount() == 0 && dialogs.filters.size() == 2u);
  ASSERT_TRUE(form->RunFile(Example("full_adder.tst")));
  EXPECT_TRUE(form->summary()->text().startsWith("full_adder.tst: 6 passed, 2 failed"))
      << form->summary()->text().toStdString();
  // The drawing was neither extracted nor simulated.
  EXPECT_TRUE(!ws.circuit.Extracted && ws.engine.StepCount == 0);
  ASSERT_EQ(form->table()->rowCount(), 8);
  EXPECT_TRUE(form->table()->item(3, 6)->text() + " " + form->table()->item(3, 5)->text() ==
                  "FAILED s=1 cout=1" &&
              form->table()->item(3, 0)->background() != form->table()->item(2, 0)->background());

  const int step = form->report().rows[3].step;
  int pausedAt = 0;
  std::string pausedStatus;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!ws.engine.Paused) return;
    pausedAt = ws.engine.StepCount;
    pausedStatus = ws.status[0];
    frame.StopLifeCommand();
  });
  timer.start(0);
  form->ShowRow(2);  // a passing row starts nothing
  EXPECT_EQ(ws.engine.StepCount, 0);
  form->ShowRow(3);
  EXPECT_TRUE(pausedAt == step && ws.engine.Script == nullptr);
  EXPECT_EQ(pausedStatus.rfind("Test row 4 (line 7) at step " + std::to_string(step), 0), 0u) << pausedStatus;
  // The rows drove the buttons: a=0 b=1 cin=1, and the wrong s shows on its light.
  for (const TSymbol& s : ws.circuit.Symbols)
    EXPECT_TRUE(s.Model != 49 || s.Pin(1).Name != "s" || ws.nodes[s.Pin(1).Node].Value == kLogic1);
}

}  // namespace
}  // namespace qiro
