// The choosers of the tensor kind (RadioGroup1 "Tensorsymmetry" with its "close" button) and of
// the crystal system and point group (GroupBox2 "Crystal System" with its "close" button, and one
// box of point-group buttons per system). They only report clicks; what a click does to the
// tensor is decided by the component-entry controller.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <vector>

class QButtonGroup;

namespace quillmere {

class BarredRadioButton;

/// The panel that holds RadioGroup1 with the twelve kinds in offering order and BitBtn1.
class KindChooser : public QFrame {
  Q_OBJECT
 public:
  explicit KindChooser(QWidget* parent = nullptr);
  /// Offering-order index of the checked kind, 0 when none is checked.
  int selectedIndex() const;
  /// Checks an item without reporting a click.
  void setSelectedIndex(int index);
  QGroupBox* radioGroup() const { return group_; }
  QPushButton* closeButton() const { return close_; }
  QRadioButton* item(int index) const { return items_.at(index); }
  /// Lays the twelve items out in this many columns (down each column in offering order), so
  /// that the chooser fits a low window; the panel takes its new size.
  void setColumns(int columns);
  int columns() const { return columns_; }
  /// The panel's height with the items in `columns` columns.
  int heightWithColumns(int columns);

 signals:
  /// The user clicked one of the kinds.
  void itemChosen();
  void closeClicked();

 private:
  QGroupBox* group_;
  QPushButton* close_;
  std::vector<QRadioButton*> items_;
  int columns_ = 1;
};

constexpr int kCrystalSystemCount = 7;

/// Names of the crystal systems in the order of the buttons ("triclinic" ... "cubic").
const std::array<const char*, kCrystalSystemCount>& CrystalSystemNames();

/// The panel with GroupBox2: the seven crystal-system buttons, the hidden "No Symmetry" button
/// that clears the choice, and BitBtn3.
class CrystalSystemChooser : public QFrame {
  Q_OBJECT
 public:
  explicit CrystalSystemChooser(QWidget* parent = nullptr);
  QGroupBox* systemBox() const { return box_; }
  QPushButton* closeButton() const { return close_; }
  QRadioButton* systemButton(int system) const { return systems_.at(system); }
  QRadioButton* noSymmetryButton() const { return noSymmetry_; }
  /// Checks the hidden "No Symmetry" button, so that no system button is checked.
  void selectNoSymmetry();

 signals:
  void systemClicked(int system);
  void closeClicked();

 private:
  QGroupBox* box_;
  QPushButton* close_;
  std::array<QRadioButton*, kCrystalSystemCount> systems_{};
  QRadioButton* noSymmetry_;
  QButtonGroup* exclusive_;
};

/// The point-group buttons of one crystal system. A click on a button or on the box itself is
/// reported as boxClicked(): both run the system's handler.
class PointGroupBox : public QGroupBox {
  Q_OBJECT
 public:
  PointGroupBox(int system, QWidget* parent = nullptr);
  int system() const { return system_; }
  /// Point-group number of the checked button, 0 when none is checked.
  int selectedGroup() const;
  /// The button of a point group of this system, nullptr for another group.
  BarredRadioButton* button(int pointGroup) const;
  const std::vector<int>& groups() const { return groups_; }

 signals:
  void boxClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int system_;
  std::vector<int> groups_;
  std::vector<BarredRadioButton*> buttons_;
};

}  // namespace quillmere
