// The circuit records: symbols with their pins, wires, connection dots and labels.
// Field names follow the file format and the rest of the program; see circuit.h for the tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/geometry.h"

namespace qiro {

// Display-state byte shared by every record.
enum : std::uint8_t { kDeleted = 0, kNormal = 1, kHighlight = 2, kHighlight2 = 4 };

// Logic value codes held in nodes, pins and delay cells (inverted with respect to the level).
enum : std::uint8_t { kLogic1 = 0, kLogic0 = 1, kLogicX = 2 };

inline constexpr int kMaxPins = 200;
inline constexpr int kMaxInnerLines = 100;
inline constexpr int kMaxVerilogLines = 512;
inline constexpr int kMaxPropWords = 200;

struct TPin {
  std::string Name;
  int X = 0, Y = 0;
  int Node = -1;
  int LineStart = 0, LineEnd = 0;  // delay-line cells of the simulation engine
  std::uint8_t State = kNormal;
  double GateDelay = 0, WireDelay = 0;
  double DelayFactor = 0, LoadFactor = 0;
  int Fanout = 0;
  char Kind = 'I';
  std::uint8_t Value = kLogicX;
};

struct TInnerLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const TInnerLine&) const = default;
};

struct TSymbol {
  std::uint8_t State = kNormal;
  Rect Rec{0, 0, 0, 0};
  Rect BBox{};
  std::string Title;
  std::string Name;
  int TitleX = 0, TitleY = 0;
  int Model = 0;
  int Vis = 5;
  std::uint8_t Internal = 0;
  char RecColour = 'r';

  // Pins 1..PinCount; Pins[0] is unused. A refused pin (table full) still has its slot.
  std::vector<TPin> Pins = std::vector<TPin>(1);
  int PinCount = 0;
  std::vector<TInnerLine> InnerLines = std::vector<TInnerLine>(1);
  int InnerLineCount = 0;
  // Verilog lines 1..min(VerilogLineCount, 512); the count may run past what is stored.
  std::vector<std::string> VerilogLines = std::vector<std::string>(1);
  int VerilogLineCount = 0;
  int VerilogStart = 1;
  // Property words 1..200, always present.
  std::vector<std::string> PropWords = std::vector<std::string>(kMaxPropWords + 1);

  // Device-specific run-time numbers kept with the symbol (trace number of a traced device, ...).
  int TraceIndex = 0;

  TPin& Pin(int k) { return (k >= 1 && k < static_cast<int>(Pins.size())) ? Pins[k] : scratchPin(); }
  const TPin& Pin(int k) const {
    static const TPin empty{};
    return (k >= 1 && k < static_cast<int>(Pins.size())) ? Pins[k] : empty;
  }
  const std::string& Prop(int k) const {
    static const std::string empty;
    return (k >= 1 && k <= kMaxPropWords) ? PropWords[k] : empty;
  }
  const std::string& VerilogLine(int k) const {
    static const std::string empty;
    return (k >= 1 && k < static_cast<int>(VerilogLines.size())) ? VerilogLines[k] : empty;
  }

 private:
  static TPin& scratchPin() {
    static thread_local TPin scratch;
    scratch = TPin{};
    return scratch;
  }
};

struct TLine {
  std::uint8_t State = kNormal;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int EndFlags = 0;
  int Node = -1;
};

struct TContact {
  int X = 0, Y = 0;
  int Node = -1;
  std::uint8_t State = kNormal;
};

struct TTextLabel {
  int X = 0, Y = 0;
  std::string Text;
  std::uint8_t State = kNormal;
};

}  // namespace qiro
