// TForm1: the window at every size. The panels over the picture keep their places where they
// fit and move or shrink only as far as the drawing area makes them; the grids stay clear of the
// tensor panel with its DRAW button; and the window's minimum size is the smallest at which every
// panel fits at its place.
#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "fit/gui/fit_panels_controller.h"
#include "platform/widgets/panel_labels.h"
#include "platform/widgets/spin_button.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "surface/gui/view_controls_controller.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/tensor_panel.h"

namespace quillmere {

namespace {

constexpr int kAreaMargin = 4;      // kept free between a panel and the edge of the drawing area
constexpr int kPanelGap = 6;        // between a grid and the tensor panel
constexpr int kUtilitiesPlace = 4;  // the drawing-utilities panel's place, (4, 4)
constexpr int kTensorPanelMargin = 8;

/// Moves a shown panel as little as keeps it inside an area of `w` x `h`.
void KeepInside(QWidget* panel, int w, int h) {
  if (!panel || !panel->isVisible()) return;
  const int x = std::max(0, std::min(panel->x(), w - panel->width() - kAreaMargin));
  const int y = std::max(0, std::min(panel->y(), h - panel->height() - kAreaMargin));
  if (x != panel->x() || y != panel->y()) panel->move(x, y);
}

QSize LaidOutSize(QWidget* w) {
  return w ? w->size().expandedTo(w->sizeHint()) : QSize();
}

}  // namespace

GridRoom TForm1::GridRoomBesideTensorPanel() const {
  GridRoom room{surfaceArea->width() - kAreaMargin, surfaceArea->height() - kAreaMargin};
  const QWidget* panel = TensorPanelWidget();
  if (panel->isVisible()) room.right = panel->x() - kPanelGap;
  return room;
}

void TForm1::KeepPanelsInside() {
  const int w = surfaceArea->width();
  const int h = surfaceArea->height();
  componentEntry_->placeOpenPanels();
  for (QWidget* panel : std::initializer_list<QWidget*>{
           viewControls_->drawingUtilities(), viewControls_->axesStyleGroup(),
           fitPanels_->transformPanel(), fitPanels_->fixedDirectionPanel(),
           componentEntry_->unitSpinButton()})
    KeepInside(panel, w, h);
}

QSize TForm1::RequiredDrawingArea() {
  const QSize tensor = LaidOutSize(TensorPanelWidget());
  const QSize utilities = LaidOutSize(viewControls_->drawingUtilities());
  // Beside each other: the drawing utilities on the left, the tensor panel on the right.
  int width = kUtilitiesPlace + utilities.width() + 2 * kTensorPanelMargin + tensor.width();
  int height = std::max(kUtilitiesPlace + utilities.height() + kAreaMargin,
                        kTensorPanelMargin + tensor.height() + kAreaMargin);
  // Both columns of the independent grid, left of the tensor panel.
  width = std::max(width, 10 + kIndependentLabelWidth + kIndependentValueWidth + 12 + kPanelGap +
                              tensor.width() + kTensorPanelMargin);
  const QSize entry = componentEntry_->requiredArea();
  width = std::max(width, entry.width());
  height = std::max(height, entry.height());
  for (QWidget* panel : std::initializer_list<QWidget*>{fitPanels_->transformPanel(),
                                                        fitPanels_->fixedDirectionPanel()}) {
    const QSize s = LaidOutSize(panel);
    width = std::max(width, s.width() + 2 * kTensorPanelMargin);
    height = std::max(height, kTensorPanelMargin + s.height() + kAreaMargin);
  }
  const QSize style = LaidOutSize(viewControls_->axesStyleGroup());
  width = std::max(width, kUtilitiesPlace + utilities.width() + kTensorPanelMargin + style.width() +
                              kAreaMargin);
  height = std::max(height, kTensorPanelMargin + style.height() + kAreaMargin);
  return {width, height};
}

void TForm1::UpdateMinimumSize() {
  if (inSplash_) return;
  // What the menu bar, the speed-button bar and the status line take from the window's client
  // area. The drawing area reaches the window's right edge and the status line (or the bottom
  // edge) once the window is laid out at its present size; until then there is nothing to
  // measure, and the layout's resize of the area calls this again (through PlaceOverlays).
  const QRect placed = surfaceArea->geometry();
  const QStatusBar* status = findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
  const int bottom = status && status->isVisible() ? status->geometry().top() : height();
  if (placed.right() + 1 != width() || placed.bottom() + 1 != bottom) return;
  const QSize frame = size() - surfaceArea->size();
  QSize minimum = RequiredDrawingArea() + frame;
  if (const QScreen* where = screen())
    minimum = minimum.boundedTo(where->availableGeometry().size());
  if (minimum != minimumSize()) setMinimumSize(minimum);
}

}  // namespace quillmere
