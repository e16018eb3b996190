#include "main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "drawing_area.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "form_tests.h"
#include "help_window.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"
#include "model/technology_file.h"
#include "model/wire_cleanup.h"
#include "print_schema.h"
#include "qt_canvas.h"
#include "symbols/sch_to_sym.h"
#include "tool_icons.h"
#include "workspace.h"

namespace qiro {

namespace fs = std::filesystem;

std::filesystem::path WithExtension(const std::string& name, const std::string& ext) {
  fs::path p(name);
  if (p.filename().string().find('.') == std::string::npos) return fs::path(name + ext);
  p.replace_extension(ext);
  return p;
}

Tmdiframe::Tmdiframe(Workspace& ws, UiDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ws_(ws), dialogs_(dialogs) {
  setObjectName("Tmdiframe");
  ws_.SetHost(this);
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  drawing_ = new DrawingArea(this, central);
  hBar_ = new QScrollBar(Qt::Horizontal, central);
  vBar_ = new QScrollBar(Qt::Vertical, central);
  hBar_->setObjectName("LfRgBar");
  vBar_->setObjectName("TpBtBar");
  for (QScrollBar* b : {hBar_, vBar_}) {
    b->setRange(0, kScrollRange);
    b->setValue(kScrollRange / 2);
  }
  grid->addWidget(drawing_, 0, 0);
  grid->addWidget(vBar_, 0, 1);
  grid->addWidget(hBar_, 1, 0);
  setCentralWidget(central);
  connect(hBar_, &QScrollBar::valueChanged, this, [this](int v) {
    if (v == ws_.view.hScroll) return;
    ws_.view.ScrollHorizontalTo(v);
    RedrawAll();
  });
  connect(vBar_, &QScrollBar::valueChanged, this, [this](int v) {
    if (v == ws_.view.vScroll) return;
    ws_.view.ScrollVerticalTo(v);
    RedrawAll();
  });
  for (int i = 0; i < 3; ++i) {
    statusPanels_[i] = new QLabel(this);
    statusPanels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    statusBar()->addWidget(statusPanels_[i], i == 0 ? 3 : 1);
  }
  statusBar()->setObjectName("StatusBar");
  BuildMenus();
  BuildTools();
  move(0, 0);
  resize(640, 480);
}

Tmdiframe::~Tmdiframe() {
  ws_.SetHost(nullptr);
}

QAction* Tmdiframe::AddAction(QMenu* menu, const QString& name, const QString& caption,
                              const QString& shortcut, void (Tmdiframe::*handler)()) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(QKeySequence(shortcut));
  if (handler) connect(a, &QAction::triggered, this, handler);
  actions_[name] = a;
  return a;
}

void Tmdiframe::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  AddAction(file, "mnunew", "&New", "", &Tmdiframe::NewFile);
  AddAction(file, "mnuread", "&Open", "F3", &Tmdiframe::DoOpenFile);
  AddAction(file, "mnuwrite", "&Save", "F2", &Tmdiframe::Save);
  AddAction(file, "mnusave", "Save &As", "", &Tmdiframe::SaveAs);
  file->addSeparator();
  AddAction(file, "mnuRule", "Select Foundry", "", &Tmdiframe::SelectFoundry);
  connect(AddAction(file, "mnuToVerilog", "Make &Verilog File", "", nullptr), &QAction::triggered, this,
          [this] { ShowNetlistWindow(kPageVerilog); });
  AddAction(file, "mnuToSymbol", "Schema to new symbol", "", &Tmdiframe::ToSymbolCommand);
  AddAction(file, "mnuProps", "&Properties", "", &Tmdiframe::PropertiesCommand);
  AddAction(file, "mnuMonochrom", "Monchrom/Color", "", &Tmdiframe::ToggleMonochrome);
  AddAction(file, "mnuprn", "&Print Schema", "", &Tmdiframe::PrintSchema);
  file->addSeparator();
  AddAction(file, "mnuquit", "&Leave Qiro2", "Ctrl+Q", &Tmdiframe::QuitMe);

  QMenu* edit = menuBar()->addMenu("&Edit");
  AddAction(edit, "mnuUndo", "&Undo", "Ctrl+Z", &Tmdiframe::UndoCommand);
  AddAction(edit, "mnuRedo", "&Redo", "Ctrl+Y", &Tmdiframe::RedoCommand)
      ->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  connect(edit, &QMenu::aboutToShow, this, &Tmdiframe::UpdateUndoActions);
  auto modeAction = [&](const QString& name, const QString& caption, const QString& shortcut, int mode,
                        const QString& status, bool move = false) {
    connect(AddAction(edit, name, caption, shortcut, nullptr), &QAction::triggered, this, [=, this] {
      SetMode(mode, status);
      moveFlag_ = move;
    });
  };
  modeAction("mnuCut", "Cut", "Ctrl+X", kModeCut, "Please select a part to delete");
  modeAction("mnuPaste", "Paste", "Ctrl+V", kModePaste, "paste beginning...");
  modeAction("mnuCopy", "Copy", "Ctrl+C", kModeCopy, "Please select a part to copy");
  modeAction("mnuMove", "Move", "Ctrl+M", kModeCut, "Please select a part to delete", true);
  modeAction("mnuRotateLeft", "Rotate &Left", "", kModeRotateLeft, "Please selete a part to rotate to left");
  modeAction("mnuRotateRight", "&Rotate Right", "", kModeRotateRight,
             "Please select a part to rotate to right");
  modeAction("mnuFlip", "&Flip", "", kModeFlip, "Please select a part to flip");
  modeAction("mnuLine", "&Line", "", kModeLine, "Draw line");
  modeAction("mnuConnect", "&Connect", "", kModeConnect, "Draw Connect");
  modeAction("mnuText", "&Text", "", kModeText, "");
  modeAction("mnuHideProps", "Hide Properties", "Ctrl+H", kModeHideProps,
             "Select a symbol in the drawing...");
  edit->addSeparator();
  connect(AddAction(edit, "mnuSearchNode", "Search Node", "Ctrl+N", nullptr), &QAction::triggered, this,
          &Tmdiframe::SearchNodeCommand);
  connect(AddAction(edit, "mnuSearchPin", "Search Pin", "Ctrl+P", nullptr), &QAction::triggered, this,
          &Tmdiframe::SearchPinCommand);
  connect(AddAction(edit, "mnuUnselect", "Unselect All", "", nullptr), &QAction::triggered, this, [this] {
    CancelPointerAction();
    ResetHighlight(ws_);
  });

  QMenu* insert = menuBar()->addMenu("&Insert");
  AddAction(insert, "mnuInsertSymbol", "User &Symbol (.SYM)", "", &Tmdiframe::InsertUserSymbol);
  AddAction(insert, "mnuInsertFile", "Another Schema (.SCH)", "", &Tmdiframe::InsertFile);
  QAction* bar = insert->addSeparator();
  bar->setObjectName("mnuBar");
  bar->setVisible(false);
  actions_["mnuBar"] = bar;
  AddAction(insert, "mnuLastSymbol", "Last symbol", "", &Tmdiframe::InsertLastSymbol)->setVisible(false);

  QMenu* view = menuBar()->addMenu("&View");
  AddAction(view, "mnuViewAll", "&View All", "Ctrl+A", &Tmdiframe::ViewAll);
  AddAction(view, "mnuViewSame", "View &Same", "", &Tmdiframe::RedrawAll);
  AddAction(view, "mnuZoomIn", "Zoom &In", "Ctrl+I", &Tmdiframe::ZoomInCommand);
  AddAction(view, "mnuZoomOut", "Zoom &Out", "Ctrl+O", &Tmdiframe::ZoomOutCommand);
  view->addSeparator();
  connect(AddAction(view, "mnuNetlist", "View &Netlist", "", nullptr), &QAction::triggered, this,
          [this] { ShowNetlistWindow(kPageNetlist); });
  connect(AddAction(view, "mnuViewHierarchy", "View &Hierarchy", "", nullptr), &QAction::triggered, this,
          [this] { ShowNetlistWindow(kPageHierarchy); });
  AddAction(view, "mnuViewInterconnect", "View Electrical Net", "", &Tmdiframe::ViewElectricalNet);
  AddAction(view, "mnuChronogram", "Timing Diagrams", "", &Tmdiframe::ShowChronograms);
  AddAction(view, "mnuViewLibrary", "Symbol &Library", "", &Tmdiframe::ShowLibrary);

  QMenu* sim = menuBar()->addMenu("&Simulate");
  AddAction(sim, "mnuExtract", "Extract Circuit", "", &Tmdiframe::ExtractCommand);
  AddAction(sim, "mnuCheckFloat", "Check Floating Line", "", &Tmdiframe::CheckFloatCommand);
  AddAction(sim, "mnuStartLife", "&Start Simulation", "Ctrl+S", &Tmdiframe::StartLifeCommand);
  AddAction(sim, "mnuStopLife", "Stop Simulation", "", &Tmdiframe::StopLifeCommand);
  connect(AddAction(sim, "mnuRunTests", "Run Tests...", "", nullptr), &QAction::triggered, this,
          [this] { RunTestsCommand(ws_, *this, dialogs_); });
  AddAction(sim, "SimulateOptions1", "Simulate Options", "", &Tmdiframe::SimulateOptionsCommand);

  QMenu* help = menuBar()->addMenu("&Help");
  AddAction(help, "mnuContents", "Contents", "", &Tmdiframe::Contents);
  AddAction(help, "AboutQiro", "About Qiro", "", &Tmdiframe::AboutQiro);
}

QAbstractButton* Tmdiframe::AddTool(QToolBar* bar, const QString& name, const QString& hint, bool modeButton,
                                    void (Tmdiframe::*handler)()) {
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setToolTip(hint);
  b->setIcon(ToolIcon(name));
  b->setCheckable(modeButton);
  bar->addWidget(b);
  if (modeButton) modeGroup_->addButton(b);
  if (handler) connect(b, &QToolButton::clicked, this, handler);
  tools_[name] = b;
  return b;
}

void Tmdiframe::BuildTools() {
  modeGroup_ = new QButtonGroup(this);
  modeGroup_->setExclusive(true);
  auto* files = addToolBar("Files");
  auto* edit = addToolBar("Edit");
  auto* view = addToolBar("View");
  panels_ = {files, edit, view};
  for (QToolBar* p : panels_) {
    p->setMovable(false);
    p->setIconSize(QSize(18, 18));
  }
  AddTool(files, "sbfileopen", "Open File", false, nullptr);
  connect(tools_["sbfileopen"], &QAbstractButton::clicked, this, [this] {
    ResetTools();
    DoOpenFile();
  });
  AddTool(files, "sbfilesave", "Save File", false, &Tmdiframe::Save);
  AddTool(files, "sbSymbol", "Make Symbol", false, &Tmdiframe::ToSymbolCommand);
  AddTool(files, "sbloglib", "Symbol Lib", false, &Tmdiframe::ShowLibrary);
  AddTool(files, "sbsch", "Timing Diagram", false, &Tmdiframe::ShowChronograms);
  AddTool(files, "SBSTART", "Start Simu", false, &Tmdiframe::StartLifeCommand);

  auto modeTool = [&](const QString& name, const QString& hint, int mode, const QString& status,
                      bool move = false) {
    connect(AddTool(edit, name, hint, true, nullptr), &QAbstractButton::clicked, this, [=, this] {
      SetMode(mode, status);
      moveFlag_ = move;
    });
  };
  AddTool(edit, "sbselect", "Select", true, &Tmdiframe::ResetTools);
  modeTool("sbclear", "Cut", kModeCut, "Please select a part to delete");
  modeTool("sbcopy", "Copy", kModeCopy, "Please select a part to copy");
  modeTool("sbMove", "Move", kModeCut, "Please select a part to delete", true);
  modeTool("sbgleft", "rotate to left", kModeRotateLeft, "Please selete a part to rotate to left");
  modeTool("sbgright", "rotate to right", kModeRotateRight, "Please select a part to rotate to right");
  modeTool("sbFlip", "Flip", kModeFlip, "Please select a part to flip");
  modeTool("sbline", "Line", kModeLine, "Draw line");
  modeTool("sbconnect", "Connect", kModeConnect, "Draw Connect");
  modeTool("sbword", "Text", kModeText, "");

  AddTool(view, "sbshow", "Actual Size", false, &Tmdiframe::ViewAll);
  AddTool(view, "sbzoomin", "Zoom In", true, &Tmdiframe::ZoomInCommand);
  AddTool(view, "sbzoomout", "Zoom Out", false, &Tmdiframe::ZoomOutCommand);
  AddTool(view, "sbViewNode", "View electrical net", true, &Tmdiframe::ViewElectricalNet);
  tools_["sbselect"]->setChecked(true);
}

QAction* Tmdiframe::action(const QString& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QAbstractButton* Tmdiframe::toolButton(const QString& name) const {
  auto it = tools_.find(name);
  return it == tools_.end() ? nullptr : it->second;
}

QString Tmdiframe::statusText() const {
  return statusPanels_[0]->text();
}

void Tmdiframe::Startup(const fs::path& home, const QStringList& args) {
  ws_.SetHomeDir(home);
  // An installed home is read-only data: file dialogs start in the user's own folder.
  openDir_ = QString::fromStdString((ws_.settings.UserDir.empty() ? home : ws_.settings.UserDir).string());
  SetCurrentFileName("example");
  ws_.circuit.Modified = false;
  if (args.size() == 2) LoadTechnology(ws_, WithExtension(args[1].toStdString(), ".tec"));
  if (args.size() == 1 || args.size() == 2) {
    const fs::path sch = WithExtension(args[0].toStdString(), ".sch");
    ClearSchematic(ws_);
    SetCurrentFileName("example");
    std::error_code ec;
    if (fs::exists(sch, ec)) {
      SetCurrentFileName(QString::fromStdString(sch.string()));
      OpenSchematicForEditing(ws_, sch);
      FitView();
    }
  }
  RestartHistory();
  ws_.mcu.ResetCore();
  LoadTechnology(ws_, home / "default.tec");
  qiro::SetStatus(ws_, 0, kWelcome);
}

void Tmdiframe::SetCurrentFileName(const QString& name) {
  qiro::SetCurrentFileName(ws_, name.toStdString());
}

void Tmdiframe::FileNameChanged(const std::string& name) {
  setWindowTitle(QString(kAppTitle) + " - " + QString::fromStdString(name));
}

void Tmdiframe::ResetTools() {
  tools_["sbselect"]->setChecked(true);
  mode_ = kModeSelect;
  zoomFlag_ = false;
  bandActive_ = false;
  ws_.view.netView = false;
  PutAwayFloatingMark(ws_);
}

void Tmdiframe::SetMode(int mode, const QString& status) {
  ResetTools();
  mode_ = mode;
  // The tool button that shows this mode stays pressed.
  static const std::map<int, QString> kModeButtons = {
      {kModeText, "sbword"},       {kModeLine, "sbline"},          {kModeCut, "sbclear"},
      {kModeConnect, "sbconnect"}, {kModeRotateRight, "sbgright"}, {kModeRotateLeft, "sbgleft"},
      {kModeFlip, "sbFlip"},       {kModeCopy, "sbcopy"},          {kModeZoom, "sbzoomin"},
      {kModeNet, "sbViewNode"}};
  if (auto it = kModeButtons.find(mode); it != kModeButtons.end()) tools_[it->second]->setChecked(true);
  if (!status.isEmpty()) qiro::SetStatus(ws_, 0, status.toStdString());
}

void Tmdiframe::WindowNotAvailable(const QString& what) {
  qiro::SetStatus(ws_, 0, (what + " is not available yet.").toStdString());
}

bool Tmdiframe::ConfirmSaveIfModified() {
  if (!ws_.circuit.Modified) return true;
  switch (dialogs_.AskSave(this, "Warning: schematics modified.", "Save the schematics?")) {
    case UiDialogs::SaveChoice::Cancel:
      return false;
    case UiDialogs::SaveChoice::Discard:
      return true;
    case UiDialogs::SaveChoice::Save:
      break;
  }
  Save();
  return !ws_.circuit.Modified;  // a save that failed or was called off keeps the work
}

void Tmdiframe::NewFile() {
  ResetTools();
  qiro::SetStatus(ws_, 0, "Create a new file");
  if (!ConfirmSaveIfModified()) return;
  ClearSchematic(ws_);
  SetCurrentFileName("example");
  RestartHistory();
  RedrawAll();
}

void Tmdiframe::DoOpenFile() {
  if (!ConfirmSaveIfModified()) return;
  const auto chosen = dialogs_.OpenFile(this, openDir_, kSchematicFilter);
  if (!chosen) return;
  const QString folder = QString::fromStdString(fs::path(chosen->toStdString()).parent_path().string());
  if (!CheckSchematicFile(ws_, chosen->toStdString())) return;  // the open schematic stays
  SetCurrentFileName(*chosen);
  OpenSchematic(ws_, chosen->toStdString());
  RestartHistory();  // the file as read; its clean-up can be undone
  TidyOpenedSchematic(ws_);
  Record("Clean-up");
  FitView();
  openDir_ = folder;
}

void Tmdiframe::Save() {
  // An untitled drawing has no file of its own yet: writing "example.sch" in whatever folder
  // is current would replace another untitled drawing saved there before.
  if (IsUntitled(ws_)) {
    SaveAs();
    return;
  }
  SaveSchematic(ws_);
  RecordSave();
}

void Tmdiframe::SaveAs() {
  const auto chosen =
      dialogs_.SaveFile(this, QString::fromStdString(ProposedSaveAsName(ws_).string()), kSaveFilter);
  if (chosen) {
    const fs::path path = chosen->toStdString();
    const bool confirmed = AskBeforeReplacing(dialogs_, this, path, false);
    SaveSchematicAs(ws_, path, confirmed);
    RecordSave();
    setWindowTitle(QString(kAppTitle) + " - " + QString::fromStdString(ws_.circuit.FileName));
  }
  ResetHighlight(ws_);
}

void Tmdiframe::SelectFoundry() {
  const auto chosen = dialogs_.OpenFile(this, openDir_, kTechnologyFilter);
  if (chosen) LoadTechnology(ws_, chosen->toStdString());
}

void Tmdiframe::ToggleMonochrome() {
  qiro::SetStatus(ws_, 0, "Switch monochrom/color");
  ws_.settings.Monochrome = !ws_.settings.Monochrome;
  RedrawAll();
}

void Tmdiframe::PrintSchema() {
  ResetTools();
  qiro::SetStatus(ws_, 0, "printing...");
  // The renderer draws the pages itself; the window keeps its normal view throughout.
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
  printer.setDocName(QString::fromStdString(ws_.circuit.FileName));
  ChooseOrientation(ws_, printer);
  const QString footer = PrintFooter(ws_, QDateTime::currentDateTime());
  const bool printed = dialogs_.Print(this, printer, [&](QPrinter* p) { PrintSchematic(ws_, *p, footer); });
  qiro::SetStatus(ws_, 0, printed ? "Schematic printed." : "Printing cancelled.");
  RedrawAll();
}

void Tmdiframe::LeavePrintView() {
  hBar_->show();
  vBar_->show();
  for (QToolBar* p : panels_) p->show();
  ws_.view.printing = false;
  if (ws_.settings.Monochrome) ws_.settings.Monochrome = false;
  ResetTools();
  RedrawAll();
}

void Tmdiframe::QuitMe() {
  StopLifeCommand();
  if (!ConfirmSaveIfModified()) return;
  if (!dialogs_.Confirm(this, "Do you really leave me?", "")) return;
  quitting_ = true;
  close();
}

void Tmdiframe::closeEvent(QCloseEvent* e) {
  StopLifeCommand();
  // Closing through the frame must not lose unsaved work either.
  if (!quitting_ && !ConfirmSaveIfModified()) {
    e->ignore();
    return;
  }
  e->accept();
}

void Tmdiframe::FitView() {
  FitViewToSchematic(ws_);
  SyncScrollBars();
  RedrawAll();
}

void Tmdiframe::SyncScrollBars() {
  const QSignalBlocker bh(hBar_), bv(vBar_);
  hBar_->setValue(ws_.view.hScroll);
  vBar_->setValue(ws_.view.vScroll);
}

void Tmdiframe::ViewAll() {
  ResetTools();
  qiro::SetStatus(ws_, 0, "View all the schema");
  FitView();
}

void Tmdiframe::ZoomInCommand() {
  if (mode_ == kModeZoom) {
    ws_.view.ZoomIn();
    RedrawAll();
    return;
  }
  SetMode(kModeZoom, "Please select a part to zoom In");
  zoomFlag_ = true;
}

void Tmdiframe::ZoomOutCommand() {
  qiro::SetStatus(ws_, 0, "Zoom out the schema");
  ws_.view.ZoomOut();
  ResetTools();
  RedrawAll();
}

void Tmdiframe::ViewElectricalNet() {
  SetMode(kModeNet, "Select a line in the drawing...");
  ExtractCircuit(ws_);
  PutAwayRunValues(ws_);  // node numbers take the place of a stopped run's values
  ws_.view.netView = true;
  RedrawAll();
}

void Tmdiframe::SearchNodeCommand() {
  const auto typed = dialogs_.InputText(this, "Search node", "Node number:", "");
  SearchNode(ws_, typed ? typed->toStdString() : std::string());
  RedrawAll();
}

void Tmdiframe::SearchPinCommand() {
  const auto typed = dialogs_.InputText(this, "Search Pin", "Enter pin name:", "");
  if (!typed || typed->trimmed().isEmpty()) return;
  FindPin(ws_, typed->toStdString());
  RedrawAll();
}

void Tmdiframe::ExtractCommand() {
  ExtractCircuit(ws_);
}

void Tmdiframe::CheckFloatCommand() {
  const std::string text = CheckFloatingLinesCommand(ws_);
  qiro::SetStatus(ws_, 0, text);
  RedrawAll();
}

// The mark itself is drawn by RedrawAll for as long as the wire stays highlighted.
void Tmdiframe::ShowFloatingLine(const Rect& view, int, int) {
  ws_.view.world = view;
  ws_.view.FitView();
}

void Tmdiframe::StartPlacing(const QString& path, const QString& status) {
  SetMode(kModePlaceSymbol, status);
  const auto box = MeasureSymbolFile(ws_, path.toStdString());
  if (!box) {
    ResetTools();
    return;
  }
  placeBox_ = *box;
  placePath_ = path;
}

void Tmdiframe::InsertUserSymbol() {
  std::error_code ec;
  fs::current_path(ws_.settings.HomeDir, ec);
  qiro::SetStatus(ws_, 0, "Insert symbol...");
  // Where Schema to Symbol writes, so a symbol just generated is at hand.
  const auto chosen =
      dialogs_.OpenFile(this, QString::fromStdString(GeneratedSymbolFolder(ws_).string()), kSymbolFilter);
  if (!chosen) return;
  lastSymbol_ = *chosen;
  actions_["mnuLastSymbol"]->setText(*chosen);
  actions_["mnuLastSymbol"]->setVisible(true);
  actions_["mnuBar"]->setVisible(true);
  StartPlacing(*chosen, "Insert symbol...");
}

void Tmdiframe::InsertLastSymbol() {
  std::error_code ec;
  fs::current_path(ws_.settings.HomeDir, ec);
  StartPlacing(actions_["mnuLastSymbol"]->text(), "Insert recorded symbol...");
}

void Tmdiframe::InsertFile() {
  qiro::SetStatus(ws_, 0, "Insert schema ...");
  const auto chosen = dialogs_.OpenFile(this, openDir_, kSchematicFilter);
  if (!chosen) return;
  SchematicLoad(ws_, chosen->toStdString(), kLoadInsert);
  Record("Insert File");
  FitView();
}

QString BandActionName(int mode) {
  static const std::map<int, QString> kNames = {{kModeLine, "Wire"},
                                                {kModeCut, "Cut"},
                                                {kModeConnect, "Dot"},
                                                {kModeRotateRight, "Rotate Right"},
                                                {kModeRotateLeft, "Rotate Left"},
                                                {kModeFlip, "Flip"},
                                                {kModeCopy, "Copy"},
                                                {kModePlaceSymbol, "Place Symbol"},
                                                {kModeHideProps, "Hide Properties"}};
  const auto it = kNames.find(mode);
  return it == kNames.end() ? QString() : it->second;
}

void Tmdiframe::Record(const QString& name) {
  if (name.isEmpty()) return;
  if (history_.Commit(ws_.circuit, name.toStdString()) == CommitResult::TooLarge)
    qiro::SetStatus(ws_, 0, (name + " is too large to be undone.").toStdString());
  UpdateUndoActions();
}

void Tmdiframe::RestartHistory() {
  history_.Reset(ws_.circuit);
  UpdateUndoActions();
}

void Tmdiframe::RecordSave() {
  Record("Clean-up");
  if (!ws_.circuit.Modified) history_.MarkSaved();
}

void Tmdiframe::UpdateUndoActions() {
  const bool editable = !SimulationRunning();
  const auto caption = [](const char* verb, const std::string& name) {
    return QString(verb) + (name.empty() ? "" : " " + QString::fromStdString(name));
  };
  actions_["mnuUndo"]->setText(caption("&Undo", history_.UndoLabel()));
  actions_["mnuUndo"]->setEnabled(editable && history_.CanUndo());
  actions_["mnuRedo"]->setText(caption("&Redo", history_.RedoLabel()));
  actions_["mnuRedo"]->setEnabled(editable && history_.CanRedo());
}

void Tmdiframe::UndoCommand() {
  StepHistory(false);
}

void Tmdiframe::RedoCommand() {
  StepHistory(true);
}

void Tmdiframe::StepHistory(bool redo) {
  if (SimulationRunning()) return;
  // An unfinished gesture is dropped first: its indexes may not survive the change.
  ResetTools();
  dragSymbol_ = dragLabel_ = dragWire_ = dragWirePart_ = 0;
  moveFlag_ = false;
  const std::string name = redo ? history_.RedoLabel() : history_.UndoLabel();
  if (redo ? history_.Redo(ws_.circuit) : history_.Undo(ws_.circuit))
    qiro::SetStatus(ws_, 0, (redo ? "Redo " : "Undo ") + name);
  UpdateUndoActions();
  RedrawAll();
}

void Tmdiframe::Contents() {
  const fs::path page = ws_.settings.HomeDir / "Html" / "index.html";
  if (!help_) help_ = new THelpWindow(dialogs_, this);
  if (!help_->ShowPage(QString::fromStdString(page.string()))) {
    qiro::SetStatus(ws_, 0, "File \"Html/index.html\" not found.");
    return;
  }
  help_->show();
  help_->raise();
}

void Tmdiframe::AboutQiro() {
  dialogs_.About(this);
  ResetHighlight(ws_);
}

void Tmdiframe::DrawingResized(int width, int height) {
  ws_.view.Resize(width + kScrollBarSize, height + kScrollBarSize, 0);
  RedrawAll();
}

void Tmdiframe::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Left:
      ws_.view.ArrowKey(ViewKey::Left);
      break;
    case Qt::Key_Right:
      ws_.view.ArrowKey(ViewKey::Right);
      break;
    case Qt::Key_Up:
      ws_.view.ArrowKey(ViewKey::Up);
      break;
    case Qt::Key_Down:
      ws_.view.ArrowKey(ViewKey::Down);
      break;
    case Qt::Key_Escape:
      moveFlag_ = false;
      CancelPointerAction();
      EscapePressed(ws_);
      return;
    default:
      QMainWindow::keyPressEvent(e);
      return;
  }
  SyncScrollBars();
  RedrawAll();
}

void Tmdiframe::SetStatus(int panel, const std::string& text) {
  if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return;
  statusPanels_[panel]->setText(QString::fromStdString(text));
}

void Tmdiframe::ShowError(const std::string& text) {
  lastMessage_ = QString::fromStdString(text);
  if (QApplication::platformName() == "offscreen") return;  // nobody could close it
  QMessageBox::warning(this, "Error", QString::fromStdString(text));
}

void Tmdiframe::ShowWarning(const std::string& text) {
  lastMessage_ = QString::fromStdString(text);
  if (QApplication::platformName() == "offscreen") return;
  QMessageBox::warning(this, "Warning", QString::fromStdString(text));
}

void Tmdiframe::RedrawAll() {
  if (!drawing_) return;
  drawing_->EnsureSize();
  {
    QtCanvas canvas(drawing_->base());
    qiro::RedrawAll(ws_, canvas);
    if (int mx = 0, my = 0; FloatingMark(ws_, mx, my)) {
      const int x = ws_.view.WorldToScreenX(mx);
      const int y = ws_.view.WorldToScreenY(my);
      canvas.SetPen(Pen{palette::kRed, PenStyle::Solid, RasterOp::Copy, 2});
      canvas.brush().transparent = true;
      canvas.Ellipse(PixelRect{x - 8, y - 8, x + 8, y + 8});
      canvas.font().colour = palette::kRed;
      canvas.Text(x + 10, y - 8, "Floating line here");
    }
    DrawSimulationValues(canvas);
  }
  drawing_->ResetShown();
  drawing_->update();
}

}  // namespace qiro
