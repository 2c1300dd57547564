#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ReadoutTable.h"
#include "Utf.h"

namespace velmora {
namespace {

TEST(ReadoutTable, HoldsTheNineRowsAsTheWindowDefinesThem) {
    const ReadoutTable table;
    const std::string defined[] = {
        "Угол поврота (град)=5",
        "Шаг (см)=1",
        "Текущая координата x (см)=----",
        "Текущая координата y (см)=----",
        "Начальная координата x (см)=0",
        "Начальная координата y (см)=0",
        "Угол датчика (град)=-----",
        "Индукция B (Тл)=-----",
        "Циркуляция (А)=----",
    };
    ASSERT_EQ(ReadoutTable::RowCount, 9);
    for (int row = 0; row < ReadoutTable::RowCount; ++row) {
        EXPECT_EQ(ToUtf8(table.RowText(row)), defined[row]) << "row " << row;
    }
}

TEST(ReadoutTable, FindsEachKeyAtItsRow) {
    const ReadoutTable table;
    const std::u16string_view keysInRowOrder[] = {
        keys::RotationStep, keys::Step,       keys::CurrentX,  keys::CurrentY,   keys::StartX,
        keys::StartY,       keys::ProbeAngle, keys::Induction, keys::Circulation};
    for (int row = 0; row < ReadoutTable::RowCount; ++row) {
        EXPECT_EQ(table.RowOfKey(keysInRowOrder[row]), row);
        EXPECT_EQ(table.Key(row), keysInRowOrder[row]);
    }
    // Matching is exact: another case, a blank or the bare "=" find nothing.
    for (const std::u16string_view key : {u"шаг (см)", u"Шаг (см) ", u"Шаг", u"", u"="}) {
        EXPECT_FALSE(table.RowOfKey(key).has_value()) << ToUtf8(key);
    }
}

TEST(ReadoutTable, InputsAreReadAndTypedByKeyExactlyAsTyped) {
    ReadoutTable table;
    table.SetInput(keys::Step, u" \t2,5 ");
    EXPECT_EQ(table.Input(keys::Step), u" \t2,5 ");
    EXPECT_EQ(ToUtf8(table.RowText(1)), "Шаг (см)= \t2,5 ");
    // A value may itself hold "=": only the first one separates the key.
    table.SetValue(0, u"a=b");
    EXPECT_EQ(table.Input(keys::RotationStep), u"a=b");
    EXPECT_THROW(table.Input(u"Шаг"), std::invalid_argument);
    EXPECT_THROW(table.SetInput(u"Шаг", u"1"), std::invalid_argument);
}

TEST(ReadoutTable, WholeRowTextSplitsAtTheFirstEquals) {
    ReadoutTable table;
    table.SetRowText(7, u"Индукция B (Тл)=1=2");
    EXPECT_EQ(table.Key(7), u"Индукция B (Тл)");
    EXPECT_EQ(table.Value(7), u"1=2");
    EXPECT_EQ(ToUtf8(table.RowText(7)), "Индукция B (Тл)=1=2");
}

TEST(ReadoutTable, EveryChangeOfARowGrowsTheRevision) {
    ReadoutTable table;
    const auto start = table.Revision();
    table.SetValue(2, u"x");
    EXPECT_EQ(table.Revision(), start + 1);
    table.SetRowText(8, u"Циркуляция (А)=0");
    EXPECT_EQ(table.Revision(), start + 2);
    table.SetInput(keys::StartX, u"3");
    EXPECT_EQ(table.Revision(), start + 3);
    // Reading changes nothing.
    (void)table.Input(keys::StartX);
    (void)table.RowText(4);
    EXPECT_EQ(table.Revision(), start + 3);
}

TEST(ReadoutTable, RowRevisionIsTheTableRevisionAtTheRowsLastChange) {
    ReadoutTable table;
    for (int row = 0; row < ReadoutTable::RowCount; ++row) {
        EXPECT_EQ(table.RowRevision(row), 0u) << row;
    }
    table.SetValue(2, u"x");
    const auto afterValue = table.Revision();
    table.SetRowText(8, u"Циркуляция (А)=0");
    const auto afterRowText = table.Revision();
    table.SetInput(keys::StartX, u"3");
    const struct {
        int row;
        unsigned long long revision;
    } cases[] = {{2, afterValue}, {8, afterRowText}, {4, table.Revision()}, {0, 0}, {7, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(table.RowRevision(c.row), c.revision) << c.row;
    }
    EXPECT_LT(afterValue, afterRowText);
}

}  // namespace
}  // namespace velmora
