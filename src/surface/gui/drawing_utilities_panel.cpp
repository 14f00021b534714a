#include "surface/gui/drawing_utilities_panel.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace quillmere {

void AngleEntryBox::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit clicked();
}

void AngleEntryBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit clicked();
}

namespace {

QSlider* MakeSlider(QWidget* parent, int lo, int hi, int start, const QString& hint) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setRange(lo, hi);
  s->setValue(start);
  s->setToolTip(hint);
  s->setMinimumWidth(70);
  return s;
}

AngleEntryBox* MakeEntry(QWidget* parent, const QString& text) {
  auto* e = new AngleEntryBox(text, parent);
  e->setMaximumWidth(40);
  e->hide();
  return e;
}

QCheckBox* MakeSwitch(QWidget* parent, const QString& caption, const QString& hint) {
  auto* c = new QCheckBox(caption, parent);
  c->setToolTip(hint);
  return c;
}

/// Caption in a larger serif face, as the Greek captions are printed.
ClickableLabel* MakeGreekCaption(QWidget* parent, const QString& letter, const QString& hint) {
  auto* l = new ClickableLabel(letter, parent);
  l->setCursor(Qt::PointingHandCursor);
  QFont f = l->font();
  f.setPointSizeF(f.pointSizeF() * 1.3);
  f.setBold(true);
  l->setFont(f);
  l->setToolTip(hint);
  return l;
}

}  // namespace

DrawingUtilitiesPanel::DrawingUtilitiesPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("DrawingUtilitiesPanel");
  setFrameShape(QFrame::StyledPanel);

  const QString alphaHint = "Specify the rotation angle about the screen-normal";
  const QString betaHint = "specify the rotation about the vertical screen-direction";
  const QString gammaHint = "Specify the rotation angle about the z-axis";
  alpha_ = MakeSlider(this, -90, 90, 0, alphaHint);
  beta_ = MakeSlider(this, -90, 90, -25, betaHint);
  gamma_ = MakeSlider(this, -90, 90, -25, gammaHint);
  resolution_ = MakeSlider(this, 1, 8, 2, "Change the grid-resolution");
  perspective_ = MakeSlider(this, 1, 10, 7, "Change the perspective effect");
  resolution_->setPageStep(1);
  perspective_->setPageStep(1);
  alphaCaption_ = MakeGreekCaption(this, QString::fromUtf8("\u03b1"), alphaHint);
  betaCaption_ = MakeGreekCaption(this, QString::fromUtf8("\u03b2"), betaHint);
  gammaCaption_ = MakeGreekCaption(this, QString::fromUtf8("\u03b3"), gammaHint);
  alphaEntry_ = MakeEntry(this, "0");
  betaEntry_ = MakeEntry(this, "-25");
  gammaEntry_ = MakeEntry(this, "-25");

  size_ = new SpinButton("change the size of the plot and draw it", this);
  fineScale_ = new SpinButton("scale the tensor surface in small steps", this);
  unit_ = new SpinButton("Change the dimension of the unit", this);

  grid_ = MakeSwitch(this, "Grid", "Draw a grid on the surface");
  axes_ = MakeSwitch(this, "Axes", "Draw the axes of the physical reference system");
  fill_ = MakeSwitch(this, "Fill", "Enable filling the grid of the surface with shaded color");
  scale_ = MakeSwitch(this, "Scale", "Draw a scale");
  ShowSwitches(true, true, true, false);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(4);
  int row = 0;
  // The angle entry boxes lie over their sliders when shown (ShowAngleEntries), so the panel
  // keeps its size and stays in view while the angles are typed.
  auto addSliderRow = [&](QWidget* caption, QSlider* slider) {
    grid->addWidget(caption, row, 0);
    grid->addWidget(slider, row, 1, 1, 2);
    ++row;
  };
  addSliderRow(alphaCaption_, alpha_);
  addSliderRow(betaCaption_, beta_);
  addSliderRow(gammaCaption_, gamma_);
  auto* resolutionCaption = new QLabel("Res.", this);
  resolutionCaption->setToolTip(resolution_->toolTip());
  addSliderRow(resolutionCaption, resolution_);
  auto* perspectiveCaption = new QLabel("Persp.", this);
  perspectiveCaption->setToolTip(perspective_->toolTip());
  addSliderRow(perspectiveCaption, perspective_);
  auto addSpinRow = [&](const QString& caption, SpinButton* spin) {
    auto* l = new QLabel(caption, this);
    l->setToolTip(spin->toolTip());
    grid->addWidget(spin, row, 0);
    grid->addWidget(l, row, 1, 1, 2);
    ++row;
  };
  addSpinRow("Size", size_);
  addSpinRow("Fine scale", fineScale_);
  addSpinRow("Unit (x 10)", unit_);
  for (QCheckBox* c : {grid_, axes_, fill_, scale_}) grid->addWidget(c, row++, 0, 1, 3);
  grid->setRowStretch(row, 1);

  connect(alpha_, &QSlider::valueChanged, this, &DrawingUtilitiesPanel::AlphaMoved);
  connect(beta_, &QSlider::valueChanged, this, &DrawingUtilitiesPanel::BetaMoved);
  connect(gamma_, &QSlider::valueChanged, this, &DrawingUtilitiesPanel::GammaMoved);
  connect(resolution_, &QSlider::valueChanged, this, [this](int p) {
    emit resolutionChanged(p);
    RestartRebuildTimer();
  });
  connect(perspective_, &QSlider::valueChanged, this, [this](int p) {
    emit perspectiveChanged(p);
    RestartRebuildTimer();
  });

  connect(alphaCaption_, &ClickableLabel::clicked, this, [this] { ShowAngleEntries(alphaEntry_); });
  connect(betaCaption_, &ClickableLabel::clicked, this, [this] { ShowAngleEntries(betaEntry_); });
  connect(gammaCaption_, &ClickableLabel::clicked, this, [this] { ShowAngleEntries(gammaEntry_); });
  // Enter, or the focus going anywhere but another box, applies the three angles and closes
  // the boxes; a click or double click in a box applies them too and leaves the boxes open for
  // more typing.
  for (AngleEntryBox* e : {alphaEntry_, betaEntry_, gammaEntry_}) {
    connect(e, &QLineEdit::returnPressed, this, [this] { ApplyAngleEntries(); });
    connect(e, &AngleEntryBox::clicked, this, [this] { ApplyAngleEntries(/*close=*/false); });
  }
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    const auto isBox = [this](QWidget* w) {
      return w == alphaEntry_ || w == betaEntry_ || w == gammaEntry_;
    };
    // A box hidden by Enter hands the focus on as well; that is no click outside.
    if (now && isBox(old) && !isBox(now) && !old->isHidden()) ApplyAngleEntries();
  });

  connect(size_, &SpinButton::downClicked, this, &DrawingUtilitiesPanel::sizeDown);
  connect(size_, &SpinButton::upClicked, this, &DrawingUtilitiesPanel::sizeUp);
  connect(fineScale_, &SpinButton::downClicked, this, &DrawingUtilitiesPanel::fineScaleDown);
  connect(fineScale_, &SpinButton::upClicked, this, &DrawingUtilitiesPanel::fineScaleUp);
  connect(unit_, &SpinButton::downClicked, this, &DrawingUtilitiesPanel::unitDown);
  connect(unit_, &SpinButton::upClicked, this, &DrawingUtilitiesPanel::unitUp);

  // `clicked` is sent only for the user's clicks, never for setChecked, so mirroring the menu
  // state into the boxes does not come back as a second click.
  connect(grid_, &QCheckBox::clicked, this, &DrawingUtilitiesPanel::gridClicked);
  connect(axes_, &QCheckBox::clicked, this, &DrawingUtilitiesPanel::axesClicked);
  connect(fill_, &QCheckBox::clicked, this, &DrawingUtilitiesPanel::fillClicked);
  connect(scale_, &QCheckBox::clicked, this, &DrawingUtilitiesPanel::scaleClicked);

  for (QTimer* t : {&redrawTimer_, &rebuildTimer_}) {
    t->setSingleShot(true);
    t->setInterval(kTimerDelay);
  }
  connect(&redrawTimer_, &QTimer::timeout, this, [this] {
    redrawTimer_.stop();
    emit redrawDue();
  });
  connect(&rebuildTimer_, &QTimer::timeout, this, [this] {
    rebuildTimer_.stop();
    emit rebuildDue();
  });
}

void DrawingUtilitiesPanel::mousePressEvent(QMouseEvent* event) {
  // Taken here, so the press does not go on to the drawing area below and start a drag there.
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  // While the angles are typed, a click beside the boxes applies them; the panel stays.
  if (!alphaEntry_->isHidden()) {
    ApplyAngleEntries();
    return;
  }
  emit backgroundClicked();
}

void DrawingUtilitiesPanel::AlphaMoved(int position) {
  emit alphaChanged(position);
  RestartRedrawTimer();
}

void DrawingUtilitiesPanel::BetaMoved(int position) {
  emit betaChanged(position);
  RestartRedrawTimer();
}

void DrawingUtilitiesPanel::GammaMoved(int position) {
  emit gammaChanged(position);
  RestartRedrawTimer();
}

void DrawingUtilitiesPanel::RestartRedrawTimer() {
  redrawTimer_.stop();
  if (!sliderEcho_) redrawTimer_.start();
}

void DrawingUtilitiesPanel::RestartRebuildTimer() {
  rebuildTimer_.stop();
  if (!sliderEcho_) rebuildTimer_.start();
}

// SliderEcho is held for the whole group of program-set positions and dropped afterwards. Were it
// cleared by the first slider that moves, the second moved slider would start a needless timer,
// and when no slider moved at all (an angle beyond a slider's end) the flag would stay on and
// swallow the user's next slider move, leaving the picture behind the slider.
void DrawingUtilitiesPanel::ShowAnglePositions(int alphaPosition, int betaPosition,
                                               int gammaPosition) {
  const bool outer = sliderEcho_;
  sliderEcho_ = true;
  beta_->setValue(betaPosition);
  gamma_->setValue(gammaPosition);
  alpha_->setValue(alphaPosition);
  sliderEcho_ = outer;
}

void DrawingUtilitiesPanel::ShowGammaPosition(int gammaPosition) {
  const bool outer = sliderEcho_;
  sliderEcho_ = true;
  gamma_->setValue(gammaPosition);
  sliderEcho_ = outer;
}

void DrawingUtilitiesPanel::ShowAngleEntries(QLineEdit* focusBox) {
  const std::pair<AngleEntryBox*, QSlider*> rows[] = {
      {alphaEntry_, alpha_}, {betaEntry_, beta_}, {gammaEntry_, gamma_}};
  for (const auto& [box, slider] : rows) {
    // Over the right end of the slider, as tall as a line of text.
    const QRect s = slider->geometry();
    const int width = std::min(s.width(), 46);
    const int height = std::max(s.height(), box->sizeHint().height());
    box->setGeometry(s.right() + 1 - width, s.center().y() - height / 2, width, height);
    box->show();
    box->raise();
  }
  focusBox->setFocus(Qt::OtherFocusReason);
  focusBox->selectAll();
}

void DrawingUtilitiesPanel::ApplyEntry(QLineEdit* box, QSlider* slider,
                                       void (DrawingUtilitiesPanel::*handler)(int)) {
  bool ok = false;
  const int position = box->text().trimmed().toInt(&ok);
  if (ok) slider->setValue(position);
  // The change handling runs once more even when the position did not change, so the view
  // takes the slider's value in every case.
  (this->*handler)(slider->value());
}

void DrawingUtilitiesPanel::ApplyAngleEntries(bool close) {
  if (alphaEntry_->isHidden() && betaEntry_->isHidden() && gammaEntry_->isHidden()) return;
  ApplyEntry(gammaEntry_, gamma_, &DrawingUtilitiesPanel::GammaMoved);
  ApplyEntry(betaEntry_, beta_, &DrawingUtilitiesPanel::BetaMoved);
  ApplyEntry(alphaEntry_, alpha_, &DrawingUtilitiesPanel::AlphaMoved);
  if (close)
    for (AngleEntryBox* e : {alphaEntry_, betaEntry_, gammaEntry_}) e->hide();
}

void DrawingUtilitiesPanel::ShowSwitches(bool grid, bool axes, bool fill, bool scale) {
  grid_->setChecked(grid);
  axes_->setChecked(axes);
  fill_->setChecked(fill);
  scale_->setChecked(scale);
}

}  // namespace quillmere
