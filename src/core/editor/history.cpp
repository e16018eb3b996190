#include "editor/history.h"

#include <utility>

namespace qiro {

namespace {

bool SameState(std::uint8_t a, std::uint8_t b) {
  return (a == kDeleted) == (b == kDeleted);  // highlight colours are not part of the drawing
}

// Equality of what the user drew; what extraction and simulation compute is left out.
bool SameDrawing(const TPin& a, const TPin& b) {
  return a.Name == b.Name && a.X == b.X && a.Y == b.Y && SameState(a.State, b.State) &&
         a.DelayFactor == b.DelayFactor && a.LoadFactor == b.LoadFactor && a.Kind == b.Kind;
}

bool SameDrawing(const TSymbol& a, const TSymbol& b) {
  if (!SameState(a.State, b.State) || a.Rec != b.Rec || a.BBox != b.BBox || a.TitleX != b.TitleX ||
      a.TitleY != b.TitleY || a.Model != b.Model || a.Vis != b.Vis || a.Internal != b.Internal ||
      a.RecColour != b.RecColour || a.PinCount != b.PinCount || a.InnerLineCount != b.InnerLineCount ||
      a.VerilogLineCount != b.VerilogLineCount || a.VerilogStart != b.VerilogStart || a.Name != b.Name ||
      a.Title != b.Title || a.Pins.size() != b.Pins.size() || a.InnerLines != b.InnerLines ||
      a.PropWords != b.PropWords || a.VerilogLines != b.VerilogLines)
    return false;
  for (std::size_t k = 1; k < a.Pins.size(); ++k)
    if (!SameDrawing(a.Pins[k], b.Pins[k])) return false;
  return true;
}

bool SameDrawing(const TLine& a, const TLine& b) {
  return SameState(a.State, b.State) && a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}

bool SameDrawing(const TContact& a, const TContact& b) {
  return SameState(a.State, b.State) && a.X == b.X && a.Y == b.Y;
}

bool SameDrawing(const TTextLabel& a, const TTextLabel& b) {
  return SameState(a.State, b.State) && a.X == b.X && a.Y == b.Y && a.Text == b.Text;
}

bool SameDrawing(const std::string& a, const std::string& b) {
  return a == b;
}

// Memory of one record image, heap parts included.
std::size_t HeapOf(const std::string& s) {
  return s.capacity() > 15 ? s.capacity() + 1 : 0;
}
std::size_t SizeOf(const std::string& s) {
  return sizeof s + HeapOf(s);
}
std::size_t SizeOf(const TLine& w) {
  return sizeof w;
}
std::size_t SizeOf(const TContact& k) {
  return sizeof k;
}
std::size_t SizeOf(const TTextLabel& l) {
  return sizeof l + HeapOf(l.Text);
}
std::size_t SizeOf(const TSymbol& s) {
  std::size_t n = sizeof s + HeapOf(s.Name) + HeapOf(s.Title) + s.InnerLines.capacity() * sizeof(TInnerLine);
  n += s.Pins.capacity() * sizeof(TPin);
  for (const TPin& p : s.Pins) n += HeapOf(p.Name);
  for (const auto* words : {&s.PropWords, &s.VerilogLines}) {
    n += words->capacity() * sizeof(std::string);
    for (const std::string& w : *words) n += HeapOf(w);
  }
  return n;
}

constexpr std::size_t kControlBlock = 32;  // shared_ptr bookkeeping per image

}  // namespace

template <class T>
using Images = std::vector<std::shared_ptr<const T>>;  // slot i of the table at [i - 1]

struct History::State {
  std::string label;  // the action that led to this state
  Images<TSymbol> symbols;
  Images<TLine> wires;
  Images<TContact> contacts;
  Images<TTextLabel> labels;
  Images<std::string> asmLines;
  Rect bbox;
  std::array<int, static_cast<int>(Counter::Count)> counters{};

  std::size_t SlotBytes() const {
    return (symbols.capacity() + wires.capacity() + contacts.capacity() + labels.capacity() +
            asmLines.capacity()) *
           sizeof(std::shared_ptr<const int>);
  }
};

namespace {

// Images count their memory into a counter shared with the history; the count drops when the
// last state holding an image goes.
using ByteCounter = std::shared_ptr<std::size_t>;

template <class T>
std::shared_ptr<const T> MakeImage(const T& record, const ByteCounter& counter) {
  const std::size_t size = SizeOf(record) + kControlBlock;
  *counter += size;
  return std::shared_ptr<const T>(new T(record), [counter, size](const T* p) {
    *counter -= size;
    delete p;
  });
}

template <class T, int C>
void CaptureTable(const Table<T, C>& live, const Images<T>& from, Images<T>& out, bool& changed,
                  const ByteCounter& counter) {
  const int n = live.Count();
  out.resize(static_cast<std::size_t>(n));
  if (out.size() != from.size()) changed = true;
  for (int i = 1; i <= n; ++i) {
    const std::size_t k = static_cast<std::size_t>(i) - 1;
    if (k < from.size() && SameDrawing(*from[k], live[i])) {
      out[k] = from[k];
    } else {
      out[k] = MakeImage(live[i], counter);
      changed = true;
    }
  }
}

template <class T, int C>
bool TableMatches(const Table<T, C>& live, const Images<T>& images) {
  if (static_cast<std::size_t>(live.Count()) != images.size()) return false;
  for (int i = 1; i <= live.Count(); ++i)
    if (!SameDrawing(*images[static_cast<std::size_t>(i) - 1], live[i])) return false;
  return true;
}

// Brings the live table from the images it holds now to the target images: the count first,
// then every slot whose image differs. A state never holds more slots than the table takes.
template <class T, int C>
void ApplyTable(Table<T, C>& live, const Images<T>& from, const Images<T>& to) {
  const int n = static_cast<int>(to.size());
  live.Truncate(n);
  while (live.Count() < n)
    if (live.Add() == 0) return;
  for (std::size_t k = 0; k < to.size(); ++k)
    if (k >= from.size() || from[k] != to[k]) live[static_cast<int>(k) + 1] = *to[k];
}

}  // namespace

History::History() {
  states_.push_back(std::make_unique<State>());
}

History::~History() = default;

void History::Capture(const Circuit& c, State& next, const State& from, bool& changed) const {
  CaptureTable(c.Symbols, from.symbols, next.symbols, changed, imageBytes_);
  CaptureTable(c.Wires, from.wires, next.wires, changed, imageBytes_);
  CaptureTable(c.Contacts, from.contacts, next.contacts, changed, imageBytes_);
  CaptureTable(c.Labels, from.labels, next.labels, changed, imageBytes_);
  CaptureTable(c.AsmLines, from.asmLines, next.asmLines, changed, imageBytes_);
  next.bbox = c.BBox;
  next.counters = c.Counters;
}

void History::ApplyState(Circuit& c, int target) {
  const State& from = *states_[static_cast<std::size_t>(current_)];
  const State& to = *states_[static_cast<std::size_t>(target)];
  ApplyTable(c.Symbols, from.symbols, to.symbols);
  ApplyTable(c.Wires, from.wires, to.wires);
  ApplyTable(c.Contacts, from.contacts, to.contacts);
  ApplyTable(c.Labels, from.labels, to.labels);
  ApplyTable(c.AsmLines, from.asmLines, to.asmLines);
  c.BBox = to.bbox;
  c.Counters = to.counters;
  c.CurrentSymbol = 0;
  current_ = target;
  c.Modified = !AtSavePoint();
  c.Extracted = false;
}

void History::Reset(const Circuit& c) {
  states_.clear();
  auto first = std::make_unique<State>();
  bool changed = false;
  Capture(c, *first, State{}, changed);
  states_.push_back(std::move(first));
  current_ = 0;
  savePoint_ = c.Modified ? -1 : 0;
  held_.clear();
  skipNext_ = false;
}

void History::Push(State&& s) {
  const auto keep = static_cast<std::size_t>(current_) + 1;
  if (savePoint_ >= static_cast<int>(keep)) savePoint_ = -1;  // the saved state was undone and is gone
  states_.resize(keep);
  states_.push_back(std::make_unique<State>(std::move(s)));
  ++current_;
  while (current_ > kMaxLevels) TrimOldest();
}

void History::TrimOldest() {
  states_.erase(states_.begin());
  --current_;
  savePoint_ = savePoint_ > 0 ? savePoint_ - 1 : -1;
}

CommitResult History::Commit(const Circuit& c, std::string_view label) {
  if (skipNext_) {
    skipNext_ = false;
    return CommitResult::Held;
  }
  State& now = *states_[static_cast<std::size_t>(current_)];
  State next;
  bool changed = false;
  Capture(c, next, now, changed);
  if (!changed) {
    now.bbox = next.bbox;
    now.counters = next.counters;
    return CommitResult::Unchanged;
  }
  next.label = held_.empty() ? std::string(label) : held_;
  held_.clear();
  Push(std::move(next));
  // Old actions give way to a large one; one that cannot fit alone is not kept at all.
  while (Bytes() > kMaxBytes && current_ > 0) TrimOldest();
  return current_ == 0 ? CommitResult::TooLarge : CommitResult::Recorded;
}

void History::Hold(std::string_view label) {
  held_ = label;
  skipNext_ = true;
}

void History::AbsorbDrift(const Circuit& c) {
  skipNext_ = false;
  State& now = *states_[static_cast<std::size_t>(current_)];
  // The usual case, checked without making a new state.
  if (TableMatches(c.Symbols, now.symbols) && TableMatches(c.Wires, now.wires) &&
      TableMatches(c.Contacts, now.contacts) && TableMatches(c.Labels, now.labels) &&
      TableMatches(c.AsmLines, now.asmLines)) {
    held_.clear();
    return;
  }
  State next;
  bool changed = false;
  Capture(c, next, now, changed);
  if (!changed) {
    held_.clear();
    return;
  }
  const bool atTop = current_ + 1 == static_cast<int>(states_.size());
  if (held_.empty() && atTop && current_ > 0) {
    // The change belongs to the last action: its state becomes the tables as they are.
    next.label = now.label;
    if (savePoint_ == current_) savePoint_ = -1;
    now = std::move(next);
    return;
  }
  next.label = held_.empty() ? std::string("Edit") : held_;
  held_.clear();
  Push(std::move(next));
}

bool History::CanUndo() const {
  return current_ > 0 || !held_.empty();
}

bool History::CanRedo() const {
  return current_ + 1 < static_cast<int>(states_.size());
}

std::string History::UndoLabel() const {
  if (!held_.empty()) return held_;
  return current_ > 0 ? states_[static_cast<std::size_t>(current_)]->label : std::string();
}

std::string History::RedoLabel() const {
  return CanRedo() ? states_[static_cast<std::size_t>(current_) + 1]->label : std::string();
}

bool History::Undo(Circuit& c) {
  AbsorbDrift(c);
  if (current_ == 0) return false;
  ApplyState(c, current_ - 1);
  return true;
}

bool History::Redo(Circuit& c) {
  AbsorbDrift(c);
  if (!CanRedo()) return false;
  ApplyState(c, current_ + 1);
  return true;
}

void History::MarkSaved() {
  savePoint_ = current_;
}

bool History::AtSavePoint() const {
  return savePoint_ == current_;
}

int History::Levels() const {
  return current_;
}

std::size_t History::Bytes() const {
  std::size_t n = *imageBytes_;
  for (const auto& s : states_) n += sizeof(State) + s->SlotBytes();
  return n;
}

}  // namespace qiro
