// Escape in a grid: pressed in the grid itself, or in the cell it is editing (whose typing the
// cell editor drops as it closes), the grid's owner is told once, so that it can drop the
// grid's typing and close it without taking anything over.
#pragma once

#include <functional>

class QAbstractItemView;

namespace quillmere {

/// Calls `escaped` whenever Escape ends an edit of `grid` or is pressed while no cell is open.
/// The watch lives as long as the grid.
void OnGridEscape(QAbstractItemView* grid, std::function<void()> escaped);

}  // namespace quillmere
