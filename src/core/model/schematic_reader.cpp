// The schematic reader. Pass 1 finds the first BB line (the bounding box that places the
// file); pass 2 dispatches every line on its first characters and reads fixed fields
// with small scanners. Unrecognised lines are skipped, so the title, version and date
// lines of both file kinds pass unnoticed. Lines may end with CR LF or LF.
#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"
#include "model/errors.h"
#include "model/file_read.h"
#include "model/line_scanner.h"
#include "model/schematic_file.h"
#include "model/text.h"
#include "model/verilog_text.h"
#include "workspace.h"

namespace qiro {

namespace {

// The reader's state for one load.
struct Reader {
  Workspace& ws;
  Circuit& c;
  int dx = 0, dy = 0;
  bool inBlock = false;
  int current = 0;  // the symbol of the open block; 0 when its SYM was refused
  bool stop = false;
  bool truncated = false;

  bool InLiveBlock() const { return inBlock && c.Symbols.Valid(current); }
  TSymbol& Sym() { return c.Symbols[current]; }

  void Line(std::string_view line);
  void Bb(LineScanner& in);
  void Prop(LineScanner& in);
  void Rec(LineScanner& in);
  void Pin(LineScanner& in);
};

void Reader::Bb(LineScanner& in) {
  Rect r;
  r.x1 = in.ReadInt();
  r.y1 = in.ReadInt();
  r.x2 = in.ReadInt();
  r.y2 = in.ReadInt();
  if (r.x1 == 0 && r.y1 == 0 && r.x2 == 0 && r.y2 == 0) {
    stop = true;
    truncated = true;
    SetStatus(ws, 0, "Wrong symbol format, file truncated ");
    if (InLiveBlock()) Sym().State = kDeleted;
    return;
  }
  if (!inBlock) {
    c.BBox = r;
  } else if (InLiveBlock()) {
    Sym().BBox = Rect{r.x1 + dx, r.y1 + dy, r.x2 + dx, r.y2 + dy};
  }
}

// Space-separated words into slots 1..200. A trailing space makes no extra word, so a
// line written by the writer reads back into exactly the words it was written from.
void Reader::Prop(LineScanner& in) {
  TSymbol& s = Sym();
  for (std::string& w : s.PropWords) w.clear();
  in.Skip(2);
  int filled = 0;
  while (filled < kMaxPropWords) {
    in.SkipSpaces();
    if (in.AtEnd()) break;
    std::string_view rest = in.Rest();
    const std::size_t len = std::min(rest.find(' '), rest.size());
    s.PropWords[++filled] = Counted(rest.substr(0, len));
    in.Skip(len);
  }
  if (s.Model == 901 || s.Model == 902) {
    s.PropWords[1] = ws.tech.DefaultMosWidth;
    s.PropWords[2] = ws.tech.DefaultMosLength;
  }
}

void Reader::Rec(LineScanner& in) {
  TSymbol& s = Sym();
  in.Skip(1);
  const int x = in.ReadInt(), y = in.ReadInt(), w = in.ReadInt(), h = in.ReadInt();
  const std::string_view rest = in.Rest();
  const char letter = rest.empty() ? 'r' : rest[0];
  const int x2 = x + w, y2 = y + h;
  const int bx = s.BBox.x1, by = s.BBox.y1;
  if (x2 == 0 && y2 == 0 && s.Model == 49) {
    s.Rec = Rect{bx + 1, by + 1, bx + 5, by + 5};
  } else if (x2 == 0 && y2 == 0 && s.Model == 59) {
    s.Rec = Rect{bx + 1, by + 1, bx + 7, by + 7};
  } else if (x2 == 0 && y2 == 0 && s.Model == 69) {
    s.Rec = Rect{bx + 2, by + 1, bx + 6, by + 4};
  } else {
    s.Rec = Rect{x + dx, y + dy, x2 + dx, y2 + dy};
  }
  s.RecColour = letter;
}

void Reader::Pin(LineScanner& in) {
  in.Skip(1);
  const int x = in.ReadInt(), y = in.ReadInt();
  double f1 = in.ReadReal(), f2 = in.ReadReal();
  if (f1 > 0 && f1 < 1) {
    f1 = 1;
    if (f2 > 0 && f2 < 1) f2 = 1;
  }
  const char kind = (f1 == 0 && f2 == 0) ? 'I' : 'O';
  c.AddPin(current, x + dx, y + dy, kind, in.Rest(), f1, f2, ws.tech);
}

void Reader::Line(std::string_view line) {
  const std::string_view key2 = line.substr(0, 2);
  LineScanner in(line, 3);
  if (key2 == "BB") {
    Bb(in);
  } else if (key2 == "SY") {
    in.SkipPast('#');
    current = c.AddSymbol(in.Rest());
    inBlock = true;
    if (current) {
      Sym().VerilogLineCount = 0;
      Sym().VerilogStart = 1;
      BeginVerilogSymbol(ws);
    }
  } else if (key2 == "FS") {
    if (InLiveBlock()) {
      NameNewSymbol(ws, current);
      ws.host().DrawSymbol(current);
    }
    inBlock = false;
  } else if (key2 == "FF") {
    stop = true;
  } else if (key2 == "LI") {
    in.Skip(1);
    const int x1 = in.ReadInt(), y1 = in.ReadInt(), x2 = in.ReadInt(), y2 = in.ReadInt();
    if (!inBlock)
      c.AddWire(x1 + dx, y1 + dy, x2 + dx, y2 + dy);
    else if (InLiveBlock())
      c.AddInnerLine(current, x1 + dx, y1 + dy, x2 + dx, y2 + dy);
  } else if (key2 == "CN") {
    in.Skip(1);
    const int x = in.ReadInt(), y = in.ReadInt();
    c.AddContact(x + dx, y + dy);
  } else if (line.substr(0, 3) == "TEX") {
    in.Skip(2);
    const int x = in.ReadInt(), y = in.ReadInt();
    in.SkipPast('#');
    const int before = c.ErrorCode;  // adding a label resets the code; keep earlier failures
    c.AddText(x + dx, y + dy, in.Rest());
    if (c.ErrorCode == 0) c.ErrorCode = before;
  } else if (key2 == "ME") {
    c.AddAsmLine(line.substr(std::min<std::size_t>(3, line.size())));
  } else if (!InLiveBlock()) {
    return;  // the remaining lines belong inside a symbol block
  } else if (key2 == "TI") {
    in.Skip(3);
    const int x = in.ReadInt(), y = in.ReadInt();
    in.SkipPast('#');
    Sym().TitleX = x + dx;
    Sym().TitleY = y + dy;
    Sym().Title = Counted(in.Rest());
  } else if (key2 == "MO") {
    in.Skip(3);
    Sym().Model = in.ReadInt();
  } else if (key2 == "PR") {
    Prop(in);
  } else if (key2 == "RE") {
    Rec(in);
  } else if (key2 == "VI") {
    Sym().Vis = in.ReadInt();
  } else if (key2 == "PI") {
    Pin(in);
  } else if (key2 == "VL") {
    in.Skip(1);
    ReadVerilogLine(ws, current, in.Rest());
  }
}

}  // namespace

bool CheckSchematicFile(Workspace& ws, const std::filesystem::path& path) {
  std::string text;
  int error = 6;
  if (ReadWholeFile(path, text)) {
    error = 8;
    for (const std::string& line : SplitLines(text))
      if (line.compare(0, 2, "BB") == 0) error = 0;
  }
  if (error == 0) return true;
  ReportError(ws, error, path.string());
  SetStatus(ws, 0, "Error loading " + path.string());
  return false;
}

bool SchematicLoad(Workspace& ws, const std::filesystem::path& path, int mode, int cursorX, int cursorY) {
  Circuit& c = ws.circuit;
  const std::string name = path.string();
  c.Touch();
  // Insertion goes 50 units right of the schematic as last measured, top edges aligned.
  const bool haveBounds = !c.BBox.IsEmpty();
  const int insertX = Snap(c.BBox.x2 + 50), insertY = Snap(c.BBox.y1);

  std::string text;
  const bool opened = ReadWholeFile(path, text);
  c.ErrorCode = opened ? 0 : 6;
  SetStatus(ws, 0, "Edit \"" + name + "\"");
  if (mode == kLoadOpen) c.AsmLines.Clear();

  Reader reader{ws, c};
  if (!opened) {
    ReportError(ws, 6, name);
  } else {
    const std::vector<std::string> lines = SplitLines(text);
    const std::string* bbLine = nullptr;
    for (const std::string& line : lines) {
      if (line.compare(0, 2, "BB") == 0) {
        bbLine = &line;
        break;
      }
    }
    if (!bbLine) {
      ReportError(ws, 8, name);
      c.ErrorCode = 8;  // a file that is not ours must not end as "Loaded"
    } else {
      LineScanner bb(*bbLine, 3);
      const int x1 = bb.ReadInt(), y1 = bb.ReadInt(), x2 = bb.ReadInt(), y2 = bb.ReadInt();
      SetStatus(ws, 0, "Fix " + name);
      if (mode == kLoadSymbol) {
        reader.dx = Snap(cursorX - x2);
        reader.dy = Snap(cursorY - y2);
      } else if (mode == kLoadInsert && haveBounds) {
        reader.dx = insertX - Snap(x1);
        reader.dy = insertY - Snap(y1);
      }
      for (const std::string& line : lines) {
        reader.Line(line);
        if (reader.stop) break;
      }
    }
  }

  const bool ok = c.ErrorCode == 0 && !reader.truncated;
  if (c.ErrorCode != 0) {
    SetStatus(ws, 0, "Error loading " + name);
    c.ErrorCode = 0;
  } else if (!reader.truncated) {
    SetStatus(ws, 0, "Loaded " + name);
  }
  return ok;
}

}  // namespace qiro
