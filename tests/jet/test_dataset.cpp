// The dataset interface: navigation, fields by name, locate, disabled controls.
#include "jet/Dataset.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"

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

// A dataset filled directly with rows, to exercise the shared interface on its own.
class RowsDataset : public Dataset {
public:
    void load(QStringList names, std::vector<FieldType> types, std::vector<std::vector<QVariant>> rows)
    {
        m_open = true;
        setRows(std::move(names), std::move(types), std::move(rows));
    }
    bool isOpen() const override { return m_open; }
    void close() override
    {
        m_open = false;
        setFields({}, {});
        clearRows();
    }

private:
    bool m_open = false;
};

std::vector<std::vector<QVariant>> numberedRows(int count)
{
    std::vector<std::vector<QVariant>> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({qlonglong(i)});
    return rows;
}

struct Position {
    int recNo;
    bool bof;
    bool eof;
};

struct NavigationCase {
    const char *name;
    int rows;
    std::function<void(Dataset &)> steps;
    Position expected;
};

class DatasetNavigation : public testing::TestWithParam<NavigationCase> {};

TEST_P(DatasetNavigation, EndsAtExpectedPosition)
{
    const NavigationCase &c = GetParam();
    RowsDataset dataset;
    dataset.load({QStringLiteral("N")}, {FieldType::Integer}, numberedRows(c.rows));
    c.steps(dataset);
    EXPECT_EQ(dataset.recNo(), c.expected.recNo);
    EXPECT_EQ(dataset.bof(), c.expected.bof);
    EXPECT_EQ(dataset.eof(), c.expected.eof);
    if (c.expected.recNo > 0) {
        EXPECT_EQ(dataset.asInteger(QStringLiteral("n")), c.expected.recNo);
    }
}

const NavigationCase navigationCases[] = {
    {"EmptyAfterOpen", 0, [](Dataset &) {}, {0, true, true}},
    {"EmptyAfterMoves", 0, [](Dataset &d) { d.next(); d.last(); d.prior(); d.setRecNo(3); }, {0, true, true}},
    {"OpenedOnFirstRow", 3, [](Dataset &) {}, {1, true, false}},
    {"NextLeavesBof", 3, [](Dataset &d) { d.next(); }, {2, false, false}},
    {"NextOnLastRowRaisesEof", 3, [](Dataset &d) { d.next(); d.next(); d.next(); d.next(); }, {3, false, true}},
    {"LastRaisesEof", 3, [](Dataset &d) { d.last(); }, {3, false, true}},
    {"PriorFromEofClearsIt", 3, [](Dataset &d) { d.last(); d.prior(); }, {2, false, false}},
    {"PriorOnFirstRowRaisesBof", 3, [](Dataset &d) { d.next(); d.prior(); d.prior(); }, {1, true, false}},
    {"FirstAfterEof", 3, [](Dataset &d) { d.last(); d.first(); }, {1, true, false}},
    {"SingleRowIsFirstAndLast", 1, [](Dataset &d) { d.next(); }, {1, false, true}},
    {"SetRecNoClearsFlags", 3, [](Dataset &d) { d.setRecNo(2); }, {2, false, false}},
    {"SetRecNoBeyondIsClamped", 3, [](Dataset &d) { d.setRecNo(9); }, {3, false, false}},
    {"SetRecNoOnSameRowKeepsEof", 3, [](Dataset &d) { d.last(); d.setRecNo(3); }, {3, false, true}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DatasetNavigation, testing::ValuesIn(navigationCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Dataset, WalkingFromFirstToEofVisitsEveryRowOnce)
{
    RowsDataset dataset;
    dataset.load({QStringLiteral("N")}, {FieldType::Integer}, numberedRows(4));
    QList<qint64> seen;
    for (dataset.first(); !dataset.eof(); dataset.next())
        seen.append(dataset.asInteger(QStringLiteral("N")));
    EXPECT_EQ(seen, (QList<qint64>{1, 2, 3, 4}));
    EXPECT_EQ(dataset.recNo(), dataset.recordCount()); // stays on the last row
}

class DatasetFields : public testing::Test {
protected:
    void SetUp() override
    {
        dataset.setObjectName(QStringLiteral("DzialkiQry"));
        dataset.load({QStringLiteral("MSLINK"), QStringLiteral("Area"), QStringLiteral("nazwa"),
                      QStringLiteral("Uwagi")},
                     {FieldType::Integer, FieldType::Float, FieldType::Text, FieldType::Text},
                     {{qlonglong(7), 12.0, QStringLiteral("12,5"), QVariant()},
                      {qlonglong(8), 2.5, QStringLiteral("abc"), QStringLiteral(" 42 ")},
                      {qlonglong(9), 3.5, QStringLiteral("Łąka"), QVariant()}});
    }
    katarix::test::SeparatorGuard comma{QLatin1Char(',')};
    RowsDataset dataset;
};

TEST_F(DatasetFields, NamesAreFoundWithoutRegardToCase)
{
    EXPECT_EQ(dataset.fieldIndex(QStringLiteral("mslink")), 0);
    EXPECT_EQ(dataset.fieldIndex(QStringLiteral("AREA")), 1);
    EXPECT_EQ(dataset.fieldIndex(QStringLiteral("NaZwA")), 2);
    EXPECT_EQ(dataset.fieldIndex(QStringLiteral("nazw")), -1);
    EXPECT_EQ(dataset.value(QStringLiteral("MsLink")).toLongLong(), 7);
}

TEST_F(DatasetFields, ValuesConvertLikeTheEngine)
{
    // Row 1: a whole float prints without decimals, a NULL is empty and zero.
    EXPECT_EQ(dataset.asString(QStringLiteral("area")), QStringLiteral("12"));
    EXPECT_EQ(dataset.asFloat(QStringLiteral("nazwa")), 12.5); // regional separator
    EXPECT_TRUE(dataset.isNull(QStringLiteral("uwagi")));
    EXPECT_EQ(dataset.asString(QStringLiteral("uwagi")), QString());
    EXPECT_EQ(dataset.asInteger(QStringLiteral("uwagi")), 0);
    EXPECT_EQ(dataset.asFloat(QStringLiteral("uwagi")), 0.0);

    // Row 2: the separator of the region; integers round half to even.
    dataset.next();
    EXPECT_EQ(dataset.asString(QStringLiteral("area")), QStringLiteral("2,5"));
    EXPECT_EQ(dataset.asInteger(QStringLiteral("area")), 2);
    EXPECT_EQ(dataset.asInteger(QStringLiteral("uwagi")), 42);
    EXPECT_EQ(dataset.asString(QStringLiteral("mslink")), QStringLiteral("8"));
    dataset.next();
    EXPECT_EQ(dataset.asInteger(QStringLiteral("area")), 4);
}

TEST_F(DatasetFields, BadNamesAndTextsGivePolishMessages)
{
    struct Case {
        std::function<void()> call;
        QString message;
    };
    dataset.next(); // nazwa = "abc"
    const Case cases[] = {
        {[&] { dataset.value(QStringLiteral("NR_L")); },
         QStringLiteral("DzialkiQry: Nie znaleziono pola 'NR_L'.")},
        {[&] { dataset.locate(QStringLiteral("brak"), 1); },
         QStringLiteral("DzialkiQry: Nie znaleziono pola 'brak'.")},
        {[&] { dataset.asFloat(QStringLiteral("NAZWA")); },
         QStringLiteral("DzialkiQry: Pole 'NAZWA': 'abc' nie jest prawidłową liczbą.")},
        {[&] { dataset.asInteger(QStringLiteral("nazwa")); },
         QStringLiteral("DzialkiQry: Pole 'nazwa': 'abc' nie jest prawidłową liczbą całkowitą.")},
    };
    for (const Case &c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for: " << c.message.toStdString();
        } catch (const JetError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

TEST_F(DatasetFields, EmptyDatasetReadsNullForKnownFields)
{
    dataset.load({QStringLiteral("A")}, {FieldType::Text}, {});
    EXPECT_TRUE(dataset.value(QStringLiteral("a")).isNull());
    EXPECT_EQ(dataset.asString(QStringLiteral("a")), QString());
    EXPECT_THROW(dataset.value(QStringLiteral("b")), JetError);
}

TEST(DatasetLocate, FindsTextsAsJetComparesThemAndNumbersByValue)
{
    RowsDataset dataset;
    dataset.load({QStringLiteral("NAZWA"), QStringLiteral("ID")}, {FieldType::Text, FieldType::Float},
                 {{QStringLiteral("Zając"), 10.0},
                  {QStringLiteral("żabka"), 12.0},
                  {QStringLiteral("Łódź"), 12.5},
                  {QVariant(), 13.0},
                  {QStringLiteral("zabka"), QVariant()}});
    struct Case {
        const char *field;
        QVariant value;
        int recNo; // 0: not found
        bool partialKey = false;
    };
    const Case cases[] = {
        {"nazwa", QStringLiteral("ŁÓDŹ"), 3},
        {"NAZWA", QStringLiteral("ŻABKA"), 2},
        {"nazwa", QStringLiteral("ZABKA"), 5}, // z and ż are different letters
        {"nazwa", QStringLiteral("Lodz"), 0},
        {"nazwa", QStringLiteral("Zając "), 0},
        {"nazwa", QStringLiteral("ŁÓ"), 0},
        {"nazwa", QStringLiteral("ŁÓ"), 3, true},
        {"nazwa", QStringLiteral("za"), 1, true},
        {"nazwa", QStringLiteral("żabkas"), 0, true},
        {"id", qlonglong(12), 2},
        {"id", QStringLiteral("12.5"), 3},
        {"id", 13.0, 4},
        {"id", QStringLiteral("trzynaście"), 0},
        {"nazwa", QVariant(), 4},
        {"id", QVariant(), 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.value.toString().toStdString());
        dataset.setRecNo(1);
        int scrolls = 0;
        const auto connection = QObject::connect(&dataset, &Dataset::afterScroll, [&] { ++scrolls; });
        const bool found = dataset.locate(QString::fromLatin1(c.field), c.value, c.partialKey);
        QObject::disconnect(connection);
        EXPECT_EQ(found, c.recNo > 0);
        EXPECT_EQ(dataset.recNo(), c.recNo > 0 ? c.recNo : 1); // a miss stays put
        EXPECT_EQ(scrolls, found ? 1 : 0);
    }
}

TEST(DatasetControls, DisabledControlsSilenceScrollingUntilTheLastEnable)
{
    RowsDataset dataset;
    dataset.load({QStringLiteral("N")}, {FieldType::Integer}, numberedRows(5));
    int scrolls = 0;
    int enabled = 0;
    QObject::connect(&dataset, &Dataset::afterScroll, [&] { ++scrolls; });
    QObject::connect(&dataset, &Dataset::controlsEnabled, [&] { ++enabled; });

    dataset.next();
    dataset.setRecNo(2); // no move, no notification
    EXPECT_EQ(scrolls, 1);

    dataset.disableControls();
    dataset.disableControls();
    for (dataset.first(); !dataset.eof(); dataset.next()) {
    }
    dataset.locate(QStringLiteral("n"), 3);
    dataset.enableControls();
    EXPECT_TRUE(dataset.controlsDisabled());
    dataset.last();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(enabled, 0);

    dataset.enableControls();
    EXPECT_FALSE(dataset.controlsDisabled());
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(scrolls, 1); // enabling does not replay a scroll
    EXPECT_EQ(dataset.recNo(), 5);

    dataset.enableControls(); // unbalanced: the count stays at zero
    dataset.prior();
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(enabled, 1);
}

TEST(DatasetControls, EmptyDatasetNeverScrolls)
{
    RowsDataset dataset;
    dataset.load({QStringLiteral("N")}, {FieldType::Integer}, {});
    int scrolls = 0;
    QObject::connect(&dataset, &Dataset::afterScroll, [&] { ++scrolls; });
    dataset.first();
    dataset.next();
    dataset.last();
    EXPECT_FALSE(dataset.locate(QStringLiteral("N"), 1));
    EXPECT_EQ(scrolls, 0);
}

} // namespace
