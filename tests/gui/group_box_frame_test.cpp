// SPDX-License-Identifier: GPL-3.0-or-later
// The group boxes' frames: the clip the base style gets for a titled box's
// frame reaches one pixel past the frame's right and bottom (so that no
// rounding to device pixels cuts its last line), still cuts the title out,
// and a frame painted without a clip gets none.

#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QVBoxLayout>
#include <QtTest>
#include <optional>

#include "app/group_box_frame_style.h"
#include "gui_test_main.h"

namespace {

// Fusion, noting the clip each group box frame is drawn with (nullopt: none).
class RecordingStyle : public QProxyStyle {
 public:
  RecordingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("fusion"))) {}
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameGroupBox) {
      frames.push_back({option->rect, painter->hasClipping()
                                          ? std::optional<QRegion>(painter->clipRegion())
                                          : std::nullopt});
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  struct Frame {
    QRect rect;
    std::optional<QRegion> clip;
  };
  mutable std::vector<Frame> frames;
};

}  // namespace

class GroupBoxFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    recording_ = new RecordingStyle;
    QApplication::setStyle(new zelk::GroupBoxFrameStyle(recording_));
  }

  // The main window's boxes: a title cut out of the frame by the style sheet.
  void TitledBoxClipReachesPastTheFrame_data() {
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Instant Values") << QRect(263, 207, 523, 186);
    QTest::newRow("Operation") << QRect(8, 399, 778, 170);
    QTest::newRow("Correction") << QRect(527, 8, 259, 121);
  }
  void TitledBoxClipReachesPastTheFrame() {
    QFETCH(QRect, geometry);
    QWidget window;
    window.setStyleSheet(QStringLiteral("QGroupBox { font: bold italic 16px \"Arial\"; }"));
    window.resize(800, 600);
    auto* box = new QGroupBox(QStringLiteral("Instant Values"), &window);
    box->setGeometry(geometry);
    (void)window.grab();

    QVERIFY(!recording_->frames.empty());
    const RecordingStyle::Frame& frame = recording_->frames.back();
    QVERIFY(frame.clip.has_value());
    const QRect& r = frame.rect;
    const QRegion& clip = *frame.clip;
    for (const QRect& line : {QRect(r.left(), r.bottom(), r.width(), 1),  // bottom line
                              QRect(r.right(), r.top() + r.height() / 2, 1, r.height() / 2),
                              QRect(r.left(), r.bottom() + 1, r.width() + 1, 1),  // past it
                              QRect(r.right() + 1, r.top() + r.height() / 2, 1, 1)}) {
      QVERIFY2((QRegion(line) - clip).isEmpty(),
               qPrintable(QStringLiteral("%1,%2 %3x%4 outside the clip")
                              .arg(line.x())
                              .arg(line.y())
                              .arg(line.width())
                              .arg(line.height())));
    }
    // The title's middle stays cut out of the frame.
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    QVERIFY(!label.isEmpty());
    QVERIFY(!clip.contains(label.center()));
  }

  void FrameWithoutClipGetsNone() {
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QStyleOptionFrame option;
    option.rect = QRect(0, 8, 200, 92);
    option.palette = QApplication::palette();
    QApplication::style()->drawPrimitive(QStyle::PE_FrameGroupBox, &option, &painter);
    QCOMPARE(recording_->frames.size(), std::size_t{1});
    QVERIFY(!recording_->frames.back().clip.has_value());
  }

 private:
  RecordingStyle* recording_ = nullptr;  // owned by the application's style
};

ZELK_GUI_TEST_MAIN(GroupBoxFrameTest)
#include "group_box_frame_test.moc"
