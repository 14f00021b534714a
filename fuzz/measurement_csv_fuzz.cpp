// Arbitrary bytes as a fit's measurement file: reading ends with the measurements or with every
// bad line reported, and a fit of what was read ends with a result, a notice or a standard
// exception, never a crash. Measurements that were read must write and read back unchanged.
//
// Input: byte 0 picks the property (and so the number of directions), byte 1 the point group;
// the rest is the file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

#include "core/user_messages.h"
#include "fit/fit_engine.h"
#include "fit/measurement_csv.h"
#include "fit/property_kinds.h"
#include "tensor/tensor_state.h"

namespace {

class DiscardedMessages : public quillmere::UserMessages {
 public:
  void ShowMessage(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  if (size < 2) return 0;
  const PropertyKind& kind = PropertyKinds()[data[0] % PropertyKinds().size()];
  TensorState t;
  t.pointGroup = 1 + data[1] % kPointGroupCount;
  FitSession session;
  OpenFitForKind(t, session, kind);
  FitWorkspace w(session.indexDirectionFlags);

  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
  const MeasurementReading reading = ReadMeasurementCsv(in, w.directions);
  if (reading.badLines > 0) {
    // A refusal names its lines.
    if (reading.messages.size() < static_cast<std::size_t>(reading.badLines)) __builtin_trap();
    return 0;
  }
  if (reading.table.fields.size() % reading.table.Width() != 0) __builtin_trap();

  std::ostringstream out;
  WriteMeasurementCsv(out, reading.table);
  std::istringstream back(out.str());
  const MeasurementReading again = ReadMeasurementCsv(back, w.directions);
  if (again.badLines != 0 || again.table.fields != reading.table.fields) __builtin_trap();

  if (reading.table.Count() == 0) return 0;
  static DiscardedMessages messages;
  CoreServices services;
  services.programDirectory = QUILLMERE_DATA_DIR;
  services.messages = &messages;
  const MeasurementCells cells(reading.table);
  try {
    RunFit(w, t, cells, services);
  } catch (const std::exception&) {
  }
  return 0;
}
