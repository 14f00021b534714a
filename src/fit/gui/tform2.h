// TForm2, the fit window ("TensorFit"): the user types measurements of one property kind (the
// direction cosines of each measurement's measuring directions, the measured value y and its
// error dy), runs the weighted least-squares fit, and reads the fitted independent components
// with their deviations and, for second-rank tensors, the eigenvalues and principal directions.
//
// The window is modeless beside the main window; at most one exists (FitSession::fitWindowFree).
// It owns the fit's workspace and hands the arithmetic to the core (RunFit, ApplyFitResult,
// FitResiduals); the engine reads the measurements through the FitCells interface that this
// window implements over its two grids:
//   StringGrid1 (direction grid): columns 0 (labels) and 1..3 (cosines); rows 0..D-1 are the
//               headings, then D rows per measurement, one per measuring direction.
//   StringGrid2 (value grid): columns y, dy and the read-only residual of the last fit; row 0
//               is the heading, measurement k (from 1) is row k, D direction rows tall.
// Beyond the engine's grids the window pastes blocks copied from a spreadsheet, copies its
// result tables, and loads and saves the measurements in the command-line tool's CSV format.
//
// Errors: every handler runs under ReportErrors, so what the core throws is shown in the error
// box and ends the handler; nothing escapes into Qt's event loop.
#pragma once

#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fit/fit_engine.h"
#include "fit/fit_result.h"

class QLabel;
class QPushButton;

namespace quillmere {

struct CoreServices;
struct FitSession;
class Dialogs;
class ClickableLabel;
class SpinButton;

/// A string grid of the fit window: Qt's own headers hidden (heading rows and the label column
/// are cells of the grid), Ctrl+V and Ctrl+C reported to the window. The grid counts as opened
/// when the focus comes into it from elsewhere; Escape, in a cell or in the grid, puts back the
/// texts it had then and hands the focus back to the window, so nothing typed since is kept.
class FitGrid : public QTableWidget {
  Q_OBJECT
 public:
  explicit FitGrid(QWidget* parent = nullptr);
  QString cellText(int column, int row) const;
  /// Sets a cell; `editable` false makes it a fixed (heading or read-only) cell.
  void setCell(int column, int row, const QString& text, bool editable);
  /// Ends an edit in progress, keeping what was typed.
  void commitOpenEditor();
  /// Takes the texts as they are now as those Escape goes back to (after a paste, which is a
  /// command of the window rather than typing).
  void keepTexts();

 signals:
  void pasteRequested();
  void copyRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DropTyping();
  QStringList keptTexts_;  ///< row by row
  int keptRows_ = -1;
  int keptColumns_ = -1;
  bool entered_ = false;  ///< the focus is in the grid or its cell editor
};

/// What the fit window asks of the main window.
struct FitWindowHooks {
  std::function<void()> refresh;           ///< Label11Click: unit, exponent and symmetry displays
  std::function<void()> toggleUnitEditor;  ///< Edit1Change: opens or takes the unit-text field
  /// Places the window (of its final size) before it is first shown.
  std::function<void(QWidget*)> place;
  /// A fit result is about to reach the main window's tensor.
  std::function<void()> fitTaken;
};

/// The rows of the window's grids. Direction grid: rows 0..D-1 are headings, then D rows per
/// measurement; direction d (1..D) of measurement k (0-based) stands in the row returned here,
/// its three cosines in columns 1..3. Value grid: row 0 is the heading, measurement k stands in
/// row k + 1 (y, dy, residual).
constexpr int DirectionGridRow(int directionCount, int k, int d) {
  return directionCount * (k + 1) + d - 1;
}

class TForm2 : public QWidget, public FitCells {
  Q_OBJECT
 public:
  /// Builds the controls for the geometry in `session` (D directions per measurement); the
  /// window is set up and shown by FormCreate.
  TForm2(TensorState& tensor, FitSession& session, const CoreServices& services, Dialogs& dialogs,
         FitWindowHooks hooks, QWidget* parent = nullptr);
  ~TForm2() override;

  // ---- Handlers ---------------------------------------------------------------------------
  /// Clears FitWindowFree, lays out one empty measurement, shows the window with the unit, and
  /// refuses (with the close question) when no point group is selected.
  void FormCreate();
  /// ADD: one more measurement.
  void Button1Click();
  /// REMOVE: the last measurement, unless it is the only one.
  void Button3Click();
  /// FIT: the run; a finished run ends in StringGrid3Click, a refusal may ask to close.
  void Button2Click();
  /// Shows the result table, writes the rounded results into the tensor's value texts, rebuilds
  /// the components from them, refreshes the main window and shows the eigen table.
  void StringGrid3Click();
  /// The eigen table, for second-rank tensors only.
  void StringGrid4Click();
  void StringGrid3DblClick();
  void StringGrid4DblClick();
  /// The measurements' power of ten up or down (the tensor's follows); entered numbers are read
  /// in the new unit next run.
  void SpinButton1UpClick();
  void SpinButton1DownClick();
  /// Opens or takes the main window's unit-text field, then shows the unit text.
  void Label1Click();
  /// Load...: replaces the measurements by those of a CSV file.
  void LoadClick();
  /// Save...: writes the measurements to a CSV file, completely or not at all.
  void SaveClick();

  /// Asks to close through the normal close path ("Close Fit ?").
  void RequestClose();
  /// Shows the measurements' power of ten and the tensor's unit text in the heading strip.
  void RefreshUnit();
  /// The power of ten the measurements are typed in: set when the window opens, by its spin
  /// button and by a loaded file's unit line, never by the main window's unit. A FIT puts it on
  /// the tensor before it reads the measurements.
  Real measurementScale() const { return measurementScale_; }
  /// True once a FIT has put its result into the tensor.
  bool fitApplied() const { return fitApplied_; }

  /// Pastes rows of 3*D cosines, y and dy (tab-, semicolon- or comma-separated), from
  /// measurement `first` (0-based) on, adding measurements as needed. A row of another length,
  /// or a field that is not a number, is reported and nothing changes. Returns false then.
  bool PasteMeasurements(const QString& text, int first);
  /// The result table as tab-separated lines.
  QString ResultTableText() const;

  int directionCount() const { return directions_; }
  int measurementCount() const;
  const FitWorkspace& workspace() const { return *workspace_; }

  // ---- FitCells: the measurements in the grids' rows -------------------------------------------
  int MeasurementCount() const override { return measurementCount(); }
  std::string Cosine(int k, int d, int axis) const override;
  std::string Value(int k, int column) const override;

  // ---- Controls ---------------------------------------------------------------------------
  FitGrid* StringGrid1 = nullptr;  ///< direction grid
  FitGrid* StringGrid2 = nullptr;  ///< value grid
  FitGrid* StringGrid3 = nullptr;  ///< FitResultTable
  FitGrid* StringGrid4 = nullptr;  ///< EigenTable
  QLabel* Label2 = nullptr;        ///< "unit = 10"
  QLabel* Label3 = nullptr;        ///< the exponent, raised
  ClickableLabel* Label1 = nullptr;
  SpinButton* SpinButton1 = nullptr;
  QPushButton* Button1 = nullptr;  ///< ADD
  QPushButton* Button3 = nullptr;  ///< REMOVE
  QPushButton* Button2 = nullptr;  ///< FIT
  QPushButton* LoadButton = nullptr;
  QPushButton* SaveButton = nullptr;

  static constexpr int kResidualColumn = 2;

 signals:
  /// The close was confirmed; the window is being destroyed.
  void fitClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Guarded(const std::function<void()>& handler);
  void CommitEditors();
  /// Refuses a cell whose text is no number, naming and selecting it.
  void CheckNumberCells();
  /// Sets the direction and value rows for `count` measurements, keeping the texts of those
  /// that stay.
  void SetMeasurementCount(int count);
  void ClearResiduals();
  void ShowResiduals(const std::vector<Real>& residuals);
  void FitSizes();
  void PasteIntoGrid(FitGrid* grid);
  void CopyTable(const FitGrid* grid);
  /// The measurements as rows of texts: 3*D cosines, y, dy.
  std::vector<std::vector<std::string>> MeasurementTexts() const;
  void SetMeasurementTexts(const std::vector<std::vector<std::string>>& rows);

  TensorState& t_;
  FitSession& session_;
  const CoreServices& services_;
  Dialogs& dialogs_;
  FitWindowHooks hooks_;
  std::unique_ptr<FitWorkspace> workspace_;
  int directions_;
  int rowHeight_ = 22;
  bool filling_ = false;
  bool closeConfirmed_ = false;
  FitResultTexts result_;
  Real measurementScale_ = 1;
  bool fitApplied_ = false;
  std::string lastFile_;  ///< the measurement file last loaded or saved
};

}  // namespace quillmere
