// What the readout table shows of a value cell: exactly what was typed, however long, yet
// a megabyte pasted into a cell is not laid out whole every time the table is drawn.
#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QTest>
#include <functional>
#include <vector>

#include "Bench.h"
#include "ReadoutModel.h"
#include "ReadoutTable.h"
#include "ReadoutView.h"

#include <QHeaderView>

using velmora::ReadoutModel;
using velmora::ReadoutTable;
using velmora::ReadoutView;

namespace {

std::u16string Repeated(std::u16string_view piece, std::size_t length) {
    std::u16string text;
    while (text.size() < length) {
        text += piece;
    }
    text.resize(length);
    return text;
}

QString Cell(const ReadoutModel& model, int row, int column, int role) {
    return model.data(model.index(row, column), role).toString();
}

}  // namespace

class ReadoutModelTest : public QObject {
    Q_OBJECT

  private slots:
    void ValueCellShowsItsText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const auto text = [](std::u16string_view piece, std::size_t length) {
            return QString::fromStdU16String(Repeated(piece, length));
        };
        QTest::newRow("a number") << QStringLiteral("2,5") << QStringLiteral("2,5");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("1000 characters, whole") << text(u"ab", 1000) << text(u"ab", 1000);
        QTest::newRow("1001 characters, the first 1000") << text(u"ab", 1001) << text(u"ab", 1000);
        QTest::newRow("a pasted megabyte, the first 1000")
            << text(u"abcабв", 1 << 20) << text(u"abcабв", 1000);
        // "𝑥" is a surrogate pair: one that the cut would halve is left out whole.
        QTest::newRow("a letter of two code units at the cut")
            << text(u"a", 999) + QStringLiteral("𝑥𝑥") << text(u"a", 999);
        QTest::newRow("a letter of two code units before the cut")
            << text(u"a", 998) + QStringLiteral("𝑥𝑥") << text(u"a", 998) + QStringLiteral("𝑥");
    }
    void ValueCellShowsItsText() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        velmora::Bench bench;
        const ReadoutTable& table = bench.Table();
        ReadoutModel model(bench);
        // Qt's own checks of a model's contract run on every change the test makes.
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.setData(model.index(4, ReadoutModel::kValueColumn), typed, Qt::EditRole));
        QCOMPARE(Cell(model, 4, ReadoutModel::kValueColumn, Qt::DisplayRole), shown);
        // The editor and the commands get the whole text.
        QCOMPARE(Cell(model, 4, ReadoutModel::kValueColumn, Qt::EditRole), typed);
        QCOMPARE(table.Value(velmora::ReadoutRowAt(4)), typed.toStdU16String());
        QCOMPARE(Cell(model, 4, ReadoutModel::kKeyColumn, Qt::DisplayRole),
                 QStringLiteral("Начальная координата x (см)"));
    }

    void RefreshReportsTheRowsWhoseTextChanged() {
        const QString megabyte = QString::fromStdU16String(Repeated(u"7,5e", 1 << 20));
        velmora::Bench bench;
        const ReadoutTable& table = bench.Table();
        ReadoutModel model(bench);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const struct {
            const char* name;
            std::function<void()> change;
            std::vector<int> rows;
        } steps[] = {
            {"nothing", [] {}, {}},
            {"typed into the table",
             [&] {
                 model.setData(model.index(4, ReadoutModel::kValueColumn), megabyte, Qt::EditRole);
             },
             {}},
            {"a row written with its own text",
             [&] { bench.Type(velmora::ReadoutRowAt(3), table.Value(velmora::ReadoutRowAt(3))); },
             {}},
            {"two rows written, one changed",
             [&] {
                 bench.Type(velmora::ReadoutRowAt(2), u"1,5");
                 bench.Type(velmora::ReadoutRowAt(3), table.Value(velmora::ReadoutRowAt(3)));
             },
             {2}},
            {"the last row written",
             [&] { bench.Type(velmora::ReadoutRow::Circulation, u"0"); },
             {8}},
            {"the typed row written by a command",
             [&] { bench.Type(velmora::ReadoutRowAt(4), u"0"); },
             {4}},
            {"the row typed again, then changed back behind the view",
             [&] {
                 model.setData(model.index(5, ReadoutModel::kValueColumn), megabyte, Qt::EditRole);
                 bench.Type(velmora::ReadoutRowAt(5), u"1");
                 bench.Type(velmora::ReadoutRowAt(5), megabyte.toStdU16String());
             },
             {}},
        };
        model.Refresh();
        for (const auto& step : steps) {
            step.change();
            QCOMPARE(model.Refresh(), step.rows);
            QCOMPARE(Cell(model, 4, ReadoutModel::kValueColumn, Qt::EditRole).size(),
                     QString::fromStdU16String(table.Value(velmora::ReadoutRowAt(4))).size());
        }
    }

    void LongValueLooksTheSameInTheTable() {
        // Beside the same text held whole by a plain model, the table draws the same pixels.
        const QString typed = QString::fromStdU16String(Repeated(u"7,5e", 20'000));
        velmora::Bench bench;
        ReadoutModel model(bench);
        model.setData(model.index(4, ReadoutModel::kValueColumn), typed, Qt::EditRole);
        QStandardItemModel whole(velmora::kReadoutRowCount, 2);
        whole.setHorizontalHeaderLabels(
            {model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString()});
        for (int row = 0; row < velmora::kReadoutRowCount; ++row) {
            for (int column = 0; column < 2; ++column) {
                whole.setData(whole.index(row, column),
                              model.data(model.index(row, column), Qt::EditRole));
            }
        }
        QImage pictures[2];
        QAbstractItemModel* models[2] = {&model, &whole};
        for (int i = 0; i < 2; ++i) {
            ReadoutView view;
            view.resize(249, 193);
            view.setModel(models[i]);
            // The value column as wide as the student can drag it.
            view.horizontalHeader()->resizeSection(ReadoutModel::kKeyColumn, 20);
            pictures[i] = view.grab().toImage();
        }
        QCOMPARE(pictures[0], pictures[1]);
    }
};

QTEST_MAIN(ReadoutModelTest)
#include "ReadoutModelTest.moc"
