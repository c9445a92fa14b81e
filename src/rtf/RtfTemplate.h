#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

namespace katarix::rtf {

// One lexical unit of an RTF file: a brace, a control word or symbol, a byte of text (text
// inside destinations that hold no document text comes merged), or a raw line break.
struct RtfToken {
    enum Kind : unsigned char { Open, Close, Control, Text, Space };
    Kind kind = Text;
    int begin = 0;       // bytes of the source, [begin, end)
    int end = 0;
    QByteArray word;     // control word without the backslash; a control symbol's character
    int param = 0;
    bool hasParam = false;
    int depth = 0;       // groups open before the token
    bool skipped = false;  // inside a destination without document text (font table, \*...)
    bool inTable = false;  // \intbl in force (the paragraph lies in a table row)
    bool isBreak = false;  // ends a paragraph: \par \sect \cell \row \nestcell \nestrow
    bool fallback = false; // the fallback character after a \uN
    QChar ch;              // document text the token stands for; null when none
};

// A [[...]] marker found in the document text.
struct RtfMarker {
    enum Kind { Field, Variable, BandStart, ConditionStart, End };
    Kind kind = Variable;
    QString text;  // as written between the brackets, trimmed
    QString name;  // dataset (Field, BandStart), variable (Variable, ConditionStart) or closed name
    QString field; // Field only
    bool negate = false; // [[?!name]]
    int firstToken = 0;  // the token of the first '[' and of the last ']'
    int lastToken = 0;
};

// A band (repeated per dataset row) or a conditional section, or the whole document.
struct RtfSection {
    enum Kind { Document, Band, Condition };
    Kind kind = Document;
    QString name;
    bool negate = false;
    int begin = 0; // tokens [begin, end) that the section repeats or leaves out
    int end = 0;
    int startMarker = -1;
    int endMarker = -1;
    std::vector<int> children; // sections directly inside, in document order
};

// A parsed template: tokens, markers, and the tree of sections over the token sequence.
// The constructor throws RtfError with a Polish message when the file is not usable.
class RtfTemplate {
public:
    explicit RtfTemplate(QByteArray source);

    const QByteArray &source() const { return m_source; }
    const std::vector<RtfToken> &tokens() const { return m_tokens; }
    const std::vector<RtfMarker> &markers() const { return m_markers; }
    const std::vector<RtfSection> &sections() const { return m_sections; } // [0]: the document
    int bodyStart() const { return m_bodyStart; }
    int depthBefore(int token) const;

    // The document text with a '\n' for each paragraph end and line break.
    const QString &plainText() const { return m_plain; }
    // Marker characters, and the ends of paragraphs that hold only section markers, are not
    // copied to the output.
    bool isDeleted(int token) const { return m_deleted[size_t(token)]; }
    // The Field or Variable marker whose first character is this token; -1 when none.
    int valueMarkerAt(int token) const { return m_valueMarkerAt[size_t(token)]; }
    // Dataset names in the order the template first mentions them.
    QStringList datasetNames() const;

    static QString markerText(const RtfMarker &marker) { return QStringLiteral("[[") + marker.text + QStringLiteral("]]"); }

private:
    void tokenize();
    void findBody();
    void findMarkers();
    void buildSections();
    void placeSection(RtfSection &section);
    void checkSections(int index);
    void dropMarkerParagraph(int begin, int breakToken);
    void misplaced(int marker, const RtfSection &section, bool before) const;
    int paragraphStart(int token) const;
    int paragraphEnd(int token) const;
    int rowStart(int token) const;
    int rowEnd(int token) const;
    int skipClosing(int token, int limit) const;
    int extendOverClosing(int begin, int end) const;

    QByteArray m_source;
    std::vector<RtfToken> m_tokens;
    std::vector<RtfMarker> m_markers;
    std::vector<RtfSection> m_sections;
    std::vector<bool> m_deleted;
    std::vector<int> m_valueMarkerAt;
    QString m_plain;
    std::vector<int> m_plainToken; // token of each character of m_plain
    int m_bodyStart = 0;
    int m_rootClose = 0; // the brace closing the outermost group
};

} // namespace katarix::rtf
