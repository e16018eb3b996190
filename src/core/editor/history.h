// Undo and redo of user actions on the schematic.
//
// The history keeps each state the drawing was in after an action: per table one pointer to
// an image of every record, so a record that did not change between two states is stored once.
// Committing an action compares the live tables with the current state slot by slot, copies
// only the records that changed and appends the new state. Undo and redo copy back the slots
// whose images differ between the two states, so they cost the size of the change.
//
// Every state is complete, so a change nobody committed (an extraction compacting the tables,
// a gesture without its commit) can never make undo restore the wrong records: before undoing,
// such a change is folded into the last action (or becomes an action of its own when redo
// states are pending). Results of extraction and simulation (nodes, delays, values, highlight)
// are not part of the drawing: they neither make an action nor are they kept apart.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/circuit.h"

namespace qiro {

// What Commit did with the live tables.
enum class CommitResult {
  Unchanged,  // the drawing did not change: nothing to undo
  Recorded,   // one more action to undo
  Held,       // part of an action that goes on in the next gesture
  TooLarge,   // the change alone exceeds the memory budget: it cannot be undone
};

class History {
 public:
  static constexpr int kMaxLevels = 100;
  static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

  History();
  ~History();
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  // New, Open: forgets every action; the tables as they are become the first state, which is
  // the saved one unless the schematic is marked modified.
  void Reset(const Circuit& c);

  // Ends one user action named label ("Move", "Paste"): records what changed since the last
  // state. An action that changed nothing is dropped, and a new action drops the redo states.
  CommitResult Commit(const Circuit& c, std::string_view label);
  // The gesture that just ran begins an action that the next gesture ends (a move is a cut,
  // then a paste): the next Commit is skipped, and the one after it is recorded under label.
  void Hold(std::string_view label);
  // The held action was cancelled before its end (Escape during a Move): forget its name.
  void Release() {
    held_.clear();
    skipNext_ = false;
  }

  bool CanUndo() const;
  bool CanRedo() const;
  // Names of the action undo or redo would act on; empty when there is none.
  std::string UndoLabel() const;
  std::string RedoLabel() const;
  // Bring the tables back to the state before the last action, or after the next one. The
  // bounding box and placement counters come back too; false when there is nothing to do.
  bool Undo(Circuit& c);
  bool Redo(Circuit& c);

  // The current state is what the file on disk holds.
  void MarkSaved();
  bool AtSavePoint() const;

  int Levels() const;         // actions that can be undone
  std::size_t Bytes() const;  // memory held by the record images, approximately

 private:
  struct State;
  void Capture(const Circuit& c, State& next, const State& from, bool& changed) const;
  void ApplyState(Circuit& c, int target);
  // Folds a change made since the last commit into the history; see the file comment.
  void AbsorbDrift(const Circuit& c);
  void Push(State&& s);
  void TrimOldest();

  // Memory of the record images; each image subtracts itself when the last state holding it goes.
  std::shared_ptr<std::size_t> imageBytes_ = std::make_shared<std::size_t>(0);
  std::vector<std::unique_ptr<State>> states_;
  int current_ = 0;    // index of the state the tables are in
  int savePoint_ = 0;  // index of the saved state, -1 when no state is the saved one
  std::string held_;
  bool skipNext_ = false;
};

}  // namespace qiro
