// The schematic writer: compacts the tables, recomputes the bounding box and writes
// every live symbol block, then contacts, wires, labels and assembly lines. Lines end
// with CR LF; numbers use the C locale whatever the user's locale is. Every text is written
// as one line (OneLine), so a name or a label holding a line break cannot add records.
#include <ctime>
#include <string>

#include "model/errors.h"
#include "model/safe_write.h"
#include "model/schematic_file.h"
#include "model/text.h"
#include "model/wire_cleanup.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr const char* kEol = "\r\n";

std::string Num(int v) {
  return std::to_string(v);
}

std::string RectText(const Rect& r) {
  return "(" + Num(r.x1) + "," + Num(r.y1) + "," + Num(r.x2) + "," + Num(r.y2) + ")";
}

std::string VersionLine() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[64];
  std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &local);
  return std::string("VERSION ") + buf;
}

void WriteSymbolBlock(std::string& out, const TSymbol& s) {
  out += "SYM  #" + OneLine(s.Name) + kEol;
  out += "BB" + RectText(s.BBox) + kEol;
  out += "TITLE " + Num(s.TitleX) + " " + Num(s.TitleY) + "  #" + OneLine(s.Title) + kEol;
  out += "MODEL " + Num(s.Model) + kEol;
  out += "PROP   ";
  for (int k = 1; k <= kMaxPropWords; ++k) out += OneLine(s.Prop(k)) + " ";
  out += kEol;
  out += "REC(" + Num(s.Rec.x1) + "," + Num(s.Rec.y1) + "," + Num(s.Rec.x2 - s.Rec.x1) + "," +
         Num(s.Rec.y2 - s.Rec.y1) + "," + std::string(1, s.RecColour) + ")" + kEol;
  out += "VIS " + Num(s.Vis) + kEol;
  for (int k = 1; k <= s.PinCount; ++k) {
    const TPin& p = s.Pin(k);
    out += "PIN(" + Num(p.X) + "," + Num(p.Y) + "," + FormatFixed(p.DelayFactor, 3, 5) + "," +
           FormatFixed(p.LoadFactor, 3, 5) + ")" + OneLine(p.Name) + kEol;
  }
  for (int k = 1; k <= s.InnerLineCount && k < static_cast<int>(s.InnerLines.size()); ++k) {
    const TInnerLine& l = s.InnerLines[k];
    out += "LIG" + RectText(Rect{l.x1, l.y1, l.x2, l.y2}) + kEol;
  }
  for (int k = 1; k <= s.VerilogLineCount && k <= kMaxVerilogLines; ++k)
    out += "VLG " + OneLine(s.VerilogLine(k)) + kEol;
  out += std::string("FSYM") + kEol;
}

}  // namespace

bool SchematicWrite(Workspace& ws, const std::filesystem::path& path, const std::filesystem::path& backup) {
  Circuit& c = ws.circuit;
  const std::string name = path.string();
  SetStatus(ws, 0, "Clean schematic diagram...");
  CleanWires(ws);
  SetStatus(ws, 0, "Save \"" + name + "\"...");

  // The text goes to a temporary file renamed over the target once complete, so a failed
  // save (full disk, lost device) leaves the previous file and its backup as they were.
  SafeFile file(path);
  c.ErrorCode = file.Ok() ? 0 : 7;
  c.CompactTables();
  if (!file.Ok()) {
    ReportWriteError(ws, name, file.Reason());
    c.ErrorCode = 0;
    return false;
  }

  c.BBox = DrawingExtent(c);
  std::string out;
  out += std::string("QIRO 2.3c") + kEol;
  out += VersionLine() + kEol;
  out += "BB" + RectText(c.BBox) + kEol;
  for (const TSymbol& s : c.Symbols)
    if (s.State != kDeleted && s.Internal == 0) WriteSymbolBlock(out, s);

  SetStatus(ws, 0, "Contacts..");
  for (const TContact& k : c.Contacts)
    if (k.State != kDeleted) out += "CNC(" + Num(k.X) + " " + Num(k.Y) + ")" + kEol;
  SetStatus(ws, 0, "Lignes..");
  for (const TLine& w : c.Wires)
    if (w.State != kDeleted) out += "LIG" + RectText(Rect{w.X1, w.Y1, w.X2, w.Y2}) + kEol;
  for (const TTextLabel& l : c.Labels)
    if (l.State != kDeleted) out += "TEXT " + Num(l.X) + " " + Num(l.Y) + "  #" + OneLine(l.Text) + kEol;
  for (const std::string& line : c.AsmLines) out += "MEM" + OneLine(line) + kEol;
  if (c.AsmLines.Count() > 0) SetStatus(ws, 0, "Store " + Num(c.AsmLines.Count()) + " asm lines");
  out += "FFIG " + OneLine(name) + kEol;

  file.Stream() << out;
  if (!file.Commit(backup)) {  // a full disk is a write error too, and the schematic stays modified
    ReportWriteError(ws, name, file.Reason());
    c.ErrorCode = 0;
    return false;
  }
  SetCurrentFileName(ws, name);
  c.Modified = false;
  SetStatus(ws, 0, name + " saved...");
  return true;
}

}  // namespace qiro
