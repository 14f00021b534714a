// quillmere-cli render: the picture of a tensor file's representation surface as the desktop
// program draws it, written as PNG, BMP or SVG, or painted by the metafile rules as EMF, WMF or
// PDF. Every view setting starts at the program's
// start-up value, so without options the picture is the one the desktop program shows first.
// Built only with the picture canvases (Qt Gui).
#ifdef QUILLMERE_HAVE_CANVAS

#include <QGuiApplication>
#include <QtGlobal>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/cli_gui.h"
#include "app/cli/elastic_options.h"
#include "files/tensor_file.h"
#include "surface/conventions_stamp.h"
#include "surface/metafile_paint.h"
#include "surface/qt/picture_bytes.h"
#include "surface/qt/picture_file.h"
#include "surface/renderer.h"
#include "surface/scene.h"
#include "surface/view_settings.h"
#include "tensor/number_text.h"

namespace quillmere::cli {

namespace {

constexpr const char* kRenderHelp =
    "Usage: quillmere-cli render FILE.ten -o PICTURE.png|.bmp|.svg|.emf|.wmf|.pdf [options]\n"
    "\n"
    "Draws the representation surface of the tensor in FILE.ten as the desktop program does\n"
    "and writes it as a PNG or BMP image or an SVG vector picture (by the extension). Without\n"
    "options the picture shows the program's start-up view.\n"
    "An .emf (enhanced metafile), .wmf (standard metafile) or .pdf picture is painted as the\n"
    "program's metafiles are: exact colours, and the size basis a0 is the width.\n"
    "\n"
    "Picture:\n"
    "  -o, --output PICTURE   the file to write (required); an existing file is replaced only\n"
    "                         when the new one is complete\n"
    "  --width W, --height H  size in pixels (default 800 x 600); the surface's size follows\n"
    "                         the width\n"
    "  --resolution N         grid resolution: 9N rows of patches from pole to pole, 1..43\n"
    "                         (default 2; the desktop program offers 1..8)\n"
    "View (the drawing panel's sliders, in degrees):\n"
    "  --alpha P              turn about the screen normal, -90..90 (start 0)\n"
    "  --beta P               tilt about the screen's horizontal, -90..90 (start -25)\n"
    "  --gamma P              turn about the crystal z axis, -90..90 (start -25)\n"
    "  --zoom K               magnification (default 0.8)\n"
    "  --perspective P        1 (strong) .. 10 (almost none), default 7\n"
    "  --light X,Y,Z          direction of the light (default 1,-1,1: from the upper right)\n"
    "  --stereo               a crossed-eyes stereo pair (never with the legend)\n"
    "  --section x|y|z        the cross-section in the plane normal to crystal x, y or z, seen\n"
    "                         face-on, built at resolution 50 unless --resolution is given\n"
    "Drawing:\n"
    "  --legend               draw the scale ruler with the tensor's unit\n"
    "  --no-axes              leave out the coordinate axes\n"
    "  --caption xyz|abc|e123 axis captions x, y, z / a, b, c / e1, e2, e3\n"
    "  --no-grid              no patch outlines\n"
    "  --no-fill              no shaded filling: a hidden-line wire frame\n"
    "Colours (RRGGBB, #RRGGBB or R,G,B):\n"
    "  --positive-fill C, --negative-fill C, --positive-line C, --negative-line C,\n"
    "  --axes-colour C, --background C\n"
    "  --font FAMILY          label font (default Times New Roman)\n"
    "  --font-size N          label font size in points before scaling (default 24)\n"
    "Fixed directions:\n";

Real ParseFinite(const std::string& option, const std::string& text, Real lo, Real hi) {
  Real value = 0;
  if (!TryParseReal(text, value) || !std::isfinite(value) || value < lo || value > hi)
    throw UsageError{option + " needs a number from " + FormatGeneral(lo) + " to " +
                     FormatGeneral(hi) + ", not '" + text + "'"};
  return value;
}

Colour ParseColour(const std::string& option, const std::string& text) {
  std::string t = text;
  if (!t.empty() && t[0] == '#') t.erase(0, 1);
  auto bad = [&] {
    return UsageError{option + " needs a colour as RRGGBB, #RRGGBB or R,G,B, not '" + text + "'"};
  };
  if (t.size() == 6 && t.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
    const unsigned long v = std::stoul(t, nullptr, 16);
    return Colour::Exact(static_cast<int>(v >> 16 & 0xff), static_cast<int>(v >> 8 & 0xff),
                         static_cast<int>(v & 0xff));
  }
  int c[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? t.find(',', start) : t.size();
    if (end == std::string::npos) throw bad();
    Real value = 0;
    if (!TryParseReal(t.substr(start, end - start), value) || value != std::floor(value) ||
        value < 0 || value > 255)
      throw bad();
    c[i] = static_cast<int>(value);
    start = end + 1;
  }
  return Colour::Exact(c[0], c[1], c[2]);
}

void ParseLight(const std::string& text, Real light[3]) {
  Real v[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? text.find(',', start) : text.size();
    if (end == std::string::npos || !TryParseReal(text.substr(start, end - start), v[i]) ||
        !std::isfinite(v[i]))
      throw UsageError{"--light needs three numbers X,Y,Z, not '" + text + "'"};
    start = end + 1;
  }
  const Real length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) throw UsageError{"--light needs a direction, not (0, 0, 0)"};
  for (int i = 0; i < 3; ++i) light[i] = v[i] / length;
}

}  // namespace

int RenderCommand(const Args& args, CliContext& context) {
  constexpr Real kPi = std::numbers::pi_v<Real>;
  int width = 800, height = 600;
  std::optional<int> resolution;
  std::optional<Real> alpha, beta, gamma;
  int section = kFullSurface;
  bool noGrid = false;
  ViewSettings view;
  std::vector<FixOption> fixes;
  ElasticOptions elastic;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--width") {
      width = ParseWholeOption(a, value(), 16, 16384);
    } else if (a == "--height") {
      height = ParseWholeOption(a, value(), 16, 16384);
    } else if (a == "--resolution") {
      resolution = ParseWholeOption(a, value(), 1, 43);
    } else if (a == "--alpha") {
      alpha = ParseFinite(a, value(), -90, 90);
    } else if (a == "--beta") {
      beta = ParseFinite(a, value(), -90, 90);
    } else if (a == "--gamma") {
      gamma = ParseFinite(a, value(), -90, 90);
    } else if (a == "--zoom") {
      view.zoom = ParseFinite(a, value(), 0.01L, 100);
    } else if (a == "--perspective") {
      view.eyeDistance = EyeDistanceFromPerspectiveSlider(ParseWholeOption(a, value(), 1, 10));
    } else if (a == "--light") {
      ParseLight(value(), view.lightDirection);
    } else if (a == "--stereo") {
      view.stereo = true;
    } else if (a == "--section") {
      const std::string& s = value();
      if (s == "x" || s == "X")
        section = kSectionX;
      else if (s == "y" || s == "Y")
        section = kSectionY;
      else if (s == "z" || s == "Z")
        section = kSectionZ;
      else
        throw UsageError{"--section needs x, y or z, not '" + s + "'"};
    } else if (a == "--legend") {
      view.showScale = true;
    } else if (a == "--no-axes") {
      view.showAxes = false;
    } else if (a == "--caption") {
      view.axesCaptionStyle = ParseCaptionOption(value());
    } else if (a == "--fix") {
      fixes.push_back(ParseFixOption(value()));
    } else if (a == "--no-grid") {
      noGrid = true;
    } else if (a == "--no-fill") {
      view.fillPatches = false;
    } else if (a == "--positive-fill") {
      view.positiveFill = ParseColour(a, value());
    } else if (a == "--negative-fill") {
      view.negativeFill = ParseColour(a, value());
    } else if (a == "--positive-line") {
      view.positiveLine = ParseColour(a, value());
    } else if (a == "--negative-line") {
      view.negativeLine = ParseColour(a, value());
    } else if (a == "--axes-colour" || a == "--axes-color") {
      view.axesColour = ParseColour(a, value());
    } else if (a == "--background") {
      view.background = ChosenBackground(ParseColour(a, value()));
    } else if (a == "--font") {
      if (!view.useAxesFont) view.axesFont = BuiltInLabelFont();
      view.useAxesFont = true;
      view.axesFont.family = value();
    } else if (a == "--font-size") {
      if (!view.useAxesFont) view.axesFont = BuiltInLabelFont();
      view.useAxesFont = true;
      view.axesFont.size = ParseWholeOption(a, value(), 1, 500);
    } else if (!elastic.Read(a, value, true)) {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "render", files, readOption)) {
    std::cout << kRenderHelp << ElasticOptions::Help(true) << FixOptionHelp();
    return 0;
  }
  if (!files.output) throw UsageError{"-o PICTURE.png, .bmp, .svg, .emf, .wmf or .pdf is required"};
  const std::filesystem::path input = *files.input;
  const std::filesystem::path output = *files.output;
  const std::optional<VectorFormat> metafile = MetafileFormatOf(output);
  PictureFormat format = PictureFormat::Png;
  if (!metafile) {
    try {
      format = PictureFormatOf(output);
    } catch (const std::runtime_error&) {
      throw UsageError{"The picture must be a .png, .bmp, .svg, .emf, .wmf or .pdf file, not '" +
                       output.string() + "'"};
    }
  }
  if (noGrid && !view.fillPatches && section == kFullSurface)
    throw UsageError{"--no-grid with --no-fill would leave only the axes to see"};

  // A section is seen face-on with its outlines, as the program's section commands show it.
  if (section == kSectionX) view.angleX = kPi / 2, view.angleY = kPi, view.angleZ = 1.5L * kPi;
  if (section == kSectionY) view.angleX = kPi / 2, view.angleY = kPi / 2, view.angleZ = kPi;
  if (section == kSectionZ) view.angleX = -kPi, view.angleY = kPi, view.angleZ = 2 * kPi;
  view.showGrid = section != kFullSurface || !noGrid;
  if (alpha) view.angleY = AngleYFromAlphaSlider(*alpha);
  if (beta) view.angleX = AngleXFromBetaSlider(*beta);
  if (gamma) view.angleZ = AngleZFromGammaSlider(*gamma);
  view.resolution = resolution.value_or(section != kFullSurface ? kSectionResolution : 2);
  SurfaceEvaluation evaluation;
  ApplyFixOptions(evaluation, fixes);

  TensorState tensor;
  ReadTensorFile(tensor, input, context.services);
  elastic.ApplyQuantity(tensor, evaluation);

  SceneList scene;
  BuildScene(scene, SceneInputs{&tensor, &evaluation, &view, section, std::nullopt});

  const std::unique_ptr<QGuiApplication> app = StartGui();
  RenderOptions options;
  options.crossSectionMode = section;
  options.decimalSeparator = context.services.decimalSeparator;
  std::size_t undrawable = 0;
  if (metafile) {
    MetafilePaintOptions paint;
    paint.crossSectionMode = section;
    paint.decimalSeparator = context.services.decimalSeparator;
    const MetafileSize size{width, height, true};
    const std::string bytes = PaintPictureBytes(
        *metafile, width, height,
        [&](Canvas& canvas) {
          undrawable = PaintMetafile(scene, view, tensor, canvas, size, paint).undrawable;
        },
        ConventionsStamp(tensor, &evaluation));
    WritePictureBytes(output, bytes);
  } else {
    WritePicture(
        output, format, width, height,
        [&](Canvas& canvas) {
          undrawable = RenderPicture(scene, view, tensor, canvas, options).undrawable;
        },
        ConventionsStamp(tensor, &evaluation));
  }
  if (undrawable > 0)
    context.services.Tell(std::to_string(undrawable) +
                          " patches could not be drawn: the tensor holds a value that is not a "
                          "number");

  const char* kind = metafile == VectorFormat::Emf   ? "enhanced metafile"
                     : metafile == VectorFormat::Wmf ? "standard metafile"
                     : metafile == VectorFormat::Pdf ? "PDF document"
                     : format == PictureFormat::Svg  ? "SVG picture"
                     : format == PictureFormat::Bmp  ? "BMP image"
                                                     : "PNG image";
  std::cout << output.string() << ": " << width << " x " << height << " " << kind << ", "
            << scene.count << " records at resolution " << view.resolution << "\n";
  return 0;
}

}  // namespace quillmere::cli

#endif  // QUILLMERE_HAVE_CANVAS
