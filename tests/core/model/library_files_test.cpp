// The shipped data: every catalogue kind has a library file with the pins the program
// relies on, and every library file and example survives a read/write/read/write cycle.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/test_support.h"
#include "model/catalogue.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"
#include "workspace.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;

// Pin kinds of a symbol as one string, "IIO" for a two-input gate.
std::string Kinds(const TSymbol& s) {
  std::string k;
  for (int i = 1; i <= s.PinCount; ++i) k += s.Pin(i).Kind;
  return k;
}

std::string Names(const TSymbol& s) {
  std::string n;
  for (int i = 1; i <= s.PinCount; ++i) n += (i > 1 ? "," : "") + s.Pin(i).Name;
  return n;
}

// What the program requires of the library symbol of a code: its pin kinds, or only a
// pin count (empty kinds) where the pins are not driven by direction.
struct Requirement {
  std::string kinds;
  int pins;
};

Requirement RequiredPins(int code) {
  const int family = code / 100;
  if (family >= 2 && family <= 6) {
    const int inputs = family == 6 ? (code % 100) % 10 : code % 100;
    return {std::string(inputs, 'I') + "O", inputs + 1};
  }
  switch (code) {
    case 101:
    case 111:
      return {"IO", 2};
    case 121:
      return {"IIO", 3};
    case 143:
      return {"IIIO", 4};
    case 724:
      return {"IIIIO", 5};
    case 860:
      return {"IIIOO", 5};
    case 901:
    case 902:
      return {"", 3};
    case 70:
    case 81:
      return {"", 8};
    case 89:
      return {"", 5};
    case 85:
      return {"", 4};
    case 59:
    case 69:
    case 68:
    case 61:
    case 62:
    case 49:
      return {"", 1};
    default:
      return {"", -1};  // electrical elements, switches: their own readers decide
  }
}

TEST(LibraryFiles, EveryCatalogueKindHasAFileWithTheRequiredPins) {
  test::RecordingHost host;
  Workspace ws(&host);
  ws.SetHomeDir(test::SourceRoot());
  int checked = 0;
  for (int code = 0; code < 1000; ++code) {
    const std::string name = LibraryNameOfModel(code);
    if (name == "?") continue;
    SCOPED_TRACE(name);
    ClearSchematic(ws);
    ASSERT_TRUE(PlaceLibrarySymbol(ws, code, 100, 100)) << host.LastStatus();
    ASSERT_EQ(ws.circuit.Symbols.Count(), 1);
    const TSymbol& s = ws.circuit.Symbols[1];
    EXPECT_EQ(s.Model, code);
    const Requirement r = RequiredPins(code);
    if (r.pins >= 0) {
      EXPECT_EQ(s.PinCount, r.pins) << Names(s);
    }
    if (!r.kinds.empty()) {
      EXPECT_EQ(Kinds(s), r.kinds) << Names(s);
    }
    ++checked;
  }
  EXPECT_EQ(checked, 45);
  ClearSchematic(ws);
  ASSERT_TRUE(PlaceLibrarySymbol(ws, 860, 0, 0));
  EXPECT_EQ(Names(ws.circuit.Symbols[1]), "D,Rst,H,Q,nQ");
  EXPECT_TRUE(host.errors.empty());
}

std::string WithoutVersionAndEnd(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string line = text.substr(start, end - start);
    if (line.rfind("VERSION ", 0) != 0 && line.rfind("FFIG ", 0) != 0) out += line;
    start = end;
  }
  return out;
}

TEST(LibraryFiles, LibraryAndExamplesSurviveReadWriteReadWrite) {
  test::TempDir dir;
  int files = 0;
  for (const char* folder : {"IEEE", "examples"}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(test::SourceRoot() / folder, ec)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".SYM" && ext != ".sch") continue;
      SCOPED_TRACE(entry.path().string());
      Workspace ws;
      ASSERT_TRUE(OpenSchematic(ws, entry.path()));
      ASSERT_TRUE(SchematicWrite(ws, dir / "first.sch"));
      ASSERT_TRUE(OpenSchematic(ws, dir / "first.sch"));
      ASSERT_TRUE(SchematicWrite(ws, dir / "second.sch"));
      EXPECT_EQ(WithoutVersionAndEnd(test::ReadFile(dir / "first.sch")),
                WithoutVersionAndEnd(test::ReadFile(dir / "second.sch")));
      ++files;
    }
  }
  EXPECT_GT(files, 45);
}

}  // namespace
}  // namespace qiro
