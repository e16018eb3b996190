// How core talks to the user. Core never shows anything itself: the desktop program,
// the command-line program and the tests each implement this interface.
#pragma once

#include <string>

#include "model/geometry.h"

namespace qiro {

class Host {
 public:
  virtual ~Host() = default;

  // Status bar text of a panel: 0 progress, 1 verdict / technology name, 2 more.
  virtual void SetStatus(int panel, const std::string& text) { (void)panel, (void)text; }
  // The "Error" message box (exclamation icon, OK button).
  virtual void ShowError(const std::string& text) { (void)text; }
  // A "Warning" box with an OK button.
  virtual void ShowWarning(const std::string& text) { (void)text; }
  // Let the user interface process pending events (clicks, keys, pause, stop).
  virtual void ProcessEvents() {}
  virtual void SleepMs(int ms) { (void)ms; }

  // Redraw requests.
  virtual void RedrawAll() {}
  virtual void DrawSymbol(int symbol) { (void)symbol; }
  virtual void DrawWire(int wire) { (void)wire; }
  virtual void DrawContact(int contact) { (void)contact; }
  // A device's face (light, display, keyboard, switch, microcontroller text) changed.
  virtual void DeviceChanged(int symbol) { (void)symbol; }
  // The current file name changed (open, save, save as, new); the window's caption shows it.
  virtual void FileNameChanged(const std::string& name) { (void)name; }
  // Show the view rectangle (schematic units) and mark the floating wire whose midpoint is x, y.
  virtual void ShowFloatingLine(const Rect& view, int x, int y) { (void)view, (void)x, (void)y; }

  // Simulation: Running or Paused changed (start, stop, pause on an edge); the step indicator's
  // colour; the periodic redraw of pin values, wire states and the register view.
  virtual void SimulationStateChanged() {}
  virtual void SimulationIndicator(int red, int green, int blue) { (void)red, (void)green, (void)blue; }
  virtual void RefreshSimulationView() {}
};

}  // namespace qiro
