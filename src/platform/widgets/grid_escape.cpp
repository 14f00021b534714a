#include "platform/widgets/grid_escape.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace quillmere {

namespace {

/// Takes Escape pressed in the grid while no cell editor has the key.
class EscapeKeyWatch : public QObject {
 public:
  EscapeKeyWatch(QAbstractItemView* grid, std::function<void()> escaped)
      : QObject(grid), escaped_(std::move(escaped)) {
    grid->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
      return false;
    escaped_();
    return true;
  }

 private:
  std::function<void()> escaped_;
};

}  // namespace

void OnGridEscape(QAbstractItemView* grid, std::function<void()> escaped) {
  // The cell editor's delegate closes it on Escape with this hint, after dropping its text; the
  // view has closed the editor by the time this connection runs.
  QObject::connect(grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, grid,
                   [escaped](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                     if (hint == QAbstractItemDelegate::RevertModelCache) escaped();
                   });
  new EscapeKeyWatch(grid, std::move(escaped));
}

}  // namespace quillmere
