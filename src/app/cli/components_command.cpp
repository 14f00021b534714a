// quillmere-cli components KIND GROUP [--axial]: the independent components that the symmetry
// table leaves for a kind in a point group, labelled as the independent-components grid shows
// them ("t11=t22").
#include <iostream>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "tensor/symmetry_table.h"
#include "tensor/tensor_state.h"

namespace quillmere::cli {

namespace {

void PrintComponentsHelp(std::ostream& out) {
  out << "Usage: quillmere-cli components KIND GROUP [--axial]\n\n"
         "Lists the independent components of a tensor of kind KIND restricted by the point\n"
         "group GROUP, one a line, with the components that follow from each (t11=t22).\n\n"
         "  KIND      the kind's caption or code\n"
         "            ("
      << KindArgumentHelp()
      << ")\n"
         "  GROUP     the point group: "
      << GroupArgumentHelp()
      << "\n"
         "            (a plain number also works where it is no symbol: 14 is 4/mmm)\n"
         "  --axial   an axial tensor (default: polar)\n"
         "  --polar   a polar tensor\n";
}

}  // namespace

int ComponentsCommand(const Args& args, CliContext& context) {
  std::vector<std::string> positional;
  bool axial = false;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      PrintComponentsHelp(std::cout);
      return 0;
    }
    if (a == "--axial") {
      axial = true;
    } else if (a == "--polar") {
      axial = false;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      throw UsageError{"unknown option '" + a + "' (see --help)"};
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) throw UsageError{"expects KIND and GROUP (see --help)"};

  TensorState t;
  SetKind(t, ParseKindArgument(positional[0]));
  t.pointGroup = ParseGroupArgument(positional[1]);
  t.axial = axial;

  // The table's notice is the answer here, so it goes to standard output with the list.
  RecordingMessages notices;
  CoreServices services = context.services;
  services.messages = &notices;
  const int count = ApplySymmetry(t, SymmetryMode::Describe, services);
  for (const std::string& text : notices.shown) std::cout << text << "\n";
  for (int n = 1; n <= count; ++n) std::cout << t.independentLabels[n] << "\n";
  return 0;
}

}  // namespace quillmere::cli
