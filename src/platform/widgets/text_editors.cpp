#include "platform/widgets/text_editors.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace quillmere {

bool TakesTypedText(const QWidget* widget) {
  if (!widget || !widget->isEnabled()) return false;
  if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
  if (qobject_cast<const QAbstractSpinBox*>(widget)) return true;
  if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) return !plain->isReadOnly();
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
  if (const auto* view = qobject_cast<const QAbstractItemView*>(widget))
    return view->editTriggers() & QAbstractItemView::AnyKeyPressed;
  return false;
}

}  // namespace quillmere
