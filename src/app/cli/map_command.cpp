// quillmere-cli map: the surface value of a tensor file over a hemisphere as a flat map, an
// equal-area or stereographic projection written as PNG, SVG, PDF, EMF, WMF or CSV. Built only with
// the picture canvases (Qt Gui).
#ifdef QUILLMERE_HAVE_CANVAS

#include <QGuiApplication>
#include <QtGlobal>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/cli_gui.h"
#include "app/cli/elastic_options.h"
#include "files/tensor_file.h"
#include "surface/qt/map_picture.h"
#include "tensor/number_text.h"

namespace quillmere::cli {

namespace {

constexpr const char* kMapHelp =
    "Usage: quillmere-cli map FILE.ten -o OUT.png|.svg|.pdf|.emf|.wmf|.csv [options]\n"
    "\n"
    "Maps the value of the tensor in FILE.ten along every direction of a hemisphere, seen along\n"
    "crystal z with x to the right and y up, the equator on the rim. Pictures show banded\n"
    "colours centred on zero (orange positive, purple negative), contour lines at the colour\n"
    "bar's steps with the zero contour bold, and the largest (filled triangle) and smallest\n"
    "(open triangle) values. SVG, PDF, EMF (enhanced metafile) and WMF (standard metafile)\n"
    "are vector pictures, placed at 96 pixels to the inch. CSV holds the header\n"
    "x,y,nx,ny,nz,value and one row per point of an N x N grid inside each disc: the disc's\n"
    "coordinates, the unit direction and the value in the tensor's units.\n"
    "\n"
    "  -o, --output OUT          the file to write (required); an existing file is replaced\n"
    "                            only when the new one is complete\n"
    "  --projection equal-area|stereographic\n"
    "                            equal-area (Lambert, r = sqrt(2) sin(theta/2), the default)\n"
    "                            or stereographic (r = tan(theta/2))\n"
    "  --hemisphere upper|lower|both\n"
    "                            the hemisphere(s) shown (default upper); the lower one shows\n"
    "                            (x, y, -z) where the upper shows (x, y, z)\n"
    "  --width N                 picture width in pixels, 200..8000 (default 800), or the CSV\n"
    "                            grid size N, 2..2000 (default 100)\n"
    "  --caption xyz|abc|e123    axis captions at the rim (default xyz)\n"
    "Fixed directions (the map and its extremes show the surface as then drawn):\n";

}  // namespace

int MapCommand(const Args& args, CliContext& context) {
  std::optional<int> width;
  MapPictureOptions options;
  std::vector<FixOption> fixes;
  ElasticOptions elastic;
  options.decimalSeparator = context.services.decimalSeparator;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--projection") {
      const std::string& s = value();
      if (s == "equal-area")
        options.projection = MapProjection::EqualArea;
      else if (s == "stereographic")
        options.projection = MapProjection::Stereographic;
      else
        throw UsageError{"--projection needs equal-area or stereographic, not '" + s + "'"};
    } else if (a == "--hemisphere") {
      const std::string& s = value();
      if (s == "upper")
        options.hemisphere = MapHemisphere::Upper;
      else if (s == "lower")
        options.hemisphere = MapHemisphere::Lower;
      else if (s == "both")
        options.hemisphere = MapHemisphere::Both;
      else
        throw UsageError{"--hemisphere needs upper, lower or both, not '" + s + "'"};
    } else if (a == "--width") {
      width = ParseWholeOption(a, value(), 2, 8000);
    } else if (a == "--caption") {
      options.captionStyle = ParseCaptionOption(value());
    } else if (a == "--fix") {
      fixes.push_back(ParseFixOption(value()));
    } else if (!elastic.Read(a, value, true)) {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "map", files, readOption)) {
    std::cout << kMapHelp << ElasticOptions::Help(true) << FixOptionHelp();
    return 0;
  }
  if (!files.output) throw UsageError{"-o OUT.png, .svg, .pdf, .emf, .wmf or .csv is required"};
  const std::filesystem::path input = *files.input;
  const std::filesystem::path output = *files.output;
  MapFormat format;
  try {
    format = MapFormatOf(output);
  } catch (const std::runtime_error& e) {
    throw UsageError{e.what()};
  }
  const bool csv = format == MapFormat::Csv;
  const int size = width.value_or(csv ? 100 : 800);
  if (csv ? size > 2000 : size < 200)
    throw UsageError{csv ? "--width for a CSV grid needs a whole number from 2 to 2000"
                         : "--width for a picture needs a whole number from 200 to 8000"};

  SurfaceEvaluation evaluation;
  ApplyFixOptions(evaluation, fixes);
  TensorState tensor;
  ResetComponents(tensor);
  ReadTensorFile(tensor, input, context.services);
  elastic.ApplyQuantity(tensor, evaluation);

  const std::unique_ptr<QGuiApplication> app = csv ? nullptr : StartGui();
  WriteMapFile(output, format, size, tensor, evaluation, options);

  const char* projection =
      options.projection == MapProjection::EqualArea ? "equal-area" : "stereographic";
  const char* hemisphere = options.hemisphere == MapHemisphere::Upper   ? "upper hemisphere"
                           : options.hemisphere == MapHemisphere::Lower ? "lower hemisphere"
                                                                        : "both hemispheres";
  std::cout << output.string() << ": ";
  if (csv)
    std::cout << size << " x " << size << " grid per disc";
  else
    std::cout << size << " x " << MapPictureHeight(size, options.hemisphere) << " "
              << (format == MapFormat::Png   ? "PNG image"
                  : format == MapFormat::Svg ? "SVG picture"
                  : format == MapFormat::Emf ? "enhanced metafile"
                  : format == MapFormat::Wmf ? "standard metafile"
                                             : "PDF document");
  std::cout << ", " << projection << ", " << hemisphere << "\n";
  return 0;
}

}  // namespace quillmere::cli

#endif  // QUILLMERE_HAVE_CANVAS
