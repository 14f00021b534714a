// The drawing-utilities panel on the left of the main window: the three rotation sliders with
// their angle entry boxes, the resolution and perspective sliders, the size, fine-scale and unit
// spin buttons, and the Grid, Axes, Fill and Scale switches; and the two one-shot timers that
// delay the redraw after slider changes.
//
// The panel knows nothing of the view settings. It reports slider positions (whole degrees for
// the rotation sliders) and clicks through signals; the main window writes them into the view and
// decides what to redraw. Slider changes restart the timers here, because the delay rule is the
// same for every caller: a change made by the user starts the timer, a position that the program
// sets while SliderEcho is on does not.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "platform/widgets/panel_labels.h"
#include "platform/widgets/spin_button.h"

namespace quillmere {

/// An entry box that reports clicks and double clicks as well as Enter.
class AngleEntryBox : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class DrawingUtilitiesPanel : public QFrame {
  Q_OBJECT
 public:
  /// Delay of both timers, in milliseconds.
  static constexpr int kTimerDelay = 1000;

  explicit DrawingUtilitiesPanel(QWidget* parent = nullptr);

  QSlider* alphaSlider() const { return alpha_; }
  QSlider* betaSlider() const { return beta_; }
  QSlider* gammaSlider() const { return gamma_; }
  QSlider* resolutionSlider() const { return resolution_; }
  QSlider* perspectiveSlider() const { return perspective_; }
  ClickableLabel* alphaCaption() const { return alphaCaption_; }
  ClickableLabel* betaCaption() const { return betaCaption_; }
  ClickableLabel* gammaCaption() const { return gammaCaption_; }
  AngleEntryBox* alphaEntry() const { return alphaEntry_; }
  AngleEntryBox* betaEntry() const { return betaEntry_; }
  AngleEntryBox* gammaEntry() const { return gammaEntry_; }
  SpinButton* sizeSpin() const { return size_; }
  SpinButton* fineScaleSpin() const { return fineScale_; }
  SpinButton* unitSpin() const { return unit_; }
  QCheckBox* gridBox() const { return grid_; }
  QCheckBox* axesBox() const { return axes_; }
  QCheckBox* fillBox() const { return fill_; }
  QCheckBox* scaleBox() const { return scale_; }
  QTimer* redrawTimer() { return &redrawTimer_; }
  QTimer* rebuildTimer() { return &rebuildTimer_; }

  /// Sets the β, γ and α sliders, in this order, to positions computed by the program. Each
  /// position is limited to the slider's range; a slider whose position changes runs its change
  /// handling (so the view takes the whole-degree value) but starts no timer.
  void ShowAnglePositions(int alphaPosition, int betaPosition, int gammaPosition);
  /// Sets only the γ slider, as ShowAnglePositions does.
  void ShowGammaPosition(int gammaPosition);

  /// Stops the timer and starts it again unless the program is setting slider positions.
  void RestartRedrawTimer();
  void RestartRebuildTimer();
  bool sliderEcho() const { return sliderEcho_; }

  /// Shows the three angle entry boxes beside their sliders and gives `focusBox` the input focus.
  void ShowAngleEntries(QLineEdit* focusBox);
  /// Applies the three entry boxes in the order γ, β, α and, with `close`, hides them. A box whose
  /// text is not a
  /// whole number leaves its slider where it is; the slider's change handling runs in any case.
  void ApplyAngleEntries(bool close = true);

  /// Sets the switches without reporting them as clicks (for mirroring the View menu).
  void ShowSwitches(bool grid, bool axes, bool fill, bool scale);

 signals:
  /// Rotation slider positions in whole degrees, −90 … 90.
  void alphaChanged(int position);
  void betaChanged(int position);
  void gammaChanged(int position);
  /// Resolution 1 … 8.
  void resolutionChanged(int position);
  /// Perspective 1 … 10.
  void perspectiveChanged(int position);
  void sizeDown();
  void sizeUp();
  void fineScaleDown();
  void fineScaleUp();
  void unitDown();
  void unitUp();
  /// A switch clicked by the user, with its new state.
  void gridClicked(bool on);
  void axesClicked(bool on);
  void fillClicked(bool on);
  void scaleClicked(bool on);
  /// RedrawTimer fired: re-project and repaint.
  void redrawDue();
  /// RebuildTimer fired: run the DRAW command.
  void rebuildDue();
  /// A click on the panel itself, outside its controls (hides the panel).
  void backgroundClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void AlphaMoved(int position);
  void BetaMoved(int position);
  void GammaMoved(int position);
  void ApplyEntry(QLineEdit* box, QSlider* slider, void (DrawingUtilitiesPanel::*handler)(int));

  QSlider* alpha_;
  QSlider* beta_;
  QSlider* gamma_;
  QSlider* resolution_;
  QSlider* perspective_;
  ClickableLabel* alphaCaption_;
  ClickableLabel* betaCaption_;
  ClickableLabel* gammaCaption_;
  AngleEntryBox* alphaEntry_;
  AngleEntryBox* betaEntry_;
  AngleEntryBox* gammaEntry_;
  SpinButton* size_;
  SpinButton* fineScale_;
  SpinButton* unit_;
  QCheckBox* grid_;
  QCheckBox* axes_;
  QCheckBox* fill_;
  QCheckBox* scale_;
  QTimer redrawTimer_;
  QTimer rebuildTimer_;
  bool sliderEcho_ = false;  ///< SliderEcho: on while the program sets slider positions
};

}  // namespace quillmere
