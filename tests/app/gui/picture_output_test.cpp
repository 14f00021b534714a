// Picture output driven through the menu items: the clipboard's forms, the saved files (read by
// programs that are not ours where there is one), the metafile's size, and printing into Qt's
// PDF printer with Escape.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <sstream>

#include "app/gui/gui_test_support.h"
#include "app/gui/surface_area.h"
#include "app/program_state.h"

namespace quillmere {

using test::Q;
using test::ReadFile;
using test::StartedProgram;

namespace {

QImage Rgb(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
  std::int32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

/// Runs a reader program; its exit status.
int Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return -1;
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool NoTemporaryFiles(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(".tmp") != std::string::npos) return false;
  return true;
}

}  // namespace

class PictureOutputTest : public QObject {
  Q_OBJECT
 private slots:
  void bitmapCopyAndBmpAreTheScreenPicture();
  void metafileCopiesAndSavesReplaceTheClipboard();
  void tallWindowKeepsWidthA0WithinTheScreen();
  void pngSvgAndPdfAtTheMetafileSize();
  void failedSaveKeepsTheEarlierFile();
  void printsIntoPdfAndEscapeAborts();
  void wideWindowKeepsTheLegendInsideThePicture();
  void printedPictureFillsThePageWithTheLegendApart();
};

void PictureOutputTest::bitmapCopyAndBmpAreTheScreenPicture() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  Item(p.form(), "CopyAsWindowBitmap1")->trigger();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  QVERIFY(data);
  QVERIFY(data->hasFormat(QStringLiteral("image/png")));
  QVERIFY(data->hasFormat(QStringLiteral("image/bmp")));
  const QImage screen = Rgb(p.form().drawing().SceneBitmap());
  QCOMPARE(Rgb(QImage::fromData(data->data(QStringLiteral("image/png")), "PNG")), screen);
  QCOMPARE(Rgb(QImage::fromData(data->data(QStringLiteral("image/bmp")), "BMP")), screen);
  // Only the copy puts the picture on the clipboard: the paints after it leave it alone.
  QGuiApplication::clipboard()->setText(QStringLiteral("after"));
  Item(p.form(), "DRAW1")->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("after"));

  const auto bmp = p.root() / "screen.BMP";
  const std::string saveName = p.state().currentSaveName;
  p.dialogs.saveAnswers.push_back(Q(bmp));
  Item(p.form(), "SaveBmp1")->trigger();
  QVERIFY(p.dialogs.errors.empty());
  QCOMPARE(p.dialogs.saveRequests.back().defaultExtension, QStringLiteral("BMP"));
  QCOMPARE(p.dialogs.saveRequests.back().filter,
           std::string("Windows-Bitmap *.BMP)|*.BMP|All files|*.*"));
  QCOMPARE(Rgb(QImage(Q(bmp), "BMP")), Rgb(p.form().drawing().SceneBitmap()));
  QCOMPARE(p.state().currentSaveName, saveName);
}

void PictureOutputTest::metafileCopiesAndSavesReplaceTheClipboard() {
  StartedProgram p;
  p.Start({Q(p.Example("quartz-piezoelectric.ten"))});
  QVERIFY(p.EndSplash());
  Item(p.form(), "CopyAsEnhancedMetafile1")->trigger();
  QVERIFY(p.dialogs.errors.empty());
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  QVERIFY(data->hasFormat(QStringLiteral("image/emf")));
  QVERIFY(data->hasFormat(QStringLiteral("image/x-emf")));
  QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
  const std::string emf = p.form().pictures().MetaPicture();
  QCOMPARE(Int32At(emf, 0), 1);                      // the header record
  QCOMPARE(emf.substr(40, 4), std::string(" EMF"));  // its signature
  QCOMPARE(data->data(QStringLiteral("image/emf")).toStdString(), emf);

  Item(p.form(), "CopyAsStandardMetafile1")->trigger();
  data = QGuiApplication::clipboard()->mimeData();
  QVERIFY(data->hasFormat(QStringLiteral("image/wmf")));
  QVERIFY(data->hasFormat(QStringLiteral("image/x-wmf")));
  QVERIFY(!data->hasFormat(QStringLiteral("image/emf")));
  QCOMPARE(static_cast<std::uint32_t>(Int32At(p.form().pictures().MetaPicture(), 0)), 0x9AC6CDD7u);
  // The enhanced copy after a standard one is enhanced again.
  Item(p.form(), "CopyAsEnhancedMetafile1")->trigger();
  QCOMPARE(Int32At(p.form().pictures().MetaPicture(), 0), 1);

  // Saving replaces the clipboard, proposes the tensor file's name and folder, and leaves the
  // tensor file's save name alone.
  QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
  const auto saved = p.root() / "saved.EMF";
  const std::string saveName = p.state().currentSaveName;
  p.dialogs.saveAnswers.push_back(Q(saved));
  Item(p.form(), "SaveEmf1")->trigger();
  QVERIFY(p.dialogs.errors.empty());
  QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/emf")));
  QCOMPARE(ReadFile(saved), p.form().pictures().MetaPicture());
  QCOMPARE(p.dialogs.saveRequests.back().proposedPath, Q(p.root() / "quartz-piezoelectric.EMF"));
  QCOMPARE(p.state().currentSaveName, saveName);
  const auto svg = p.root() / "saved.svg";
  QCOMPARE(Run(QStringLiteral("emf2svg-conv"),
               {QStringLiteral("-i"), Q(saved), QStringLiteral("-o"), Q(svg)}),
           0);
  QVERIFY(ReadFile(svg).find("<path") != std::string::npos);

  const auto wmf = p.root() / "saved.WMF";
  p.dialogs.saveAnswers.push_back(Q(wmf));
  Item(p.form(), "SaveWmf1")->trigger();
  QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/wmf")));
  QCOMPARE(ReadFile(wmf), p.form().pictures().MetaPicture());
  QCOMPARE(Run(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), Q(p.root() / "wmf.svg"), Q(wmf)}),
           0);
  QVERIFY(ReadFile(p.root() / "wmf.svg").find("<polygon") != std::string::npos);
  QCOMPARE(p.dialogs.saveRequests.back().filter,
           std::string("Standard Metafile *.WMF)|*.WMF|All files|*.*"));
}

void PictureOutputTest::tallWindowKeepsWidthA0WithinTheScreen() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  const QSize screen = p.form().screen()->size();
  const int a0 = std::min(screen.width(), screen.height());
  p.form().resize(300, screen.height() * 2);
  p.form().DrawingArea()->resize(250, screen.height() * 2);
  Item(p.form(), "CopyAsEnhancedMetafile1")->trigger();
  const std::string emf = p.form().pictures().MetaPicture();
  // The header's bounds: right = a0 - 1, bottom within the screen.
  QCOMPARE(Int32At(emf, 16) + 1, a0);
  QVERIFY(Int32At(emf, 20) + 1 <= screen.height());
  QVERIFY(Int32At(emf, 20) > 0);
}

void PictureOutputTest::pngSvgAndPdfAtTheMetafileSize() {
  StartedProgram p;
  p.Start({Q(p.Example("quartz-piezoelectric.ten"))});
  QVERIFY(p.EndSplash());
  const QSize screen = p.form().screen()->size();
  const int a0 = std::min(screen.width(), screen.height());
  const auto png = p.root() / "p.PNG";
  const auto svg = p.root() / "p.SVG";
  const auto pdf = p.root() / "p.PDF";
  p.dialogs.saveAnswers.push_back(Q(png));
  Item(p.form(), "SavePng1")->trigger();
  const QString pngMessage = p.form().statusBar()->currentMessage();
  p.dialogs.saveAnswers.push_back(Q(svg));
  Item(p.form(), "SaveSvg1")->trigger();
  p.dialogs.saveAnswers.push_back(Q(pdf));
  Item(p.form(), "SavePdf1")->trigger();
  QVERIFY(p.dialogs.errors.empty());
  const QImage image(Q(png), "PNG");
  QCOMPARE(image.width(), a0);
  // The status line names the size of the picture as written.
  QCOMPARE(pngMessage, QStringLiteral("PNG picture: %1 x %2 pixels written to p.PNG")
                           .arg(image.width())
                           .arg(image.height()));
  QVERIFY(test::GreenPixels(image) > 100 && test::RedPixels(image) > 100);
  QVERIFY(ReadFile(svg).find("<svg") != std::string::npos);
  QCOMPARE(Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                            QStringLiteral("48"), Q(pdf), Q(p.root() / "page")}),
           0);
  const QImage page(Q(p.root() / "page-1.png"));
  QVERIFY(test::GreenPixels(page) > 50 && test::RedPixels(page) > 50);
}

void PictureOutputTest::failedSaveKeepsTheEarlierFile() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  // A folder stands where the picture should go: the rename fails and is reported.
  const auto blocked = p.root() / "blocked.EMF";
  std::filesystem::create_directory(blocked);
  p.dialogs.saveAnswers.push_back(Q(blocked));
  Item(p.form(), "SaveEmf1")->trigger();
  QCOMPARE(p.dialogs.errors.size(), std::size_t{1});
  QVERIFY(std::filesystem::is_directory(blocked));
  QVERIFY(NoTemporaryFiles(p.root()));
}

void PictureOutputTest::printsIntoPdfAndEscapeAborts() {
  StartedProgram p;
  p.Start({Q(p.Example("quartz-piezoelectric.ten"))});
  QVERIFY(p.EndSplash());
  // Cancelled: nothing printed, nothing said.
  p.dialogs.printAnswers.push_back(std::nullopt);
  Item(p.form(), "Print1")->trigger();
  QCOMPARE(p.dialogs.printRequests, 1);
  QVERIFY(p.dialogs.shown.empty());

  const auto pdf = p.root() / "printed.pdf";
  p.dialogs.printAnswers.push_back(Q(pdf));
  Item(p.form(), "SpeedPrint")->trigger();
  QVERIFY(p.dialogs.errors.empty());
  QVERIFY(p.dialogs.shown.empty());
  QCOMPARE(Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                            QStringLiteral("72"), Q(pdf), Q(p.root() / "printed")}),
           0);
  const QImage page(Q(p.root() / "printed-1.png"));
  QVERIFY(!page.isNull());
  QVERIFY2(test::GreenPixels(page) > 50 && test::RedPixels(page) > 50,
           qPrintable(QStringLiteral("%1 green, %2 red")
                          .arg(test::GreenPixels(page))
                          .arg(test::RedPixels(page))));

  // Escape while the page is painted: the job stops, the message comes once, no file.
  const auto aborted = p.root() / "aborted.pdf";
  p.dialogs.printAnswers.push_back(Q(aborted));
  QTimer::singleShot(0, &p.form(), [&] { QTest::keyClick(&p.form(), Qt::Key_Escape); });
  Item(p.form(), "Print1")->trigger();
  QCOMPARE(p.dialogs.shown, std::vector<std::string>{"Printing has been aborted"});
  QVERIFY(!std::filesystem::exists(aborted));
  QVERIFY(Child<QLabel>(p.form(), "BusyCover")->isHidden());
  // Each print dialog offers the output file chosen the time before.
  QCOMPARE(p.dialogs.printerFilesOffered.back(), Q(pdf));
  p.dialogs.printAnswers.push_back(std::nullopt);
  Item(p.form(), "Print1")->trigger();
  QCOMPARE(p.dialogs.printerFilesOffered.back(), Q(aborted));
}

void PictureOutputTest::wideWindowKeepsTheLegendInsideThePicture() {
  StartedProgram p;
  p.Start({Q(p.Example("quartz-piezoelectric.ten"))});
  QVERIFY(p.EndSplash());
  p.form().resize(1300, 560);
  p.form().DrawingArea()->resize(1200, 480);
  p.form().viewControls().SetScale(true);  // the legend on
  QVERIFY(p.state().view.showScale);
  const auto svg = p.root() / "wide.SVG";
  p.dialogs.saveAnswers.push_back(Q(svg));
  Item(p.form(), "SaveSvg1")->trigger();
  QVERIFY(p.dialogs.errors.empty());

  // Every text of the legend (its numbers, the "10" with its exponent and the unit) stands
  // inside the picture's height; only the axis captions may lie beyond, as the surface does.
  const std::string text = ReadFile(svg);
  const std::size_t box = text.find("viewBox=\"");
  QVERIFY(box != std::string::npos);
  std::istringstream numbers(text.substr(box + 9));
  double x0 = 0, y0 = 0, width = 0, height = 0;
  numbers >> x0 >> y0 >> width >> height;
  QVERIFY(width > 1.4 * height);
  QStringList legend;
  for (std::size_t at = text.find("<text "); at != std::string::npos;
       at = text.find("<text ", at + 1)) {
    const std::size_t end = text.find("</text>", at);
    const std::string content =
        text.substr(text.rfind('>', end) + 1, end - text.rfind('>', end) - 1);
    if (content == "x" || content == "y" || content == "z") continue;
    const double y = std::stod(text.substr(text.find(" y=\"", at) + 4));
    QVERIFY2(y <= height,
             qPrintable(QString::fromStdString(content) + " at y " + QString::number(y)));
    legend << QString::fromStdString(content);
  }
  QVERIFY2(legend.contains("10") && legend.contains("C/N"), qPrintable(legend.join(' ')));
}

void PictureOutputTest::printedPictureFillsThePageWithTheLegendApart() {
  StartedProgram p;
  p.Start({Q(p.Example("quartz-piezoelectric.ten"))});
  QVERIFY(p.EndSplash());
  p.form().viewControls().SetScale(true);
  const auto pdf = p.root() / "page.pdf";
  p.dialogs.printAnswers.push_back(Q(pdf));
  Item(p.form(), "Print1")->trigger();
  QVERIFY(p.dialogs.errors.empty());

  // The drawn part of the page (anything darker than the near-white background) spans most of
  // the printable width.
  QCOMPARE(Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                            QStringLiteral("36"), Q(pdf), Q(p.root() / "page")}),
           0);
  const QImage page = Rgb(QImage(Q(p.root() / "page-1.png")));
  QVERIFY(!page.isNull());
  int left = page.width(), right = -1;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 200) left = std::min(left, x), right = std::max(right, x);
  QVERIFY2(
      right - left > page.width() / 2,
      qPrintable(
          QStringLiteral("drawn from x %1 to %2 of %3").arg(left).arg(right).arg(page.width())));

  // No two words of the page overlap (the legend's "10" and its numbers in particular). A
  // word's box holds the font's whole ascent and descent, so boxes of words on neighbouring
  // lines touch: an overlap is a shared area of more than a quarter of the smaller box.
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), Q(pdf), QStringLiteral("-")});
  QVERIFY(text.waitForFinished(60000));
  const QString html = QString::fromUtf8(text.readAllStandardOutput());
  const QRegularExpression word(QStringLiteral(
      R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re"));
  std::vector<std::pair<QRectF, QString>> words;
  for (auto m = word.globalMatch(html); m.hasNext();) {
    const auto w = m.next();
    words.push_back({QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                            QPointF(w.captured(3).toDouble(), w.captured(4).toDouble())),
                     w.captured(5)});
  }
  QVERIFY2(words.size() >= 4, qPrintable(html));
  for (std::size_t a = 0; a < words.size(); ++a)
    for (std::size_t b = a + 1; b < words.size(); ++b) {
      const QRectF shared = words[a].first.intersected(words[b].first);
      const double smaller = std::min(words[a].first.width() * words[a].first.height(),
                                      words[b].first.width() * words[b].first.height());
      QVERIFY2(shared.width() * shared.height() <= smaller / 4,
               qPrintable(words[a].second + " overlaps " + words[b].second));
    }
}

}  // namespace quillmere

QTEST_MAIN(quillmere::PictureOutputTest)
#include "picture_output_test.moc"
