#include "sim/primitives.h"

namespace qiro {

DriveList DrivenPins(int model) {
  DriveList d;
  auto one = [&d](int pin) {
    d.count = 1;
    d.pins[0] = pin;
  };
  if (model == kModelNotif1) {
    one(3);
    d.tristate = true;
    d.pulsePin = 3;
  } else if (model >= 100 && model < 700) {
    // The output is the pin after the inputs. Gates of ten inputs or more count their inputs
    // in the last two digits of the code, so the output is taken from the gate's own shape.
    const GateShape g = GateShapeOf(model);
    const int inputs = g.family != GateFamily::None ? g.inputs : (model % 100) % 10;
    one(inputs + 1);
    d.pulsePin = inputs + 1;
  } else if (model == kModelJk) {
    d.count = 2;
    d.pins[0] = 6;
    d.pins[1] = 7;
  } else if (model == kModelDreg) {
    d.count = 2;
    d.pins[0] = 4;
    d.pins[1] = 5;
    d.pulsePin = 4;
  } else if (model == kModelLut) {
    one(5);
  } else if (model >= 900 && model < 980) {
    one(3);
  } else if (model == kModelMcu) {
    d.mcu = true;
  }
  return d;
}

int ReadPinCount(int model) {
  const GateShape g = GateShapeOf(model);
  if (g.family != GateFamily::None) return g.inputs;
  switch (model) {
    case kModelNot:
    case kModelBuf:
      return 1;
    case kModelNotif1:
    case kModelNmosSwitch:
    case kModelPmosSwitch:
      return 2;
    case kModelMux:
    case kModelDreg:
      return 3;
    case kModelLut:
      return 4;
    case kModelJk:   // also reads its own outputs when it toggles
    case kModelMcu:  // may read any of its pins
      return 0;
    default:
      return -1;
  }
}

}  // namespace qiro
