// What every built-in model does in the two passes of a simulation step: which pins it drives
// from its delay lines (drive pass) and what it computes into them from its input nodes
// (compute pass). The rules are written once, over a small "pins" interface, so that the
// reference engine and the fast engine evaluate exactly the same logic:
//   ReadPin(p), RisingEdge(p), FallingEdge(p)  node values of pin p
//   WritePin(p, v), HoldPin(p)                 the first cell of pin p's delay line
//   Prop(k)                                    property word k of the symbol
// Values are value codes (kLogic1 = 0, kLogic0 = 1, kLogicX = 2).
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

namespace qiro {

inline constexpr int kModelNot = 101;
inline constexpr int kModelBuf = 111;
inline constexpr int kModelNotif1 = 121;
inline constexpr int kModelMux = 143;
inline constexpr int kModelPip = 702;
inline constexpr int kModelMatrix = 710;
inline constexpr int kModelLut = 724;
inline constexpr int kModelJk = 830;
inline constexpr int kModelDreg = 860;
inline constexpr int kModelNmosSwitch = 901;
inline constexpr int kModelPmosSwitch = 902;
inline constexpr int kModelMcu = 2051;

inline constexpr std::uint8_t kValueX = kLogicX;  // x as a plain byte, for conditional expressions

inline std::uint8_t NotValue(std::uint8_t v) {
  return v == kLogic1 ? kLogic0 : v == kLogic0 ? kLogic1 : kLogicX;
}

enum class GateFamily { None, And, Nand, Or, Nor, Xor, Xnor };

struct GateShape {
  GateFamily family = GateFamily::None;
  int inputs = 0;  // pins 1..inputs are inputs, pin inputs + 1 the output
};

// Family and input count of a gate model (200..619); family None for anything else.
inline GateShape GateShapeOf(int model) {
  if (model >= 200 && model < 600) {
    constexpr GateFamily kByHundred[] = {GateFamily::Nand, GateFamily::Nor, GateFamily::And, GateFamily::Or};
    return {kByHundred[model / 100 - 2], model % 100};
  }
  if (model >= 600 && model < 610) return {GateFamily::Xor, model % 10};
  if (model >= 610 && model < 620) return {GateFamily::Xnor, model % 10};
  return {};
}

// Folds a gate's inputs in pin order. read(i) gives the value of input i (1-based).
template <class Read>
std::uint8_t FoldGate(GateShape g, Read read) {
  if (g.inputs < 1) return kLogicX;
  std::uint8_t r = read(1);
  for (int k = 2; k <= g.inputs; ++k) {
    const std::uint8_t i = read(k);
    switch (g.family) {
      case GateFamily::And:
      case GateFamily::Nand:
        if (i == kLogic0)
          r = kLogic0;
        else if (i == kLogicX && r != kLogic0)
          r = kLogicX;
        break;
      case GateFamily::Or:
      case GateFamily::Nor:
        if (i == kLogic1)
          r = kLogic1;
        else if (i == kLogicX && r != kLogic1)
          r = kLogicX;
        break;
      case GateFamily::Xor:
        if (i == kLogicX)
          r = kLogicX;
        else if (i == kLogic1)
          r = NotValue(r);
        break;
      case GateFamily::Xnor:
        if (i == kLogicX)
          r = kLogicX;
        else if (i == kLogic0)
          r = NotValue(r);
        break;
      case GateFamily::None:
        return kLogicX;
    }
  }
  if (g.family == GateFamily::Nand || g.family == GateFamily::Nor) r = NotValue(r);
  return r;
}

// Supplies and sources (vdd, vss, pwl, clock, button, kbd, sinus) drive their nodes themselves;
// their pins leave a node's drive kind alone when a step begins.
inline bool IsSourceModel(int model) {
  return model == 1 || model == 0 || model == 68 || model == 69 || model == 59 || model == 85 || model == 70;
}

// Lights, digits, displays and pads only watch or name their nodes; no pin of theirs drives.
inline bool IsDisplayModel(int model) {
  return model == 49 || model == 81 || model == 88 || model == 89 || model == 61 || model == 62;
}

// The pins a model drives in the drive pass, in order.
struct DriveList {
  int count = 0;
  int pins[2] = {0, 0};
  bool tristate = false;  // notif1: drives only while its enable (pin 2) reads 1
  int pulsePin = 0;       // the pin whose rising node draws a supply-current pulse (0: none)
  bool mcu = false;       // the microcontroller drives its own pins
};
DriveList DrivenPins(int model);

// Pins whose node values the compute pass of a model reads; 0 means "all pins".
// Used by the fast engine to know which symbols a node change wakes up.
int ReadPinCount(int model);

// Compute pass of one symbol.
template <class Pins>
void ComputeSymbol(int model, Pins& p) {
  const GateShape g = GateShapeOf(model);
  if (g.family != GateFamily::None) {
    p.WritePin(g.inputs + 1, FoldGate(g, [&p](int k) { return p.ReadPin(k); }));
    return;
  }
  switch (model) {
    case kModelNot:
      p.WritePin(2, NotValue(p.ReadPin(1)));
      break;
    case kModelBuf:
      p.WritePin(2, p.ReadPin(1));
      break;
    case kModelMux: {
      const std::uint8_t sel = p.ReadPin(3);
      if (sel == kLogic0)
        p.WritePin(4, p.ReadPin(1));
      else if (sel == kLogic1)
        p.WritePin(4, p.ReadPin(2));
      else
        p.HoldPin(4);  // select x: the output keeps what it had
      break;
    }
    case kModelNotif1:
      p.WritePin(3, p.ReadPin(2) == kLogic1 ? NotValue(p.ReadPin(1)) : kValueX);
      break;
    case kModelNmosSwitch:
      p.WritePin(3, p.ReadPin(2) == kLogic1 ? p.ReadPin(1) : kValueX);
      break;
    case kModelPmosSwitch:
      p.WritePin(3, p.ReadPin(2) == kLogic0 ? p.ReadPin(1) : kValueX);
      break;
    case kModelDreg:
      if (p.ReadPin(2) == kLogic1) {  // asynchronous reset; x counts as inactive
        p.WritePin(4, kLogic0);
        p.WritePin(5, kLogic1);
      } else if (p.FallingEdge(3)) {
        const std::uint8_t d = p.ReadPin(1);
        p.WritePin(4, d);
        p.WritePin(5, NotValue(d));
      } else {
        p.HoldPin(4);
        p.HoldPin(5);
      }
      break;
    case kModelJk: {
      const std::uint8_t set = p.ReadPin(4), reset = p.ReadPin(5);
      if (set == kLogicX || reset == kLogicX) {
        p.WritePin(6, kLogicX);
        p.WritePin(7, kLogicX);
      } else if (set == kLogic1) {
        p.WritePin(6, kLogic1);
        p.WritePin(7, kLogic0);
      } else if (reset == kLogic1) {
        p.WritePin(6, kLogic0);
        p.WritePin(7, kLogic1);
      } else if (p.RisingEdge(2)) {
        const std::uint8_t j = p.ReadPin(1), k = p.ReadPin(3);
        if (j == kLogicX || k == kLogicX) {
          p.WritePin(6, kLogicX);
          p.WritePin(7, kLogicX);
        } else if (j == kLogic1 && k == kLogic1) {
          p.WritePin(6, NotValue(p.ReadPin(6)));
          p.WritePin(7, NotValue(p.ReadPin(7)));
        } else if (j == kLogic1) {
          p.WritePin(6, kLogic1);
          p.WritePin(7, kLogic0);
        } else if (k == kLogic1) {
          p.WritePin(6, kLogic0);
          p.WritePin(7, kLogic1);
        } else {
          p.HoldPin(6);
          p.HoldPin(7);
        }
      } else {
        p.HoldPin(6);
        p.HoldPin(7);
      }
      break;
    }
    case kModelLut: {
      int index = 0;
      for (int i = 1; i <= 4; ++i) {
        const std::uint8_t v = p.ReadPin(i);
        if (v == kLogicX) {
          p.WritePin(5, kLogicX);
          return;
        }
        if (v == kLogic1) index |= 1 << (i - 1);
      }
      const std::string& word = p.Prop(index + 1);
      const char c = word.empty() ? ' ' : word[0];
      p.WritePin(5, c == '0' ? kLogic0 : c == '1' ? kLogic1 : kLogicX);
      break;
    }
    default:
      // Devices, switches made by extraction, the electrical elements and Verilog-described
      // symbols compute nothing; the microcontroller is evaluated by its own core.
      break;
  }
}

}  // namespace qiro
