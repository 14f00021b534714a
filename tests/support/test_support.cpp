#include "support/test_support.h"

#include <unistd.h>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quillmere::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillmere-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& text) const {
  std::filesystem::path p = path_ / name;
  std::ofstream out(p, std::ios::binary);
  out << text;
  return p;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::filesystem::path SourceDirectory() {
  return QUILLMERE_SOURCE_DIR;
}
std::filesystem::path DataDirectory() {
  return SourceDirectory() / "data";
}
std::filesystem::path BinDirectory() {
  return QUILLMERE_BIN_DIR;
}

ShippedTable::ShippedTable() {
  services.programDirectory = DataDirectory();
  services.messages = &messages;
}

double Random::Gaussian() {
  double u1 = Uniform(0.0, 1.0);
  double u2 = Uniform(0.0, 1.0);
  if (u1 < 1e-300) u1 = 1e-300;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

void Random::UnitVector(double& x, double& y, double& z) {
  double zz = Uniform(-1.0, 1.0);
  double phi = Uniform(0.0, 6.283185307179586);
  double r = std::sqrt(1.0 - zz * zz);
  x = r * std::cos(phi);
  y = r * std::sin(phi);
  z = zz;
}

}  // namespace quillmere::test
