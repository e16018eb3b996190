// Offscreen runs from the main window: the control window's buttons in every engine state,
// clicks on devices while the loop runs, edge pauses, and the timing-diagram window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
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
    return {};
  }
  void About(QWidget*) override {}
  bool Print(QWidget*, const QImage&) override { return false; }
  bool OpenDocument(const QString&) override { return true; }
  std::optional<QString> next;
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
  int closedAt = 0;
  Run([&] {
    if (ws.engine.StepCount < 200) return false;
    closedAt = ws.engine.StepCount;
    c.close();
    return true;
  });
  EXPECT_FALSE(overran);
  EXPECT_FALSE(ws.engine.Running);
  // The run gives events a turn at most every kSimEventInterval; the close stops it at once.
  EXPECT_LE(ws.engine.StepCount, closedAt + 1);
  EXPECT_EQ(c.registers()->item(1, 0)->text().toStdString(), ws.circuit.Symbols[FindSymbol("dreg")].Title);
  EXPECT_TRUE(c.registers()->item(1, 4)->text() == "0" || c.registers()->item(1, 4)->text() == "1");
  c.show();
  c.checkReg()->click();
  EXPECT_EQ(c.height(), kSimuCtrlHeight);
  EXPECT_FALSE(c.registers()->isVisible());
}

TEST_F(SimRunTest, TimingDiagramShowsTracesZoomsAndExports) {
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
  EXPECT_TRUE(chronos->windowTitle().startsWith("Timing diagrams of "));
  EXPECT_EQ(chronos->geometry().M, TraceAreaLeft(chronos->panelRuler()->x()));
  EXPECT_TRUE(chronos->divisionCaption().endsWith("ns/div"));
  EXPECT_TRUE(chronos->statusText(1).startsWith("Supply "));
  EXPECT_TRUE(chronos->statusText(2).startsWith("Max. current "));
  // Red high levels and blue low levels of the traces lie in the trace area.
  const QImage& img = chronos->traceImage();
  int red = 0, blue = 0;
  for (int y = 60; y < 25 * (ws.chrono.TraceCount() + 1) + 40; ++y)
    for (int x = chronos->geometry().M; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      red += c == QColor(Qt::red);
      blue += c == QColor(Qt::blue);
    }
  EXPECT_GT(red, 100);
  EXPECT_GT(blue, 100);

  const double span = ws.chrono.span;
  chronos->findChild<QToolButton*>("btnLarger")->click();
  EXPECT_EQ(ws.chrono.span, ZoomInSpan(span));
  chronos->ImageChronoMouseUp(chronos->geometry().M + 50, 70);
  EXPECT_TRUE(chronos->statusText(0).startsWith("Cursor at time "));
  EXPECT_EQ(chronos->cursorBar()->x(), chronos->geometry().M + 50);

  dialogs.next = QString::fromStdString((dir / "run.vcd").string());
  EXPECT_TRUE(chronos->ExportVcd());
  EXPECT_NE(ReadFile(dir / "run.vcd").find("$var"), std::string::npos);
  EXPECT_EQ(dialogs.filters.back(), kVcdFilter);
  dialogs.next = QString::fromStdString((dir / "run.png").string());
  EXPECT_TRUE(chronos->SaveImage());
  QImage saved(QString::fromStdString((dir / "run.png").string()));
  EXPECT_EQ(saved.size(), chronos->centralWidget()->size());
  dialogs.next = QString::fromStdString((dir / "missing" / "run.png").string());
  EXPECT_FALSE(chronos->SaveImage());
  EXPECT_TRUE(chronos->statusText(0).startsWith("Cannot write "));
  chronos->mnuQuitClick();
  EXPECT_FALSE(chronos->isVisible());
}

}  // namespace
}  // namespace qiro
