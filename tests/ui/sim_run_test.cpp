// Offscreen runs from the main window: the control window's buttons in every engine state,
// clicks on devices while the loop runs, edge pauses, and the timing-diagram window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "chronos.h"
#include "core/test_support.h"
#include "drawing_area.h"
#include "main_window.h"
#include "simu_ctrl.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

// Answers save dialogs with a queued name; nothing else is asked during a run.
class SaveDialogs : public UiDialogs {
 public:
  std::optional<QString> OpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  std::optional<QString> SaveFile(QWidget*, const QString& proposed, const QString& filter) override {
    proposals.push_back(proposed);
    filters.push_back(filter);
    return next;
  }
  bool Question(QWidget*, const QString&, const QString&) override { return false; }
  bool Confirm(QWidget*, const QString&, const QString&) override { return false; }
  std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
    return typed;
  }
  void About(QWidget*) override {}
  bool Print(QWidget*, QPrinter&, const std::function<void(QPrinter*)>&) override { return false; }
  bool OpenDocument(const QString&) override { return true; }
  std::optional<QString> next, typed;
  std::vector<QString> proposals, filters;
};

// A button wired straight to a light that pauses on its rising edge.
const char* const kButtonLight =
    "QIRO 2.3c\n"
    "SYM  #button1\nBB(0,-5,30,15)\nTITLE 5 -17  #button\nMODEL 59\nPROP \nREC(0,-5,20,20,y)\nVIS 1\n"
    "PIN(30,5,1.000,1.000)a\nLIG(0,-5,20,-5)\nLIG(20,-5,20,15)\nLIG(20,15,0,15)\nLIG(0,15,0,-5)\n"
    "LIG(20,5,30,5)\nFSYM\n"
    "SYM  #light1\nBB(60,-5,90,15)\nTITLE 65 -17  #light\nMODEL 49\nPROP \nREC(73,-2,14,14,r)\nVIS 17\n"
    "PIN(60,5,0.000,0.000)q\nLIG(60,5,70,5)\nFSYM\n"
    "LIG(30,5,60,5)\n";

class SimRunTest : public ::testing::Test {
 protected:
  SimRunTest() : frame(ws, dialogs) { frame.resize(800, 600); }
  void Open(const std::filesystem::path& sch) {
    frame.Startup(SourceRoot(), {QString::fromStdString(sch.string())});
    frame.show();
  }
  // Starts a run with the main window's command; the script runs at every event turn of the loop
  // until it returns true. A run still going after maxSteps is stopped.
  void Run(const std::function<bool()>& script, int maxSteps = 20000) {
    QTimer timer;
    bool done = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!done) done = script();
      if (ws.engine.Running && ws.engine.StepCount > maxSteps) {
        overran = true;
        frame.StopLifeCommand();
      }
    });
    timer.start(0);
    frame.action("mnuStartLife")->trigger();
    timer.stop();
  }
  int FindSymbol(const std::string& name) const {
    for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
      if (ws.circuit.Symbols[i].Name == name) return i;
    return 0;
  }
  QPoint Screen(int x, int y) const { return {ws.view.WorldToScreenX(x), ws.view.WorldToScreenY(y)}; }
  QColor PixelAt(int x, int y) const { return QColor(frame.drawing()->base().pixel(Screen(x, y))); }
  void Press(int x, int y) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(Screen(x, y)), QPointF(Screen(x, y)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &press);
  }
  TFormSimuCtrl& ctrl() { return *frame.simuCtrl(); }
  // A click (press and release) or a drag of the given button, in schematic units.
  void Drag(int x1, int y1, int x2, int y2, bool right = false) {
    frame.PointerPress(Screen(x1, y1), right);
    frame.PointerRelease(Screen(x2, y2));
  }
  int PinNode(const std::string& symbol, int pin) {
    return ws.circuit.Symbols[FindSymbol(symbol)].Pin(pin).Node;
  }
  QString Status() const { return QString::fromStdString(ws.status[0]); }

  Workspace ws;
  SaveDialogs dialogs;
  Tmdiframe frame;
  bool overran = false;
  TempDir dir;
};

TEST_F(SimRunTest, ButtonClickLightsTheLightAtOnceAndStopKeepsIt) {
  WriteFile(dir / "bl.sch", kButtonLight);
  Open(dir / "bl.sch");
  const int button = FindSymbol("button1"), light = FindSymbol("light1");
  ASSERT_GT(button, 0);
  ASSERT_GT(light, 0);
  ws.circuit.Symbols[light].Vis = 1;  // no pause here
  const Rect face = ws.circuit.Symbols[light].Rec;
  const int cx = (face.x1 + face.x2) / 2, cy = (face.y1 + face.y2) / 2;
  int clickedAt = 0;
  Run([&] {
    if (ws.engine.StepCount < 10) return false;
    EXPECT_FALSE(frame.action("mnuStartLife")->isEnabled());
    EXPECT_FALSE(frame.action("mnuread")->isEnabled());
    EXPECT_NE(PixelAt(cx, cy), QColor(Qt::red));
    clickedAt = ws.engine.StepCount;
    Press(10, 5);
    const int node = ws.circuit.Symbols[light].Pin(1).Node;
    EXPECT_EQ(ws.nodes[node].Value, kLogic1);
    EXPECT_EQ(PixelAt(cx, cy), QColor(Qt::red));  // the face, before any further step
    EXPECT_EQ(ws.engine.StepCount, clickedAt);
    EXPECT_TRUE(Status().startsWith("Button button1 at ")) << Status().toStdString();
    ctrl().sbStopClick();
    return true;
  });
  EXPECT_FALSE(overran);
  EXPECT_FALSE(ws.engine.Running);
  EXPECT_GE(clickedAt, 10);
  EXPECT_EQ(PixelAt(cx, cy), QColor(Qt::red));  // the last values stay on the drawing
  EXPECT_TRUE(frame.action("mnuStartLife")->isEnabled());
  EXPECT_TRUE(frame.action("mnuread")->isEnabled());
  EXPECT_TRUE(ctrl().startButton()->isEnabled());
  EXPECT_FALSE(ctrl().stopButton()->isEnabled());
  EXPECT_FALSE(ctrl().isVisible());
}

TEST_F(SimRunTest, LightPausesAtItsRisingEdgeAndResumes) {
  WriteFile(dir / "bl.sch", kButtonLight);
  Open(dir / "bl.sch");
  int phase = 0, clickedAt = 0;
  std::string pausedWith;
  Run([&] {
    if (phase == 0 && ws.engine.StepCount >= 20) {
      clickedAt = ws.engine.StepCount;
      Press(10, 5);  // the light's node rises with the click
      phase = 1;
      EXPECT_TRUE(ws.engine.Paused);
      pausedWith = ws.status[0];
      // Paused by an edge: only pause (to resume) and stop answer.
      EXPECT_FALSE(ctrl().startButton()->isEnabled());
      EXPECT_FALSE(ctrl().stepButton()->isEnabled());
      EXPECT_TRUE(ctrl().pauseButton()->isChecked());
      EXPECT_TRUE(ctrl().stopButton()->isEnabled());
      ctrl().pauseButton()->click();
      EXPECT_FALSE(ws.engine.Paused);
      return false;
    }
    if (phase == 1 && ws.engine.StepCount >= 40) {
      ctrl().stopButton()->click();
      return true;
    }
    return false;
  });
  EXPECT_FALSE(overran);
  const std::string pin = "q";
  const long ns = std::lround(clickedAt * ws.tech.TimeUnit);
  EXPECT_EQ(pausedWith,
            "Pause simulation at a rise edge of " + pin + " at time " + std::to_string(ns) + "ns");
}

TEST_F(SimRunTest, PauseSingleStepResumeAndStop) {
  Open(SourceRoot() / "examples" / "counter.sch");
  int phase = 0, pausedAt = 0;
  QImage beforeStep;
  Run([&] {
    switch (phase) {
      case 0:
        if (ws.engine.StepCount < 30) return false;
        EXPECT_FALSE(ctrl().startButton()->isEnabled());
        EXPECT_FALSE(ctrl().stepButton()->isEnabled());
        EXPECT_TRUE(ctrl().indicator()->isVisible());
        ctrl().pauseButton()->click();
        EXPECT_TRUE(ws.engine.Paused);
        EXPECT_EQ(Status(), "Pause simulation...");
        EXPECT_TRUE(ctrl().startButton()->isEnabled());
        EXPECT_TRUE(ctrl().stepButton()->isEnabled());
        EXPECT_TRUE(ctrl().pauseButton()->isChecked());
        phase = 1;
        return false;
      case 1:  // the step begun before the pause has ended; the loop now only waits
        pausedAt = ws.engine.StepCount;
        phase = 2;
        return false;
      case 2:
        EXPECT_EQ(ws.engine.StepCount, pausedAt);  // event turns go on, steps do not
        ctrl().startButton()->click();             // a second run never starts while paused
        EXPECT_EQ(ws.engine.StepCount, pausedAt);
        ctrl().stepButton()->click();
        EXPECT_EQ(ws.engine.StepCount, pausedAt + 1);
        EXPECT_EQ(Status(), "Simulate one step...");
        beforeStep = frame.drawing()->base().copy();
        frame.RedrawAll();  // the same drawing without the delay cells of every pin
        EXPECT_NE(beforeStep, frame.drawing()->base());
        phase = 3;
        return false;
      case 3:
        ctrl().pauseButton()->click();
        EXPECT_FALSE(ws.engine.Paused);
        EXPECT_FALSE(ctrl().stepButton()->isEnabled());
        EXPECT_FALSE(ctrl().pauseButton()->isChecked());
        phase = 4;
        return false;
      default:
        if (ws.engine.StepCount < pausedAt + 50) return false;
        ctrl().stopButton()->click();
        return true;
    }
  });
  EXPECT_FALSE(overran);
  EXPECT_EQ(phase, 4);
  EXPECT_FALSE(ws.engine.Running);
}

TEST_F(SimRunTest, RegisterViewAndClosingTheWindowStopsTheRun) {
  Open(SourceRoot() / "examples" / "counter.sch");
  TFormSimuCtrl& c = ctrl();
  c.show();
  EXPECT_EQ(c.height(), kSimuCtrlHeight);
  EXPECT_EQ(c.registers()->item(0, 3)->text(), "H");
  c.checkReg()->click();
  EXPECT_EQ(c.height(), kSimuCtrlRegsHeight);
  EXPECT_TRUE(c.registerView());
  EXPECT_EQ(c.registers()->item(1, 0)->text(), "\\\\\\");
  Run([&] {
    if (ws.engine.StepCount < 200) return false;
    c.close();
    return true;
  });
  EXPECT_FALSE(overran);
  EXPECT_FALSE(ws.engine.Running);
  EXPECT_LE(ws.engine.StepCount, 202);
  EXPECT_EQ(c.registers()->item(1, 0)->text().toStdString(), ws.circuit.Symbols[FindSymbol("dreg")].Title);
  EXPECT_TRUE(c.registers()->item(1, 4)->text() == "0" || c.registers()->item(1, 4)->text() == "1");
  c.show();
  c.checkReg()->click();
  EXPECT_EQ(c.height(), kSimuCtrlHeight);
  EXPECT_FALSE(c.registers()->isVisible());
}

// The first report's sequence: net b shown, a run, a new wire, net b again; then a search after
// a stopped run with pin values, and a second run that must still compute sum and carry.
TEST_F(SimRunTest, EditAfterARunLeavesNoStaleNodesOrValues) {
  Open(SourceRoot() / "examples" / "half_adder.sch");
  frame.action("mnuViewInterconnect")->trigger();
  Drag(45, 75, 45, 75);  // wire b
  ASSERT_TRUE(Status().endsWith("name \"b\"")) << Status().toStdString();
  frame.toolButton("sbselect")->click();
  ctrl().pinState()->setChecked(true);
  bool toolsLocked = false;
  Run([&] {
    if (ws.engine.StepCount < 100) return false;
    toolsLocked = !frame.toolButton("sbfileopen")->isEnabled() && !frame.toolButton("sbMove")->isEnabled();
    ctrl().sbStopClick();
    return true;
  });
  EXPECT_TRUE(toolsLocked);
  EXPECT_TRUE(frame.toolButton("sbfileopen")->isEnabled());
  EXPECT_TRUE(Status().startsWith("Simulation stopped, absolute time=")) << Status().toStdString();
  EXPECT_NE(PixelAt(45, 75), QColor(Qt::cyan)) << "the stopped run's wire levels stay";

  Drag(200, 100, 240, 100, true);  // a new wire with the right button
  EXPECT_NE(PixelAt(45, 75), QColor(Qt::blue)) << "an edit puts the run's values away";
  frame.action("mnuViewInterconnect")->trigger();
  Drag(45, 75, 45, 75);
  EXPECT_TRUE(Status().startsWith("Node: ")) << Status().toStdString();
  EXPECT_TRUE(Status().endsWith("name \"b\"")) << Status().toStdString();
  EXPECT_EQ(PinNode("button2", 1), PinNode("xor2", 2));
  EXPECT_EQ(PinNode("button2", 1), PinNode("and2", 2));

  dialogs.typed = "sum";
  frame.action("mnuSearchPin")->trigger();
  EXPECT_EQ(PixelAt(45, 75), QColor(Qt::cyan)) << "no grey x levels come back";

  int sum = -1, carry = -1;
  bool pressed = false;
  Run([&] {
    if (!pressed && ws.engine.StepCount >= 20) Press(10, 5), pressed = true;  // button a
    if (ws.engine.StepCount < 200) return false;
    sum = ws.nodes[PinNode("light1", 1)].Value;
    carry = ws.nodes[PinNode("light2", 1)].Value;
    ctrl().sbStopClick();
    return true;
  });
  EXPECT_EQ(sum, kLogic1);
  EXPECT_EQ(carry, kLogic0);
}

// The register grid of a run lists that schematic's registers only.
TEST_F(SimRunTest, RegisterGridForgetsTheLastSchematicsRegisters) {
  Open(SourceRoot() / "examples" / "counter.sch");
  ctrl().show();
  ctrl().checkReg()->click();
  Run([&] {
    if (ws.engine.StepCount < 50) return false;
    ctrl().sbStopClick();
    return true;
  });
  ASSERT_FALSE(ctrl().registers()->item(1, 0)->text().isEmpty());
  Open(SourceRoot() / "examples" / "half_adder.sch");
  Run([&] {
    ctrl().sbStopClick();
    return true;
  });
  EXPECT_EQ(ctrl().registers()->item(1, 0)->text(), "");
  EXPECT_EQ(ctrl().registers()->item(1, 4)->text(), "");
}

// Red (logic 1) and blue (logic 0) pixels in the trace rows of the diagram.
std::pair<int, int> LevelPixels(const TFormChronos& chronos, int traces) {
  const QImage& img = chronos.traceImage();
  int red = 0, blue = 0;
  for (int y = 60; y < 25 * (traces + 1) + 40; ++y)
    for (int x = chronos.geometry().M; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      red += c == QColor(Qt::red);
      blue += c == QColor(Qt::blue);
    }
  return {red, blue};
}

TEST_F(SimRunTest, TimingDiagramStaysOpenThroughPauseAndStopAndFollowsTheRun) {
  Open(SourceRoot() / "examples" / "counter.sch");
  TFormChronos* chronos = nullptr;
  int phase = 0, redrawsWhilePaused = 0;
  Run(
      [&] {
        if (phase == 0 && ws.engine.StepCount >= 300) {
          frame.action("mnuChronogram")->trigger();  // returns at once: the window is not modal
          chronos = frame.chronos();
          EXPECT_TRUE(chronos->isVisible());
          EXPECT_TRUE(chronos->following());
          phase = 1;
        } else if (phase == 1 && ws.chrono.SampleTime(1) > 1000) {  // the older half was dropped
          ctrl().pauseButton()->click();
          EXPECT_TRUE(ws.engine.Paused);
          phase = 2;
        } else if (phase == 2) {
          chronos->RefreshIfChanged();
          redrawsWhilePaused = chronos->redrawCount();
          phase = 3;
        } else if (phase == 3) {
          // Paused: nothing new to draw; the view holds the newest data that is still stored.
          chronos->RefreshIfChanged();
          EXPECT_EQ(chronos->redrawCount(), redrawsWhilePaused);
          const DataRange range = RecordedRange(ws.chrono, ws.engine.StepCount);
          EXPECT_GE(ws.chrono.viewStart, range.first);
          EXPECT_TRUE(ShowsNewest(ws.chrono, ws.tech.TimeUnit, range));
          // Scrolling back stops following; View All fits the stored range in one press and follows again.
          chronos->findChild<QToolButton*>("btnLeft")->click();
          EXPECT_FALSE(chronos->following());
          chronos->mnuViewAllClick();
          EXPECT_TRUE(chronos->following());
          EXPECT_EQ(ws.chrono.viewStart, range.first);
          EXPECT_DOUBLE_EQ(ws.chrono.span, (range.last - range.first) * ws.tech.TimeUnit);
          ctrl().stopButton()->click();
          return true;
        }
        return false;
      },
      400000);
  ASSERT_NE(chronos, nullptr);
  EXPECT_EQ(phase, 3);
  EXPECT_FALSE(overran);
  EXPECT_FALSE(ws.engine.Running);
  EXPECT_TRUE(chronos->isVisible());
  chronos->RefreshIfChanged();
  // The picture after the run: levels of the counter's traces, on data that is still stored.
  const auto [red, blue] = LevelPixels(*chronos, ws.chrono.TraceCount());
  EXPECT_GT(red, 100);
  EXPECT_GT(blue, 100);
  EXPECT_GE(ws.chrono.viewStart, ws.chrono.SampleTime(1));
}

TEST_F(SimRunTest, TimingDiagramNavigatesReadsCursorsAndExports) {
  Open(SourceRoot() / "examples" / "counter.sch");
  Run([&] {
    if (ws.engine.StepCount < 3000) return false;
    frame.StopLifeCommand();
    return true;
  });
  ASSERT_FALSE(overran);
  ASSERT_GT(ws.chrono.SampleCount(), 10);
  frame.action("mnuChronogram")->trigger();
  TFormChronos* chronos = frame.chronos();
  ASSERT_NE(chronos, nullptr);
  EXPECT_TRUE(chronos->isVisible());
  EXPECT_FALSE(chronos->following());
  EXPECT_TRUE(chronos->windowTitle().startsWith("Timing diagrams of "));
  EXPECT_EQ(chronos->geometry().M, TraceAreaLeft(chronos->panelRuler()->x()));
  EXPECT_TRUE(chronos->divisionCaption().endsWith("ns/div"));
  EXPECT_TRUE(chronos->statusText(1).startsWith("Supply "));
  EXPECT_TRUE(chronos->statusText(2).startsWith("Max. current "));
  const auto [red, blue] = LevelPixels(*chronos, ws.chrono.TraceCount());
  EXPECT_GT(red, 100);
  EXPECT_GT(blue, 100);

  // Zoom button about the middle, Ctrl+wheel about the pointer, half-window scroll.
  const ChronoGeometry g = chronos->geometry();
  const double span = ws.chrono.span;
  chronos->findChild<QToolButton*>("btnLarger")->click();
  EXPECT_EQ(ws.chrono.span, ZoomInSpan(span));
  const double under = TimeAtX(ws.chrono, g, ws.tech.TimeUnit, g.M + 100);
  chronos->WheelAt(g.M + 100, 120, true);
  EXPECT_LT(ws.chrono.span, ZoomInSpan(span));
  EXPECT_NEAR(TimeAtX(ws.chrono, g, ws.tech.TimeUnit, g.M + 100), under, ws.tech.TimeUnit);
  ws.chrono.span = 500 * ws.tech.TimeUnit;
  ws.chrono.viewStart = 1500;
  chronos->findChild<QToolButton*>("btnLeft")->click();
  EXPECT_EQ(ws.chrono.viewStart, 1250);
  chronos->findChild<QToolButton*>("btnRight")->click();
  EXPECT_EQ(ws.chrono.viewStart, 1500);

  // Left and right buttons place the two cursors; the status reads both and their difference.
  auto click = [&](Qt::MouseButton button, int x) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 70), QPointF(x, 70), button, button,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, 70), QPointF(x, 70), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(chronos->findChild<QWidget*>("ImageChrono"), &press);
    QApplication::sendEvent(chronos->findChild<QWidget*>("ImageChrono"), &release);
  };
  click(Qt::LeftButton, g.M + 50);
  click(Qt::RightButton, g.M + 150);
  EXPECT_TRUE(chronos->statusText(0).startsWith("Cursor at time ")) << chronos->statusText(0).toStdString();
  EXPECT_TRUE(chronos->statusText(0).contains("difference")) << chronos->statusText(0).toStdString();
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
  EXPECT_EQ(chronos->Rows().front(), ws.chrono.TraceCount());
  EXPECT_EQ(rowList->item(0)->text(), lastName);
  chronos->RemoveRow(1);
  EXPECT_EQ(static_cast<int>(chronos->Rows().size()), ws.chrono.TraceCount() - 1);
  chronos->tracesDialog()->findChild<QLineEdit*>("EditNodeFilter")->setText("w5");
  auto* nodeList = chronos->tracesDialog()->findChild<QListWidget*>("ListNodes");
  ASSERT_EQ(nodeList->count(), 1);
  nodeList->setCurrentRow(0);
  chronos->tracesDialog()->findChild<QPushButton*>("btnAddTrace")->click();
  EXPECT_EQ(ws.chrono.choice.nodes, std::vector<std::string>{"w5"});

  // The CSV has the window's rows as its columns.
  dialogs.next = QString::fromStdString((dir / "run.csv").string());
  EXPECT_TRUE(chronos->ExportCsv());
  EXPECT_EQ(dialogs.filters.back(), kCsvFilter);
  const std::string csv = ReadFile(dir / "run.csv");
  EXPECT_EQ(csv.rfind("time (ns)," + lastName.toStdString() + ",", 0), 0u) << csv.substr(0, 200);
  EXPECT_EQ(csv.substr(0, csv.find('\r')).find(firstName.toStdString()), std::string::npos);
  dialogs.next = QString::fromStdString((dir / "run.vcd").string());
  EXPECT_TRUE(chronos->ExportVcd());
  EXPECT_NE(ReadFile(dir / "run.vcd").find("$var"), std::string::npos);
  dialogs.next = QString::fromStdString((dir / "run.png").string());
  EXPECT_TRUE(chronos->SaveImage());
  QImage saved(QString::fromStdString((dir / "run.png").string()));
  EXPECT_EQ(saved.size(), chronos->centralWidget()->size());
  dialogs.next = QString::fromStdString((dir / "missing" / "run.png").string());
  EXPECT_FALSE(chronos->SaveImage());
  EXPECT_TRUE(chronos->statusText(0).startsWith("Cannot write "));
  WriteFile(dir / "ro.png", "old");
  std::filesystem::permissions(dir / "ro.png", std::filesystem::perms::owner_read);
  dialogs.next = QString::fromStdString((dir / "ro.png").string());
  EXPECT_FALSE(chronos->SaveImage());
  EXPECT_TRUE(chronos->statusText(0).endsWith(": read-only file")) << chronos->statusText(0).toStdString();
  chronos->mnuQuitClick();
  EXPECT_FALSE(chronos->isVisible());
}

}  // namespace
}  // namespace qiro
