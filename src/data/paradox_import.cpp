#include "data/paradox_import.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/password_hash.h"
#include "data/sql.h"
#include "data/transfer.h"

#include <cstdio>
#include <iconv.h>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <unordered_set>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- code pages

namespace {

// 0x80..0xFF of code page 857 (DOS Turkish); 0 = not defined.
constexpr std::array<char16_t, 128> kCp857High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x0131, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x0130, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x015E, 0x015F,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x011E, 0x011F,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00BA, 0x00AA, 0x00CA, 0x00CB, 0x00C8, 0,      0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0,
    0x00D7, 0x00DA, 0x00DB, 0x00D9, 0x00EC, 0x00FF, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0,      0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

QString decodeText(const char* p, qsizetype n, int textCodePage)
{
    bool ascii = true;
    for (qsizetype i = 0; i < n && ascii; ++i) ascii = static_cast<unsigned char>(p[i]) < 0x80;
    if (ascii) return QString::fromLatin1(p, n);
    if (textCodePage != 857) return fromCp1254(QByteArray(p, n));
    QString s(n, Qt::Uninitialized);
    QChar* out = s.data();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        out[i] = b < 0x80 ? QChar(b) : QChar(kCp857High[b - 0x80] ? kCp857High[b - 0x80] : char16_t(0xFFFD));
    }
    return s;
}

}  // namespace

int paradoxTextCodePage(int codePage)
{
    // Paradox 3 tables carry no code page; DOS code pages are below 1000.
    return codePage == 1254 || codePage >= 1000 ? 1254 : 857;
}

QString decodeParadoxText(const QByteArray& bytes, int codePage)
{
    return decodeText(bytes.constData(), bytes.size(), paradoxTextCodePage(codePage));
}

QByteArray encodeParadoxText(const QString& text, int codePage)
{
    if (paradoxTextCodePage(codePage) == 1254) return toCp1254(text);
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        const auto* it = std::find(kCp857High.begin(), kCp857High.end(), u);
        out += it == kCp857High.end() ? '?' : char(0x80 + (it - kCp857High.begin()));
    }
    return out;
}

namespace {

// ---------------------------------------------------------------- the Paradox file

quint16 le16(const unsigned char* p) { return quint16(p[0] | (p[1] << 8)); }
quint32 le32(const unsigned char* p) { return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24); }

// Numbers are stored big-endian with the sign bit flipped, so that their bytes sort as
// the numbers do; all bytes zero is an empty field. Read here: pxlib's reader of long
// integers looks at eight bytes on 64-bit systems and takes an empty one for a number.
bool storedInteger(const unsigned char* p, int bytes, qint64* value)
{
    quint64 raw = 0;
    for (int i = 0; i < bytes; ++i) raw = (raw << 8) | p[i];
    if (raw == 0) return false;
    const quint64 sign = quint64(1) << (bytes * 8 - 1);
    raw ^= sign;
    *value = raw & sign ? qint64(raw) - qint64(sign << 1) : qint64(raw);
    return true;
}

bool storedDouble(const unsigned char* p, double* value)
{
    quint64 raw = 0;
    for (int i = 0; i < 8; ++i) raw = (raw << 8) | p[i];
    if (raw == 0) return false;
    // Positive numbers have the sign bit set, negative ones all their bits inverted.
    raw = raw & (quint64(1) << 63) ? raw & ~(quint64(1) << 63) : ~raw;
    std::memcpy(value, &raw, sizeof raw);
    return true;
}

// Day 1 of Paradox dates and timestamps is 1 January of the year 1.
constexpr qint64 kJulianDayZero = 1721425;
constexpr double kMsPerDay = 86400000.0;

QString paradoxTypeName(int type)
{
    switch (type) {
    case pxfAlpha: return u"Alpha"_s;
    case pxfDate: return u"Date"_s;
    case pxfShort: return u"Short"_s;
    case pxfLong: return u"Long"_s;
    case pxfCurrency: return u"Money"_s;
    case pxfNumber: return u"Number"_s;
    case pxfLogical: return u"Logical"_s;
    case pxfMemoBLOb: return u"Memo"_s;
    case pxfBLOb: return u"Binary"_s;
    case pxfFmtMemoBLOb: return u"Formatted Memo"_s;
    case pxfOLE: return u"OLE"_s;
    case pxfGraphic: return u"Graphic"_s;
    case pxfTime: return u"Time"_s;
    case pxfTimestamp: return u"Timestamp"_s;
    case pxfAutoInc: return u"AutoInc"_s;
    case pxfBCD: return u"BCD"_s;
    case pxfBytes: return u"Bytes"_s;
    }
    return u"0x"_s + QString::number(type, 16);
}

bool isReadableType(int type)
{
    switch (type) {
    case pxfAlpha: case pxfDate: case pxfShort: case pxfLong: case pxfCurrency: case pxfNumber:
    case pxfLogical: case pxfMemoBLOb: case pxfBLOb: case pxfFmtMemoBLOb: case pxfTime:
    case pxfTimestamp: case pxfAutoInc: case pxfBCD:
        return true;
    }
    return false;
}

// The bytes a value of a fixed-width type takes in the record; 0 for the others.
int fixedWidth(int type)
{
    switch (type) {
    case pxfShort: return 2;
    case pxfLong: case pxfAutoInc: case pxfDate: case pxfTime: return 4;
    case pxfNumber: case pxfCurrency: case pxfTimestamp: return 8;
    case pxfLogical: return 1;
    }
    return 0;
}

// pxlib believes the header and the chain of data blocks: a negative header size makes it
// free its list of blocks twice, a chain that comes back to a block makes it go round for
// ever. Both are looked at here before pxlib reads the file.
bool soundLayout(std::FILE* fp)
{
    unsigned char h[0x78];
    if (std::fseek(fp, 0, SEEK_END) != 0) return false;
    const long fileSize = std::ftell(fp);
    if (fileSize < 0 || std::fseek(fp, 0, SEEK_SET) != 0 || std::fread(h, 1, sizeof h, fp) != sizeof h) return false;
    const int recordSize = le16(h);
    const int headerSize = static_cast<qint16>(le16(h + 2));  // pxlib reads it signed
    const int blockSize = h[5] * 0x400;
    const unsigned fileBlocks = le16(h + 0x0C);
    if (headerSize <= 0 || h[5] < 1 || h[5] > 32 || recordSize == 0 || recordSize > blockSize - 6) return false;
    std::vector<bool> visited(size_t(fileBlocks) + 1, false);
    for (unsigned block = le16(h + 0x0E); block != 0;) {
        const qint64 position = qint64(headerSize) + qint64(block - 1) * blockSize;
        unsigned char next[2];
        if (block > fileBlocks || visited[block] || position + 6 > fileSize || std::fseek(fp, long(position), SEEK_SET) != 0
            || std::fread(next, 1, 2, fp) != 2)
            return false;
        visited[block] = true;
        block = le16(next);
    }
    return std::fseek(fp, 0, SEEK_SET) == 0;
}

// A memo file (.MB): memos longer than the part kept in the record live here, in blocks
// of 4 kB, either a block of their own (type 2) or a slot of a shared block (type 3).
// Read directly: the file is small next to the table and a damaged one must not stop
// the import, only the memos it holds.
class MemoFile {
public:
    explicit MemoFile(const QString& path) : file_(path)
    {
        if (!file_.open(QIODevice::ReadOnly)) return;
        size_ = file_.size();
        if (size_ > 0) data_ = file_.map(0, size_);
        if (!data_) {
            copy_ = file_.readAll();
            data_ = reinterpret_cast<const uchar*>(copy_.constData());
            size_ = copy_.size();
        }
    }

    bool read(quint32 offsetAndIndex, quint32 size, QByteArray* out, QString* why) const
    {
        const qint64 offset = offsetAndIndex & 0xffffff00u;
        const unsigned index = offsetAndIndex & 0xffu;
        if (offset <= 0 || offset + 12 > size_) {
            *why = u"not dosyasında yeri yok"_s;
            return false;
        }
        const uchar* block = data_ + offset;
        if (block[0] == 2) {  // a block of its own: type, blocks, length, modification number, data
            if (index != 0xff || le32(block + 3) != size || offset + 9 + qint64(size) > size_) {
                *why = u"not dosyasındaki kayıt bozuk"_s;
                return false;
            }
            *out = QByteArray(reinterpret_cast<const char*>(block + 9), qsizetype(size));
            return true;
        }
        if (block[0] == 3) {  // a slot: the table after the 12-byte header gives its place and length
            if (offset + 12 + qint64(index) * 5 + 5 > size_) {
                *why = u"not dosyasındaki kayıt bozuk"_s;
                return false;
            }
            const uchar* slot = block + 12 + index * 5;
            const qint64 start = qint64(slot[0]) * 16;
            const qint64 length = (qint64(slot[1]) - 1) * 16 + slot[4];
            if (slot[1] == 0 || length != qint64(size) || offset + start + length > size_) {
                *why = u"not dosyasındaki kayıt bozuk"_s;
                return false;
            }
            *out = QByteArray(reinterpret_cast<const char*>(block + start), qsizetype(size));
            return true;
        }
        *why = u"not dosyasında bu yerde not yok"_s;
        return false;
    }

private:
    QFile file_;
    QByteArray copy_;
    const uchar* data_ = nullptr;
    qint64 size_ = 0;
};

struct SourceField {
    QString name;
    int type = 0;
    int length = 0;    // bytes in the record
    int decimals = 0;  // BCD only
    int offset = 0;
    QString unreadable;  // why its values cannot be read ("Bytes türünde"); empty when they can
};

// A value as the old table holds it.
struct Cell {
    enum Kind { Null, Text, Int, Real, Date, Stamp, Time, Bool, Bad } kind = Null;
    QString text;  // Text; for Bad why it could not be read
    qint64 i = 0;
    double r = 0;
    QDate date;
    QTime time;
    bool b = false;
};

// One table through pxlib: its header, fields and the values of a record. Records are
// read block by block along the chain of data blocks, one read per block.
class ParadoxTable {
public:
    ParadoxTable(const QString& path, const QString& fileName)
        : fileName_(fileName), owner_(PX_new3(&ParadoxTable::onError, nullptr, nullptr, nullptr, nullptr), &PX_delete)
    {
        doc_ = owner_.get();
        if (!doc_) throw DbError(fileName + u" okunamadı: bellek yetmedi."_s);
        const QString damaged = fileName + u" okunamadı (Paradox tablosu değil ya da bozuk)."_s;
        // Opened for reading only (pxlib's own opening asks for writing as well, which a CD
        // or a read-only share refuses); closed after pxlib let go of it.
        file_.reset(std::fopen(QFile::encodeName(path).constData(), "rb"));
        if (!file_ || !soundLayout(file_.get())) throw DbError(damaged);
        if (PX_open_fp(doc_, file_.get()) < 0 || !doc_->px_head) {
            // A failed open has freed the list of blocks but still points at it.
            doc_->px_indexdata = nullptr;
            throw DbError(damaged);
        }
        head_ = doc_->px_head;
        if (head_->px_filetype != pxfFileTypIndexDB && head_->px_filetype != pxfFileTypNonIndexDB)
            throw DbError(fileName + u" bir Paradox veri tablosu değil."_s);
        if (head_->px_encryption != 0) throw DbError(fileName + u" parolayla korunuyor; okunamadı."_s);
        codePage_ = head_->px_doscodepage;
        textCodePage_ = paradoxTextCodePage(codePage_);
        int offset = 0;
        for (int i = 0; i < head_->px_numfields; ++i) {
            const pxfield_t& f = head_->px_fields[i];
            SourceField s;
            s.name = f.px_fname ? decodeText(f.px_fname, qsizetype(std::strlen(f.px_fname)), textCodePage_).trimmed()
                                : QString();
            s.type = static_cast<unsigned char>(f.px_ftype);
            s.length = f.px_flen;
            s.decimals = f.px_fdc;
            s.offset = offset;
            const int width = fixedWidth(s.type);
            if (!isReadableType(s.type))
                s.unreadable = paradoxTypeName(s.type) + u" türünde"_s;
            else if (width != 0 && s.length != width)  // its value would be read past the field
                s.unreadable = paradoxTypeName(s.type) + u" türünde, uzunluğu "_s + QString::number(s.length)
                               + u" bayt ("_s + QString::number(width) + u" olmalı)"_s;
            offset += f.px_flen;
            fields_.push_back(s);
        }
        if (offset != head_->px_recordsize || head_->px_recordsize <= 0)
            throw DbError(fileName + u" okunamadı: alanların uzunlukları kayıt uzunluğunu tutmuyor."_s);
    }
    ParadoxTable(const ParadoxTable&) = delete;
    ParadoxTable& operator=(const ParadoxTable&) = delete;

    int codePage() const { return codePage_; }
    int textCodePage() const { return textCodePage_; }
    qint64 recordCount() const { return head_->px_numrecords; }
    qint64 lastAutoIncrement() const { return head_->px_autoinc; }  // the last number the table gave
    const std::vector<SourceField>& fields() const { return fields_; }
    void setMemoFile(const MemoFile* memo) { memo_ = memo; }

    // Calls onRecord(record, 1-based record number) for every record, and
    // onShortBlock(block number, records in it, records read) for a block the file ends in.
    template <typename F, typename G>
    void forEachRecord(F&& onRecord, G&& onShortBlock)
    {
        const int blockSize = head_->px_maxtablesize * 0x400;
        const int recordSize = head_->px_recordsize;
        std::vector<char> block(size_t(blockSize), 0);
        unsigned blockNo = head_->px_firstblock;
        qint64 recordNo = 0;
        for (unsigned visited = 0; blockNo > 0 && visited < head_->px_fileblocks; ++visited) {
            const long position = long(head_->px_headersize) + long(blockNo - 1) * blockSize;
            std::fill(block.begin(), block.end(), 0);
            // Straight from the file: pxlib's reading fills what the file lacks with zeros.
            size_t got = 0;
            if (std::fseek(file_.get(), position, SEEK_SET) != 0
                || (got = std::fread(block.data(), 1, size_t(blockSize), file_.get())) < 6)
                throw DbError(fileName_ + u" okunamadı: veri bloğu "_s + QString::number(blockNo) + u" eksik."_s);
            const auto* b = reinterpret_cast<const unsigned char*>(block.data());
            const unsigned next = le16(b);
            const auto used = static_cast<qint16>(le16(b + 4));
            // The block's last record starts `used` bytes in; a larger value marks an unused block.
            const int count = used >= 0 && used <= blockSize - 6 - recordSize ? used / recordSize + 1 : 0;
            // Only records that were read whole: the rest of a block cut off by the end of
            // the file is not there.
            const int whole = std::min(count, int((got - 6) / size_t(recordSize)));
            for (int i = 0; i < whole; ++i) onRecord(block.data() + 6 + i * recordSize, ++recordNo);
            if (whole < count) onShortBlock(blockNo, count, whole);
            blockNo = next;
        }
    }

    Cell value(const char* record, const SourceField& f) const
    {
        char* p = const_cast<char*>(record + f.offset);
        const auto* u = reinterpret_cast<const unsigned char*>(p);
        Cell c;
        switch (f.type) {
        case pxfAlpha: {
            const auto n = qsizetype(strnlen(p, size_t(f.length)));
            if (n == 0) return c;
            c.kind = Cell::Text;
            c.text = decodeText(p, n, textCodePage_);
            return c;
        }
        case pxfShort:
        case pxfLong:
        case pxfAutoInc: {
            qint64 v = 0;
            if (!storedInteger(u, f.type == pxfShort ? 2 : 4, &v)) return c;
            c.kind = Cell::Int;
            c.i = v;
            return c;
        }
        case pxfNumber:
        case pxfCurrency: {
            double v = 0;
            if (!storedDouble(u, &v)) return c;
            c.kind = Cell::Real;
            c.r = v;
            return c;
        }
        case pxfLogical: {
            qint64 v = 0;
            if (!storedInteger(u, 1, &v)) return c;
            c.kind = Cell::Bool;
            c.b = v != 0;
            return c;
        }
        case pxfDate: {
            qint64 v = 0;
            if (!storedInteger(u, 4, &v)) return c;
            const QDate d = v > 0 ? QDate::fromJulianDay(v + kJulianDayZero) : QDate();
            if (!d.isValid() || d.year() < 1 || d.year() > 9999) return bad(u"geçersiz tarih değeri ("_s + QString::number(v) + u')');
            c.kind = Cell::Date;
            c.date = d;
            return c;
        }
        case pxfTime: {
            qint64 v = 0;
            if (!storedInteger(u, 4, &v)) return c;
            if (v < 0 || v >= 86400000) return bad(u"geçersiz saat değeri ("_s + QString::number(v) + u')');
            c.kind = Cell::Time;
            c.time = QTime::fromMSecsSinceStartOfDay(int(v));
            return c;
        }
        case pxfTimestamp: {
            double v = 0;
            if (!storedDouble(u, &v)) return c;
            double days = std::floor(v / kMsPerDay);
            qint64 ms = std::llround(v - days * kMsPerDay);
            if (ms >= qint64(kMsPerDay)) {
                days += 1;
                ms -= qint64(kMsPerDay);
            }
            const QDate d = std::isfinite(days) && days > 0 && days < 4e6 ? QDate::fromJulianDay(qint64(days) + kJulianDayZero) : QDate();
            if (!d.isValid() || d.year() > 9999)
                return bad(u"geçersiz tarih-saat değeri ("_s + QString::number(v, 'g', 17) + u')');
            c.kind = Cell::Stamp;
            c.date = d;
            c.time = QTime::fromMSecsSinceStartOfDay(int(ms));
            return c;
        }
        case pxfBCD: {
            if (static_cast<unsigned char>(p[0]) == 0) return c;
            char* text = nullptr;
            if (PX_get_data_bcd(doc_, reinterpret_cast<unsigned char*>(p), f.decimals, &text) <= 0 || !text)
                return bad(u"BCD değeri okunamadı"_s);
            // pxlib writes the decimal point of the C library's locale.
            QString s = QString::fromLatin1(text);
            doc_->free(doc_, text);
            s.replace(u',', u'.');
            bool ok = false;
            const double v = s.toDouble(&ok);
            if (!ok || !std::isfinite(v)) return bad(u"BCD değeri okunamadı"_s);
            c.kind = Cell::Real;
            c.r = v;
            return c;
        }
        case pxfMemoBLOb:
        case pxfBLOb:
        case pxfFmtMemoBLOb: return memoValue(u, f);
        }
        return c;
    }

private:
    static Cell bad(const QString& why)
    {
        Cell c;
        c.kind = Cell::Bad;
        c.text = why;
        return c;
    }

    // The last ten bytes of a memo field say where the memo is and how long it is; the
    // bytes before them hold its beginning, which is the whole of a short memo.
    Cell memoValue(const unsigned char* p, const SourceField& f) const
    {
        const int leader = f.length - 10;
        if (leader < 0) return bad(u"not alanı bozuk"_s);
        const quint32 place = le32(p + leader);
        const quint32 size = le32(p + leader + 4);
        if (size == 0) return {};
        QByteArray bytes;
        if (size <= quint32(leader)) {
            bytes = QByteArray(reinterpret_cast<const char*>(p), qsizetype(size));
        } else {
            if (!memo_) return bad(u"not dosyası (.MB) yok"_s);
            QString why;
            if (!memo_->read(place, size, &bytes, &why)) return bad(why);
        }
        // A memo's text ends at its first zero byte (a formatted memo's layout follows it).
        const qsizetype end = bytes.indexOf('\0');
        if (end >= 0) bytes.truncate(end);
        if (bytes.isEmpty()) return {};
        Cell c;
        c.kind = Cell::Text;
        c.text = decodeText(bytes.constData(), bytes.size(), textCodePage_);
        return c;
    }

    // pxlib would print its complaints; what the import can say is said in the report.
    static void onError(pxdoc_t*, int, const char*, void*) {}

    QString fileName_;
    // Before the document: members go in reverse order, the file after pxlib is done with it.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    std::unique_ptr<pxdoc_t, void (*)(pxdoc_t*)> owner_;
    pxdoc_t* doc_ = nullptr;
    pxhead_t* head_ = nullptr;
    int codePage_ = 0;
    int textCodePage_ = 1254;
    std::vector<SourceField> fields_;
    const MemoFile* memo_ = nullptr;
};

// ---------------------------------------------------------------- values into fields

QString shown(const Cell& c)
{
    switch (c.kind) {
    case Cell::Text: {
        QString t = c.text;
        if (t.size() > 40) t = t.left(40) + u'…';
        return u'"' + t + u'"';
    }
    case Cell::Int: return QString::number(c.i);
    case Cell::Real: return QString::number(c.r, 'g', 15);
    case Cell::Date: return dateText(c.date);
    case Cell::Stamp: return dateTimeText(QDateTime(c.date, c.time));
    case Cell::Time: return c.time.toString(u"HH:mm:ss"_s);
    case Cell::Bool: return c.b ? u"doğru"_s : u"yanlış"_s;
    case Cell::Null:
    case Cell::Bad: break;
    }
    return {};
}

QString stampText(const QDate& d, const QTime& t)
{
    // Built from its parts: a wall-clock time of a daylight-saving gap stays as it was.
    return isoDate(d) + u' ' + t.toString(u"HH:mm:ss.zzz"_s);
}

const QString kLeftEmpty = u"; boş bırakıldı"_s;

// The value a field of `f`'s type stores for `c`, in the form the engine takes; null and
// `why` set when it does not fit (or, for a text, set when it was cut).
class Converter {
public:
    explicit Converter(const Dialect& d) : d_(d) {}

    QVariant operator()(const FieldDef& f, const Cell& c, QString* why) const
    {
        if (c.kind == Cell::Null) return {};
        if (c.kind == Cell::Bad) {
            *why = c.text + kLeftEmpty;
            return {};
        }
        switch (f.type) {
        case FieldType::Alpha:
        case FieldType::Memo: return text(f, c, why);
        case FieldType::Long:
        case FieldType::Short:
        case FieldType::AutoInc: return integer(f, c, why);
        case FieldType::Number:
        case FieldType::Money: return real(c, why);
        case FieldType::Date: return date(c, why);
        case FieldType::Timestamp: return stamp(c, why);
        case FieldType::Logical: return logical(c, why);
        }
        return {};
    }

private:
    QVariant text(const FieldDef& f, const Cell& c, QString* why) const
    {
        QString s;
        switch (c.kind) {
        case Cell::Text: s = c.text; break;
        case Cell::Int: s = QString::number(c.i); break;
        case Cell::Real: s = QString::number(c.r, 'g', 15); break;
        case Cell::Date: s = dateText(c.date); break;
        case Cell::Stamp: s = dateTimeText(QDateTime(c.date, c.time)); break;
        case Cell::Time: s = c.time.toString(u"HH:mm:ss"_s); break;
        case Cell::Bool: s = c.b ? u"E"_s : u"H"_s; break;
        case Cell::Null:
        case Cell::Bad: break;
        }
        if (s.isEmpty()) return {};
        if (f.type == FieldType::Alpha && s.size() > f.width) {
            *why = QString::number(s.size()) + u" karakter, alan "_s + QString::number(f.width)
                   + u" karakter; kısaltılarak yazıldı"_s;
            s.truncate(f.width);
        }
        return s;
    }

    static bool textNumber(const Cell& c, double* v, QString* why)
    {
        if (parseNumber(c.text, v)) return true;
        *why = shown(c) + u" bir sayı değil"_s + kLeftEmpty;
        return false;
    }

    // Any cell as a number; false (with the reason) when it is none.
    bool number(const Cell& c, double* v, QString* why) const
    {
        switch (c.kind) {
        case Cell::Int: *v = double(c.i); return true;
        case Cell::Real: *v = c.r; return true;
        case Cell::Bool: *v = c.b ? 1 : 0; return true;
        case Cell::Text: return textNumber(c, v, why);
        default: *why = shown(c) + u" bir sayı değil"_s + kLeftEmpty; return false;
        }
    }

    QVariant integer(const FieldDef& f, const Cell& c, QString* why) const
    {
        double v = 0;
        if (!number(c, &v, why)) return {};
        if (!std::isfinite(v) || v != std::trunc(v)) {
            *why = shown(c) + u" tam sayı değil"_s + kLeftEmpty;
            return {};
        }
        const double lo = f.type == FieldType::Short ? -32768.0 : double(std::numeric_limits<qint32>::min());
        const double hi = f.type == FieldType::Short ? 32767.0 : double(std::numeric_limits<qint32>::max());
        if (v < lo || v > hi) {
            *why = shown(c) + u" alanın aralığı dışında"_s + kLeftEmpty;
            return {};
        }
        return QVariant(qlonglong(v));
    }

    QVariant real(const Cell& c, QString* why) const
    {
        double v = 0;
        if (!number(c, &v, why)) return {};
        if (!std::isfinite(v)) {
            *why = shown(c) + u" alanın aralığı dışında"_s + kLeftEmpty;
            return {};
        }
        return QVariant(v);
    }

    static QDate textDate(const QString& t)
    {
        const DateInput in = parseDateText(t);
        if (in.isValid()) return in.date;
        return QDate::fromString(t.trimmed().left(10), u"yyyy-MM-dd"_s);
    }

    QVariant date(const Cell& c, QString* why) const
    {
        switch (c.kind) {
        case Cell::Date: return isoDate(c.date);
        case Cell::Stamp:
            if (c.time.msecsSinceStartOfDay() != 0)
                *why = shown(c) + u" saatli bir değer; yalnız tarihi yazıldı"_s;
            return isoDate(c.date);
        case Cell::Text: {
            const QDate d = textDate(c.text);
            if (d.isValid()) return isoDate(d);
            break;
        }
        default: break;
        }
        *why = shown(c) + u" bir tarih değil"_s + kLeftEmpty;
        return {};
    }

    QVariant stamp(const Cell& c, QString* why) const
    {
        switch (c.kind) {
        case Cell::Stamp: return stampText(c.date, c.time);
        case Cell::Date: return stampText(c.date, QTime(0, 0));
        case Cell::Text: {
            const QString t = c.text.simplified();
            for (const QString& format : {u"dd.MM.yyyy HH:mm:ss"_s, u"dd.MM.yyyy HH:mm"_s, u"d.M.yyyy H:mm:ss"_s,
                                          u"d.M.yyyy H:mm"_s, u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-ddTHH:mm:ss"_s,
                                          u"yyyy-MM-dd HH:mm"_s}) {
                const QDateTime dt = QDateTime::fromString(t, format);
                if (dt.isValid()) return stampText(dt.date(), dt.time());
            }
            const QDate d = textDate(t);
            if (d.isValid()) return stampText(d, QTime(0, 0));
            break;
        }
        default: break;
        }
        *why = shown(c) + u" bir tarih-saat değil"_s + kLeftEmpty;
        return {};
    }

    QVariant logical(const Cell& c, QString* why) const
    {
        switch (c.kind) {
        case Cell::Bool: return d_.logicalValue(c.b);
        case Cell::Int:
        case Cell::Real: {
            const double v = c.kind == Cell::Int ? double(c.i) : c.r;
            if (v == 0 || v == 1) return d_.logicalValue(v == 1);
            break;
        }
        case Cell::Text: {
            static const QStringList yes{u"E"_s, u"EVET"_s, u"T"_s, u"TRUE"_s, u"DOĞRU"_s, u"Y"_s, u"YES"_s, u"1"_s};
            static const QStringList no{u"H"_s, u"HAYIR"_s, u"F"_s, u"FALSE"_s, u"YANLIŞ"_s, u"N"_s, u"NO"_s, u"0"_s};
            const QString t = trUpper(c.text.trimmed());
            if (yes.contains(t)) return d_.logicalValue(true);
            if (no.contains(t)) return d_.logicalValue(false);
            break;
        }
        default: break;
        }
        *why = shown(c) + u" bir mantıksal değer değil"_s + kLeftEmpty;
        return {};
    }

    const Dialect& d_;
};

// ---------------------------------------------------------------- writing

// Rows go in many at a time through one prepared statement reused for every full batch:
// a workstation on a network pays for every statement.
class RowWriter {
public:
    RowWriter(Database& db, const TableDef& t, const std::vector<int>& columns) : db_(db), t_(t), columns_(columns)
    {
        perStatement_ = std::max(1, std::min(200, 30000 / std::max(1, int(columns.size()))));
        pending_.reserve(size_t(perStatement_) * columns.size());
    }
    ~RowWriter()
    {
        if (full_) db_.release(full_);
    }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // The values of one row, in the order of the columns.
    void add(std::vector<QVariant>& row)
    {
        for (QVariant& v : row) pending_.push_back(std::move(v));
        if (++rows_ == perStatement_) {
            if (!full_) full_ = db_.acquire(insertSql(perStatement_));
            run(full_);
        }
    }

    void flush()
    {
        if (rows_ == 0) return;
        QSqlQuery* q = db_.acquire(insertSql(rows_));
        try {
            run(q);
        } catch (...) {
            db_.release(q);
            throw;
        }
        db_.release(q);
    }

private:
    QString insertSql(int rows) const
    {
        const Dialect& d = db_.dialect();
        QStringList cols;
        for (int i : columns_) cols << d.quote(t_.fields[i].name);
        const QString tuple = u'(' + QStringList(int(columns_.size()), u"?"_s).join(u',') + u')';
        return u"INSERT INTO "_s + d.tableName(t_) + u" ("_s + cols.join(u", "_s) + u") VALUES "_s
               + QStringList(rows, tuple).join(u',');
    }

    void run(QSqlQuery* q)
    {
        for (int i = 0; i < int(pending_.size()); ++i) q->bindValue(i, pending_[size_t(i)]);
        db_.countRoundTrip();
        if (!q->exec()) db_.fail(q->lastError(), u"INSERT INTO "_s + t_.name);
        pending_.clear();
        rows_ = 0;
    }

    Database& db_;
    const TableDef& t_;
    std::vector<int> columns_;
    int perStatement_ = 1;
    int rows_ = 0;
    std::vector<QVariant> pending_;
    QSqlQuery* full_ = nullptr;
};

// The primary key as the engine's unique index sees it (texts by their Turkish sort key,
// a blank text as empty), so a row the index would refuse is left out and reported
// instead of failing the whole table. Keys are kept as 128-bit hashes.
class KeyGuard {
public:
    KeyGuard(const TableDef& t, const std::vector<int>& columns)
    {
        for (const QString& name : t.primaryKey) {
            const int field = t.fieldIndex(name);
            const auto it = std::find(columns.begin(), columns.end(), field);
            parts_.push_back({field, it == columns.end() ? -1 : int(it - columns.begin()), t.fields[field].isText()});
        }
    }

    // False (and the key shown in `key`) when an earlier row had the same key.
    bool admit(const std::vector<QVariant>& row, const TableDef& t, QString* key)
    {
        if (parts_.empty()) return true;
        QByteArray bytes;
        for (const Part& p : parts_) {
            const QVariant v = p.column < 0 ? QVariant() : row[size_t(p.column)];
            if (p.text) {
                bytes += sortKey(v.toString()).toUtf8();
            } else {
                if (v.isNull()) return true;  // the engines keep blank numbers apart
                bytes += v.toString().toUtf8();
            }
            bytes += '\x1f';
        }
        const Hash h{qHashBits(bytes.constData(), size_t(bytes.size()), 0x5e1a),
                     qHashBits(bytes.constData(), size_t(bytes.size()), 0x9d2c5680)};
        if (seen_.insert(h).second) return true;
        QStringList shownParts;
        for (const Part& p : parts_) {
            const QVariant v = p.column < 0 ? QVariant() : row[size_t(p.column)];
            shownParts << t.fields[p.field].name + u" = "_s + (v.isNull() ? u"boş"_s : v.toString());
        }
        *key = shownParts.join(u", "_s);
        return false;
    }

private:
    struct Part {
        int field;
        int column;
        bool text;
    };
    struct Hash {
        size_t a, b;
        bool operator==(const Hash& o) const { return a == o.a && b == o.b; }
    };
    struct HashOf {
        size_t operator()(const Hash& h) const { return h.a; }
    };
    std::vector<Part> parts_;
    std::unordered_set<Hash, HashOf> seen_;
};

// ---------------------------------------------------------------- one table

constexpr qint64 kProgressStep = 100000;
constexpr int kKeptProblems = 1000;
constexpr int kShownProblems = 20;

// Opens the protected tables for the length of the import.
class Passwords {
public:
    explicit Passwords(Database& db) : db_(db), added_(!db.hasPassword(SessionPassword))
    {
        if (added_) db_.addPassword(SessionPassword);
    }
    ~Passwords()
    {
        if (added_) db_.dropPasswords();
    }

private:
    Database& db_;
    bool added_;
};

// SQLite keeps the pages of a table being loaded in memory until its commit instead of
// spilling them into its log on the way (a fifth of the time of a million rows); the
// connection's own size comes back afterwards.
class LoadingPageCache {
public:
    explicit LoadingPageCache(Database& db) : db_(db)
    {
        if (db.alias().engine != AliasConfig::Engine::Sqlite) return;
        previous_ = Sql::scalar(db, u"PRAGMA cache_size"_s);
        db.execute(u"PRAGMA cache_size = -262144"_s);  // up to 256 MB
    }
    ~LoadingPageCache()
    {
        if (previous_.isNull()) return;
        try {
            db_.execute(u"PRAGMA cache_size = "_s + QString::number(previous_.toLongLong()));
        } catch (const DbError&) {
        }
    }
    LoadingPageCache(const LoadingPageCache&) = delete;
    LoadingPageCache& operator=(const LoadingPageCache&) = delete;

private:
    Database& db_;
    QVariant previous_;
};

class TableImport {
public:
    TableImport(ParadoxTableReport& report, const std::function<void(const QString&)>& progress)
        : report_(report), progress_(progress)
    {
    }

    void run(const QString& path, const QString& memoPath, const TableDef& t, Database& db)
    {
        ParadoxTable source(path, report_.file);
        std::unique_ptr<MemoFile> memo;
        if (!memoPath.isEmpty()) {
            memo = std::make_unique<MemoFile>(memoPath);
            source.setMemoFile(memo.get());
        }
        report_.codePage = source.codePage();
        report_.inHeader = source.recordCount();
        if (source.codePage() != 857 && source.codePage() != 1254)
            note(report_.file + u": kod sayfası "_s
                 + (source.codePage() == 0 ? u"yok"_s : QString::number(source.codePage())) + u"; metinler "_s
                 + (source.textCodePage() == 857 ? u"857 (DOS Türkçe)"_s : u"1254 (Windows Türkçe)"_s)
                 + u" olarak okundu"_s);
        if (progress_)
            progress_(report_.file + u" -> "_s + t.name + u": "_s + QString::number(source.recordCount()) + u" kayıt"_s);

        // Which old field feeds which field of the table.
        struct Mapping {
            int source;
            int field;
        };
        std::vector<Mapping> mappings;
        std::vector<bool> fed(size_t(t.fields.size()), false);
        for (int i = 0; i < int(source.fields().size()); ++i) {
            const SourceField& s = source.fields()[size_t(i)];
            const int field = t.fieldIndex(s.name);
            if (field < 0) {
                note(report_.file + u": bilinmeyen alan "_s + s.name + u" aktarılmadı"_s);
                continue;
            }
            if (fed[size_t(field)]) {
                note(report_.file + u": "_s + t.fields[field].name + u" alanı iki kez var; ikincisi aktarılmadı"_s);
                continue;
            }
            if (!s.unreadable.isEmpty()) {
                note(report_.file + u": "_s + t.fields[field].name + u" alanı "_s + s.unreadable
                     + u", aktarılamaz; boş bırakıldı"_s);
                continue;
            }
            fed[size_t(field)] = true;
            mappings.push_back({i, field});
        }
        // The INSERT names the fields that get a value; a required one always gets one, an
        // AutoInc key without an old field is numbered by the engine.
        std::vector<int> columns;
        std::vector<int> columnOf(size_t(t.fields.size()), -1);
        for (int f = 0; f < t.fields.size(); ++f)
            if (fed[size_t(f)] || t.fields[f].required) {
                columnOf[size_t(f)] = int(columns.size());
                columns.push_back(f);
            }
        if (columns.empty()) throw DbError(report_.file + u": programın alanlarından hiçbiri yok; aktarılmadı"_s);
        const FieldDef* rowIdField = t.rowIdField();
        const int rowIdColumn = rowIdField ? columnOf[size_t(t.fieldIndex(rowIdField->name))] : -1;
        // The old tables kept sign-in passwords in clear: they arrive as their hashes.
        const int passwordField = t.fieldIndex(u"SIFRESI"_s);
        const int passwordColumn = passwordField >= 0 ? columnOf[size_t(passwordField)] : -1;

        const Converter convert(db.dialect());
        Transaction tx(db);
        db.emptyTable(t.name);
        qint64 written = 0;
        {
            RowWriter out(db, t, columns);
            KeyGuard keys(t, columns);
            std::vector<QVariant> row(columns.size());
            QString why, key;
            source.forEachRecord([&](const char* record, qint64 recordNo) {
                ++report_.read;
                std::fill(row.begin(), row.end(), QVariant());
                for (const Mapping& m : mappings) {
                    const FieldDef& f = t.fields[m.field];
                    why.clear();
                    QVariant v = convert(f, source.value(record, source.fields()[size_t(m.source)]), &why);
                    if (!why.isEmpty()) valueProblem(recordNo, f.name, why);
                    row[size_t(columnOf[size_t(m.field)])] = std::move(v);
                }
                for (size_t c = 0; c < columns.size(); ++c) {
                    const FieldDef& f = t.fields[columns[c]];
                    if (f.required && row[c].isNull()) {
                        if (fed[size_t(columns[c])]) valueProblem(recordNo, f.name, u"boş olamaz; boş metin yazıldı"_s);
                        row[c] = QString(u""_s);
                    }
                }
                if (passwordColumn >= 0 && !row[size_t(passwordColumn)].isNull()
                    && !isPasswordHash(row[size_t(passwordColumn)].toString()))
                    row[size_t(passwordColumn)] = hashPassword(row[size_t(passwordColumn)].toString());
                if (rowIdColumn >= 0 && row[size_t(rowIdColumn)].isNull()) {
                    valueProblem(recordNo, rowIdField->name, u"boş; satır aktarılmadı"_s);
                } else if (!keys.admit(row, t, &key)) {
                    rowProblem(recordNo, u"anahtar ("_s + key + u") önceki bir satırla aynı; satır aktarılmadı"_s);
                } else {
                    out.add(row);
                    ++written;
                }
                if (progress_ && report_.read % kProgressStep == 0)
                    progress_(report_.file + u": "_s + QString::number(report_.read) + u" kayıt okundu"_s);
            }, [&](unsigned blockNo, int count, int whole) {
                note(report_.file + u": veri bloğu "_s + QString::number(blockNo) + u" dosyanın sonunda kesik; "_s
                     + QString::number(count) + u" kaydın "_s + QString::number(whole)
                     + u" tanesi okundu, gerisi aktarılmadı"_s);
            });
            out.flush();
        }
        if (report_.read != source.recordCount())
            note(report_.file + u": başlığında "_s + QString::number(source.recordCount()) + u" kayıt yazıyor, "_s
                 + QString::number(report_.read) + u" kayıt okundu"_s);
        for (const QString& s : db.dialect().afterExplicitKeys(t)) Sql::run(db, s);
        if (rowIdField)
            for (const Mapping& m : mappings)
                if (&t.fields[m.field] == rowIdField && source.fields()[size_t(m.source)].type == pxfAutoInc)
                    continueAfter(db, t, *rowIdField, source.lastAutoIncrement());
        tx.commit();
        report_.written = written;
    }

private:
    // The old table's counter may stand above its highest number (its last rows deleted):
    // a new row must not take a number an old one had.
    static void continueAfter(Database& db, const TableDef& t, const FieldDef& key, qint64 lastGiven)
    {
        const Dialect& d = db.dialect();
        const QVariant highest = Sql::scalar(db, u"SELECT MAX("_s + d.quote(key.name) + u") FROM "_s + d.tableName(t));
        if (lastGiven <= 0 || (!highest.isNull() && highest.toLongLong() >= lastGiven)) return;
        if (db.alias().engine == AliasConfig::Engine::Sqlite) {
            // AUTOINCREMENT continues above the larger of its sequence and the highest key.
            const QVariantMap p{{u"t"_s, t.name}, {u"v"_s, lastGiven}};
            if (Sql::run(db, u"UPDATE main.sqlite_sequence SET seq = MAX(seq, :v) WHERE name = :t"_s, p) == 0)
                Sql::run(db, u"INSERT INTO main.sqlite_sequence (name, seq) VALUES (:t, :v)"_s, p);
        } else {
            Sql::run(db, u"SELECT setval(pg_get_serial_sequence('"_s + d.tableName(t) + u"', '"_s + key.name.toLower()
                             + u"'), :v, false)"_s,
                     {{u"v"_s, lastGiven + 1}});
        }
    }

    void note(const QString& text)
    {
        ++report_.problemCount;
        if (report_.problems.size() < kKeptProblems) report_.problems << text;
    }
    void valueProblem(qint64 recordNo, const QString& field, const QString& what)
    {
        ++report_.reportedValues;
        note(report_.file + u" satır "_s + QString::number(recordNo) + u", "_s + field + u": "_s + what);
    }
    void rowProblem(qint64 recordNo, const QString& what)
    {
        ++report_.reportedValues;
        note(report_.file + u" satır "_s + QString::number(recordNo) + u": "_s + what);
    }

    ParadoxTableReport& report_;
    const std::function<void(const QString&)>& progress_;
};

// ---------------------------------------------------------------- counters

// The first row's value of a one-row counter table.
struct CounterRow {
    qint64 rowId = -1;
    QVariant value;
};

CounterRow readCounter(Database& db, const QString& table, const QString& field)
{
    const Dialect& d = db.dialect();
    Sql q(db, u"SELECT "_s + d.rowId() + u", "_s + field + u" FROM "_s + table + u" ORDER BY "_s + d.rowId()
                  + u" LIMIT 1"_s);
    q.exec();
    CounterRow r;
    if (q.next()) {
        r.rowId = q.integer(0);
        r.value = q.isNull(1) ? QVariant() : q.value(1);
    }
    return r;
}

void writeCounter(Database& db, const QString& table, const QString& field, const CounterRow& row, const QVariant& value)
{
    if (row.rowId < 0)
        Sql::run(db, u"INSERT INTO "_s + table + u" ("_s + field + u") VALUES (:v)"_s, {{u"v"_s, value}});
    else
        Sql::run(db, u"UPDATE "_s + table + u" SET "_s + field + u" = :v WHERE "_s + db.dialect().rowId() + u" = :r"_s,
                 {{u"v"_s, value}, {u"r"_s, row.rowId}});
}

// A counter holds the next number to give. When the imported rows already use that
// number (an old directory without its counter table, or one out of step), the counter
// moves past the highest number used, so a new sale never takes an old sale's number.
QStringList keepCountersAhead(Database& db, const QSet<QString>& imported)
{
    struct Rule {
        QString table, field;
        QList<std::pair<QString, QString>> users;
    };
    const QList<Rule> rules{
        {u"NEWSATIS"_s, u"YENISATISNO"_s, {{u"SATIS"_s, u"SATISNO"_s}, {u"RECETE"_s, u"SATISNO"_s}, {u"FATURA"_s, u"SATISNO"_s}}},
        {u"NEWALIS"_s, u"NEWALISNO"_s, {{u"ALIS1"_s, u"ALISNO"_s}, {u"ALIS3"_s, u"ALISNO"_s}}},
        {u"HRKNOAL"_s, u"HRKNO"_s, {{u"HAREKET"_s, u"HAREKNO"_s}}},
        {u"FATKAYIT"_s, u"NEWFATNO"_s, {{u"FATURA"_s, u"FATNO"_s}}},
    };
    QStringList notes;
    Transaction tx(db);
    for (const Rule& r : rules) {
        bool touched = imported.contains(r.table);
        for (const auto& [table, field] : r.users) touched = touched || imported.contains(table);
        if (!touched) continue;
        double highest = 0;
        QString where;
        for (const auto& [table, field] : r.users) {
            const QVariant m = Sql::scalar(db, u"SELECT MAX("_s + field + u") FROM "_s + table);
            if (!m.isNull() && m.toDouble() > highest) {
                highest = m.toDouble();
                where = table;
            }
        }
        if (where.isEmpty()) continue;
        const CounterRow row = readCounter(db, r.table, r.field);
        const double next = row.value.isNull() ? 0 : row.value.toDouble();
        if (next > highest) continue;
        writeCounter(db, r.table, r.field, row, highest + 1);
        notes << r.table + u"."_s + r.field + u" "_s + (row.value.isNull() ? u"boştu"_s : QString::number(next, 'f', 0) + u" idi"_s)
                     + u"; "_s + where + u" tablosunda "_s + QString::number(highest, 'f', 0)
                     + u" kullanılmış, sonraki numara "_s + QString::number(highest + 1, 'f', 0) + u" yapıldı"_s;
    }
    // The provisional prescription book numbers "XX0000001" ... of RECETE and RKAYIT.
    if (imported.contains(u"RKAYIT"_s) || imported.contains(u"RECETE"_s)) {
        const QVariant last = Sql::scalar(db, u"SELECT MAX(RKDEFTERNO) FROM RECETE WHERE RKDEFTERNO LIKE 'XX%'"_s);
        bool lastOk = false;
        const qint64 used = last.isNull() ? 0 : last.toString().mid(2).trimmed().toLongLong(&lastOk);
        if (lastOk && used > 0) {
            const CounterRow row = readCounter(db, u"RKAYIT"_s, u"RECETEKAYITNO"_s);
            bool ok = false;
            const qint64 next = row.value.toString().mid(2).trimmed().toLongLong(&ok);
            if (!ok || next <= used) {
                const QString fresh = nextProvisionalBookNumber(last.toString());
                writeCounter(db, u"RKAYIT"_s, u"RECETEKAYITNO"_s, row, fresh);
                notes << u"RKAYIT.RECETEKAYITNO "_s + (row.value.isNull() ? u"boştu"_s : row.value.toString() + u" idi"_s)
                             + u"; RECETE tablosunda "_s + last.toString() + u" kullanılmış, sonraki numara "_s + fresh
                             + u" yapıldı"_s;
            }
        }
    }
    tx.commit();
    return notes;
}

}  // namespace

// ---------------------------------------------------------------- the directory

namespace {
QString summaryLine(const ParadoxTableReport& t)
{
    if (!t.error.isEmpty()) return t.file + u" -> "_s + t.table + u": aktarılamadı: "_s + t.error;
    return t.file + u" -> "_s + t.table + u": "_s + QString::number(t.read) + u" okundu, "_s + QString::number(t.written)
           + u" yazıldı, "_s + QString::number(t.reportedValues) + u" değer bildirildi"_s;
}
}  // namespace

bool ParadoxImportReport::ok() const
{
    return !tables.empty() && std::all_of(tables.begin(), tables.end(), [](const ParadoxTableReport& t) { return t.ok(); });
}

QStringList ParadoxImportReport::lines() const
{
    QStringList r;
    qint64 rows = 0;
    int incomplete = 0;
    for (const ParadoxTableReport& t : tables) {
        rows += t.written;
        if (!t.ok()) ++incomplete;
        r << summaryLine(t);
        if (!t.error.isEmpty()) continue;
        const int shownCount = int(std::min<qint64>(kShownProblems, t.problems.size()));
        for (int i = 0; i < shownCount; ++i) r << u"  "_s + t.problems[i];
        if (t.problemCount > shownCount) r << u"  … ve "_s + QString::number(t.problemCount - shownCount) + u" tane daha"_s;
    }
    if (!skippedFiles.isEmpty()) {
        r << u"Aktarılmayan dosyalar:"_s;
        for (const QString& f : skippedFiles) r << u"  "_s + f;
    }
    for (const QString& n : counterNotes) r << u"Sayaç: "_s + n;
    if (tables.empty()) r << u"Dizinde programın tablolarından hiçbiri yok."_s;
    else if (incomplete == 0) r << QString::number(tables.size()) + u" tablo, "_s + QString::number(rows) + u" satır aktarıldı."_s;
    else
        r << QString::number(tables.size()) + u" tablo, "_s + QString::number(rows) + u" satır aktarıldı; "_s
                 + QString::number(incomplete) + u" tablo eksik aktarıldı."_s;
    return r;
}

ParadoxImportReport importParadoxDirectory(const QString& dirPath, Database& target, bool replace,
                                           const std::function<void(const QString&)>& progress)
{
    const QDir dir(dirPath);
    if (!dir.exists()) throw DbError(u"Dizin bulunamadı: "_s + dirPath);
    Passwords open(target);
    target.createSchema();
    const QStringList holding = tablesHoldingData(target);
    if (!holding.isEmpty() && !replace)
        throw DbError(u"Hedef veritabanında kayıt var ("_s + holding.mid(0, 5).join(u", "_s)
                      + (holding.size() > 5 ? u", ..."_s : QString())
                      + u"); üzerine yazmak için --replace verin."_s);

    ParadoxImportReport report;
    // The directory's tables by the schema's name; memo files by their table's file name.
    std::map<QString, QFileInfo> tableFiles;
    QHash<QString, QFileInfo> memoFiles;
    QList<QFileInfo> others;
    for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString suffix = fi.suffix().toUpper();
        if (suffix == u"MB"_s) {
            memoFiles.insert(fi.completeBaseName().toUpper(), fi);
            continue;
        }
        const TableDef* def = suffix == u"DB"_s ? findTable(fi.completeBaseName()) : nullptr;
        if (suffix != u"DB"_s) others << fi;
        else if (!def) report.skippedFiles << fi.fileName() + u" (programın tablosu değil)"_s;
        else if (def->working) report.skippedFiles << fi.fileName() + u" (çalışma tablosu, aktarılmaz)"_s;
        else if (tableFiles.count(def->name)) report.skippedFiles << fi.fileName() + u" (aynı tablonun ikinci dosyası)"_s;
        else tableFiles.emplace(def->name, fi);
    }
    QSet<QString> usedMemos;
    for (const auto& [name, fi] : tableFiles) usedMemos.insert(fi.completeBaseName().toUpper());
    for (auto it = memoFiles.begin(); it != memoFiles.end(); ++it)
        if (!usedMemos.contains(it.key())) others << it.value();
    std::sort(others.begin(), others.end(), [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    for (const QFileInfo& fi : others) report.skippedFiles << fi.fileName() + u" (tablo dosyası değil)"_s;

    const LoadingPageCache cache(target);
    QSet<QString> imported;
    for (const TableDef& t : allTables()) {
        const auto found = tableFiles.find(t.name);
        if (found == tableFiles.end()) continue;
        const QFileInfo& fi = found->second;
        ParadoxTableReport& rep = report.tables.emplace_back();
        rep.file = fi.fileName();
        rep.table = t.name;
        const auto memo = memoFiles.constFind(fi.completeBaseName().toUpper());
        try {
            TableImport(rep, progress).run(fi.filePath(), memo == memoFiles.constEnd() ? QString() : memo->filePath(), t, target);
            imported.insert(t.name);
        } catch (const ConnectionLost&) {
            throw;
        } catch (const DbError& e) {
            rep.error = e.message();
            rep.written = 0;
        }
        if (progress) progress(summaryLine(rep));
    }
    if (!imported.isEmpty()) {
        report.counterNotes = keepCountersAhead(target, imported);
        for (const QString& s : target.dialect().afterBulkLoad()) target.execute(s);
    }
    return report;
}

}  // namespace selvar
