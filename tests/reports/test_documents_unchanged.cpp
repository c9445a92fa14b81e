// The documents of many units are byte for byte what the program wrote before its reports were
// made linear and streaming: the extract of the units of many selected parcels, the short extract
// of those parcels and the alphabetical list of holders (by name with the parcels, by address),
// over a generated register. The expected documents are tests/reports/data/*.rtf.qz (qCompress
// of the document), with the day's date and time replaced by "<data>" and "<czas>"; the templates
// are copies in data/szablony, so that a change of an installed template does not touch this test.
//
// KATARIX_WRITE_EXPECTED=folder writes the documents there (.rtf to look at, .rtf.qz to keep)
// instead of comparing them: for a change that is meant to alter these documents.
#include "app/UstawieniaFrm.h"
#include "jet/Query.h"
#include "registergen/RegisterGenerator.h"
#include "reports/SpisWladFrm.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "reports/ReportValues.h"
#include "app/support/Child.h"
#include "support/ReportTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace katarix;

namespace {

const QString kData = QStringLiteral(KATARIX_SOURCE_DIR "/tests/reports/data/");

QByteArray withoutDateAndTime(QByteArray rtf)
{
    rtf.replace(reports::biezacaData().toLatin1(), "<data>");
    static const QRegularExpression time(QStringLiteral("\\b\\d{1,2}:\\d\\d:\\d\\d\\b"));
    return QString::fromLatin1(rtf).replace(time, QStringLiteral("<czas>")).toLatin1();
}

// Compares the document just written with data/<name>, or writes it under KATARIX_WRITE_EXPECTED.
void expectDocument(const reporttest::ReportEnvironment &env, const QString &name)
{
    const QByteArray document = withoutDateAndTime(env.documentRtf());
    ASSERT_FALSE(document.isEmpty()) << "no document";
    const QString folder = qEnvironmentVariable("KATARIX_WRITE_EXPECTED");
    if (!folder.isEmpty()) {
        QFile plain(QDir(folder).filePath(name));
        QFile packed(QDir(folder).filePath(name + QStringLiteral(".qz")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly) && packed.open(QIODevice::WriteOnly));
        plain.write(document);
        packed.write(qCompress(document, 9));
        return;
    }
    QFile in(kData + name + QStringLiteral(".qz"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray expected = qUncompress(in.readAll());
    EXPECT_EQ(document.size(), expected.size()) << name.toStdString();
    if (document != expected) {
        qsizetype at = 0;
        while (at < document.size() && at < expected.size() && document[at] == expected[at])
            ++at;
        ADD_FAILURE() << name.toStdString() << " differs from byte " << at << ":\n"
                      << document.mid(std::max<qsizetype>(0, at - 80), 200).toStdString() << "\n--- expected:\n"
                      << expected.mid(std::max<qsizetype>(0, at - 80), 200).toStdString();
    }
}

class DocumentsUnchanged : public ::testing::Test {
protected:
    // 400 parcels, seed 7: units of one to six parcels with holders, land books, contours,
    // buildings on one or two parcels and blocks of flats with premises.
    DocumentsUnchanged() : env(registergen::generateRegister({400, 7}))
    {
        env.setTemplatesFolder(kData + QStringLiteral("szablony"));
        // Every third current parcel of a current unit, and the units they lie in.
        jet::Query q;
        q.setDatabase(&env.db);
        q.setSql(QStringLiteral("SELECT kdzialka.mslink, kdzialka.id_jr FROM kdzialka INNER JOIN rgrun ON "
                                "kdzialka.id_jr = rgrun.id_jr WHERE IIf(IsNull(kdzialka.zmiana_kas_id), 0, "
                                "kdzialka.zmiana_kas_id) = 0 AND IIf(IsNull(rgrun.zmiana_kas_id), 0, "
                                "rgrun.zmiana_kas_id) = 0 ORDER BY kdzialka.mslink"));
        q.open();
        QStringList parcels, units;
        for (int row = 0; !q.eof(); q.next(), ++row) {
            if (row % 3 != 0)
                continue;
            parcels << q.asString(QStringLiteral("mslink"));
            if (!units.contains(q.asString(QStringLiteral("id_jr"))))
                units << q.asString(QStringLiteral("id_jr"));
        }
        dlkMslinks = parcels.join(QLatin1Char(','));
        jrIds = units.join(QLatin1Char(','));
    }

    reporttest::ReportEnvironment env;
    QString dlkMslinks, jrIds;
};

TEST_F(DocumentsUnchanged, ExtractOfTheUnitsOfManyParcels)
{
    ASSERT_GT(jrIds.count(QLatin1Char(',')), 60);
    reports::TWypisyDM dm(env.db, env.tempQry, env.rtf1);
    dm.WypisJr(jrIds, dlkMslinks);
    ASSERT_TRUE(env.recording.messages.empty()) << env.recording.messages[0].text.toStdString();
    expectDocument(env, QStringLiteral("wypis_wielu_jednostek.rtf"));
    // All parcels of the units.
    env.setReportRange(1);
    dm.WypisJr(jrIds, dlkMslinks);
    expectDocument(env, QStringLiteral("wypis_wielu_jednostek_wszystkie_dzialki.rtf"));
}

TEST_F(DocumentsUnchanged, ShortExtractOfManyParcels)
{
    reports::TWypisSkrRgDM dm(env.db, env.tempQry, env.rtf1);
    dm.WypisSort(dlkMslinks);
    ASSERT_TRUE(env.recording.messages.empty()) << env.recording.messages[0].text.toStdString();
    expectDocument(env, QStringLiteral("wypis_skrocony.rtf"));
}

TEST_F(DocumentsUnchanged, ListOfHoldersByNameAndByAddress)
{
    reports::TSpisWladFrm frm(nullptr, &env.db, &env.tempQry, &env.rtf1);
    test::child<QListWidget>(&frm, "ObrebClb")->item(0)->setCheckState(Qt::Checked);
    test::child<QPushButton>(&frm, "OkBtn")->click();
    ASSERT_TRUE(env.recording.messages.empty()) << env.recording.messages[0].text.toStdString();
    expectDocument(env, QStringLiteral("spis_wladajacych.rtf"));
    test::child<QPushButton>(&frm, "ZazWszObrBtn")->click();
    test::child<QRadioButton>(&frm, "SortAdresRB")->setChecked(true);
    test::child<QPushButton>(&frm, "OkBtn")->click();
    expectDocument(env, QStringLiteral("spis_wladajacych_adresy.rtf"));
}

} // namespace
