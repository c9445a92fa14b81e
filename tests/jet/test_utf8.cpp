// The loader writes Jet 4 text straight to UTF-8: it must be byte for byte what QString::toUtf8
// gives, lone surrogates of a damaged text included.
#include "jet/Utf8.h"

#include <QRandomGenerator>
#include <QString>

#include <gtest/gtest.h>

using namespace katarix::jet;

namespace {

std::string direct(const std::u16string &units)
{
    std::string out;
    Utf16ToUtf8 utf8(out);
    for (char16_t unit : units)
        utf8.put(unit);
    utf8.finish();
    return out;
}

std::string throughQString(const std::u16string &units)
{
    const QByteArray bytes = QString::fromUtf16(units.data(), qsizetype(units.size())).toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

} // namespace

TEST(Utf16ToUtf8, WritesWhatQStringWrites)
{
    const std::vector<std::pair<const char *, std::u16string>> cases = {
        {"empty", u""},
        {"ASCII and a zero unit", std::u16string(u"ab\0c", 4)},
        {"Polish letters", u"Zażółć gęślą jaźń ŁÓDŹ"},
        {"three-byte forms", u"\u20ac\uffff\ue000"},
        {"a surrogate pair", u"a\U0001F600b"},
        {"lone high surrogate inside", u"a\xd800" u"b"},
        {"lone low surrogate", u"a\xdc00" u"b"},
        {"high surrogate at the end", u"ab\xdbff"},
        {"two highs then a low", u"\xd800\xd801\xdc01"},
    };
    for (const auto &[name, units] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(direct(units), throughQString(units));
    }
    // Random units, surrogates frequent.
    QRandomGenerator random(2024);
    for (int round = 0; round < 2000; ++round) {
        std::u16string units;
        for (int i = int(random.bounded(12)); i > 0; --i)
            units += random.bounded(3) == 0 ? char16_t(0xd800 + random.bounded(0x800)) : char16_t(random.bounded(0x10000));
        ASSERT_EQ(direct(units), throughQString(units)) << round;
    }
}
