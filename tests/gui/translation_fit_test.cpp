// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption of every designed window fits its control, in the control's
// own font, in the language this executable was built for: the windows have
// fixed sizes, so a longer translation is cut off, not laid out again. Built
// twice: English is the control (it must always pass), Portuguese the check
// of the translation. A failure lists every misfit at once, so a translator
// can shorten them all in one pass.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QtMath>
#include <QtTest>
#include <algorithm>
#include <array>
#include <vector>

#include "accelerators.h"
#include "app/chart_window.h"
#include "app/choose_settings_dialog.h"
#include "app/fonts.h"
#include "app/guide_window.h"
#include "app/log_review_window.h"
#include "app/translation.h"
#include "app/vehicle_edit_dialog.h"
#include "gui_test_main.h"
#include "records/vehicle_store.h"
#include "scaled_screen.h"
#include "session/data_folder.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_file.h"
#include "ui_MainForm.h"
#include "ui_ProgramZelkForm.h"
#include "windows_fixture.h"

#ifndef ZELK_TEST_PORTUGUESE
#error "build with ZELK_TEST_PORTUGUESE 0 (English) or 1 (Portuguese)"
#endif

using zelk::test::Windows;

namespace {

constexpr bool kPortuguese = ZELK_TEST_PORTUGUESE != 0;

// Controls left out of both runs. The status text beside the menus shows
// what the program found (a file's name, a port) and grows with it. Every
// designed English caption fits; one that did not would be listed here too,
// as a translation cannot be held to more than the original.
struct Excluded {
  const char* window;
  const char* object;
};
constexpr std::array<Excluded, 1> kExcluded{{{"MainForm", "status_text"}}};

bool IsExcluded(const QString& window, const QString& object) {
  return std::any_of(kExcluded.begin(), kExcluded.end(), [&](const Excluded& e) {
    return window == QLatin1String(e.window) && object == QLatin1String(e.object);
  });
}

// The initStyleOption of each control is protected; a pointer to it taken
// through a derived class is not.
template <typename Widget>
struct StyleOptionAccess : Widget {
  using Widget::initStyleOption;
};

template <typename Option, typename Widget>
Option StyleOptionOf(const Widget& widget) {
  Option option;
  (widget.*(&StyleOptionAccess<Widget>::initStyleOption))(&option);
  return option;
}

// The text as drawn: "&x" shows x, "&&" shows one '&'.
QString WithoutMnemonics(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// Trailing blanks are invisible, and many designed captions end in one.
QString Visible(QString line) {
  while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
  return line;
}

bool IsNumber(const QString& text) {
  bool number = false;
  text.trimmed().toDouble(&number);
  return number;
}

struct Misfit {
  QString window;
  QString object;
  QString text;
  int needed;
  int available;
  const char* measure;  // "width" or "height"
};

class FitCheck {
 public:
  // Checks the controls of `window` itself, not those of windows it owns.
  void Window(const QString& name, QWidget& window) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      if (widget->window() != &window) continue;
      if (widget->objectName().startsWith(QLatin1String("qt_"))) continue;  // Qt's own parts
      Control(name, *widget);
    }
  }

  void Control(const QString& window, const QWidget& widget) {
    if (IsExcluded(window, widget.objectName())) return;
    Placed(window, widget);
    if (auto* label = qobject_cast<const QLabel*>(&widget)) {
      Label(window, *label);
    } else if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
      Button(window, *button);
    } else if (auto* box = qobject_cast<const QGroupBox*>(&widget)) {
      GroupBox(window, *box);
    }
  }

  QString Report() const {
    QString report = QStringLiteral("%1 of %2 captions do not fit their controls:\n")
                         .arg(misfits.size())
                         .arg(checked);
    for (const Misfit& m : misfits) {
      report += QStringLiteral("  %1 / %2: \"%3\" needs %4 px of %5, has %6\n")
                    .arg(m.window, m.object, m.text)
                    .arg(m.needed)
                    .arg(QLatin1String(m.measure))
                    .arg(m.available);
    }
    return report;
  }

  int checked = 0;
  std::vector<Misfit> misfits;

 private:
  void Compare(const QString& window, const QWidget& control, const QString& text, int needed,
               int available, const char* measure = "width") {
    if (needed > available) {
      misfits.push_back({window, control.objectName(), text, needed, available, measure});
    }
  }

  // Each line of `text` against `available` pixels across.
  void Lines(const QString& window, const QWidget& control, const QString& text, int available) {
    ++checked;
    const QFontMetrics metrics = control.fontMetrics();
    for (const QString& line : text.split(u'\n')) {
      Compare(window, control, line,
              std::max(metrics.horizontalAdvance(Visible(line)), ScaledWidth(control, line)),
              available);
    }
  }

  // The control's font as GDI draws it scaled: a whole number of device
  // pixels, hinted.
  static QFont ScaledFont(const QWidget& control) {
    QFont font = control.font();
    const qreal pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    font.setPixelSize(qRound(pixels * control.devicePixelRatioF()));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
  }

  // A line's height as Windows draws it scaled (as ScaledWidth), or 0.
  static int ScaledHeight(const QWidget& control) {
    const qreal scale = control.devicePixelRatioF();
    if (scale == 1.0 || InALayout(control)) return 0;
    return qCeil(QFontMetrics(ScaledFont(control)).height() / scale);
  }

  static bool Holds(const QLayout& layout, const QWidget& control) {
    for (int i = 0; i < layout.count(); ++i) {
      QLayoutItem* item = layout.itemAt(i);
      if (item->widget() == &control) return true;
      if (item->layout() != nullptr && Holds(*item->layout(), control)) return true;
    }
    return false;
  }

  static bool InALayout(const QWidget& control) {
    const QWidget* parent = control.parentWidget();
    return parent != nullptr && parent->layout() != nullptr && Holds(*parent->layout(), control);
  }

  // The width of a line as Windows draws it at a scaling factor, in
  // device-independent pixels: the font at a whole number of device pixels
  // (GDI has no fractional sizes) with each glyph's advance hinted to whole
  // device pixels. At 125 % and 150 % that is wider than the font's own
  // width scaled, by up to a pixel a glyph, which is what cuts a caption
  // that fits at 100 %. A control in a layout is sized by its size hint,
  // which on Windows is measured in that same font, so only a control of
  // fixed geometry can be cut.
  static int ScaledWidth(const QWidget& control, const QString& line) {
    const qreal scale = control.devicePixelRatioF();
    if (scale == 1.0 || InALayout(control)) return 0;
    const QFontMetrics device(ScaledFont(control));
    int width = 0;
    for (const QChar c : Visible(line)) width += device.horizontalAdvance(c);
    return qCeil(width / scale);
  }

  void Label(const QString& window, const QLabel& label) {
    QString text = label.text();
    if (label.textFormat() == Qt::RichText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
      text = QTextDocumentFragment::fromHtml(text).toPlainText();
    }
    // A label shows its '&' as a mnemonic only when it has a buddy.
    if (label.buddy() != nullptr) text = WithoutMnemonics(text);
    if (text.trimmed().isEmpty() || IsNumber(text)) return;  // live values
    const QFontMetrics metrics = label.fontMetrics();
    int margin = label.margin();
    int indent = label.indent();
    if (indent < 0) indent = label.frameWidth() > 0 ? metrics.horizontalAdvance(u'x') / 2 : 0;
    QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    if (label.alignment() & (Qt::AlignLeft | Qt::AlignRight)) room.adjust(indent, 0, 0, 0);
    if (!label.wordWrap()) {
      Lines(window, label, text, room.width());
      const int lines = static_cast<int>(text.count(u'\n')) + 1;
      if (lines > 1) {
        Compare(window, label, text, metrics.size(0, text).height(), room.height(), "height");
      }
      return;
    }
    ++checked;
    const QRect wrapped =
        metrics.boundingRect(room, Qt::TextWordWrap | int(label.alignment()), Visible(text));
    Compare(window, label, text, wrapped.width(), room.width());  // a word longer than the line
    Compare(window, label, text, wrapped.height(), room.height(), "height");
  }

  void Button(const QString& window, const QAbstractButton& button) {
    const QString text = WithoutMnemonics(button.text());
    if (text.trimmed().isEmpty()) return;
    QStyle* style = button.style();
    const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
    if (auto* box = qobject_cast<const QCheckBox*>(&button)) {
      const auto option = StyleOptionOf<QStyleOptionButton>(*box);
      Lines(window, button, text,
            style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width() - icon);
    } else if (auto* radio = qobject_cast<const QRadioButton*>(&button)) {
      const auto option = StyleOptionOf<QStyleOptionButton>(*radio);
      Lines(window, button, text,
            style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio).width() - icon);
    } else if (auto* push = qobject_cast<const QPushButton*>(&button)) {
      const auto option = StyleOptionOf<QStyleOptionButton>(*push);
      const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
      Lines(window, button, text, contents.width() - icon);
      // A line's height too, where a scaled font grows past a fixed button.
      if (const int height = ScaledHeight(button); height > 0)
        Compare(window, button, text, height, contents.height(), "height");
    } else if (auto* tool = qobject_cast<const QToolButton*>(&button)) {
      const auto option = StyleOptionOf<QStyleOptionToolButton>(*tool);
      if (option.toolButtonStyle == Qt::ToolButtonIconOnly) return;
      // The label is drawn inside the button's frame; beside the icon it
      // shares the width with it, under the icon it has the width alone.
      const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, tool);
      int room = style->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, tool)
                     .width() -
                 2 * frame;
      if (option.toolButtonStyle == Qt::ToolButtonTextBesideIcon) room -= icon;
      Lines(window, button, text, room);
    } else {
      ++checked;
      Compare(window, button, text, button.sizeHint().width(), button.width());
    }
  }

  // A control inside a group box lies inside its frame, and a group box
  // inside its parent: at a scaling factor whose rounding moves an edge, the
  // frame's bottom or right side is cut off, or a control crosses it.
  void Placed(const QString& window, const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    if (parent == nullptr || !widget.isVisibleTo(parent) || widget.isWindow()) return;
    QRect room = parent->rect();
    if (auto* box = qobject_cast<const QGroupBox*>(parent)) {
      const auto option = StyleOptionOf<QStyleOptionGroupBox>(*box);
      room =
          box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
      const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
      room.adjust(frame, frame, -frame, -frame);
      // The title's corner belongs to the box too: a check box may stand in
      // for the title there. The right and bottom edges are what scaling cuts.
      room.setTopLeft(QPoint(0, 0));
    } else if (qobject_cast<const QGroupBox*>(&widget) == nullptr) {
      return;
    }
    ++checked;
    const QRect placed = widget.geometry();
    if (room.contains(placed)) return;
    const int right = placed.right() - room.right();
    const int bottom = placed.bottom() - room.bottom();
    misfits.push_back({window, widget.objectName(),
                       QStringLiteral("%1,%2 %3x%4 in %5")
                           .arg(placed.x())
                           .arg(placed.y())
                           .arg(placed.width())
                           .arg(placed.height())
                           .arg(parent->objectName()),
                       std::max({right, bottom, room.left() - placed.left(), 0}), 0,
                       "place (px beyond)"});
  }

  void GroupBox(const QString& window, const QGroupBox& box) {
    const QString title = WithoutMnemonics(box.title());
    if (title.trimmed().isEmpty()) return;
    const auto option = StyleOptionOf<QStyleOptionGroupBox>(box);
    const QRect label =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    // The title starts in from the frame's left; it keeps as much from its right.
    Lines(window, box, title, box.width() - 2 * label.left());
  }
};

// Every window and dialog with a designed form, open as the program opens
// them: the compare and restore-points dialogs after a read, as File asks.
struct OpenWindows {
  OpenWindows() {
    w.OpenFileDialogs(dir.filePath(QStringLiteral("settings.zelk")));
    w.MainForm.ShowLiveChart();
    w.MainForm.ShowUserGuide();
    w.MainForm.show();
    w.Form2.show();
    w.ProgramForm.show();
    w.ProgramZelkForm.show();
    // The vehicle dialogs, with a vehicle on the bench whose history holds the read.
    const zelk::VehicleStore store(*zelk::VehiclesFolder().path);
    zelk::Vehicle car;
    car.id = "ABC1D23";
    car.name = "VW Gol 1.6 2012";
    store.Add(car);
    w.MainForm.ShowVehicles();
    w.MainForm.ChooseVehicle(car.id);
    w.MainForm.ShowVehicleTimeline();
    vehicle_form = new zelk::VehicleEditDialog(&w.MainForm, store, w.messages, nullptr);
    vehicle_form->show();
    const zelk::SettingsFile record = zelk::MakeSettingsFile(
        *w.MainForm.last_read(), "2.10", "2026-12-09T10:15:00Z", zelk::SaveReason::read);
    choose_settings =
        new zelk::ChooseSettingsDialog(&w.MainForm, record, zelk::TextsOfFile(record));
    choose_settings->show();
    log_review = zelk::LogReviewWindow::ShowLog(&w.MainForm, w.messages, CutLog());
  }

  // A log whose end was cut, so the review window shows its note.
  QString CutLog() {
    const QString path = dir.filePath(QStringLiteral("drive.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path;
    file.write(
        "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,"
        "raw\n0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.98,1176,ok,50c3e20400460080643c\n"
        "0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,\n0.9");
    return path;
  }
  ~OpenWindows() {
    for (const auto& [name, window] : All())
      if (window != nullptr) window->close();
  }

  std::vector<std::pair<QString, QWidget*>> All() {
    return {{QStringLiteral("MainForm"), &w.MainForm},
            {QStringLiteral("Form2"), &w.Form2},
            {QStringLiteral("ProgramForm"), &w.ProgramForm},
            {QStringLiteral("ProgramZelkForm"), &w.ProgramZelkForm},
            {QStringLiteral("ChartWindow"), w.MainForm.chart_window()},
            {QStringLiteral("GuideWindow"), w.MainForm.guide_window()},
            {QStringLiteral("CompareDialog"), w.MainForm.compare_dialog()},
            {QStringLiteral("RestorePointsDialog"), w.MainForm.restore_points_dialog()},
            {QStringLiteral("VehiclesDialog"), w.MainForm.vehicles_dialog()},
            {QStringLiteral("VehicleEditDialog"), vehicle_form},
            {QStringLiteral("VehicleTimelineDialog"), w.MainForm.timeline_dialog()},
            {QStringLiteral("ChooseSettingsDialog"), choose_settings},
            {QStringLiteral("LogReviewWindow"), log_review}};
  }

  QTemporaryDir dir;
  Windows w;
  QPointer<QWidget> vehicle_form;
  QPointer<QWidget> choose_settings;
  QPointer<QWidget> log_review;
};

}  // namespace

class TranslationFitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    zelk::LoadWindowFonts();
    zelk::UseLanguage(kPortuguese ? zelk::Language::portuguese : zelk::Language::english);
  }

  // Without this, an empty translation would pass the fit check trivially.
  void theWindowsSpeakTheLanguage() {
    Windows w;
    const QString read = w.MainForm.ui().ler->text();
    if (kPortuguese) {
      QVERIFY2(read != QStringLiteral("&Read "), qPrintable(read));
      QCOMPARE(read, QCoreApplication::translate("MainForm", "&Read "));
    } else {
      QCOMPARE(read, QStringLiteral("&Read "));
    }
  }

  // A translated caption may take another's Alt letter.
  void acceleratorsStayDistinct() {
    Windows w;
    const QStringList collisions =
        zelk::test::AcceleratorCollisions(w.MainForm, &w.MainForm.menu_bar());
    QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(QStringLiteral("; "))));
    QVERIFY(zelk::test::AcceleratorCollisions(w.Form2, nullptr).isEmpty());
  }

  void everyCaptionFitsItsControl() {
    OpenWindows open;
    FitCheck check;
    for (const auto& [name, window] : open.All()) {
      QVERIFY2(window != nullptr, qPrintable(name));
      QVERIFY2(QTest::qWaitForWindowExposed(window), qPrintable(name));
      check.Window(name, *window);
    }
    // The texts the program puts in place of designed ones: the other lambda
    // unit, Resume for Pause, and the title of each program on the engine.
    zelk::TMainForm& main = open.w.MainForm;
    main.ui().banda_larga->setChecked(!main.ui().banda_larga->isChecked());
    check.Control(QStringLiteral("MainForm"), *main.ui().Label20);
    main.chart_window()->SetPaused(true);
    main.chart_window()->layout()->activate();  // the button's new width
    check.Control(QStringLiteral("ChartWindow"),
                  *main.chart_window()->findChild<QPushButton*>(QStringLiteral("pause")));
    QLabel& title = *open.w.ProgramZelkForm.ui().mensagem;
    for (const char* program : {"RPM/Lambda Programming", "MAP Sensor Programming"}) {
      title.setText(QCoreApplication::translate("zelk::TProgramForm", program));
      check.Control(QStringLiteral("ProgramZelkForm"), title);
    }
    QVERIFY2(check.checked > 80, qPrintable(QString::number(check.checked)));
    // QtTest cuts a failure's text at 1 kB; the list goes out whole before it.
    if (!check.misfits.empty()) {
      qWarning().noquote() << check.Report();
      QFAIL("captions do not fit their controls: the list is above");
    }
  }
};

// As ZELK_GUI_TEST_MAIN, on the screen of the scaling factor under test.
int main(int argc, char** argv) {
  QTemporaryDir data_dir;
  if (!zelk::test::UseTestScreen(data_dir.path())) return 1;
  qputenv("ZELK_DATA_DIR", data_dir.path().toLocal8Bit());
  zelk::Application app(argc, argv);
  app.setApplicationName(QStringLiteral("Programable Zelk"));
  TranslationFitTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "translation_fit_test.moc"
