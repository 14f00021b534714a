// Helpers shared by the test programs: temporary folders, the shipped symmetry table, and
// deterministic random numbers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "core/user_messages.h"

namespace quillmere::test {

/// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  /// Writes `text` to a file in the folder and returns its path.
  std::filesystem::path Write(const std::string& name, const std::string& text) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

/// The repository's data folder (holds the shipped tensor.tab).
std::filesystem::path DataDirectory();
/// The repository's root.
std::filesystem::path SourceDirectory();
/// Folder of the built executables (holds a copy of tensor.tab).
std::filesystem::path BinDirectory();

/// Core services that read the shipped table and record messages.
struct ShippedTable {
  RecordingMessages messages;
  CoreServices services;
  ShippedTable();
};

/// Seeded random numbers drawn by our own arithmetic (standard distributions differ between
/// standard libraries, so results would too).
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  /// Uniform in [lo, hi).
  double Uniform(double lo, double hi) {
    return lo + (hi - lo) * (static_cast<double>(engine_()) / 4294967296.0);
  }
  /// Standard normal value (Box-Muller).
  double Gaussian();
  /// A unit vector uniform on the sphere.
  void UnitVector(double& x, double& y, double& z);

 private:
  std::mt19937 engine_;
};

}  // namespace quillmere::test
