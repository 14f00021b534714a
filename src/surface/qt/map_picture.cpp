#include "surface/qt/map_picture.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "core/file_names.h"
#include "files/atomic_file.h"
#include "surface/conventions_stamp.h"
#include "surface/derived_surface.h"
#include "surface/qt/picture_bytes.h"

namespace quillmere {

MapFormat MapFormatOf(const std::filesystem::path& path) {
  const std::string ext = LowercaseExtension(path);
  if (ext == ".png") return MapFormat::Png;
  if (ext == ".svg") return MapFormat::Svg;
  if (ext == ".pdf") return MapFormat::Pdf;
  if (ext == ".emf") return MapFormat::Emf;
  if (ext == ".wmf") return MapFormat::Wmf;
  if (ext == ".csv") return MapFormat::Csv;
  throw std::runtime_error("The map must be a .png, .svg, .pdf, .emf, .wmf or .csv file, not '" +
                           path.string() + "'");
}

QByteArray MapFileBytes(MapFormat format, int width, const TensorState& t,
                        const SurfaceEvaluation& e, const MapPictureOptions& o) {
  // Every map file says what it shows: a comment line in the CSV, the description or title of
  // the pictures.
  const std::string stamp = ConventionsStamp(t, &e);
  std::string bytes;
  if (format == MapFormat::Csv) {
    std::ostringstream out;
    out << "# " << stamp << "\n";
    // The tensor's own value goes through its polynomial, row by row; a derived quantity one
    // direction at a time.
    if (e.derivedValue)
      WriteMapCsv(out, ShownValue(t, e), o.projection, o.hemisphere, width);
    else
      WriteMapCsv(out, SurfacePolynomial(t, e), o.projection, o.hemisphere, width);
    bytes = out.str();
  } else {
    const VectorFormat picture = format == MapFormat::Svg   ? VectorFormat::Svg
                                 : format == MapFormat::Pdf ? VectorFormat::Pdf
                                 : format == MapFormat::Emf ? VectorFormat::Emf
                                 : format == MapFormat::Wmf ? VectorFormat::Wmf
                                                            : VectorFormat::Png;
    bytes = PaintVectorPictureBytes(
        picture, width, MapPictureHeight(width, o.hemisphere),
        [&](VectorCanvas& canvas) { PaintMap(canvas, t, e, o, picture != VectorFormat::Png); },
        stamp, "Projection map");
  }
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void WriteMapFile(const std::filesystem::path& path, MapFormat format, int width,
                  const TensorState& t, const SurfaceEvaluation& e, const MapPictureOptions& o) {
  const QByteArray bytes = MapFileBytes(format, width, t, e, o);
  WriteFileAtomically(path, [&](std::ostream& out) { out.write(bytes.constData(), bytes.size()); });
}

}  // namespace quillmere
