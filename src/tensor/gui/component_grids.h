// The two component grids: StringGrid1 with every component of the tensor, StringGrid2 with the
// independent components of the symmetry table. Both behave like string grids: the header row
// and column are cells of the grid itself (cell (0,0) holds the power of ten), cells are
// addressed (column, row), typing starts editing a cell, and a double click anywhere commits
// the grid rather than opening an editor.
#pragma once

#include <QTableWidget>
#include <functional>

#include "tensor/component_entry.h"

namespace quillmere {

class EntryGrid : public QTableWidget {
  Q_OBJECT
 public:
  explicit EntryGrid(QWidget* parent = nullptr);

  QString cellText(int column, int row) const;
  /// Sets one text without counting as typing.
  void setCellText(int column, int row, const QString& text);
  /// Ends an edit in progress, keeping what was typed in the cell.
  void commitOpenEditor();
  /// Makes (column, row) the current cell and opens it for correction.
  void selectCell(int column, int row);
  /// The width that shows every text of `column` whole in the grid's font, at least `minimum`
  /// and at least as wide as `sample` (the longest text the column is meant for).
  int widthForTexts(int column, int minimum, const QString& sample = {}) const;

  /// True once a key was typed or a cell edited since the texts were last set.
  bool typed() const { return typed_; }
  void clearTyped() { typed_ = false; }
  /// Closes an edit in progress without keeping its text, and forgets what was typed.
  void discardTyped();

 signals:
  /// A key was typed into the grid or a cell's text was edited.
  void keyTyped();
  /// A double click anywhere in the grid.
  void gridDoubleClicked();
  /// Escape in the grid or in the cell being edited: its owner closes it without taking the
  /// typed texts over.
  void escapePressed();

 protected:
  /// Replaces size and texts; header cells and cells for which `editable` is false are read
  /// only.
  void setTexts(const GridTexts& texts, const std::function<bool(int, int)>& editable);
  GridTexts texts();
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void markTyped();
  bool filling_ = false;
  bool typed_ = false;
};

/// StringGrid1: all components of the current kind.
class ComponentGrid : public EntryGrid {
  Q_OBJECT
 public:
  explicit ComponentGrid(QWidget* parent = nullptr);
  /// Shows texts made by ShowFullGrid for `kind`; cells that only mirror others are read only.
  void showTexts(const GridTexts& texts, int kind);
  GridTexts cellTexts() { return texts(); }
  /// Places the grid by the geometry rules for a window client area of the given size, kept
  /// inside `room` (KeepGridInside).
  void placeFor(int windowWidth, int windowHeight, const GridRoom& room);

 private:
  int pitch_ = kFullGridColumnPitch;  ///< the width of every column, for the longest text
};

/// StringGrid2: label column (0) and value column (1); cell (1,0) holds the unit text.
class IndependentGrid : public EntryGrid {
  Q_OBJECT
 public:
  explicit IndependentGrid(QWidget* parent = nullptr);
  void showTexts(const IndependentTexts& texts, const QString& cornerCaption);
  IndependentTexts cellTexts();
  int count() const { return rowCount() > 0 ? rowCount() - 1 : 0; }
  void placeFor(int windowWidth, int windowHeight, const GridRoom& room);
};

}  // namespace quillmere
