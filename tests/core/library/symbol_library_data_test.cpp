// The shipped symbol library and examples: what the rest of the program assumes
// of them (pin counts and orders, names the automatic numbering expects, device
// rectangles, default properties) and that the examples stay in the writer's
// exact format.
#include <set>
#include <sstream>

#include "core/test_support.h"
#include "extract/extract.h"
#include "model/catalogue.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"

namespace qiro {
namespace {

// Pin kinds in pin order ('?': not checked); the length is the pin count.
const std::vector<std::pair<int, std::string>>& Kinds() {
  static const std::vector<std::pair<int, std::string>> kinds = [] {
    std::vector<std::pair<int, std::string>> k = {
        {0, "O"},       {1, "O"},     {49, "I"},        {59, "O"},        {61, "O"},     {62, "I"},
        {68, "O"},      {69, "O"},    {70, "????????"}, {81, "????????"}, {85, "????"},  {88, "????????"},
        {89, "?????"},  {121, "IIO"}, {143, "IIIO"},    {702, "????"},    {710, "????"}, {724, "IIIIO"},
        {860, "IIIOO"}, {900, "??"},  {901, "IIO"},     {902, "IIO"},     {903, "??"},   {906, "????"},
        {920, "??"},    {930, "??"},  {950, "???"},     {960, "??"},      {965, "??"},   {970, "????"},
        {101, "IO"},    {111, "IO"},
    };
    for (int model : {202, 203, 204, 302, 303, 304, 402, 403, 502, 503, 602, 603, 612})
      k.push_back({model, std::string(model % 10, 'I') + "O"});
    return k;
  }();
  return kinds;
}

class LibraryData : public test::WorkspaceTest {
 protected:
  LibraryData() { ws.SetHomeDir(test::SourceRoot()); }
  // Places the kind's library file at (500, 500) and returns a copy of the new
  // symbol.
  TSymbol Place(int model) {
    EXPECT_TRUE(PlaceLibrarySymbol(ws, model, 500, 500)) << model;
    return ws.circuit.Symbols[ws.circuit.Symbols.Count()];
  }
};

bool Inside(const Rect& r, int x, int y) {
  return r.x1 <= x && x <= r.x2 && r.y1 <= y && y <= r.y2;
}

TEST_F(LibraryData, EveryKindPlacesWithItsPinsOnTheGridAndInsideItsBox) {
  int kinds = 0;
  for (int code = 0; code < 1000; ++code) kinds += LibraryNameOfModel(code) != "?";
  EXPECT_EQ(kinds, static_cast<int>(Kinds().size())) << "every catalogue kind is checked";
  const std::set<int> faced = {49, 59, 70, 81, 85, 88, 89};
  for (const auto& [model, kinds] : Kinds()) {
    SCOPED_TRACE(LibraryNameOfModel(model));
    const TSymbol s = Place(model);
    EXPECT_EQ(s.Model, model);
    ASSERT_EQ(s.PinCount, static_cast<int>(kinds.size()));
    for (int p = 1; p <= s.PinCount; ++p) {
      const TPin& pin = s.Pin(p);
      SCOPED_TRACE(pin.Name);
      EXPECT_TRUE(pin.X % 5 == 0 && pin.Y % 5 == 0 && Inside(s.BBox, pin.X, pin.Y));
      EXPECT_TRUE(kinds[p - 1] == '?' || pin.Kind == kinds[p - 1]) << pin.Kind;
      EXPECT_TRUE(pin.Kind != 'O' || pin.DelayFactor > 0);
      for (int q = 1; q < p; ++q)
        EXPECT_FALSE(pin.X == s.Pin(q).X && pin.Y == s.Pin(q).Y) << "overlaps " << q;
    }
    ASSERT_GT(s.InnerLineCount, 0);
    EXPECT_LT(s.InnerLineCount, kMaxInnerLines);
    for (int i = 1; i <= s.InnerLineCount; ++i) {
      const auto& l = s.InnerLines[i];
      EXPECT_TRUE(Inside(s.BBox, l.x1, l.y1) && Inside(s.BBox, l.x2, l.y2)) << "line " << i;
    }
    // Faced devices have a rectangle inside their drawing.
    EXPECT_TRUE(!faced.count(model) ||
                (s.Rec.x2 - s.Rec.x1 >= 10 && s.Rec.y2 - s.Rec.y1 >= 10 &&
                 Inside(s.BBox, s.Rec.x1, s.Rec.y1) && Inside(s.BBox, s.Rec.x2, s.Rec.y2)));
  }
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(LibraryData, DevicesGetTheNamesTheNumberingExpects) {
  struct Named {
    int model;
    std::string name, pin1;
  } const cases[] = {
      {59, "button1", "in1"},    {69, "clock1", "clk1"},     {68, "pwl1", "pwl1"},
      {61, "padin1", "padin1"},  {62, "padout1", "padout1"}, {49, "light1", "out1"},
      {70, "sinus1", "sinus11"}, {89, "digit1", "digit11"},  {81, "display1", "display11"},
      {85, "kbd1", "kbd11"},     {88, "seg1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TSymbol s = Place(c.model);
    EXPECT_EQ(s.Name, c.name);
    EXPECT_TRUE(c.pin1.empty() || s.Pin(1).Name == c.pin1) << s.Pin(1).Name;
  }
  EXPECT_EQ(Place(860).Title, "dreg1");
  const TSymbol dreg = Place(860);
  EXPECT_EQ(dreg.Title + " " + test::PinNames(dreg, ","), "dreg2 D,Rst,H,Q,nQ,");
}

TEST_F(LibraryData, DefaultPropertiesAndSwitchLinks) {
  EXPECT_EQ(test::Words(Place(69), 1, 2), "50.000,50.000");
  EXPECT_EQ(test::Words(Place(70), 1, 3), "10,50,10");
  EXPECT_EQ(test::Words(Place(724), 1, 16) + "|" + Place(702).Prop(1), "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|1");
  const TSymbol matrix = Place(710);
  EXPECT_EQ(matrix.Prop(1), "000000");
  // The six links come first in the matrix drawing and join the pin pairs
  // extraction uses.
  const int pairs[6][2] = {{1, 3}, {2, 4}, {1, 4}, {4, 3}, {3, 2}, {1, 2}};
  for (int k = 0; k < 6; ++k) {
    const auto& l = matrix.InnerLines[k + 1];
    auto near = [&](int pin, int x, int y) {
      return std::abs(matrix.Pin(pin).X - x) + std::abs(matrix.Pin(pin).Y - y) <= 15;
    };
    EXPECT_TRUE((near(pairs[k][0], l.x1, l.y1) && near(pairs[k][1], l.x2, l.y2)) ||
                (near(pairs[k][0], l.x2, l.y2) && near(pairs[k][1], l.x1, l.y1)))
        << "link " << k + 1;
  }
}

// Every shipped example reads without error and has no floating wire.
TEST_F(LibraryData, EveryExampleLoadsWithoutFloatingWires) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::SourceRoot() / "examples")) {
    if (entry.path().extension() != ".sch") continue;
    ++examples;
    SCOPED_TRACE(entry.path().filename().string());
    Workspace one(&host);
    one.SetHomeDir(test::SourceRoot());
    ASSERT_TRUE(OpenSchematic(one, entry.path()));
    ExtractCircuit(one);
    int code = 0;
    EXPECT_EQ(CheckFloatingLines(one, code), 0);
  }
  EXPECT_GE(examples, 5);
}

}  // namespace
}  // namespace qiro
