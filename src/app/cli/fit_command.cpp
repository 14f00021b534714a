// quillmere-cli fit PROPERTY --group GROUP DATA.csv [-o OUT.ten]: the independent components
// of a property tensor fitted to measurements by weighted least squares, with their standard
// deviations and, for second-rank tensors, the eigenvalues and principal directions.
#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "files/tensor_file.h"
#include "fit/fit_engine.h"
#include "fit/fit_layout.h"
#include "fit/fit_result.h"
#include "fit/measurement_csv.h"
#include "fit/property_kinds.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/tensor_state.h"

namespace quillmere::cli {

namespace {

/// The predicted value of a geometry, as the help text shows it.
std::string GeometryFormula(const PropertyKind& kind) {
  const int rank = RankOfKind(kind.kindCode);
  const char names[] = {'u', 'v', 'w'};
  const char indices[] = {'i', 'j', 'k', 'l', 'm'};
  std::string tensor = "T_", products;
  int d = -1;
  for (int p = 0; p < rank; ++p) {
    if (p == 0 || kind.sharingFlags[static_cast<std::size_t>(p)] == 0) ++d;
    tensor += indices[p];
    products += std::string(" ") + names[d] + "_" + indices[p];
  }
  return tensor + products;
}

std::string UnitOf(const PropertyKind& kind) {
  std::string unit = "10^" + std::to_string(DecadeExponent(kind.scale));
  if (*kind.unitText) unit += std::string(" ") + kind.unitText;
  return unit;
}

std::string FitHelp() {
  std::ostringstream out;
  out << "Usage: quillmere-cli fit PROPERTY --group GROUP DATA.csv [-o OUT.ten]\n"
         "\n"
         "Fits the independent components of the tensor of PROPERTY in the point group GROUP\n"
         "to the measurements in DATA.csv by weighted least squares, and prints them with\n"
         "their standard deviations; for second-rank tensors also the eigenvalues and the\n"
         "direction cosines of the principal directions (largest, smallest, middle).\n"
         "\n"
         "  PROPERTY        a property below, by its name or by its menu caption\n"
         "                  (\"Piezoelectrics\", \"Hall Effect\")\n"
         "  --group GROUP   the point group: "
      << GroupArgumentHelp()
      << "\n"
         "  -o, --output OUT.ten   also write the fitted tensor to OUT.ten\n"
         "\n"
         "DATA.csv holds one measurement a line: the direction cosines of the property's\n"
         "measuring directions u, v, w (3 numbers each, need not be normalised), then the\n"
         "measured value y and its error dy, in the unit shown below. Fields are separated\n"
         "by commas or by semicolons (then a decimal comma is accepted too); '#' starts a\n"
         "comment; a first line of column names is allowed. A dy that is not above 0 counts\n"
         "as 1.\n"
         "\n"
         "Properties (directions per measurement, predicted value, unit):\n";
  for (const PropertyKind& k : PropertyKinds()) {
    std::string name = k.shortName;
    name.resize(25, ' ');
    out << "  " << name << DirectionCount(k.sharingFlags) << "  y = " << GeometryFormula(k) << ", "
        << UnitOf(k) << "\n";
  }
  return out.str();
}

/// Display width of a UTF-8 text (continuation bytes take no column).
std::size_t Width(const std::string& s) {
  std::size_t w = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++w;
  return w;
}

std::string PadRight(const std::string& s, std::size_t width) {
  const std::size_t w = Width(s);
  return w >= width ? s + " " : s + std::string(width - w, ' ');
}

std::string PadLeft(const std::string& s, std::size_t width) {
  const std::size_t w = Width(s);
  return w >= width ? " " + s : std::string(width - w, ' ') + s;
}

void PrintResult(const FitResultTexts& r, const FitWorkspace& w, std::ostream& out) {
  std::size_t labelWidth = 10;
  for (const auto& row : r.rows) labelWidth = std::max(labelWidth, Width(row[0]) + 2);
  for (const auto& row : r.rows)
    out << PadRight(row[0], labelWidth) << PadLeft(row[1], 16) << PadLeft(row[2], 16) << "\n";
  out << "chi2 = " << FormatGeneral(w.chi2, '.', 8) << " with " << w.dof << " degree"
      << (w.dof == 1 ? "" : "s") << " of freedom\n";
  if (!r.eigenShown) return;
  out << "\n" << PadRight(r.eigen[0][0], 20);
  for (int i = 1; i <= 3; ++i) out << PadLeft(r.eigen[0][i], 12);
  out << "\n";
  for (int k = 1; k <= 3; ++k) {
    out << PadRight(r.eigen[k][0], 20);
    for (int i = 1; i <= 3; ++i) out << PadLeft(r.eigen[k][i], 12);
    out << "\n";
  }
}

}  // namespace

int FitCommand(const Args& args, CliContext& context) {
  std::optional<std::string> property, group;
  std::optional<std::filesystem::path> data, output;
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& a = args[n];
    auto value = [&]() -> const std::string& {
      if (n + 1 >= args.size()) throw UsageError{a + " needs a value"};
      return args[++n];
    };
    if (a == "--help" || a == "-h") {
      std::cout << FitHelp();
      return 0;
    } else if (a == "--group" || a == "-g") {
      group = value();
    } else if (a == "-o" || a == "--output") {
      output = value();
    } else if (a.size() > 1 && a[0] == '-') {
      throw UsageError{"unknown option '" + a + "' (see quillmere-cli fit --help)"};
    } else if (!property) {
      property = a;
    } else if (!data) {
      data = a;
    } else {
      throw UsageError{"unexpected argument '" + a + "' (see quillmere-cli fit --help)"};
    }
  }
  if (!property) throw UsageError{"which property? (see quillmere-cli fit --help)"};
  const PropertyKind* kind = FindPropertyKind(*property);
  if (!kind) {
    std::string names;
    for (const PropertyKind& k : PropertyKinds())
      names += std::string(names.empty() ? "" : ", ") + k.shortName;
    throw UsageError{"unknown property '" + *property + "' (one of " + names + ")"};
  }
  if (!group) throw UsageError{"--group GROUP is required"};
  if (!data) throw UsageError{"which data file? (see quillmere-cli fit --help)"};

  TensorState t;
  t.pointGroup = ParseGroupArgument(*group);
  FitSession session;
  OpenFitForKind(t, session, *kind);
  FitWorkspace w(session.indexDirectionFlags);

  // The file is read once, as the run sums its normal equations: a million measurements take
  // no more memory than a few.
  // The run's notices belong to its result: they are printed with it, or as the reason for
  // stopping.
  RecordingMessages notices;
  CoreServices services = context.services;
  services.messages = &notices;
  MeasurementReading reading;
  const FitOutcome outcome = RunFit(
      w, t,
      [&](const std::function<void(const Real*)>& add) {
        reading = ReadMeasurementCsvFile(*data, w.directions, add);
      },
      services);
  for (const std::string& message : reading.messages) std::cerr << message << "\n";
  if (reading.badLines > 0) {
    std::cerr << data->string() << ": " << reading.badLines << " bad line"
              << (reading.badLines > 1 ? "s" : "") << "; nothing was fitted\n";
    return 1;
  }
  if (reading.measurements == 0) throw std::runtime_error(data->string() + ": no measurements");
  if (outcome != FitOutcome::Done) {
    for (const std::string& text : notices.shown) std::cerr << text << "\n";
    std::cerr << "quillmere-cli fit: no result\n";
    return 1;
  }
  const FitResultTexts result = ApplyFitResult(t, w, services);
  const PointGroupInfo& info = PointGroups()[static_cast<std::size_t>(t.pointGroup - 1)];
  std::cout << PlainCaption(*kind) << " in point group " << PointGroupSymbol(t.pointGroup) << " ("
            << info.crystalSystem << "): " << w.m << " measurement" << (w.m == 1 ? "" : "s") << ", "
            << w.n << " independent component" << (w.n == 1 ? "" : "s") << "\n";
  for (const std::string& text : notices.shown) std::cout << text << "\n";
  std::cout << "\n";
  PrintResult(result, w, std::cout);

  if (output) {
    services.messages = context.services.messages;
    WriteTensorFile(t, *output, services);
    std::cout << "\n" << output->string() << ": written\n";
  }
  return 0;
}

}  // namespace quillmere::cli
