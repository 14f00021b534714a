// Arbitrary bytes as a tensor data file: the reader must end normally or with a standard
// exception, never overrun or hang; whatever it accepts must write and read back.
//
// Input: byte 0 holds the reader's settings (bit 0 "Lock Scale", bit 1 a small previous scale,
// bit 2 ',' as the user's decimal separator); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

#include "core/user_messages.h"
#include "files/tensor_file.h"
#include "tensor/tensor_state.h"

namespace {

/// Notices are part of normal reading; keeping them would only grow memory run after run.
class DiscardedMessages : public quillmere::UserMessages {
 public:
  void ShowMessage(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static DiscardedMessages messages;
  quillmere::CoreServices services;
  services.programDirectory = QUILLMERE_DATA_DIR;
  services.messages = &messages;
  services.decimalSeparator = data[0] & 4 ? ',' : '.';

  quillmere::TensorState t;
  t.autoScale = !(data[0] & 1);
  t.scale = data[0] & 2 ? 1e-12L : 1.0L;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  try {
    quillmere::ReadTensorFile(t, in, services);
  } catch (const std::exception&) {
    return 0;
  }
  try {
    std::ostringstream out;
    quillmere::WriteTensorFile(t, out, services);
    std::istringstream back(out.str());
    quillmere::TensorState u;
    quillmere::ReadTensorFile(u, back, services);
    // What the writer produced must describe the same tensor.
    if (u.kind != t.kind || u.pointGroup != t.pointGroup || u.axial != t.axial ||
        u.unitText != t.unitText)
      __builtin_trap();
  } catch (const std::exception&) {
  }
  return 0;
}
