// Which widgets take typed characters as text, so that a window's own letter keys (the
// rotation keys of the main window) leave them alone.
#pragma once

class QWidget;

namespace quillmere {

/// True when `widget` takes typed characters as text: an editable line edit, text edit or
/// combo box, a spin box, or an item view (a grid) that opens a cell editor on a key press.
bool TakesTypedText(const QWidget* widget);

}  // namespace quillmere
