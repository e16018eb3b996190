#include "chrono/vcd_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qiro {
namespace {

TEST(VcdWriter, TraceChangesOnlyWithBusesAndUnknowns) {
  ChronoStore store;
  const int bit = store.AddChronoTrace("out (light1)", false);
  const int bus = store.AddChronoTrace("kbd1(k0 k1 k2 k3 )", true);
  store.RecordChronoSample(3, bit, 255);
  store.RecordChronoSample(3, bus, 0xA5);
  store.RecordChronoSample(7, bit, 1);
  store.RecordChronoSample(8, bit, 1);  // a time point with no change gets no timestamp
  store.RecordChronoSample(9, bus, 0x0F);
  std::ostringstream out;
  WriteChronoVcd(out, store, 2.0);
  EXPECT_EQ(out.str(),
            "$version Qiro $end\n$timescale 1ns $end\n$scope module qiro $end\n"
            "$var wire 1 \" out_(light1) $end\n"
            "$var wire 8 # kbd1(k0_k1_k2_k3) [7:0] $end\n"
            "$upscope $end\n$enddefinitions $end\n"
            "#6\n$dumpvars\nx\"\nb10100101 #\n$end\n"
            "#14\n1\"\n"
            "#18\nb00001111 #\n");
}

TEST(VcdWriter, NodeChangesWithFractionalTimeUnit) {
  NodeTable nodes;
  int err = 0;
  nodes.AddNode("a", err);
  nodes.AddNode("b c", err);
  nodes[0].DriveKind = kDriveLow;
  nodes[1].DriveKind = kDriveHigh;
  NodeChangeLog log;
  log.Record(3, 2, kLogic1);  // not enabled: ignored
  log.enabled = true;
  log.Record(3, 2, kLogic0);
  log.Record(3, 3, kLogic1);
  log.Record(4, 2, kLogicX);
  log.Record(5, 99, kLogic1);  // not a node: skipped
  std::ostringstream out;
  WriteNodeVcd(out, nodes, log, 0.25);
  EXPECT_EQ(out.str(),
            "$version Qiro $end\n$timescale 1ps $end\n$scope module qiro $end\n"
            "$var wire 1 ! vss $end\n$var wire 1 \" vdd $end\n$var wire 1 # a $end\n$var wire 1 $ b_c $end\n"
            "$upscope $end\n$enddefinitions $end\n"
            "#0\n$dumpvars\n0!\n1\"\nx#\nx$\n$end\n"
            "#750\n0#\n1$\n#1000\nx#\n");
}

}  // namespace
}  // namespace qiro
