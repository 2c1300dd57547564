#include <gtest/gtest.h>

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
    for (int index = 0; index < kReadoutRowCount; ++index) {
        const ReadoutRow row = ReadoutRowAt(index);
        EXPECT_EQ(ToUtf8(table.RowText(row)), defined[index]) << "row " << index;
        EXPECT_EQ(RowOfKey(KeyOf(row)), row) << "row " << index;
    }
    // Matching a key is exact: another case, a blank or the bare "=" find nothing.
    for (const std::u16string_view key : {u"шаг (см)", u"Шаг (см) ", u"Шаг", u"", u"="}) {
        EXPECT_FALSE(RowOfKey(key).has_value()) << ToUtf8(key);
    }
}

TEST(ReadoutTable, ValuesAreKeptExactlyAsTyped) {
    ReadoutTable table;
    table.SetValue(ReadoutRow::Step, u" \t2,5 ");
    EXPECT_EQ(table.Value(ReadoutRow::Step), u" \t2,5 ");
    EXPECT_EQ(ToUtf8(table.RowText(ReadoutRow::Step)), "Шаг (см)= \t2,5 ");
    table.SetValue(ReadoutRow::Induction, u"1=2");
    EXPECT_EQ(ToUtf8(table.RowText(ReadoutRow::Induction)), "Индукция B (Тл)=1=2");
}

TEST(ReadoutTable, RowRevisionIsTheTableRevisionAtTheRowsLastChange) {
    ReadoutTable table;
    for (const ReadoutRow row : kReadoutRows) {
        EXPECT_EQ(table.RowRevision(row), 0u);
    }
    const auto start = table.Revision();
    table.SetValue(ReadoutRow::CurrentX, u"x");
    table.SetValue(ReadoutRow::Circulation, u"0");
    table.SetValue(ReadoutRow::StartX, u"3");
    EXPECT_EQ(table.Revision(), start + 3);
    // Reading changes nothing.
    (void)table.RowText(ReadoutRow::StartX);
    EXPECT_EQ(table.Revision(), start + 3);
    const struct {
        ReadoutRow row;
        unsigned long long revision;
    } cases[] = {{ReadoutRow::CurrentX, start + 1},
                 {ReadoutRow::Circulation, start + 2},
                 {ReadoutRow::StartX, start + 3},
                 {ReadoutRow::RotationStep, 0},
                 {ReadoutRow::Induction, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(table.RowRevision(c.row), c.revision) << static_cast<int>(c.row);
    }
}

}  // namespace
}  // namespace velmora
