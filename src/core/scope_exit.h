// A guard that runs a function when its scope ends, also when an exception leaves the scope:
// for undoing a temporary state (a busy cursor, a progress bar, a flag) on every way out.
#pragma once

#include <utility>

namespace quillmere {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

}  // namespace quillmere
