// The ten physical properties that the fit offers, and the preparation of the tensor and of the
// measuring geometry when one is chosen.
#pragma once

#include <array>
#include <string>

#include "fit/fit_engine.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct PropertyKind {
  const char* caption;    ///< menu text; the character after '&' is the accelerator
  const char* handler;    ///< name of the main window's menu handler
  const char* shortName;  ///< name on the command line ("piezoelectric")
  int kindCode;           ///< tensor kind code of the symmetry table
  bool axial;
  const char* unitText;  ///< UTF-8; empty for the dimensionless kinds
  Real scale;            ///< a power of ten; the exponent follows by DecadeOf
  IndexDirectionFlags sharingFlags;
};

constexpr int kPropertyKindCount = 10;

/// The ten kinds in menu order.
const std::array<PropertyKind, kPropertyKindCount>& PropertyKinds();

/// The caption without its accelerator marker ("P&iezoelectrics" -> "Piezoelectrics").
std::string PlainCaption(const PropertyKind& kind);

/// The kind named by its caption (with or without '&', any case, blanks or '-' or '_' between
/// words) or its short name; nullptr when none matches.
const PropertyKind* FindPropertyKind(const std::string& name);

/// Program-wide state of the fit: whether no fit window is open, and the measuring geometry the
/// last chosen kind set.
struct FitSession {
  bool fitWindowFree = true;
  IndexDirectionFlags indexDirectionFlags{0, 1, 1, 1, 1};
};

/// Prepares a fit for `kind`: when no fit window is open, sets the geometry, the tensor's kind
/// (and rank), axial flag, unit text and scale, refreshes the exponent, and returns true: the
/// caller then creates the fit window (see FitWindowCreated). With a window open nothing changes
/// and the result is false. The point group is not touched.
bool OpenFitForKind(TensorState& t, FitSession& session, const PropertyKind& kind);

/// The fit window exists now (no other may be opened); returns D for its grids.
int FitWindowCreated(FitSession& session);
/// The fit window was closed after confirmation.
void FitWindowClosed(FitSession& session);

}  // namespace quillmere
