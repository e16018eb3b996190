// Physical parameters of the fabrication process the simulation assumes.
// The values live as long as the program; a technology file replaces those it names.
#pragma once

#include <string>

namespace qiro {

struct Technology {
  std::string TechName = "unknown technology";
  double TimeUnit = 1.0;           // ns per simulation step
  double UnitGateDelay = 1.0;      // ns per unit of a pin's delay factor
  double WireDelayUnit = 1.0;      // ns per unit of fanout
  double TechCurrentFactor = 1.0;  // multiplies a pin's load factor in the current estimate
  double SupplyVoltage = 2.5;      // volts
  std::string DefaultMosLength = "0.25u";
  std::string DefaultMosWidth = "2.0u";
};

}  // namespace qiro
