// The in-memory table: typed fields, cutting to size, append, sorting in Polish order.
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/MemTable.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

#include <functional>

using namespace katarix::jet;

namespace {

QStringList column(MemTable &table, const QString &field)
{
    QStringList values;
    for (table.first(); !table.eof(); table.next())
        values.append(table.isNull(field) ? QStringLiteral("<null>") : table.asString(field));
    return values;
}

class MemTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        table.setObjectName(QStringLiteral("WynikMD"));
        table.addField(QStringLiteral("Osoba"), FieldType::Text, 5);
        table.addField(QStringLiteral("osoba_id"), FieldType::Float, 0, true);
        table.addField(QStringLiteral("Ilosc"), FieldType::Integer);
        table.addField(QStringLiteral("Adres"), FieldType::Text);
    }
    katarix::test::SeparatorGuard comma{QLatin1Char(',')};
    MemTable table;
};

TEST_F(MemTableTest, StoresValuesConvertedToTheFieldTypeAndCutToSize)
{
    table.open();
    table.append({QStringLiteral("Kowalski"), QStringLiteral("12,5"), 2.5, 300000001.0});
    table.appendRecord({{QStringLiteral("OSOBA_ID"), qlonglong(7)}, {QStringLiteral("osoba"), 12.25}});

    ASSERT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.recNo(), 2); // the appended row is current
    EXPECT_EQ(table.value(QStringLiteral("osoba")), QVariant(QStringLiteral("12,25")));
    EXPECT_EQ(table.value(QStringLiteral("osoba_id")), QVariant(7.0));
    EXPECT_TRUE(table.isNull(QStringLiteral("adres")));

    table.first();
    EXPECT_EQ(table.value(QStringLiteral("osoba")), QVariant(QStringLiteral("Kowal")));
    EXPECT_EQ(table.value(QStringLiteral("osoba_id")), QVariant(12.5));
    EXPECT_EQ(table.value(QStringLiteral("ilosc")), QVariant(qlonglong(2)));
    EXPECT_EQ(table.value(QStringLiteral("adres")), QVariant(QStringLiteral("300000001")));
    EXPECT_EQ(table.fieldSize(0), 5);
    EXPECT_EQ(table.fieldType(1), FieldType::Float);
}

TEST_F(MemTableTest, RefusesBadRowsWithPolishMessagesAndKeepsTheRest)
{
    struct Case {
        std::function<void()> append;
        QString message;
    };
    const Case cases[] = {
        {[&] { table.append({QStringLiteral("A")}); },
         QStringLiteral("WynikMD: Pole 'osoba_id' musi mieć wartość.")},
        {[&] { table.append({QStringLiteral("A"), QStringLiteral("dwa")}); },
         QStringLiteral("WynikMD: Pole 'osoba_id': 'dwa' nie jest prawidłową liczbą.")},
        {[&] { table.append({QStringLiteral("A"), 1.0, 2, QStringLiteral("x"), 5}); },
         QStringLiteral("WynikMD: Za dużo wartości: podano 5, a liczba pól tabeli to 4.")},
        {[&] { table.appendRecord({{QStringLiteral("Pesel"), 1}}); },
         QStringLiteral("WynikMD: Nie znaleziono pola 'Pesel'.")},
    };
    table.open();
    table.append({QStringLiteral("Nowak"), 1.0});
    for (const Case &c : cases) {
        try {
            c.append();
            ADD_FAILURE() << "no error for: " << c.message.toStdString();
        } catch (const JetError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
    EXPECT_EQ(column(table, QStringLiteral("osoba")), QStringList{QStringLiteral("Nowak")});

    table.close();
    EXPECT_EQ(table.recordCount(), 0);
    try {
        table.append({QStringLiteral("A"), 1.0});
        ADD_FAILURE() << "appended to a closed table";
    } catch (const JetError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("WynikMD: Nie można dopisać wiersza do zamkniętej tabeli."));
    }
}

TEST_F(MemTableTest, OpenTwiceKeepsRowsEmptyTableDropsThem)
{
    int opens = 0;
    QObject::connect(&table, &Dataset::afterOpen, [&] { ++opens; });
    table.open();
    table.append({QStringLiteral("A"), 1.0});
    table.open(); // already open: nothing happens
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(table.recordCount(), 1);
    table.emptyTable();
    EXPECT_TRUE(table.isOpen());
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.eof() && table.bof());
    table.append({QStringLiteral("B"), 2.0});
    EXPECT_EQ(column(table, QStringLiteral("OSOBA")), QStringList{QStringLiteral("B")});
}

struct SortCase {
    const char *name;
    const char *field;
    bool descending;
    QStringList expected; // the Adres column after sorting
};

class MemTableSort : public testing::TestWithParam<SortCase> {};

TEST_P(MemTableSort, OrdersRows)
{
    const SortCase &c = GetParam();
    MemTable table;
    table.addField(QStringLiteral("Adres"), FieldType::Text, 200);
    table.addField(QStringLiteral("Numer"), FieldType::Float);
    table.open();
    const QVariant rows[][2] = {
        {QStringLiteral("żabia 1"), 10.0},  {QStringLiteral("Zielona 2"), 2.0},
        {QStringLiteral("ala"), QVariant()}, {QStringLiteral("Ćmielowska"), -1.0},
        {QStringLiteral("cicha"), 100.0},  {QStringLiteral("Łąkowa"), 2.0},
        {QStringLiteral("lipowa"), 9.5},   {QStringLiteral("Ala"), 0.0},
        {QVariant(), 3.0},
    };
    for (const auto &row : rows)
        table.append({row[0], row[1]});
    int scrolls = 0;
    QObject::connect(&table, &Dataset::afterScroll, [&] { ++scrolls; });

    table.sortOnField(QString::fromLatin1(c.field), c.descending);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(column(table, QStringLiteral("adres")), c.expected);
}

const SortCase sortCases[] = {
    // Equal keys (ala/Ala, the two 2.0) keep their order of appending.
    {"TextAscendingPolishCaseInsensitive", "ADRES", false,
     {"<null>", "ala", "Ala", "cicha", "Ćmielowska", "lipowa", "Łąkowa", "Zielona 2", "żabia 1"}},
    {"TextDescending", "adres", true,
     {"żabia 1", "Zielona 2", "Łąkowa", "lipowa", "Ćmielowska", "cicha", "ala", "Ala", "<null>"}},
    {"NumbersByValue", "numer", false,
     {"ala", "Ćmielowska", "Ala", "Zielona 2", "Łąkowa", "<null>", "lipowa", "żabia 1", "cicha"}},
    {"NumbersDescendingNullLast", "Numer", true,
     {"cicha", "żabia 1", "lipowa", "<null>", "Zielona 2", "Łąkowa", "Ala", "Ćmielowska", "ala"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, MemTableSort, testing::ValuesIn(sortCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MemTable, SortOnUnknownFieldIsRefused)
{
    MemTable table;
    table.addField(QStringLiteral("Adres"), FieldType::Text);
    table.open();
    EXPECT_THROW(table.sortOnField(QStringLiteral("Ulica")), JetError);
    EXPECT_THROW(table.addField(QStringLiteral("ADRES"), FieldType::Text), JetError); // duplicate
}

} // namespace
