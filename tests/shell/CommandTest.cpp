// Every button runs its command on the bench, with what the student typed, and the window
// shows the outcome: table, protocol box, option boxes and plot.
#include <QAccessible>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "Error.h"
#include "MainWindowFixture.h"
#include "PlotChart.h"

namespace velmora::test {
namespace {

struct Typed {
    int row;
    const char* text;
};

struct CommandCase {
    const char* name;
    std::vector<Typed> typed;
    bool fixAngle;
    bool recordProtocol;
    const char* button;
    std::vector<Typed> shown;  ///< rows and the values they must show afterwards
    int protocolLines;
    PlotPoint tip;  ///< the arrowhead's tip on the plot
};

const CommandCase kCommands[] = {
    {"move with the defaults",
     {},
     true,
     false,
     "Button2",
     {{2, "1"}, {3, "0"}, {6, "-----"}},
     0,
     {2, 0}},
    {"move turning by a typed 90 first",
     {{0, "90"}},
     false,
     false,
     "Button2",
     {{6, "90"}, {3, "1"}},
     0,
     {0, 2}},
    {"move backwards, recorded",
     {{1, " -3 "}},
     true,
     true,
     "Button2",
     {{2, "-3"}, {3, "0"}},
     5,
     {-2, 0}},
    {"turn plus",
     {},
     true,
     false,
     "Button4",
     {{6, "5"}, {2, "0"}, {3, "0"}},
     0,
     {std::cos(5 * 3.1415926535 / 180), std::sin(5 * 3.1415926535 / 180)}},
    {"turn minus by a typed 90", {{0, "90"}}, true, false, "Button3", {{6, "-90"}}, 0, {0, -1}},
    {"step x with a comma",
     {{1, "-2,5"}},
     true,
     false,
     "Button6",
     {{2, "-2.5"}, {3, "-----"}},
     0,
     {-1.5, 0}},
    {"step y with a point, recorded",
     {{1, "2.0"}},
     true,
     true,
     "Button7",
     {{3, "2"}, {2, "-----"}},
     5,
     {1, 2}},
    {"go to the typed start",
     {{4, "3"}, {5, "4"}},
     true,
     false,
     "Button10",
     {{2, "3"}, {3, "4"}},
     0,
     {4, 4}},
    {"record", {}, true, false, "Button12", {{2, "-----"}}, 5, {1, 0}},
    {"erase", {}, true, false, "Button5", {{8, "0"}}, 0, {1, 0}},
    {"reset puts typed inputs back",
     {{0, "45"}, {1, "7"}, {4, "2"}},
     true,
     true,
     "Button1",
     {{0, "5"}, {1, "1"}, {4, "0"}, {5, "0"}, {8, "-----"}},
     0,
     {1, 0}},
};

QString ProtocolText(const TForm1& form) {
    return Control<QPlainTextEdit>(form, "Memo1")->toPlainText();
}

/// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

}  // namespace

class CommandTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { form_ = ShowMainWindow(); }
    void cleanup() { form_.reset(); }

    void ButtonRunsItsCommand_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kCommands)); ++i) {
            QTest::newRow(kCommands[i].name) << i;
        }
    }
    void ButtonRunsItsCommand() {
        QFETCH(int, index);
        const CommandCase& c = kCommands[index];
        Control<QCheckBox>(*form_, "CheckBox1")->setChecked(c.fixAngle);
        Control<QCheckBox>(*form_, "CheckBox3")->setChecked(c.recordProtocol);
        for (const Typed& typed : c.typed) {
            TypeValue(*form_, typed.row, QString::fromUtf8(typed.text));
        }
        Click(Control<QPushButton>(*form_, c.button));

        for (const Typed& shown : c.shown) {
            QCOMPARE(ShownValue(*form_, shown.row), QString::fromUtf8(shown.text));
        }
        const QString protocol = ProtocolText(*form_);
        QCOMPARE(protocol.isEmpty() ? 0 : int(protocol.split(QLatin1Char('\n')).size()),
                 c.protocolLines);
        const auto marker = Control<PlotChart>(*form_, "Chart1")->ShownPoints(Layer::ProbeMarker);
        QCOMPARE(int(marker.size()), 3);
        QVERIFY2(std::abs(marker[1].X - c.tip.X) < 1e-9 && std::abs(marker[1].Y - c.tip.Y) < 1e-9,
                 qPrintable(QStringLiteral("tip at %1, %2").arg(marker[1].X).arg(marker[1].Y)));
        QCOMPARE(Control<PlotChart>(*form_, "Chart1")->ShownPoints(Layer::Trace).size(),
                 form_->Lab().Scene().Points(Layer::Trace).size());
    }

    // The bench buttons of the window definition carry the captions of the command table.
    void ButtonCaptionsAreTheCommandTable() {
        const std::pair<const char*, Command> kButtons[] = {
            {"Button1", Command::Reset},         {"Button2", Command::Move},
            {"Button3", Command::RotateMinus},   {"Button4", Command::RotatePlus},
            {"Button5", Command::EraseProtocol}, {"Button6", Command::StepX},
            {"Button7", Command::StepY},         {"Button10", Command::GoToStart},
            {"Button12", Command::RecordValues},
        };
        static_assert(std::size(kButtons) == kCommandNames.size());
        for (const auto& [button, command] : kButtons) {
            QCOMPARE(Control<QPushButton>(*form_, button)->text(),
                     QString::fromStdU16String(std::u16string(NameOf(command).Caption)));
        }
    }

    void RecordWritesTheEntryAfterTheStudentsText_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty box") << QString();
        QTest::newRow("a line of the student's") << QStringLiteral("Опыт 1");
        QTest::newRow("ending in a line break") << QStringLiteral("Опыт 1\n");
    }
    void RecordWritesTheEntryAfterTheStudentsText() {
        QFETCH(QString, typed);
        auto* memo = Control<QPlainTextEdit>(*form_, "Memo1");
        memo->setFocus();
        TypeText(memo, typed);
        Click(Control<QPushButton>(*form_, "Button12"));
        QString expected = typed;
        if (!expected.isEmpty() && !expected.endsWith(QLatin1Char('\n'))) {
            expected += QLatin1Char('\n');
        }
        expected += QStringLiteral("x (см):0\ny (см):0\nУгол датчика:0\nB (Тл):0\n ");
        QCOMPARE(memo->toPlainText(), expected);
        Click(Control<QPushButton>(*form_, "Button12"));
        QCOMPARE(memo->toPlainText(),
                 expected + QStringLiteral("\nx (см):0\ny (см):0\nУгол датчика:0\nB (Тл):0\n "));
        // Erasing empties the box, the student's text included.
        Click(Control<QPushButton>(*form_, "Button5"));
        QCOMPARE(memo->toPlainText(), QString());
        Click(Control<QPushButton>(*form_, "Button12"));
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("x (см):0\n")));
    }

    void OptionBoxesChangeNothingUntilACommandReadsThem() {
        auto* sum = Control<QCheckBox>(*form_, "CheckBox2");
        QTest::mouseClick(sum, Qt::LeftButton);
        QVERIFY(form_->Lab().Options().SumCirculation);
        QCOMPARE(ShownValue(*form_, 8), QStringLiteral("-----"));
        Click(Control<QPushButton>(*form_, "Button2"));
        QVERIFY(ShownValue(*form_, 8) != QStringLiteral("-----"));
        QTest::mouseClick(Control<QCheckBox>(*form_, "CheckBox1"), Qt::LeftButton);
        QVERIFY(!form_->Lab().Options().FixAngle);
        // Reset ticks the first box again and clears the others.
        Click(Control<QPushButton>(*form_, "Button1"));
        QVERIFY(Control<QCheckBox>(*form_, "CheckBox1")->isChecked());
        QVERIFY(!sum->isChecked());
        QVERIFY(!form_->Lab().Options().SumCirculation);
    }

    void TypedOutputStaysUntilACommandWritesThatRow() {
        TypeValue(*form_, 7, QStringLiteral("заметка"));
        TypeValue(*form_, 8, QStringLiteral("42"));
        QCOMPARE(ShownValue(*form_, 7), QStringLiteral("заметка"));
        Click(Control<QPushButton>(*form_, "Button4"));
        QVERIFY(ShownValue(*form_, 7) != QStringLiteral("заметка"));
        QCOMPARE(ShownValue(*form_, 8), QStringLiteral("42"));
    }

    void FailedCommandKeepsTheTypedTextAndChangesNothing() {
        TypeValue(*form_, 0, QStringLiteral("abc"));
        const QString angle = ShownValue(*form_, 6);
        QVERIFY_THROWS_EXCEPTION(EConvertError, form_->Button4Click());
        try {
            form_->Button4Click();
        } catch (const Error& error) {
            QCOMPARE(QString::fromStdU16String(error.Message()),
                     QStringLiteral("'abc' is not a valid floating point value"));
        }
        QCOMPARE(ShownValue(*form_, 0), QStringLiteral("abc"));
        QCOMPARE(ShownValue(*form_, 6), angle);
        QVERIFY(form_->Lab().State().ProbeAngle == 0);
    }

    void PlotKeepsOneSceneOverManyResets() {
        for (int i = 0; i < 5; ++i) {
            Click(Control<QPushButton>(*form_, "Button1"));
        }
        const auto* chart = Control<PlotChart>(*form_, "Chart1");
        const std::pair<Layer, std::size_t> counts[] = {{Layer::ProbeMarker, 3},
                                                        {Layer::WireSections, 2},
                                                        {Layer::Trace, 0},
                                                        {Layer::AxisLineX, 2},
                                                        {Layer::AxisLineY, 2}};
        for (const auto& [layer, count] : counts) {
            QCOMPARE(chart->ShownPoints(layer).size(), count);
            QVERIFY(chart->ShownPoints(layer) == form_->Lab().Scene().Points(layer));
        }
    }

    void PlotRedrawsOnceAfterACommand() {
        PaintCounter counter;
        QWidget* canvas = Control<PlotChart>(*form_, "Chart1")->Canvas();
        Settle();
        canvas->installEventFilter(&counter);
        Control<QCheckBox>(*form_, "CheckBox3")->setChecked(true);
        // Move changes the marker, the trace and rows: all show in one redraw, after the
        // command has returned.
        form_->Button2Click();
        QCOMPARE(counter.paints, 0);
        Settle();
        QCOMPARE(counter.paints, 1);
        canvas->removeEventFilter(&counter);
    }

    void ScreenReaderReadsEachValueWithItsKey() {
        auto* view = Control<QWidget>(*form_, "ValueListEditor1");
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
        QVERIFY(table != nullptr && table->tableInterface() != nullptr);
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Показания"));
        const auto cellName = [&](int row) {
            return table->tableInterface()->cellAt(row, 1)->text(QAccessible::Name);
        };
        QCOMPARE(cellName(6), QStringLiteral("Угол датчика (град): -----"));
        Click(Control<QPushButton>(*form_, "Button4"));
        QCOMPARE(cellName(6), QStringLiteral("Угол датчика (град): 5"));
        QCOMPARE(table->tableInterface()->cellAt(6, 0)->text(QAccessible::Name),
                 QStringLiteral("Угол датчика (град)"));
    }

    void ShowTimeResetIsDoneBeforeTheFirstPaint() {
        TForm1 fresh;
        QCOMPARE(ShownValue(fresh, 2), QStringLiteral("----"));
        QString atFirstPaint;
        struct FirstPaint : QObject {
            TForm1* form;
            QString* seen;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint && seen->isEmpty()) {
                    *seen = ShownValue(*form, 2);
                }
                return false;
            }
        } watch;
        watch.form = &fresh;
        watch.seen = &atFirstPaint;
        QWidget* rows = Control<ReadoutView>(fresh, "ValueListEditor1")->viewport();
        rows->installEventFilter(&watch);
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        rows->removeEventFilter(&watch);
        QCOMPARE(atFirstPaint, QStringLiteral("-----"));
    }

  private:
    std::unique_ptr<TForm1> form_;
};

QObject* NewCommandTest() {
    return new CommandTest;
}

}  // namespace velmora::test

#include "CommandTest.moc"
