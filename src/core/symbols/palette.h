// The symbol library palette: its buttons with their hints and model codes, and the state a
// press leaves for the drawing to act on when the button is dropped there.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qiro {

class Workspace;

struct PaletteButton {
  const char* Name;     // object name, also the key of the button's picture
  const char* Hint;     // "" when the button shows none
  int Model;            // model code it places
  int Page;             // 0 "Basic", 1 "Advanced"
  const char* Heading;  // group heading on the "Advanced" page, "" on "Basic"
};

// Every palette button, in page order.
std::span<const PaletteButton> PaletteButtons();
// The model code a button places; any button not in the table places a button (59).
int ModelOfPaletteButton(std::string_view name);

// What a press on a palette button leaves for the drawing.
struct PaletteState {
  int Model = 59;              // code of the button last pressed
  bool InsertPending = false;  // a palette button was pressed and not yet dropped
  bool Dragging = false;       // its library file exists and the outline size is known
  int OutlineWidth = 0;        // outline of the symbol in pixels at the current zoom
  int OutlineHeight = 0;

  // After a drop or a cancelled drag.
  void Clear() {
    InsertPending = false;
    Dragging = false;
  }
};

// A palette button was pressed: remembers its code and measures its library file for the
// outline. Returns the warning to show when the file is missing (nothing may be dropped then).
std::optional<std::string> PrepareDrag(Workspace& ws, PaletteState& state, int model);

// The warning naming a missing library file.
std::string MissingSymbolWarning(const std::string& path);

}  // namespace qiro
