#include "MdbReader.h"

#include "jet/JetError.h"
#include "jet/Utf8.h"

#include <QFileInfo>
#include <QSet>

#include <mdbtools.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace katarix::jet::mdb {

namespace {

constexpr int kOffsetMask = 0x1fff;
constexpr int kDeletedFlag = 0x4000;
constexpr int kMemoOverhead = 12;

// The character set of Jet 3 text: the code page the header names, or Windows-1250 (the code
// page of Polish registers) when it names none (0 in files written without one) or one that
// is not known here.
QByteArray jet3Charset(int codePage)
{
    static const int pages[] = {437, 850, 852, 855, 860, 861, 862, 865, 866, 869, 874, 932, 936, 950,
                                1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};
    switch (codePage) {
    case 28591:
        return "ISO-8859-1";
    case 28592:
        return "ISO-8859-2";
    case 65001:
        return "UTF-8";
    default:
        for (int page : pages)
            if (page == codePage)
                return "CP" + QByteArray::number(codePage);
        return "CP1250";
    }
}

ColumnKind kindOf(int type)
{
    switch (type) {
    case MDB_BOOL:
        return ColumnKind::Boolean;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return ColumnKind::Integer;
    case MDB_MONEY:
        return ColumnKind::Currency;
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return ColumnKind::Float;
    case MDB_DATETIME:
        return ColumnKind::DateTime;
    case MDB_TEXT:
    case MDB_REPID:
        return ColumnKind::Text;
    case MDB_MEMO:
        return ColumnKind::Memo;
    default:
        return ColumnKind::Binary;
    }
}

// The UTF-16 units of Jet 4 text: UCS-2LE, or "compressed" after the FF FE mark (runs of
// one-byte Latin-1 characters and of two-byte characters, switched by a zero byte).
template<typename Put>
void forEachJet4Unit(const unsigned char *p, size_t size, Put &&put)
{
    if (size >= 2 && p[0] == 0xff && p[1] == 0xfe) {
        bool compressed = true;
        size_t i = 2;
        while (i < size) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                put(char16_t(p[i]));
                ++i;
            } else if (i + 1 < size) {
                put(char16_t(p[i] | (p[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return;
    }
    for (size_t i = 0; i + 1 < size; i += 2)
        put(char16_t(p[i] | (p[i + 1] << 8)));
}

QString decodeJet4(const unsigned char *p, size_t size)
{
    QString out;
    out.reserve(qsizetype(size));
    forEachJet4Unit(p, size, [&](char16_t unit) { out.append(QChar(unit)); });
    return out;
}

// The same text as UTF-8 (QString::toUtf8 of decodeJet4), without the QString.
void appendJet4(const unsigned char *p, size_t size, std::string &out)
{
    Utf16ToUtf8 utf8(out);
    forEachJet4Unit(p, size, [&](char16_t unit) { utf8.put(unit); });
}

// A table or column name that a damaged definition can give: empty, or with control characters
// or undecodable bytes.
bool validName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c == QChar::ReplacementCharacter)
            return false;
    return true;
}

// mantissa / 10^scale as the nearest double. Where both operands are exact doubles one
// correctly rounded division gives it; otherwise the correctly rounded decimal parser does.
double scaledToDouble(unsigned __int128 mantissa, int scale, bool negative)
{
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (mantissa == 0)
        return 0.0;
    double value;
    if (mantissa <= (unsigned __int128)(1) << 53 && scale <= 22) {
        value = double(quint64(mantissa)) / kPowers[scale];
    } else {
        char text[64];
        char *end = text + sizeof text;
        char *p = end;
        *--p = '\0';
        for (int digits = scale; digits > 0; digits /= 10)
            *--p = char('0' + digits % 10);
        *--p = '-';
        *--p = 'e';
        do {
            *--p = char('0' + int(mantissa % 10));
            mantissa /= 10;
        } while (mantissa != 0);
        value = std::strtod(p, nullptr);
    }
    return negative ? -value : value;
}

// Decimal: a sign byte (0x80 negative), then the 128-bit mantissa as four little-endian 32-bit
// words, the most significant first.
double decimalToDouble(const unsigned char *p, int scale)
{
    unsigned __int128 mantissa = 0;
    for (int word = 0; word < 4; ++word) {
        const unsigned char *w = p + 1 + word * 4;
        const quint32 v = quint32(w[0]) | (quint32(w[1]) << 8) | (quint32(w[2]) << 16) | (quint32(w[3]) << 24);
        mantissa = (mantissa << 32) | v;
    }
    return scaledToDouble(mantissa, scale, (p[0] & 0x80) != 0);
}

// Currency: a signed count of ten-thousandths.
double currencyToDouble(qint64 units)
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? 0 - quint64(units) : quint64(units);
    return scaledToDouble(magnitude, 4, negative);
}

// A Replication ID as Access shows it: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper-case, the
// first three groups stored little-endian.
QString guidText(const unsigned char *p)
{
    static const char hex[] = "0123456789ABCDEF";
    static const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    char out[38];
    int n = 0;
    out[n++] = '{';
    for (int k = 0; k < 16; ++k) {
        if (k == 4 || k == 6 || k == 8 || k == 10)
            out[n++] = '-';
        const unsigned char b = p[order[k]];
        out[n++] = hex[b >> 4];
        out[n++] = hex[b & 15];
    }
    out[n++] = '}';
    return QString::fromLatin1(out, n);
}

template<typename T>
T readLe(const unsigned char *p)
{
    T value;
    std::memcpy(&value, p, sizeof(T)); // the file and the host are little-endian
    return value;
}

} // namespace

struct MdbReader::Impl {
    QString path;
    MdbHandle *mdb = nullptr;
    GPtrArray *catalog = nullptr;
    bool jet3 = false;

    [[noreturn]] void damaged(const QString &detail) const
    {
        throw JetError(QStringLiteral("Plik bazy danych jest uszkodzony (%1): %2").arg(detail, path));
    }

    QString decodeText(const unsigned char *p, size_t size) const
    {
        if (size == 0)
            return QStringLiteral("");
        if (!jet3)
            return decodeJet4(p, size);
        std::vector<char> buffer(size * 4 + 16);
        const int length = mdb_unicode2ascii(mdb, reinterpret_cast<const char *>(p), size, buffer.data(),
                                             buffer.size());
        return QString::fromUtf8(buffer.data(), length);
    }

    // The bytes of a memo or OLE value: inline, on one long-value page, or a chain of pages.
    QByteArray longValue(const QString &table, const unsigned char *field, size_t size) const
    {
        if (size < size_t(kMemoOverhead))
            return QByteArray("");
        const quint32 header = readLe<quint32>(field);
        const quint32 length = header & 0x3fffffff;
        if (header & 0x80000000u) {
            return QByteArray(reinterpret_cast<const char *>(field + kMemoOverhead), qsizetype(size - kMemoOverhead));
        }
        qint32 pgRow = readLe<qint32>(field + 4);
        if (header & 0x40000000u) {
            void *buf = nullptr;
            int start = 0;
            size_t len = 0;
            if (mdb_find_pg_row(mdb, pgRow, &buf, &start, &len) != 0)
                damaged(QStringLiteral("tabela %1, pole długie").arg(table));
            return QByteArray(static_cast<const char *>(buf) + start, qsizetype(std::min<size_t>(len, length)));
        }
        if ((header & 0xff000000u) != 0)
            damaged(QStringLiteral("tabela %1, nieznany rodzaj pola długiego").arg(table));
        QByteArray out;
        out.reserve(qsizetype(length));
        while (pgRow != 0 && quint32(out.size()) < length) {
            void *buf = nullptr;
            int start = 0;
            size_t len = 0;
            if (mdb_find_pg_row(mdb, pgRow, &buf, &start, &len) != 0 || len <= 4)
                damaged(QStringLiteral("tabela %1, łańcuch pola długiego").arg(table));
            const char *chunk = static_cast<const char *>(buf) + start;
            out.append(chunk + 4, qsizetype(len - 4));
            pgRow = readLe<qint32>(reinterpret_cast<const unsigned char *>(chunk));
        }
        if (quint32(out.size()) != length)
            damaged(QStringLiteral("tabela %1, długość pola długiego").arg(table));
        return out;
    }

    // The scale of each Decimal column of a table (-1 for other columns), in libmdb's column
    // order. Taken from the column descriptors of the table definition (precision and scale one
    // byte each: Jet 4 at 11 and 12, Jet 3 at 9 and 10 of the descriptor; the descriptor is
    // found by the column name, which follows all descriptors in the same order) and checked
    // against what libmdb reports, which some versions give the other way round.
    std::vector<int> decimalScales(MdbTableDef *table, const QString &name) const
    {
        std::vector<int> scales(table->num_cols, -1);
        bool any = false;
        for (guint c = 0; c < table->num_cols; ++c)
            any = any || static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c))->col_type == MDB_NUMERIC;
        if (!any)
            return scales;

        // The definition, continued over linked pages after their 8-byte header.
        const MdbFormatConstants *fmt = mdb->fmt;
        const size_t pageSize = size_t(fmt->pg_size);
        std::vector<unsigned char> def;
        const size_t colStart = size_t(fmt->tab_cols_start_offset) + size_t(table->num_real_idxs) * fmt->tab_ridx_entry_size;
        const size_t colEnd = colStart + size_t(table->num_cols) * fmt->tab_col_entry_size;
        quint32 page = quint32(table->entry->table_pg);
        for (int pages = 0; page != 0; ++pages) {
            if (pages == 64 || mdb_read_alt_pg(mdb, page) != ssize_t(pageSize) || mdb->alt_pg_buf[0] != MDB_PAGE_TABLE)
                damaged(QStringLiteral("definicja tabeli %1").arg(name));
            const size_t from = def.empty() ? 0 : 8;
            def.insert(def.end(), mdb->alt_pg_buf + from, mdb->alt_pg_buf + pageSize);
            page = quint32(mdb_get_int32(mdb->alt_pg_buf, 4));
        }

        // Column names after the descriptors: a 16-bit (Jet 3: 8-bit) byte length, then the name.
        std::vector<QString> names;
        size_t at = colEnd;
        for (guint c = 0; c < table->num_cols; ++c) {
            const size_t lengthBytes = jet3 ? 1 : 2;
            if (at + lengthBytes > def.size())
                damaged(QStringLiteral("definicja tabeli %1").arg(name));
            const size_t length = jet3 ? def[at] : size_t(def[at] | (def[at + 1] << 8));
            at += lengthBytes;
            if (at + length > def.size())
                damaged(QStringLiteral("definicja tabeli %1").arg(name));
            names.push_back(decodeText(def.data() + at, length));
            at += length;
        }

        const int precisionAt = jet3 ? 9 : 11;
        for (guint c = 0; c < table->num_cols; ++c) {
            const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
            if (col->col_type != MDB_NUMERIC)
                continue;
            const QString column = QString::fromUtf8(col->name);
            const unsigned char *d = nullptr;
            for (size_t k = 0; k < names.size(); ++k) {
                const size_t entry = colStart + k * fmt->tab_col_entry_size;
                if (names[k] == column && def[entry] == MDB_NUMERIC) {
                    d = def.data() + entry;
                    break;
                }
            }
            if (!d)
                damaged(QStringLiteral("tabela %1, kolumna %2: brak opisu kolumny").arg(name, column));
            const int precision = d[precisionAt];
            const int scale = d[precisionAt + 1];
            const bool valid = precision >= 1 && precision <= 28 && scale <= precision;
            const bool agrees = (col->col_prec == precision && col->col_scale == scale)
                || (col->col_prec == scale && col->col_scale == precision);
            if (!valid || !agrees)
                damaged(QStringLiteral("tabela %1, kolumna %2: precyzja %3, skala %4").arg(name, column).arg(precision).arg(scale));
            scales[c] = scale;
        }
        return scales;
    }

    void addText(const unsigned char *p, size_t size, RowBatch &out) const
    {
        if (jet3)
            out.addText(decodeText(p, size));
        else
            out.addTextWith([&](std::string &bytes) { appendJet4(p, size, bytes); });
    }

    // One value of a row, as the importer stores its column's kind (kindOf).
    void addValue(const QString &table, const MdbColumn *col, int scale, const MdbField &field, RowBatch &out) const
    {
        if (col->col_type == MDB_BOOL) {
            out.addInteger(field.is_null ? 0 : -1); // Jet keeps a Yes/No in the null mask
            return;
        }
        if (field.is_null) {
            out.addNull();
            return;
        }
        const unsigned char *p = mdb->pg_buf + field.start;
        const size_t size = size_t(field.siz);
        auto need = [&](size_t bytes) {
            if (size < bytes)
                damaged(QStringLiteral("tabela %1, kolumna %2").arg(table, QString::fromUtf8(col->name)));
        };
        switch (col->col_type) {
        case MDB_BYTE:
            need(1);
            out.addInteger(p[0]);
            break;
        case MDB_INT:
            need(2);
            out.addInteger(readLe<qint16>(p));
            break;
        case MDB_LONGINT:
        case MDB_COMPLEX:
            need(4);
            out.addInteger(readLe<qint32>(p));
            break;
        case MDB_MONEY:
            need(8);
            out.addReal(currencyToDouble(readLe<qint64>(p)));
            break;
        case MDB_FLOAT:
            need(4);
            out.addReal(double(readLe<float>(p)));
            break;
        case MDB_DOUBLE:
            need(8);
            out.addReal(readLe<double>(p));
            break;
        case MDB_DATETIME:
            need(8);
            out.addDateTime(readLe<double>(p));
            break;
        case MDB_NUMERIC:
            need(17);
            out.addReal(decimalToDouble(p, scale));
            break;
        case MDB_TEXT:
            addText(p, size, out);
            break;
        case MDB_REPID:
            need(16);
            out.addText(guidText(p));
            break;
        case MDB_MEMO: {
            const QByteArray bytes = longValue(table, p, size);
            addText(reinterpret_cast<const unsigned char *>(bytes.constData()), size_t(bytes.size()), out);
            break;
        }
        case MDB_OLE: {
            const QByteArray bytes = longValue(table, p, size);
            out.addBlob(bytes.constData(), size_t(bytes.size()));
            break;
        }
        default:
            out.addBlob(reinterpret_cast<const char *>(p), size);
            break;
        }
    }
};

MdbReader::MdbReader(const QString &path)
    : d(new Impl)
{
    d->path = path;
    const QFileInfo info(path);
    if (!info.exists())
        throw JetError(QStringLiteral("Plik bazy danych nie istnieje: %1").arg(path));
    // Text arrives from libmdb as UTF-8 whatever the environment asks for.
    unsetenv("MDBICONV");
    unsetenv("MDB_ICONV");
    d->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!d->mdb) {
        delete d;
        throw JetError(QStringLiteral("Plik nie jest bazą danych programu Access (.mdb): %1").arg(path));
    }
    const guint32 version = d->mdb->f->jet_version;
    if (version != MDB_VER_JET3 && version != MDB_VER_JET4) {
        mdb_close(d->mdb);
        delete d;
        throw JetError(QStringLiteral("Nieobsługiwana wersja pliku bazy danych (obsługiwane są pliki Access 97 i 2000–2003): %1")
                           .arg(path));
    }
    d->jet3 = version == MDB_VER_JET3;
    if (d->jet3) {
        // The file's own code page decides, not a MDB_JET3_CHARSET left in the environment.
        mdb_iconv_close(d->mdb);
        setenv("MDB_JET3_CHARSET", jet3Charset(d->mdb->f->code_page).constData(), 1);
        mdb_iconv_init(d->mdb);
    }
}

MdbReader::~MdbReader()
{
    if (d->mdb)
        mdb_close(d->mdb); // frees the catalog as well
    delete d;
}

void MdbReader::load(TableSink &sink)
{
    MdbHandle *mdb = d->mdb;
    // The catalogue is read whole so that its row count can be checked: libmdb skips rows and
    // pages it cannot read without a word.
    if (!mdb_read_pg(mdb, 2) || mdb->pg_buf[0] != MDB_PAGE_TABLE)
        d->damaged(QStringLiteral("katalog obiektów"));
    const qint64 catalogRows = mdb_get_int32(mdb->pg_buf, mdb->fmt->tab_num_rows_offset);
    d->catalog = mdb_read_catalog(mdb, MDB_ANY);
    if (!d->catalog || d->catalog->len == 0 || qint64(d->catalog->len) < catalogRows)
        d->damaged(QStringLiteral("katalog obiektów"));

    struct Entry {
        MdbCatalogEntry *entry;
        MdbTableDef *table;
        std::vector<int> scales; // of the Decimal columns
    };
    std::vector<Entry> tables;
    struct FreeTables {
        std::vector<Entry> &tables;
        ~FreeTables()
        {
            for (Entry &e : tables)
                mdb_free_tabledef(e.table);
        }
    } freeTables{tables};

    qint64 total = 0;
    QSet<QString> tableNames;
    for (guint i = 0; i < d->catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(d->catalog, i));
        if (!mdb_is_user_table(entry))
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        // Jet, like SQLite, tells names apart without regard to case.
        if (!validName(name) || tableNames.contains(name.toUpper()))
            d->damaged(QStringLiteral("katalog obiektów: nazwa tabeli '%1'").arg(name));
        tableNames.insert(name.toUpper());
        MdbTableDef *table = mdb_read_table(entry);
        if (!table)
            d->damaged(QStringLiteral("definicja tabeli %1").arg(name));
        tables.push_back({entry, table, {}});
        // mdb_read_columns reads the definition page that mdb_read_table left in the buffer.
        if (!mdb_read_columns(table) || table->num_cols == 0)
            d->damaged(QStringLiteral("kolumny tabeli %1").arg(name));
        QSet<QString> columnNames;
        for (guint c = 0; c < table->num_cols; ++c) {
            const QString column = QString::fromUtf8(static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c))->name);
            if (!validName(column) || columnNames.contains(column.toUpper()))
                d->damaged(QStringLiteral("tabela %1: nazwa kolumny '%2'").arg(name, column));
            columnNames.insert(column.toUpper());
        }
        tables.back().scales = d->decimalScales(table, name);
        total += table->num_rows;
    }

    sink.start(total);
    constexpr size_t kBatchBytes = 256 * 1024;
    for (Entry &e : tables) {
        MdbTableDef *table = e.table;
        const QString name = QString::fromUtf8(e.entry->object_name);

        std::vector<ImportColumn> columns;
        std::vector<MdbColumn *> cols;
        for (guint c = 0; c < table->num_cols; ++c) {
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
            cols.push_back(col);
            columns.push_back({QString::fromUtf8(col->name), kindOf(col->col_type)});
        }
        sink.beginTable(name, columns);

        std::vector<MdbField> fields(table->num_cols);
        const int rowCountOffset = mdb->fmt->row_count_offset;
        const int maxRows = int(mdb->fmt->pg_size / 4);
        RowBatch batch;
        batch.reserve(kBatchBytes + 64 * 1024);
        qint64 rows = 0;
        // A usage map that yields a page twice (libmdb falls back to reading the file page by
        // page from the last page it gave) repeats that page's rows.
        std::unordered_set<guint32> pages;
        qint64 repeatedRows = 0;
        mdb_rewind_table(table);
        table->cur_pg_num = 1;
        while (mdb_read_next_dpg(table)) {
            // The page in the buffer (when libmdb reads on page by page, cur_phys_pg is already
            // the next one).
            const guint32 page = mdb->cur_pg;
            const int pageRows = mdb_get_int16(mdb->pg_buf, rowCountOffset);
            if (pageRows < 0 || pageRows > maxRows)
                d->damaged(QStringLiteral("tabela %1, strona %2").arg(name).arg(page));
            const bool repeated = !pages.insert(page).second;
            for (int r = 0; r < pageRows; ++r) {
                const int offset = mdb_get_int16(mdb->pg_buf, rowCountOffset + 2 + r * 2);
                if (offset & kDeletedFlag)
                    continue;
                ++rows;
                if (repeated) {
                    ++repeatedRows;
                    continue;
                }
                int start = 0;
                size_t size = 0;
                if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0)
                    d->damaged(QStringLiteral("tabela %1, strona %2").arg(name).arg(page));
                start &= kOffsetMask;
                if (mdb_crack_row(table, start, size, fields.data()) < 0)
                    d->damaged(QStringLiteral("tabela %1, strona %2").arg(name).arg(page));
                // mdb_crack_row gives the fields in column order.
                for (guint c = 0; c < table->num_cols; ++c) {
                    const MdbField &field = fields[c];
                    const bool outside = field.siz < 0 || field.start < start
                        || size_t(field.start) + size_t(field.siz) > size_t(start) + size;
                    if (!field.is_null && cols[c]->col_type != MDB_BOOL && outside)
                        d->damaged(QStringLiteral("tabela %1, strona %2").arg(name).arg(page));
                    d->addValue(name, cols[c], e.scales[c], field, batch);
                }
                batch.endRow();
                if (batch.bytes() >= kBatchBytes) {
                    sink.appendRows(std::move(batch));
                    batch = RowBatch();
                    batch.reserve(kBatchBytes + 64 * 1024);
                }
            }
        }
        // Fewer rows than counted means pages that could not be read; more, pages read twice or
        // rows the definition does not count. A count of zero is left by an improperly closed
        // file: then every row read on distinct pages is taken.
        const qint64 counted = qint64(table->num_rows);
        const qint64 expected = counted != 0 ? counted : rows - repeatedRows;
        if (rows != expected)
            d->damaged(QStringLiteral("tabela %1: odczytano %2 z %3 wierszy").arg(name).arg(rows).arg(expected));
        if (!batch.empty())
            sink.appendRows(std::move(batch));
        sink.endTable();
    }
}

} // namespace katarix::jet::mdb
