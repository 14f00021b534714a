// TForm1: the transformation panel (GroupBox4, "Transform") and the fixed-direction panel
// (Panel6, "&Fixed Directions"), connected to their menu items. The handlers are the panels';
// this file supplies what they need from the window.
#include <QPushButton>
#include <algorithm>

#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "fit/gui/fixed_direction_panel.h"
#include "fit/gui/transform_panel.h"
#include "tensor/gui/component_entry_controller.h"

namespace quillmere {

namespace {

/// Centred at the top of the drawing area, clear of the tensor panel where there is room.
void PlaceAtTop(QWidget* panel, QWidget* area) {
  panel->adjustSize();
  const int x = std::max(0, (area->width() - panel->width()) / 2);
  panel->move(x, 8);
}

}  // namespace

void TForm1::ConnectTransformPanels() {
  TransformPanelHooks transformHooks;
  transformHooks.commitOpenGrids = [this] {
    if (commitOpenComponentGrid) commitOpenComponentGrid();
    return !componentEntry ||
           (!componentEntry->componentGridShown() && !componentEntry->independentGridShown());
  };
  transformHooks.stringGrid1Click = [this] {
    if (componentEntry) componentEntry->StringGrid1Click();
  };
  transformHooks.refresh = [this] { Label11Click(); };
  transformHooks.drawTensor = [this] { DrawTensor(); };
  GroupBox4 = new TransformPanel(
      surfaceArea, TransformPanelContext{&state_.tensor, &state_.transformMatrix, &state_.services},
      std::move(transformHooks));
  OnTriggered(Transform1, [this] {
    PlaceAtTop(GroupBox4, surfaceArea);
    GroupBox4->ransform1Click();
  });
  connect(GroupBox4->Button7, &QPushButton::clicked, this,
          [this] { RunStep(QStringLiteral("Transform"), [this] { GroupBox4->Button7Click(); }); });
  connect(GroupBox4->Button8, &QPushButton::clicked, this,
          [this] { Guarded([this] { GroupBox4->Button8Click(); }); });

  FixedDirectionPanelHooks directionHooks;
  directionHooks.drawTensor = [this] { DrawTensor(); };
  Panel6 = new FixedDirectionPanel(
      surfaceArea,
      FixedDirectionPanelContext{&state_.evaluation, &state_.services, &state_.componentsTyped,
                                 &state_.editingInPanel},
      std::move(directionHooks));
  OnTriggered(FixedDirections1, [this] {
    PlaceAtTop(Panel6, surfaceArea);
    Panel6->FixedDirections1Click();
  });
  connect(Panel6->OKButton, &QPushButton::clicked, this,
          [this] { Guarded([this] { Panel6->StringGrid3DblClick(); }); });
  connect(Panel6->StringGrid3, &EntryGrid::gridDoubleClicked, this,
          [this] { Guarded([this] { Panel6->StringGrid3DblClick(); }); });
  connect(Panel6->Button6, &QPushButton::clicked, this,
          [this] { Guarded([this] { Panel6->Button6Click(); }); });
}

}  // namespace quillmere
