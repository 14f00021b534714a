// The labels of the tensor information panel report clicks; the point group's label, which draws
// the bar of its symbol, is a BarredLabel (platform/widgets/barred_text.h).
#pragma once

#include <QLabel>
#include <QString>

namespace quillmere {

/// A label that emits clicked() on a left-button release inside it.
class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(const QString& text = {}, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quillmere
