// generate_tensor_tab: writes the symmetry table tensor.tab, computed from group theory, for
// every point group, tensor kind and polar/axial choice.
//
// Usage: generate_tensor_tab [OUTPUT]   (without OUTPUT the table goes to standard output)
#include <exception>
#include <iostream>
#include <string>

#include "files/atomic_file.h"
#include "group_theory.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (std::string(argv[1]) == "--help" || argv[1][0] == '\0'))) {
    std::cerr << "Usage: generate_tensor_tab [OUTPUT]\n";
    return 2;
  }
  try {
    const std::string table = quillmere::group_theory::TableText();
    if (argc == 1) {
      std::cout << table << std::flush;
      return std::cout ? 0 : 1;
    }
    quillmere::WriteFileAtomically(argv[1], [&](std::ostream& out) { out << table; });
  } catch (const std::exception& e) {
    std::cerr << "generate_tensor_tab: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
