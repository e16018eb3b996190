#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "sim/devices.h"

namespace qiro {
namespace {

using test::AddDevice;

// Gives a symbol a drawn box and device rectangle.
void Place(Workspace& ws, int i, Rect r) {
  ws.circuit.Symbols[i].BBox = r;
  ws.circuit.Symbols[i].Rec = r;
}

TEST(DevicesClick, KeyFromTheClickPosition) {
  const Rect rec{100, 200, 140, 240};
  EXPECT_EQ(KeyAt(rec, 139, 201), 15);  // next to x2, farthest from y2
  EXPECT_EQ(KeyAt(rec, 101, 239), 0);   // next to x1 and y2
  EXPECT_EQ(KeyAt(rec, 111, 229), 5);
  EXPECT_EQ(KeyAt(rec, 140, 200), 15);  // on the far corner itself
  EXPECT_EQ(KeyAt(Rect{100, 200, 100, 240}, 100, 210), 0);
  EXPECT_EQ(KeyAt(Rect{140, 200, 100, 240}, 90, 210), 12);  // left of a reversed rectangle: column 0
}

TEST(DevicesClick, ScriptedClickPointsLandOnTheirDeviceAndKey) {
  Workspace ws;
  const int k = AddDevice(ws, "kbd1", kModelKbd, {2, 3, 4, 5});
  Place(ws, k, Rect{100, 200, 140, 240});
  const int b = AddDevice(ws, "button1", kModelButton, {6});
  Place(ws, b, Rect{110, 210, 130, 220});  // on top of the keyboard's middle
  int x = 0, y = 0;
  for (int key = 0; key < 16; ++key) {
    ASSERT_TRUE(ClickPointOf(ws, k, key, x, y)) << key;
    EXPECT_EQ(KeyAt(ws.circuit.Symbols[k].Rec, x, y), key);
    EXPECT_TRUE(x < 112 || x > 128 || y < 212 || y > 218) << key;  // not under the button
  }
  ASSERT_TRUE(ClickPointOf(ws, b, 0, x, y));
  EXPECT_EQ(x, 120);
  Place(ws, b, Rect{90, 190, 150, 250});  // now it hides the whole keyboard
  EXPECT_FALSE(ClickPointOf(ws, k, 3, x, y));
}

TEST(DevicesClick, KeyboardClickSetsHeldLevelsForTheNextStep) {
  test::RecordingHost host;
  Workspace ws(&host);
  const int k = AddDevice(ws, "kbd1", kModelKbd, {2, 3, 4, 5});
  Place(ws, k, Rect{100, 200, 140, 240});
  PrepareDevices(ws);
  for (int n = 2; n <= 5; ++n) ws.nodes[n].Value = kLogic0;
  DeviceClick(ws, 131, 211, 50);  // column 3, row 2: key 11
  EXPECT_EQ(host.LastStatus(0), "Keyboard kbd1 at 131,211");
  EXPECT_EQ(KeyboardKey(ws, k), 11);
  EXPECT_EQ(ws.chrono.Sample(1, 1), 11);
  EXPECT_EQ(ws.nodes[2].Value, kLogic0);  // nodes follow at the next step
  DriveSources(ws, 51);
  EXPECT_EQ(ws.nodes[2].Value, kLogic1);
  EXPECT_EQ(ws.nodes[3].Value, kLogic1);
  EXPECT_EQ(ws.nodes[4].Value, kLogic0);
  EXPECT_EQ(ws.nodes[5].Value, kLogic1);
}

TEST(DevicesClick, ButtonTogglesAndLightFollowsAtOnceWithPauseOnEdge) {
  test::RecordingHost host;
  Workspace ws(&host);
  const int b = AddDevice(ws, "button1", kModelButton, {2});
  Place(ws, b, Rect{0, 0, 20, 20});
  const int light = AddDevice(ws, "light1", kModelLight, {2}, 1 | 16 | 32);
  ws.circuit.Symbols[light].Pin(1).Name = "out";
  ws.tech.TimeUnit = 0.5;
  PrepareDevices(ws);
  ws.circuit.Symbols[b].Pin(1).Value = kLogic0;
  ws.nodes[2].Value = ws.nodes[2].PrevValue = kLogic0;

  EXPECT_TRUE(DeviceClick(ws, 10, 10, 81));
  EXPECT_EQ(host.ShowedStatus("Button button1 at 10,10"), true);
  EXPECT_EQ(host.LastStatus(0), "Pause simulation at a rise edge of out at time 41ns");
  EXPECT_EQ(ws.nodes[2].Value, kLogic1);
  EXPECT_EQ(ws.nodes[2].Level, 1.0);
  const int lightTrace = ws.circuit.Symbols[light].TraceIndex;
  EXPECT_EQ(ws.chrono.Sample(lightTrace, ws.chrono.SampleCount()), 1);
  EXPECT_EQ(ws.chrono.Sample(ws.circuit.Symbols[b].TraceIndex, 1), 1);

  // The second click brings it back to 0; the node's previous value was 0, so no edge.
  EXPECT_FALSE(DeviceClick(ws, 10, 10, 82));
  EXPECT_EQ(ws.nodes[2].Value, kLogic0);
  EXPECT_EQ(ws.chrono.Sample(lightTrace, ws.chrono.SampleCount()), 0);

  // A falling edge seen by the scan of a later step (the click's own edge is not paused on twice).
  ws.engine.ClickedNode = -1;
  ws.nodes[2].PrevValue = kLogic1;
  EXPECT_TRUE(NodeChanged(ws, 2, 90));
  EXPECT_EQ(host.LastStatus(0), "Pause simulation at a fall edge of out at time 45ns");
}

TEST(DevicesClick, ClickElsewhereTellsThePinLevel) {
  test::RecordingHost host;
  Workspace ws(&host);
  const int g = AddDevice(ws, "nand2", 202, {2, 3, 4});
  Place(ws, g, Rect{0, -10, 40, 10});
  ws.circuit.Symbols[g].Title = "U1";
  ws.nodes[3].Value = kLogic1;
  DeviceClick(ws, 20, 0, 5);  // pin 2 sits at (20, 0)
  EXPECT_EQ(host.LastStatus(1), "Click in nand2(U1), pin 2, \"1\"");
  // A pin on the box edge, where pins usually stand, answers too (within a unit of it).
  ws.circuit.Symbols[g].Pin(3).X = 40;
  ws.circuit.Symbols[g].Pin(3).Y = 0;
  ws.nodes[4].Value = kLogic0;
  DeviceClick(ws, 41, 1, 5);
  EXPECT_EQ(host.LastStatus(1), "Click in nand2(U1), pin 3, \"0\"");
  // Off any symbol nothing happens.
  host.statuses.clear();
  EXPECT_FALSE(DeviceClick(ws, 500, 500, 5));
  EXPECT_TRUE(host.statuses.empty());
}

}  // namespace
}  // namespace qiro
