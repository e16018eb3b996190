// The main window: menus, the three panels of tool buttons, status bar, scroll bars, the
// editing mode that decides what the next pointer action does, and the file flows.
// It is also the core's Host: status texts, error boxes and redraw requests arrive here.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <filesystem>
#include <map>
#include <optional>

#include "editor/history.h"
#include "model/host.h"
#include "ui_dialogs.h"

class QAction;
class QAbstractButton;
class QButtonGroup;
class QLabel;
class QScrollBar;
class QToolBar;

namespace qiro {

class Workspace;
class DrawingArea;
class TFormNetlist;
class TFormSymProps;
class Canvas;
class SimRunState;
class TFormSimuCtrl;
class TFormChronos;
class THelpWindow;

enum EditMode {
  kModeSelect = 0,
  kModeText = 1,
  kModeLine = 2,
  kModeCut = 3,
  kModeConnect = 4,
  kModeRotateRight = 5,
  kModeRotateLeft = 6,
  kModeFlip = 7,
  kModePaste = 8,
  kModeCopy = 9,
  kModeCopyPaste = 10,
  kModeZoom = 11,
  kModeNet = 13,
  kModePrint = 14,
  kModePlaceSymbol = 15,
  kModeHideProps = 16,
};

inline constexpr const char* kAppTitle = "Qiro2";
inline constexpr const char* kWelcome = " Welcome to QIRO 2.3c-26 Nov 2001";
inline constexpr const char* kSchematicFilter =
    "Schematic Files (*.sch)|*.sch|Symbol Files  (*.sym)|*.sym|All files (*.*)|*.*";
inline constexpr const char* kSymbolFilter = "Symbols (*.SYM)|*.sym|ALL FILE (*.*)|*.*";
inline constexpr const char* kTechnologyFilter = "Technology file (*.TEC)|*.tec|ALL FILE (*.*)|*.*";
inline constexpr const char* kSaveFilter =
    "SCH FILE(*.sch)|*.sch|SYM FILE(*.sym)|*.sym|BMP FILE(*.bmp)|*.bmp|ALL FILE(*.*)|*.*";

// The name an editing mode's band action has in the Undo and Redo menu texts; empty for the
// modes that change nothing (zoom, electrical net).
QString BandActionName(int mode);

// A command-line name with its extension forced: appended when it has none, else replaced.
std::filesystem::path WithExtension(const std::string& name, const std::string& ext);

class Tmdiframe : public QMainWindow, public Host {
  Q_OBJECT
 public:
  // The window does not own the workspace or the dialogs; both outlive it.
  Tmdiframe(Workspace& ws, UiDialogs& dialogs, QWidget* parent = nullptr);
  ~Tmdiframe() override;

  // Start-up after the window exists: home, command line, 8051 reset, technology, welcome.
  void Startup(const std::filesystem::path& home, const QStringList& args);

  int mode() const { return mode_; }
  bool moveFlag() const { return moveFlag_; }
  QAction* action(const QString& name) const;
  QAbstractButton* toolButton(const QString& name) const;
  QString statusText() const;
  DrawingArea* drawing() const { return drawing_; }
  QString lastSymbol() const { return lastSymbol_; }
  History& history() { return history_; }

  // Commands (menu items and tool buttons).
  void ResetTools();
  void SetCurrentFileName(const QString& name);
  void NewFile();
  void DoOpenFile();
  void Save();
  void SaveAs();
  void SelectFoundry();
  void ToggleMonochrome();
  void PrintSchema();
  void QuitMe();
  void SetMode(int mode, const QString& status);
  void ZoomInCommand();
  void ZoomOutCommand();
  void ViewAll();
  void InsertUserSymbol();
  void InsertLastSymbol();
  void InsertFile();
  void ExtractCommand();
  void CheckFloatCommand();
  void ViewElectricalNet();
  void SearchNodeCommand();
  void SearchPinCommand();
  void Contents();
  void AboutQiro();
  // Menu entries whose windows do not exist in this program yet.
  void WindowNotAvailable(const QString& what);
  // Only when the schematic is modified: asks whether to save it (Yes, No, Cancel). False when
  // the user cancelled or the chosen save did not happen: the caller must not go on.
  bool ConfirmSaveIfModified();

  // Pointer and view, forwarded by the drawing widget (pixel positions).
  void PointerPress(QPoint p, bool rightButton);
  void PointerMove(QPoint p, bool buttonHeld = true);
  void PointerRelease(QPoint p);
  void PointerDoubleClick(QPoint p);
  // Ctrl + wheel zooms about the pointer, Shift + wheel scrolls sideways, the wheel scrolls.
  void PointerWheel(QPoint p, QPoint angleDelta, bool control, bool shift);
  // Ends a drag or band without its action (its button was released elsewhere, a dialog
  // took the pointer); with `pending` also a paste waiting for its click (a pending move
  // puts its entries back).
  void CancelPointerAction(bool pending = true);

  // Simulation side of the window (sim_run.cpp): whether a run is going on, and the pointer
  // actions that go to the devices while it is.
  bool SimulationRunning() const;
  void SimulationPress(QPoint p);
  void SimulationDoubleClick(QPoint p);
  // Simulation commands and the redraws of a run (sim_run.cpp): start (extracts first), stop,
  // the timing diagrams; the drawing after one step (pins show their delay cells), after a stop
  // (fitted, with the last values) and after the loop ended; pending faces painted now.
  void StartLifeCommand();
  void StopLifeCommand();
  void ShowChronograms();
  TFormSimuCtrl* simuCtrl();  // created on first use
  TFormChronos* chronos() const { return chronos_; }
  void ShowSingleStep();
  void ShowStoppedState();
  void SimulationFinished();
  void FlushSimulationView();
  // The symbol properties dialog on a symbol (form_symprops.cpp).
  void OpenSymbolProperties(int symbol);
  // The Verilog, hierarchy and netlist window on one of its pages (form_netlist.cpp).
  enum NetlistPage { kPageVerilog = 0, kPageHierarchy = 1, kPageNetlist = 2 };
  void ShowNetlistWindow(int page);
  // While a simulation runs: the netlist grid follows the values when the window is open.
  void RefreshNetlistWindow();
  TFormNetlist* netlistForm() const { return netlistForm_; }
  TFormSymProps* symPropsForm() const { return symPropsForm_; }
  THelpWindow* helpWindow() const { return help_; }
  void DrawingResized(int width, int height);
  // The symbol library palette (form_loglib.cpp): shown by sbloglib, and what its buttons do
  // when dragged over and dropped on the drawing.
  void ShowLibrary();
  // Hides the palette, if it was ever opened (printing, the timing diagrams).
  void HideLibrary();
  void PaletteDragMove(QPoint p);
  void PaletteDragLeave();
  void PaletteDrop(QPoint p, int model);
  // Schematic to symbol (form_schtosym.cpp), simulation options (form_options.cpp) and the
  // schematic properties (form_properties.cpp).
  void ToSymbolCommand();
  void SimulateOptionsCommand();
  void PropertiesCommand();
  // The last text of an error or warning box, kept even where no box can be shown.
  QString lastMessage() const { return lastMessage_; }

  // Host.
  void SetStatus(int panel, const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  void RedrawAll() override;
  void DrawSymbol(int) override { RedrawAll(); }
  void DrawWire(int) override { RedrawAll(); }
  void ShowFloatingLine(const Rect& view, int x, int y) override;
  void FileNameChanged(const std::string& name) override;
  void ProcessEvents() override;
  void SleepMs(int ms) override;
  void DeviceChanged(int symbol) override;
  void SimulationStateChanged() override;
  void SimulationIndicator(int red, int green, int blue) override;
  void RefreshSimulationView() override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QAction* AddAction(QMenu* menu, const QString& name, const QString& caption, const QString& shortcut,
                     void (Tmdiframe::*handler)());
  QAbstractButton* AddTool(QToolBar* bar, const QString& name, const QString& hint, bool modeButton,
                           void (Tmdiframe::*handler)());
  void BuildMenus();
  void BuildTools();
  void FitView();
  void SyncScrollBars();
  void DrawOverlay(QPoint cursor);
  // Whether the pointer has stayed within a grid step of the press point.
  bool IsClick(QPoint p) const;
  void StartBand(QPoint p);
  // The editing mode's action on a finished band (schematic units).
  void BandAction(int x1, int y1, int x2, int y2);
  void UndoCommand();
  void RedoCommand();
  void StepHistory(bool redo);
  // Ends one user action: the history records what it changed under its name (nothing for an
  // empty name), and the Undo and Redo entries follow.
  void Record(const QString& name);
  // After a file was read or a new one begun: the history starts again from the tables.
  void RestartHistory();
  // After a save: the clean-up it ran is an action, and the saved state is the history's save point.
  void RecordSave();
  void UpdateUndoActions();
  int WorldX(QPoint p) const;
  int WorldY(QPoint p) const;
  void StartPlacing(const QString& path, const QString& status);
  void LeavePrintView();
  // Device faces and value overlays of a run, drawn at the end of every full redraw.
  void DrawSimulationValues(Canvas& canvas);
  SimRunState& SimState();

  Workspace& ws_;
  UiDialogs& dialogs_;
  History history_;
  DrawingArea* drawing_ = nullptr;
  QScrollBar* hBar_ = nullptr;
  QScrollBar* vBar_ = nullptr;
  std::array<QLabel*, 3> statusPanels_{};
  std::map<QString, QAction*> actions_;
  std::map<QString, QAbstractButton*> tools_;
  QButtonGroup* modeGroup_ = nullptr;
  std::vector<QToolBar*> panels_;

  int mode_ = kModeSelect;
  bool moveFlag_ = false;
  bool zoomFlag_ = false;
  bool bandActive_ = false;
  bool lineBand_ = false;
  QPoint pressPoint_;
  QPoint lastPoint_;
  // What the pointer holds between press and release (table indexes, 0 for nothing).
  int dragSymbol_ = 0, dragLabel_ = 0, dragWire_ = 0, dragWirePart_ = 0;
  int clipboardMoves_ = 0;  // pointer moves while the clipboard follows the pointer
  QPoint wheelRest_;        // wheel turns below one notch, kept for the next event
  QString placePath_;
  QString lastSymbol_ = "unknown.sym";
  Rect placeBox_{};
  QString openDir_;
  bool quitting_ = false;
  SimRunState* simState_ = nullptr;
  TFormSimuCtrl* simuCtrl_ = nullptr;
  TFormChronos* chronos_ = nullptr;
  QString lastMessage_;
  TFormNetlist* netlistForm_ = nullptr;    // made on first use
  TFormSymProps* symPropsForm_ = nullptr;  // made on first use
  THelpWindow* help_ = nullptr;            // made on first use
};

}  // namespace qiro
