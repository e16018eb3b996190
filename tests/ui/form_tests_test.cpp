// Simulate > Run Tests... on the wrong full adder: the table of a run on a copy of the drawing,
// and a double click on a failed row that starts the drawing's simulation paused after it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>

#include "core/test_support.h"
// GCC 12 sees an uninitialised QString in the fake's queue where none is (-O2 only).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "fake_dialogs.h"
#pragma GCC diagnostic pop
#include "form_tests.h"
#include "main_window.h"
#include "workspace.h"

namespace qiro {
namespace {

class FormTests : public ::testing::Test {
 protected:
  Workspace ws;
  test::FakeDialogs dialogs;
  Tmdiframe frame{ws, dialogs};
};

TEST_F(FormTests, RunsOnACopyAndShowsAFailedRowInTheDrawing) {
  const auto examples = test::SourceRoot() / "examples";
  frame.Startup(test::SourceRoot(),
                {QString::fromStdString((examples / "grading/full_adder_wrong.sch").string())});
  frame.show();
  frame.action("mnuRunTests")->trigger();  // the file dialog is cancelled
  auto* form = frame.findChild<TFormTests*>("TFormTests");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->table()->rowCount() == 0 && dialogs.filters.size() == 1u);
  ASSERT_TRUE(form->RunFile(QString::fromStdString((examples / "full_adder.tst").string())));
  EXPECT_TRUE(form->summary()->text().startsWith("full_adder.tst: 6 passed, 2 failed"))
      << form->summary()->text().toStdString();
  // The drawing was neither extracted nor simulated.
  EXPECT_FALSE(ws.circuit.Extracted);
  EXPECT_EQ(ws.engine.StepCount, 0);
  ASSERT_EQ(form->table()->rowCount(), 8);
  EXPECT_EQ(form->table()->item(3, 6)->text(), "FAILED");
  EXPECT_EQ(form->table()->item(3, 5)->text(), "s=1 cout=1");
  EXPECT_NE(form->table()->item(3, 0)->background(), form->table()->item(2, 0)->background());

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
  timer.stop();
  EXPECT_EQ(pausedAt, step);
  EXPECT_EQ(pausedStatus.rfind("Test row 4 (line 7) at step " + std::to_string(step), 0), 0u) << pausedStatus;
  EXPECT_EQ(ws.engine.Script, nullptr);
  // The rows drove the buttons: a=0 b=1 cin=1, and the wrong s shows on its light.
  for (const TSymbol& s : ws.circuit.Symbols)
    if (s.Model == 49 && s.Pin(1).Name == "s") {
      EXPECT_EQ(ws.nodes[s.Pin(1).Node].Value, kLogic1);
    }
}

}  // namespace
}  // namespace qiro
