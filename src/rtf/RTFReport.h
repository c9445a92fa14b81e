#pragma once

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace katarix::jet {
class Dataset;
}

namespace katarix::rtf {

class RtfTemplate;

// The report component: loads an RTF template with [[...]] markers (docs/templates.md),
// fills it from datasets and the values of variables, and writes the finished document.
// Datasets and variables come from the two request handlers, called synchronously while
// the template is filled; errors are RtfError (or whatever a handler throws) with a Polish
// message.
class TRTFReport {
public:
    // Asked for a dataset by the name the template uses (exactly, case included); leaves
    // dataset untouched (null) for a name it does not know.
    using DataSetRequest = std::function<void(const QString &name, jet::Dataset *&dataset)>;
    // Asked for a variable's value (text, integer, truth value); an invalid QVariant or
    // empty text prints nothing.
    using ValueRequest = std::function<QVariant(const QString &name)>;
    // Told after each printed band row (of any band) how many band rows the document has so
    // far; what it throws stops the filling.
    using Progress = std::function<void(qint64 rowsPrinted)>;

    TRTFReport();
    ~TRTFReport();
    TRTFReport(const TRTFReport &) = delete;
    TRTFReport &operator=(const TRTFReport &) = delete;

    // Forgets the datasets obtained so far (frees them when FreeDatasets is set).
    void ClearTables();
    // Reads the template; false when the file cannot be read or is not RTF.
    bool LoadTemplate(const QString &path);
    bool LoadTemplateData(const QByteArray &data);
    // Fills the loaded template and writes the document to path as it is filled (the file is
    // rewritten, a new one created readable by its owner only). When the filling fails or is
    // stopped, the file is removed and the error passes on.
    void ExecuteAndSave(const QString &path);
    // Fills the loaded template and returns the document.
    QByteArray Execute();

    DataSetRequest OnDataSetRequest; // kept until replaced
    ValueRequest OnValueRequest;
    Progress OnProgress;

    int Charset = 238;       // font character set of the document (\fcharset)
    int LangID = 1045;       // language of the text (\deflang, \lang of inserted values)
    int ANSICodePage = 0;    // \ansicpg to write; 0: the template's own, else the one of Charset
    bool FreeDatasets = false;    // ClearTables deletes the datasets handed over
    bool ProcessMessages = false; // process pending events after each band row

    // Truth value of a variable for [[?name]]: false for null, false, 0, empty text, "0"
    // and "False" (any case); true otherwise.
    static bool IsTrue(const QVariant &value);

private:
    friend class RtfFiller;
    jet::Dataset *dataset(const QString &name);
    const RtfTemplate &loadedTemplate() const; // throws RtfError when none can be filled

    std::unique_ptr<RtfTemplate> m_template;
    QString m_templateError; // why the loaded file cannot be filled
    QHash<QString, QPointer<jet::Dataset>> m_datasets;
};

} // namespace katarix::rtf
