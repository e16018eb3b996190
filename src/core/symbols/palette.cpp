#include "symbols/palette.h"

#include <array>

#include "model/catalogue.h"
#include "model/symbol_library.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kBasic = 0, kAdvanced = 1;

constexpr std::array kButtons = {
    PaletteButton{"sbButton", "Button", 59, kBasic, ""},
    PaletteButton{"sbVss", "Ground", 0, kBasic, ""},
    PaletteButton{"sbVdd", "Supply", 1, kBasic, ""},
    PaletteButton{"sbLight", "Light", 49, kBasic, ""},
    PaletteButton{"sbClock", "Clock", 69, kBasic, ""},
    PaletteButton{"sbDigit", "Hexa display", 89, kBasic, ""},
    PaletteButton{"sbBuf", "Buffer", 111, kBasic, ""},
    PaletteButton{"sbNot", "Inverter", 101, kBasic, ""},
    PaletteButton{"sbNotIf1", "3state Inverter", 121, kBasic, ""},
    PaletteButton{"sbAnd2", "And 2inputs", 402, kBasic, ""},
    PaletteButton{"sbAnd3", "And 3 inputs", 403, kBasic, ""},
    PaletteButton{"sbNand2", "Nand 2 inputs", 202, kBasic, ""},
    PaletteButton{"sbNand3", "Nand 3 inputs", 203, kBasic, ""},
    PaletteButton{"sbOr2", "Or 2 inputs", 502, kBasic, ""},
    PaletteButton{"sbOr3", "Or 3 inputs", 503, kBasic, ""},
    PaletteButton{"sbNor2", "Nor 2 inputs", 302, kBasic, ""},
    PaletteButton{"sbNor3", "", 303, kBasic, ""},
    PaletteButton{"sbXor2", "Ex-Or 2 inputs", 602, kBasic, ""},
    PaletteButton{"sbXNor2", "Ex-Nor 2 inputs", 612, kBasic, ""},
    PaletteButton{"sbKbd", "Hexa Keyboard", 85, kBasic, ""},
    PaletteButton{"sbDreg", "D-Flip Flop", 860, kBasic, ""},
    PaletteButton{"sbMosn", "n-channel MOS", 901, kBasic, ""},
    PaletteButton{"sbMosp", "p-channel MOS", 902, kBasic, ""},
    PaletteButton{"sbTgate", "Transm Gate", 906, kBasic, ""},
    PaletteButton{"sbRes", "Resistance", 920, kAdvanced, "Electrical"},
    PaletteButton{"sbCapa", "Capacitance", 900, kAdvanced, "Electrical"},
    PaletteButton{"sbSelf", "Inductance", 930, kAdvanced, "Electrical"},
    PaletteButton{"sbAop", "Op-Amp", 950, kAdvanced, "Electrical"},
    PaletteButton{"sbDiode", "Diode", 903, kAdvanced, "Electrical"},
    PaletteButton{"sbMutual", "Mutual Inductance", 970, kAdvanced, "Electrical"},
    PaletteButton{"sbPwl", "Piece-Wise-Linear", 68, kAdvanced, "Sources"},
    PaletteButton{"sbSinus", "Digital Sinus", 70, kAdvanced, "Sources"},
    PaletteButton{"sbVsource", "Volt Source", 965, kAdvanced, "Sources"},
    PaletteButton{"sbDisplay", "8 bit display", 81, kAdvanced, "Display, I/Os"},
    PaletteButton{"sbPadIn", "Pad In", 61, kAdvanced, "Display, I/Os"},
    PaletteButton{"sbPadOut", "Pad out", 62, kAdvanced, "Display, I/Os"},
    PaletteButton{"sbPip", "Programable Interconnect Point", 702, kAdvanced, "Switches"},
    PaletteButton{"sbMatrix", "Programable switching matrix", 710, kAdvanced, "Switches"},
    PaletteButton{"sbMux", "Multiplexor", 143, kAdvanced, "Switches"},
    PaletteButton{"sbLut", "Look up table", 724, kAdvanced, "Switches"},
};

}  // namespace

std::span<const PaletteButton> PaletteButtons() {
  return kButtons;
}

int ModelOfPaletteButton(std::string_view name) {
  for (const PaletteButton& b : kButtons)
    if (name == b.Name) return b.Model;
  return 59;
}

std::string MissingSymbolWarning(const std::string& path) {
  return "The symbol " + path +
         " is not in this directory. Click \"File\" \"Properties\" to setup the directory";
}

std::optional<std::string> PrepareDrag(Workspace& ws, PaletteState& state, int model) {
  state.Model = model;
  state.InsertPending = true;
  state.Dragging = false;
  const std::string name = LibraryNameOfModel(model);
  const auto path = SymbolPath(ws, name);
  std::error_code ec;
  if (name == "?" || !std::filesystem::is_regular_file(path, ec)) return MissingSymbolWarning(path.string());
  if (const auto bb = MeasureSymbolFile(ws, path)) {
    const View& v = ws.view;
    state.OutlineWidth = v.WorldToScreenX(bb->x2) - v.WorldToScreenX(bb->x1);
    state.OutlineHeight = v.WorldToScreenY(bb->y2) - v.WorldToScreenY(bb->y1);
  }
  state.Dragging = true;
  return std::nullopt;
}

}  // namespace qiro
