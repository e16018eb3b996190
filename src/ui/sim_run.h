// What the main window keeps while a simulation runs: the device faces waiting to be redrawn,
// whether the periodic value overlay is due, the step indicator's colour and the time of the
// last repaint. Faces and overlays are painted at a bounded rate, never once per step, so a
// run spends its time simulating rather than drawing.
#pragma once

#include <QObject>
#include <chrono>
#include <vector>

namespace qiro {

inline constexpr std::chrono::milliseconds kSimFrameInterval{40};
// A running simulation hands pending events to Qt at most this often: a turn of the event loop
// costs more than a step, and a click still waits no longer than this.
inline constexpr std::chrono::microseconds kSimEventInterval{1000};

class SimRunState : public QObject {
 public:
  explicit SimRunState(QObject* parent) : QObject(parent) {}

  // A device's face changed; each symbol is listed once until taken.
  void MarkDevice(int symbol) {
    if (symbol < 1) return;
    const auto i = static_cast<std::size_t>(symbol);
    if (i >= marked_.size()) marked_.resize(i + 1, 0);
    if (marked_[i]) return;
    marked_[i] = 1;
    devices_.push_back(symbol);
  }
  std::vector<int> TakeDevices() {
    for (int s : devices_) marked_[static_cast<std::size_t>(s)] = 0;
    std::vector<int> out;
    out.swap(devices_);
    return out;
  }

  bool overlayDue = false;    // wire states and pin values wait for the next repaint
  bool indicatorDue = false;  // the indicator's colour changed
  int red = 0, green = 0, blue = 0;
  bool paletteHidden = false;  // the run hid the symbol library palette
  std::chrono::steady_clock::time_point lastFrame{};
  std::chrono::steady_clock::time_point lastEvents{};

 private:
  std::vector<char> marked_;
  std::vector<int> devices_;
};

}  // namespace qiro
