// Offscreen tests of the netlist window and the symbol properties dialog, driven through the
// main window the way the menus and a double click drive them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <functional>

#include "core/test_support.h"
#include "form_netlist.h"
#include "form_symprops.h"
#include "main_window.h"
#include "model/schematic_file.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

// These windows ask the user nothing; any question is a test failure.
class NoDialogs : public UiDialogs {
 public:
  std::optional<QString> OpenFile(QWidget*, const QString&, const QString&) override { return Unexpected(); }
  std::optional<QString> SaveFile(QWidget*, const QString&, const QString&) override { return Unexpected(); }
  bool Question(QWidget*, const QString&, const QString&) override { return Unexpected(), false; }
  bool Confirm(QWidget*, const QString&, const QString&) override { return false; }
  std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
    return Unexpected();
  }
  void About(QWidget*) override {}
  bool Print(QWidget*, QPrinter&, const std::function<void(QPrinter*)>&) override { return false; }
  bool OpenDocument(const QString&) override { return false; }

 private:
  std::optional<QString> Unexpected() {
    ADD_FAILURE() << "unexpected question";
    return std::nullopt;
  }
};

class SymbolWindowsTest : public ::testing::Test {
 protected:
  SymbolWindowsTest() : frame(ws, dialogs) {
    frame.resize(800, 600);
    frame.Startup(SourceRoot(), {});
  }
  // Copies an example into the temporary directory and opens it there, so written files land there.
  void OpenExample(const std::string& name) {
    const auto path = tmp / name;
    WriteFile(path, ReadFile(SourceRoot() / "examples" / name));
    ClearSchematic(ws);
    ASSERT_TRUE(SchematicLoad(ws, path, kLoadOpen));
    frame.SetCurrentFileName(QString::fromStdString(path.string()));
    ws.circuit.Modified = false;
  }
  int Place(const std::string& stem) {
    EXPECT_TRUE(SchematicLoad(ws, SourceRoot() / "IEEE" / (stem + ".SYM"), kLoadSymbol, 300, 300));
    ws.circuit.Modified = false;
    return ws.circuit.Symbols.Count();
  }
  int FindModel(int model) {
    for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
      if (ws.circuit.Symbols[i].Model == model) return i;
    return 0;
  }
  // Opens the properties of a symbol; `act` runs inside the modal dialog, then it answers.
  void EditSymbol(int symbol, const std::function<void(TFormSymProps&)>& act, bool ok = true) {
    QTimer::singleShot(0, [&, ok] {
      TFormSymProps* form = frame.symPropsForm();
      if (!form) return ADD_FAILURE() << "no dialog";
      EXPECT_TRUE(form->isVisible());
      act(*form);
      if (QApplication::activeModalWidget() == form)
        form->findChild<QPushButton*>(ok ? "OKBtn" : "CancelBtn")->click();
    });
    frame.OpenSymbolProperties(symbol);
  }
  template <class W>
  static W* Child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  Workspace ws;
  NoDialogs dialogs;
  TempDir tmp;
  Tmdiframe frame;
};

TEST_F(SymbolWindowsTest, NetlistWindowOpensOnThePageOfEachEntryAndSavesTheText) {
  OpenExample("half_adder.sch");
  frame.action("mnuToVerilog")->trigger();
  TFormNetlist* form = frame.netlistForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Verilog, Hierarchy and Netlist");
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kVerilog);
  EXPECT_EQ(form->moduleName()->text(), "half_adder");
  const QString text = form->memo()->toPlainText();
  EXPECT_TRUE(text.startsWith("// QIRO 2.3c\n"));
  EXPECT_TRUE(text.contains("\nmodule half_adder( "));
  EXPECT_TRUE(text.contains("// Simulation parameters"));
  const auto txt = tmp / "half_adder.txt";
  EXPECT_EQ(QString::fromStdString(ReadFile(txt)), QString(text).replace("\n", "\r\n") + "\r\n");
  EXPECT_EQ(frame.statusText(), QString("Verilog description written in \"%1\"").arg(txt.c_str()));
  EXPECT_EQ(form->linesLabel()->text(),
            QString("The Verilog file has %1 lines").arg(text.split('\n').size()));
  EXPECT_EQ(form->symbolsLabel()->text(),
            QString("The design includes %1 symbols").arg(ws.circuit.Symbols.Count()));
  EXPECT_EQ(form->nodesLabel()->text(), QString("The circuit has %1 nodes").arg(ws.nodes.Count()));

  frame.action("mnuViewHierarchy")->trigger();
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kHierarchy);
  ASSERT_EQ(form->tree()->topLevelItemCount(), 3);
  EXPECT_EQ(form->tree()->topLevelItem(0)->text(0), "inputs");
  EXPECT_EQ(form->tree()->topLevelItem(2)->text(0), "half_adder");
  EXPECT_GT(form->tree()->topLevelItem(2)->childCount(), 0);

  frame.action("mnuNetlist")->trigger();
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kNetlist);
  ASSERT_EQ(form->grid()->columnCount(), 7);
  EXPECT_EQ(form->grid()->horizontalHeaderItem(0)->text(), "Symbol n°");
  ASSERT_EQ(form->grid()->rowCount(), ws.circuit.Symbols.Count());
  EXPECT_EQ(form->grid()->item(0, 1)->text(), QString::fromStdString(ws.circuit.Symbols[1].Name));

  frame.ShowNetlistWindow(Tmdiframe::kPageVerilog);
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kVerilog);
}

TEST_F(SymbolWindowsTest, TypedModuleNameAndOptionsRebuildTheTextAndSaveWritesIt) {
  OpenExample("half_adder.sch");
  frame.ShowNetlistWindow(Tmdiframe::kPageVerilog);
  TFormNetlist* form = frame.netlistForm();
  form->moduleName()->setText("top");
  emit form->moduleName()->editingFinished();
  form->simuInfo()->setChecked(false);
  const QString text = form->memo()->toPlainText();
  EXPECT_TRUE(text.contains("\nmodule top( "));
  EXPECT_FALSE(text.contains("Simulation parameters"));
  EXPECT_TRUE(text.endsWith("endmodule"));
  Child<QPushButton>(*form, "sbSave")->click();
  EXPECT_TRUE(ReadFile(tmp / "half_adder.txt").find("module top( ") != std::string::npos);
  // A refresh takes the file's name again.
  frame.ShowNetlistWindow(Tmdiframe::kPageNetlist);
  EXPECT_EQ(form->moduleName()->text(), "half_adder");
}

TEST_F(SymbolWindowsTest, PortableCheckBoxesSwitchTheTextToThePortableForm) {
  OpenExample("half_adder.sch");
  frame.ShowNetlistWindow(Tmdiframe::kPageVerilog);
  TFormNetlist* form = frame.netlistForm();
  EXPECT_FALSE(form->gateDelays()->isEnabled());
  form->portable()->setChecked(true);
  EXPECT_TRUE(form->gateDelays()->isEnabled());
  EXPECT_TRUE(form->memo()->toPlainText().contains("\nmodule half_adder(a, b, sum, carry);"));
  EXPECT_FALSE(form->memo()->toPlainText().contains("`timescale"));
  form->gateDelays()->setChecked(true);
  EXPECT_TRUE(form->memo()->toPlainText().contains("always @* xor3_r <= #"));
  form->portable()->setChecked(false);
  EXPECT_TRUE(form->memo()->toPlainText().contains("\nmodule half_adder( a,b,sum,carry);"));
}

TEST_F(SymbolWindowsTest, ClockPageStoresPhasesAndOnlyItsPageShows) {
  const int s = Place("clock");
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_EQ(f.currentPage(), "Clock");
    EXPECT_EQ(f.windowTitle(), QString("Symbol %1 properties (69)").arg(ws.circuit.Symbols[s].Name.c_str()));
    EXPECT_FALSE(Child<QCheckBox>(f, "pauseRise")->isEnabled());
    Child<QLineEdit>(f, "EditClock0")->setText("20");
    Child<QLineEdit>(f, "EditClock1")->setText("30");
  });
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "20.000");
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(2), "30.000");
  EXPECT_TRUE(ws.circuit.Modified);
}

TEST_F(SymbolWindowsTest, OkWithABadFieldSaysWhatIsWrongNextToItAndStaysOpen) {
  const int s = Place("clock");
  EditSymbol(s, [&](TFormSymProps& f) {
    auto* low = Child<QLineEdit>(f, "EditClock0");
    low->setText("200000");
    Child<QPushButton>(f, "OKBtn")->click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.messages().TextOf(low), "200000 is out of range: enter a value from 0 to 100000.");
    EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "50.000");  // nothing applied yet
    low->setText("20");
    Child<QPushButton>(f, "OKBtn")->click();
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "20.000");
}

TEST_F(SymbolWindowsTest, CancelKeepsTheSymbol) {
  const int s = Place("clock");
  EditSymbol(
      s, [&](TFormSymProps& f) { Child<QLineEdit>(f, "EditClock0")->setText("20"); }, false);
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "50.000");
  EXPECT_FALSE(ws.circuit.Modified);
}

TEST_F(SymbolWindowsTest, MatrixAllOffThenReleasedLinks) {
  const int s = Place("matrix");
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_EQ(f.currentPage(), "Switching Matrix");
    Child<QPushButton>(f, "sbMtx2")->setChecked(false);
    Child<QPushButton>(f, "sbClearMatrix")->click();
  });
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "000000");
  EditSymbol(s, [&](TFormSymProps& f) {
    Child<QPushButton>(f, "sbMtx1")->setChecked(false);
    Child<QPushButton>(f, "sbMtx4")->setChecked(false);
  });
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "100100");
}

TEST_F(SymbolWindowsTest, LookUpTableFunctionAndDoubleClick) {
  const int s = Place("lut");
  EditSymbol(s, [&](TFormSymProps& f) {
    auto* list = Child<QListWidget>(f, "ListLut");
    const auto found = list->findItems("Fout = F0 xor F1 ; XOR 2 inputs", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit list->itemClicked(found[0]);
    auto* grid = Child<QTableWidget>(f, "StringLut");
    EXPECT_EQ(grid->item(1, 1)->text(), "1");
    emit grid->cellDoubleClicked(15, 1);
  });
  std::string words;
  for (int k = 1; k <= 16; ++k) words += ws.circuit.Symbols[s].Prop(k);
  EXPECT_EQ(words, "0110011001100111");
}

TEST_F(SymbolWindowsTest, PwlLoadAndStepShowTheScaledTimes) {
  const int s = Place("pwl");
  EditSymbol(
      s,
      [&](TFormSymProps& f) {
        EXPECT_EQ(f.currentPage(), "Pwl");
        Child<QLineEdit>(f, "EditSequence")->setText("0110");
        Child<QPushButton>(f, "sbLoad")->click();
        Child<QLineEdit>(f, "EditStep")->setText("5");
        Child<QPushButton>(f, "SBTimeScale")->click();
        auto* grid = Child<QTableWidget>(f, "StrGridPwl");
        EXPECT_EQ(grid->rowCount(), 320);
        QStringList times;
        for (int r = 0; r < 5; ++r) times << grid->item(r, 0)->text();
        EXPECT_EQ(times, (QStringList{"5.00", "10.00", "15.00", "20.00", ""}));
        EXPECT_EQ(grid->item(2, 1)->text(), "1");
        Child<QLineEdit>(f, "EditStep")->setText("x");
        Child<QPushButton>(f, "SBTimeScale")->click();
        EXPECT_EQ(Child<QLineEdit>(f, "EditStep")->text(), "1");
      },
      false);
  EXPECT_EQ(ws.circuit.Symbols[s].Prop(1), "20");
}

TEST_F(SymbolWindowsTest, EnterInThePinGridPressesOkAndNamesDisplayPins) {
  const int s = Place("display");
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_EQ(f.currentPage(), "Select");
    EXPECT_TRUE(Child<QWidget>(f, "RadioFormat")->isVisibleTo(&f));
    Child<QLineEdit>(f, "editName")->setText("disp");
    auto* grid = Child<QTableWidget>(f, "PinData");
    grid->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(grid, &enter);
  });
  const TSymbol& d = ws.circuit.Symbols[s];
  EXPECT_EQ(d.Name, "disp");
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(d.Pin(k).Name, "disp" + std::to_string(8 - k));
}

TEST_F(SymbolWindowsTest, LightPausesAndPurple) {
  const int s = Place("light");
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_TRUE(Child<QCheckBox>(f, "pauseRise")->isEnabled());
    EXPECT_FALSE(Child<QWidget>(f, "RadioFormat")->isVisibleTo(&f));
    Child<QCheckBox>(f, "pauseRise")->setChecked(true);
    for (QAbstractButton* b : f.findChildren<QAbstractButton*>())
      if (b->text() == "Purple") b->click();
  });
  EXPECT_EQ(ws.circuit.Symbols[s].RecColour, 'p');
  EXPECT_TRUE(ws.circuit.Symbols[s].Vis & 16);
}

TEST_F(SymbolWindowsTest, RenamingAVerilogPinRewritesTheInstances) {
  ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / "full_adder.sym", kLoadSymbol, 300, 300));
  const int s = ws.circuit.Symbols.Count();
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_EQ(f.currentPage(), "Verilog Call");
    EXPECT_TRUE(Child<QPlainTextEdit>(f, "MemoVerilog")->toPlainText().contains("xor xor4(w4,a,b);"));
    auto* grid = Child<QTableWidget>(f, "PinData");
    ASSERT_EQ(grid->item(0, 2)->text(), "a");
    grid->item(0, 2)->setText("x-in");
  });
  const TSymbol& t = ws.circuit.Symbols[s];
  EXPECT_EQ(t.Pin(1).Name, "x_in");
  std::string all;
  for (int l = 1; l <= t.VerilogLineCount; ++l) all += t.VerilogLines[l] + "\n";
  EXPECT_NE(all.find("xor xor4(w4,x_in,b);"), std::string::npos) << all;
  EXPECT_NE(all.find("and and5(w5,x_in,b);"), std::string::npos) << all;
  EXPECT_NE(all.find("input x_in,b,cin;"), std::string::npos) << all;
}

TEST_F(SymbolWindowsTest, ProgramIsAssembledIntoItsResultPages) {
  OpenExample("mcu_counter.sch");
  const int s = FindModel(2051);
  ASSERT_GT(s, 0);
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_EQ(f.currentPage(), QString::fromUtf8("8051 µc"));
    EXPECT_FALSE(Child<QPlainTextEdit>(f, "MemoProgram")->toPlainText().isEmpty());
    Child<QPushButton>(f, "sbAsm")->click();
    EXPECT_FALSE(Child<QPlainTextEdit>(f, "MemoAsm")->toPlainText().isEmpty());
    EXPECT_TRUE(Child<QPlainTextEdit>(f, "MemoSymbols")->toPlainText().startsWith("List of symbols"));
  });
  EXPECT_GT(ws.circuit.AsmLines.Count(), 0);
}

}  // namespace
}  // namespace qiro
