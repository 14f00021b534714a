// The rule that ends a download that has stalled or crawls: fewer than `floorBytes` bytes in any
// `window` (no byte at all for a window is the extreme case). Times come from the caller, so the
// rule is the same for every clock and can be checked without waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <utility>

namespace quillmere {

/// The default rule: fewer than 1 024 bytes in 31 s ends a transfer.
inline constexpr std::chrono::milliseconds kTransferWindow{31000};
inline constexpr std::uint64_t kTransferFloorBytes = 1024;

/// What a download that the rule ends says.
inline constexpr const char* kServerStoppedSending = "the update server stopped sending";

class TransferWatch {
 public:
  using Time = std::chrono::steady_clock::duration;

  TransferWatch(std::chrono::milliseconds window, std::uint64_t floorBytes)
      : window_(window), floor_(floorBytes) {}

  /// The transfer starts at `now` with nothing received.
  void Start(Time now) {
    samples_.clear();
    samples_.emplace_back(now, 0);
  }

  /// Notes that `bytes` have arrived in all by `now`; true when the transfer has received fewer
  /// than the floor during the window that ends now.
  bool TooSlow(Time now, std::uint64_t bytes) {
    if (samples_.empty()) Start(now);
    samples_.emplace_back(now, bytes);
    // The newest sample at least one window old: the bytes received since it are compared.
    while (samples_.size() > 1 && samples_[1].first <= now - window_) samples_.pop_front();
    const auto& [then, before] = samples_.front();
    if (now - then < window_) return false;
    return bytes - before < floor_;
  }

 private:
  Time window_;
  std::uint64_t floor_;
  std::deque<std::pair<Time, std::uint64_t>> samples_;
};

}  // namespace quillmere
