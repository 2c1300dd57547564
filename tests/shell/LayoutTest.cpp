// The main window as defined: every control's place, size, caption and starting state, the
// tab order, the frame, the font and the centring on the desktop.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "DesignedArea.h"
#include "MainWindowFixture.h"
#include "PlotChart.h"
#include "ReadoutModel.h"
#include "ReadoutView.h"

namespace velmora::test {
namespace {

struct Placed {
    const char* name;
    const char* kind;
    const char* parent;
    QRect geometry;
    const char* caption;
};

// Positions relative to the parent: the plot's buttons and letters lie on the plot.
const Placed kControls[] = {
    {"Chart1", "velmora::PlotChart", "TForm1", {8, 8, 700, 700}, nullptr},
    {"Button9", "QPushButton", "Chart1", {0, 672, 137, 25}, "Копировать рисунок"},
    {"Button8", "QPushButton", "Chart1", {88, 0, 81, 25}, "Информация"},
    {"Button11", "QPushButton", "Chart1", {176, 0, 129, 25}, "Параметры установки"},
    {"Label2", "QLabel", "Chart1", {656, 312, 14, 25}, "X"},
    {"Label3", "QLabel", "Chart1", {320, 32, 13, 25}, "Y"},
    {"Button1", "QPushButton", "TForm1", {8, 8, 81, 25}, "Начать/Сброс"},
    {"Button2", "QPushButton", "TForm1", {720, 48, 73, 25}, "Сдвиг"},
    {"CheckBox1", "QCheckBox", "TForm1", {720, 112, 129, 17}, "Фиксировать угол"},
    {"Memo1", "QPlainTextEdit", "TForm1", {720, 400, 249, 281}, nullptr},
    {"CheckBox2", "QCheckBox", "TForm1", {720, 136, 169, 17}, "Рассчитывать циркуляцию"},
    {"CheckBox3", "QCheckBox", "TForm1", {720, 160, 137, 17}, "Записывать протокол"},
    {"Button5", "QPushButton", "TForm1", {896, 688, 75, 25}, "Стереть"},
    {"Button6", "QPushButton", "TForm1", {800, 48, 73, 25}, "Шаг по X"},
    {"Button7", "QPushButton", "TForm1", {880, 48, 73, 25}, "Шаг по Y"},
    {"Button3", "QPushButton", "TForm1", {800, 8, 75, 25}, "Поворот -"},
    {"Button4", "QPushButton", "TForm1", {720, 8, 75, 25}, "Поворот +"},
    {"Button10", "QPushButton", "TForm1", {720, 80, 73, 25}, "В начало"},
    {"ValueListEditor1", "velmora::ReadoutView", "TForm1", {720, 184, 249, 193}, nullptr},
    {"Button12", "QPushButton", "TForm1", {808, 688, 75, 25}, "Записать"},
    {"Label13", "QLabel", "TForm1", {720, 384, 49, 13}, "Протокол"},
};

QString CaptionOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    return {};
}

/// The named control that holds `widget` (the table's in-place editor belongs to the table).
QString OwnerName(QWidget* widget, const TForm1& form) {
    for (QWidget* w = widget; w != nullptr && w != &form; w = w->parentWidget()) {
        for (const Placed& control : kControls) {
            if (w->objectName() == QLatin1String(control.name)) {
                return w->objectName();
            }
        }
    }
    return widget == nullptr ? QStringLiteral("<none>") : widget->objectName();
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { form_ = ShowMainWindow(); }
    void cleanup() { form_.reset(); }

    void ControlPlaceSizeAndCaption_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kControls)); ++i) {
            QTest::newRow(kControls[i].name) << i;
        }
    }
    void ControlPlaceSizeAndCaption() {
        QFETCH(int, index);
        const Placed& expected = kControls[index];
        QWidget* control = Control<QWidget>(*form_, expected.name);
        QVERIFY(control->inherits(expected.kind));
        QCOMPARE(control->parentWidget()->objectName(), QLatin1String(expected.parent));
        QCOMPARE(control->geometry(), expected.geometry);
        QVERIFY(control->isVisible());
        if (expected.caption != nullptr) {
            QCOMPARE(CaptionOf(control), QString::fromUtf8(expected.caption));
            QVERIFY(!CaptionOf(control).contains(QLatin1Char('&')));
        }
    }

    void WindowFrameCaptionAndGround() {
        QCOMPARE(form_->windowTitle(),
                 QStringLiteral("Velmora - Исследование магнитного поля кругового тока"));
        // The designed client area fills the window, keeps its size in a larger window, and
        // the window can be maximised.
        QCOMPARE(form_->size(), QSize(1023, 737));
        const QWidget* client = Control<QWidget>(*form_, "TForm1");
        QCOMPARE(client->minimumSize(), QSize(1023, 737));
        QCOMPARE(client->maximumSize(), QSize(1023, 737));
        QCOMPARE(client->mapTo(form_.get(), QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(form_->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QVERIFY(form_->findChildren<QMenuBar*>().isEmpty());
        QVERIFY(form_->findChildren<QStatusBar*>().isEmpty());
        const auto* area = form_->findChild<DesignedArea*>();
        QVERIFY(area->viewport()->autoFillBackground());
        QCOMPARE(area->viewport()->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QVERIFY(!area->verticalScrollBar()->isVisible());
        // The button at the plot's corner lies in front of the plot.
        QCOMPARE(form_->childAt(10, 10)->objectName(), QStringLiteral("Button1"));
    }

    void FontsStandInForTheBenchFont() {
        const struct {
            const char* control;
            int pixels;
        } fonts[] = {{"Button2", 11}, {"CheckBox1", 11}, {"Memo1", 11},  {"ValueListEditor1", 11},
                     {"Label13", 11}, {"Button9", 11},   {"Label2", 21}, {"Label3", 21}};
        for (const auto& f : fonts) {
            const QFont font = Control<QWidget>(*form_, f.control)->font();
            QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
            QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
            QCOMPARE(font.pixelSize(), f.pixels);
        }
        // The face really has the Cyrillic letters of the captions.
        QVERIFY(QFontMetrics(form_->font()).inFontUcs4(U'Ж'));
    }

    void EveryCaptionFitsItsControl() {
        for (const Placed& control : kControls) {
            if (control.caption == nullptr) {
                continue;
            }
            const QWidget* widget = Control<QWidget>(*form_, control.name);
            // The room the style leaves for the caption inside the control.
            QRect room = widget->contentsRect();
            QStyleOptionButton option;
            option.initFrom(widget);
            option.text = CaptionOf(widget);
            if (qobject_cast<const QPushButton*>(widget) != nullptr) {
                room =
                    widget->style()->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
            } else if (qobject_cast<const QCheckBox*>(widget) != nullptr) {
                room =
                    widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, widget);
            }
            const QFontMetrics metrics(widget->font());
            QVERIFY2(metrics.horizontalAdvance(CaptionOf(widget)) <= room.width(), control.name);
            QVERIFY2(metrics.height() <= room.height(), control.name);
        }
    }

    void CentredOnTheDesktop() {
        const QRect desktop = form_->screen()->virtualGeometry();
        const QSize outer = form_->frameGeometry().size();
        const int left =
            std::max(desktop.left() + desktop.width() / 2 - outer.width() / 2, desktop.left());
        const int top =
            std::max(desktop.top() + desktop.height() / 2 - outer.height() / 2, desktop.top());
        QCOMPARE(form_->frameGeometry().topLeft(), QPoint(left, top));
    }

    void TabVisitsTheControlsInDefinedOrder() {
        QCOMPARE(OwnerName(QApplication::focusWidget(), *form_), QStringLiteral("Chart1"));
        const char* order[] = {"Button9",          "Button8",  "Button11",  "Button1",   "Button2",
                               "CheckBox1",        "Memo1",    "CheckBox2", "CheckBox3", "Button5",
                               "Button6",          "Button7",  "Button3",   "Button4",   "Button10",
                               "ValueListEditor1", "Button12", "Chart1"};
        for (const char* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(OwnerName(QApplication::focusWidget(), *form_), QLatin1String(next));
        }
        // And back again with Shift+Tab, out of the table's editor too.
        const char* back[] = {"Button12", "ValueListEditor1", "Button10"};
        for (const char* previous : back) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(OwnerName(QApplication::focusWidget(), *form_), QLatin1String(previous));
        }
    }

    void OptionBoxesAndProtocolAtStart() {
        QVERIFY(Control<QCheckBox>(*form_, "CheckBox1")->isChecked());
        QVERIFY(!Control<QCheckBox>(*form_, "CheckBox2")->isChecked());
        QVERIFY(!Control<QCheckBox>(*form_, "CheckBox3")->isChecked());
        const auto* memo = Control<QPlainTextEdit>(*form_, "Memo1");
        QCOMPARE(memo->toPlainText(), QString());
        QVERIFY(!memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->maximumBlockCount(), 0);
        QVERIFY(memo->tabChangesFocus());
    }

    void ReadoutTableAtStart() {
        const auto* view = Control<ReadoutView>(*form_, "ValueListEditor1");
        const QAbstractItemModel* model = view->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Название"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Значение"));
        const char* keys[] = {"Угол поврота (град)",
                              "Шаг (см)",
                              "Текущая координата x (см)",
                              "Текущая координата y (см)",
                              "Начальная координата x (см)",
                              "Начальная координата y (см)",
                              "Угол датчика (град)",
                              "Индукция B (Тл)",
                              "Циркуляция (А)"};
        const char* values[] = {"5", "1", "-----", "-----", "0", "0", "-----", "-----", "-----"};
        QCOMPARE(model->rowCount(), 9);
        QCOMPARE(model->columnCount(), 2);
        for (int row = 0; row < 9; ++row) {
            QCOMPARE(model->index(row, 0).data().toString(), QString::fromUtf8(keys[row]));
            QCOMPARE(ShownValue(*form_, row), QString::fromUtf8(values[row]));
            QCOMPARE(view->rowHeight(row), 19);  // 18 pixels and the grid line under them
            // Only value cells can be selected and edited, output rows included.
            QCOMPARE(model->flags(model->index(row, 0)), Qt::ItemIsEnabled);
            QVERIFY(model->flags(model->index(row, 1)).testFlag(Qt::ItemIsEditable));
            QVERIFY(model->flags(model->index(row, 1)).testFlag(Qt::ItemIsSelectable));
        }
        QCOMPARE(view->horizontalHeader()->height(), 19);
        // The title row and the nine rows fill the table, to a pixel under the last row.
        const int band = view->viewport()->height() - 9 * 19;
        QVERIFY2(band >= 0 && band <= 1, qPrintable(QString::number(band)));
        QVERIFY(view->showGrid());
        QVERIFY(view->verticalHeader()->isHidden());
        QCOMPARE(view->columnWidth(0), 155);
        QCOMPARE(view->columnWidth(0) + view->columnWidth(1), view->viewport()->width());
        QVERIFY(view->columnWidth(1) >= 88);
        QCOMPARE(view->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        QCOMPARE(view->currentIndex(), model->index(0, 1));
        QVERIFY(!view->verticalScrollBar()->isVisible());
    }

    void NameColumnKeepsWidthAndCannotBeChosen() {
        auto* view = Control<ReadoutView>(*form_, "ValueListEditor1");
        view->resize(349, 193);
        QCOMPARE(view->columnWidth(0), 155);
        QCOMPARE(view->columnWidth(0) + view->columnWidth(1), view->viewport()->width());
        view->resize(249, 193);
        const QModelIndex name = view->model()->index(3, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(name).center());
        QCOMPARE(view->currentIndex(), view->model()->index(0, 1));
        QVERIFY(!view->selectionModel()->isSelected(name));
        // The divider can be dragged either way; the values take the rest, without scroll bars.
        for (const int names : {160, 170, 120}) {
            view->horizontalHeader()->resizeSection(0, names);
            QCOMPARE(view->columnWidth(0), names);
            QCOMPARE(view->columnWidth(1), view->viewport()->width() - names);
            QVERIFY(!view->horizontalScrollBar()->isVisible());
        }
    }

    void InPlaceEditorFollowsTheFocus() {
        auto* view = Control<ReadoutView>(*form_, "ValueListEditor1");
        const QModelIndex first = view->model()->index(0, 1);
        QVERIFY(view->indexWidget(first) == nullptr);
        view->setFocus(Qt::TabFocusReason);
        QVERIFY(view->indexWidget(first) != nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(view->indexWidget(view->model()->index(1, 1)) != nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(view->currentIndex(), view->model()->index(1, 1));
        Control<QWidget>(*form_, "Button2")->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(view->indexWidget(view->model()->index(1, 1)) == nullptr);
    }

    void NoDefaultButtonEnterPressesTheFocusedOne() {
        for (QPushButton* button : form_->findChildren<QPushButton*>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(),
                     qPrintable(button->objectName()));
        }
        auto* turn = Control<QPushButton>(*form_, "Button4");
        turn->setFocus(Qt::TabFocusReason);
        QTest::keyClick(turn, Qt::Key_Return);
        QCOMPARE(ShownValue(*form_, 6), QStringLiteral("5"));
        QTest::keyClick(turn, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(ShownValue(*form_, 6), QStringLiteral("10"));
        QTest::keyClick(turn, Qt::Key_Escape);
        QCOMPARE(ShownValue(*form_, 6), QStringLiteral("10"));
        QVERIFY(form_->isVisible());
    }

    void EveryControlHasAnAccessibleName() {
        for (const Placed& control : kControls) {
            const QWidget* widget = Control<QWidget>(*form_, control.name);
            QVERIFY2(!widget->accessibleName().isEmpty(), control.name);
            if (control.caption != nullptr) {
                QCOMPARE(widget->accessibleName(), QString::fromUtf8(control.caption));
            }
        }
        QCOMPARE(Control<QWidget>(*form_, "Memo1")->accessibleName(), QStringLiteral("Протокол"));
        const auto* view = Control<ReadoutView>(*form_, "ValueListEditor1");
        QCOMPARE(view->model()->index(1, 1).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Шаг (см): 1"));
    }

    void AxisLinesAreCrispAlike() {
        // Each dotted axis line lies in one pixel column or row, in the layer's full green,
        // with no paler green smeared beside it.
        auto* chart = Control<PlotChart>(*form_, "Chart1");
        const QImage plot = chart->grab().toImage();
        const auto green = [&](int x, int y) { return plot.pixelColor(x, y) == QColor(0, 128, 0); };
        const auto tinted = [&](int x, int y) {
            const QColor c = plot.pixelColor(x, y);
            return c.green() > c.red() + 8 && c.red() == c.blue();
        };
        QList<int> inColumn(plot.width()), inRow(plot.height());
        for (int x = 0; x < plot.width(); ++x) {
            for (int y = 0; y < plot.height(); ++y) {
                if (green(x, y)) {
                    ++inColumn[x];
                    ++inRow[y];
                }
            }
        }
        // The lines: the columns and rows with more than 100 green pixels.
        const auto lines = [](const QList<int>& counts) {
            QList<int> found;
            for (int i = 0; i < counts.size(); ++i)
                if (counts[i] > 100)
                    found << i;
            return found;
        };
        const QList<int> columns = lines(inColumn), rows = lines(inRow);
        QCOMPARE(columns.size(), 1);
        QCOMPARE(rows.size(), 1);
        for (int y = 40; y < plot.height() - 60; ++y) {
            QVERIFY2(!tinted(columns[0] - 1, y) && !tinted(columns[0] + 1, y),
                     qPrintable(QString::number(y)));
        }
        for (int x = 60; x < plot.width() - 30; ++x) {
            QVERIFY2(!tinted(x, rows[0] - 1) && !tinted(x, rows[0] + 1),
                     qPrintable(QString::number(x)));
        }
    }

    void AxisLabelsFitInsideTheMargins() {
        const auto* chart = Control<PlotChart>(*form_, "Chart1");
        const QRect area = chart->DataArea();
        const QFontMetrics metrics(chart->font());
        // 3 % of the width left and right, 4 % of the height above and below, and the ticks
        // and labels inside that: "-20" at the left and the labels under the axis fit in 30
        // and 25 pixels.
        QVERIFY(area.left() >= 21 + metrics.horizontalAdvance(QStringLiteral("-20")));
        QVERIFY(700 - 1 - area.bottom() >= 28 + metrics.height());
        // Where no axis is drawn, the data area reaches the margins exactly.
        QCOMPARE(area, QRect(51, 28, 700 - 21 - 51, 700 - 28 - 53));
        QCOMPARE(chart->XRange(), PlotScene::kFixedXRange);
        QCOMPARE(chart->YRange(), PlotScene::kFixedYRange);
    }

  private:
    std::unique_ptr<TForm1> form_;
};

QObject* NewLayoutTest() {
    return new LayoutTest;
}

}  // namespace velmora::test

#include "LayoutTest.moc"
