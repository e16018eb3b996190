// Shared pieces of the offscreen tests: a fake that answers the main window's questions from
// queues and records what was asked, and a main window on a fresh workspace with helpers to
// open files, point at the drawing and run the simulation.
#pragma once

#include <gtest/gtest.h>

#include <QPrinter>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "core/test_support.h"
#include "drawing_area.h"
#include "main_window.h"
#include "simu_ctrl.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro::test {

class FakeDialogs : public UiDialogs {
 public:
  std::optional<QString> OpenFile(QWidget*, const QString&, const QString& filter) override {
    filters.push_back(filter);
    return Pop(files, std::optional<QString>());
  }
  std::optional<QString> SaveFile(QWidget*, const QString& proposed, const QString& filter) override {
    proposals.push_back(proposed);
    filters.push_back(filter);
    return Pop(files, std::optional<QString>());
  }
  bool Question(QWidget*, const QString& caption, const QString& text) override {
    asked.push_back(caption + ": " + text);
    return Pop(answers, false);
  }
  bool Confirm(QWidget*, const QString& line1, const QString&) override {
    asked.push_back(line1);
    return Pop(answers, false);
  }
  // Answers from saveChoices while there are any, else Yes or No from answers.
  SaveChoice AskSave(QWidget* parent, const QString& line1, const QString& line2) override {
    if (saveChoices.empty()) return UiDialogs::AskSave(parent, line1, line2);
    asked.push_back(line1);
    return Pop(saveChoices, SaveChoice::Cancel);
  }
  std::optional<QString> InputText(QWidget*, const QString& title, const QString&,
                                   const QString& initial) override {
    inputs.push_back(title + ": " + initial);
    return Pop(files, std::optional<QString>());
  }
  void About(QWidget*) override {}
  // Prints to printTo as PDF when it is set, else behaves as a cancelled preview.
  bool Print(QWidget*, QPrinter& printer, const std::function<void(QPrinter*)>& paint) override {
    ++prints;
    if (printTo.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    paint(&printer);
    return true;
  }
  bool OpenDocument(const QString&) override { return true; }

  std::deque<std::optional<QString>> files;  // file dialogs and typed texts, in turn
  std::deque<bool> answers;
  std::deque<SaveChoice> saveChoices;
  std::vector<QString> asked, filters, proposals, inputs;  // inputs: title and pre-filled text
  int prints = 0;
  QString printTo;

 private:
  template <class T>
  static T Pop(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    const T v = queue.front();
    queue.pop_front();
    return v;
  }
};

inline QString Q(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}
inline QString Example(const std::string& name) {
  return Q(SourceRoot() / "examples" / name);
}

// A mouse event at p (widget coordinates); releases hold no button, moves press none.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)),
                type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
inline void ClickAt(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonPress, p, button);
  SendMouse(w, QEvent::MouseButtonRelease, p, button);
}

// A main window on a fresh workspace, started on the source tree as its home.
class UiTest : public ::testing::Test {
 protected:
  UiTest() : frame(ws, dialogs) {
    frame.resize(800, 600);
    frame.Startup(SourceRoot(), {});
  }
  void Open(const QString& file) {
    dialogs.files = {file};
    frame.DoOpenFile();
  }
  int FindSymbol(const std::string& name) const {
    for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
      if (ws.circuit.Symbols[i].Name == name) return i;
    return 0;
  }
  int PinNode(const std::string& symbol, int pin) const {
    return ws.circuit.Symbols[FindSymbol(symbol)].Pin(pin).Node;
  }
  QPoint Screen(int x, int y) const { return {ws.view.WorldToScreenX(x), ws.view.WorldToScreenY(y)}; }
  QColor PixelAt(int x, int y) const { return QColor(frame.drawing()->base().pixel(Screen(x, y))); }
  QString Status() const { return QString::fromStdString(ws.status[0]); }
  TFormSimuCtrl& ctrl() { return *frame.simuCtrl(); }
  // Starts a run with the main window's command and calls each phase at every event turn of the
  // loop until it returns true, then the next. A run still going after maxSteps is stopped; true
  // when every phase was done without that. The bound only ends a run whose phase never comes:
  // a small circuit can make over 20000 steps between two turns of the timer after a click.
  bool Run(std::vector<std::function<bool()>> phases, int maxSteps = 2000000) {
    QTimer timer;
    size_t at = 0;
    bool overran = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (at < phases.size() && phases[at]()) ++at;
      if (ws.engine.Running && ws.engine.StepCount > maxSteps) {
        overran = true;
        frame.StopLifeCommand();
      }
    });
    timer.start(0);
    frame.action("mnuStartLife")->trigger();
    return at == phases.size() && !overran;
  }
  // A run stopped by `stop` once it has made `steps` steps.
  bool RunSteps(int steps, const std::function<void()>& stop = {}) {
    return Run({[&] {
      if (ws.engine.StepCount < steps) return false;
      stop ? stop() : frame.StopLifeCommand();
      return true;
    }});
  }

  Workspace ws;
  FakeDialogs dialogs;
  Tmdiframe frame;
  TempDir tmp;
};

}  // namespace qiro::test
