#include "files/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quillmere {

namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  std::random_device rd;
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path p =
        dir / ("." + target.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
    if (!std::filesystem::exists(p)) return p;
  }
  throw std::runtime_error("Cannot create a temporary file in " + dir.string());
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<void(std::ostream&)>& write) {
  const std::filesystem::path temp = TemporaryBeside(target);
  try {
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) {
        const int err = errno;
        throw std::runtime_error(std::string("Cannot create file \"") + target.string() + "\". " +
                                 std::strerror(err ? err : EACCES));
      }
      write(out);
      out.flush();
      if (!out) throw std::runtime_error("Disk full or write error on \"" + target.string() + "\"");
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
      throw std::runtime_error(std::string("Cannot create file \"") + target.string() + "\". " +
                               ec.message());
    }
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw;
  }
}

}  // namespace quillmere
