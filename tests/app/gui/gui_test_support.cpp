#include "app/gui/gui_test_support.h"

#include <QTest>
#include <fstream>
#include <sstream>

#include "tensor/gui/component_grids.h"

namespace quillmere::test {

StartedProgram::StartedProgram() {
  const QString base = dir_.path();
  qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
  qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toUtf8());
  std::filesystem::create_directories(root() / "program");
  std::filesystem::create_directories(settingsDirectory());
  std::filesystem::copy_file(SourceDirectory() / "data" / "tensor.tab",
                             root() / "program" / "tensor.tab");
}

StartedProgram::~StartedProgram() = default;

std::filesystem::path StartedProgram::root() const {
  return std::filesystem::path(dir_.path().toStdString());
}

std::string StartedProgram::programDirectory() const {
  return (root() / "program").string() + "/";
}

std::filesystem::path StartedProgram::settingsDirectory() const {
  return root() / "config" / "quillmere";
}

std::filesystem::path StartedProgram::settingsFile() const {
  return settingsDirectory() / "halvik.ini";
}

void StartedProgram::Start(const QStringList& arguments) {
  ProgramOptions options;
  options.programDirectory = programDirectory();
  options.settingsDirectory = settingsDirectory();
  options.arguments = arguments;
  options.recoveryDirectory = root() / "recovery";
  program_ = std::make_unique<Program>(options, dialogs, checkInUse ? *checkInUse : updateCheck);
  program_->Start();
}

bool StartedProgram::EndSplash() {
  form().Image1Click();
  return QTest::qWaitFor([this] { return !form().InSplash(); }, 5000);
}

std::filesystem::path StartedProgram::Example(const std::string& name, const std::string& as) {
  const std::filesystem::path target = root() / (as.empty() ? name : as);
  std::filesystem::copy_file(SourceDirectory() / "examples" / name, target,
                             std::filesystem::copy_options::overwrite_existing);
  return target;
}

std::filesystem::path StartedProgram::Write(const std::string& name, const std::string& text) {
  const std::filesystem::path target = root() / name;
  std::ofstream out(target, std::ios::binary);
  out << text;
  return target;
}

namespace {

template <typename Test>
int CountPixels(const QImage& image, Test test) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (test(c.red(), c.green(), c.blue())) ++n;
    }
  return n;
}

}  // namespace

int GreenPixels(const QImage& image) {
  return CountPixels(image, [](int r, int g, int b) { return g > 60 && g > r + 40 && g > b + 40; });
}

int RedPixels(const QImage& image) {
  return CountPixels(image, [](int r, int g, int b) { return r > 60 && r > g + 40 && r > b + 40; });
}

void TypeIntoGrid(EntryGrid* grid, int column, int row, const QString& text) {
  grid->setFocus();
  grid->setCurrentCell(row, column);
  QTest::keyClick(grid, text.at(0).toLatin1());
  // The cell's editor is the viewport's visible child.
  QWidget* editor = nullptr;
  for (QWidget* w : grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisible()) editor = w;
  QVERIFY2(editor, "typing did not open an editor");
  QTest::keyClicks(editor, text.mid(1));
  QTest::keyClick(editor, Qt::Key_Return);
}

}  // namespace quillmere::test
