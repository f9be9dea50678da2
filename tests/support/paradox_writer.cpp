#include "support/paradox_writer.h"

#include "data/schema.h"

#include "core/turkish.h"
#include "data/paradox_import.h"

#include <cstdio>
#include <iconv.h>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

// pxlib writes the header again after every record, a byte at a time: into a file that
// is thousands of system calls per record. The table is built in memory through a stream
// of our own and written out at the end.
struct MemoryStream {
    std::vector<char> data;
    size_t pos = 0;

    static ssize_t read(void* cookie, char* buf, size_t size)
    {
        auto* s = static_cast<MemoryStream*>(cookie);
        const size_t n = s->pos < s->data.size() ? std::min(size, s->data.size() - s->pos) : 0;
        if (n) std::memcpy(buf, s->data.data() + s->pos, n);
        s->pos += n;
        return ssize_t(n);
    }
    static ssize_t write(void* cookie, const char* buf, size_t size)
    {
        auto* s = static_cast<MemoryStream*>(cookie);
        if (s->pos + size > s->data.size()) {
            if (s->pos + size > s->data.capacity()) s->data.reserve(std::max(s->pos + size, s->data.capacity() * 2));
            s->data.resize(s->pos + size);
        }
        std::memcpy(s->data.data() + s->pos, buf, size);
        s->pos += size;
        return ssize_t(size);
    }
    static int seek(void* cookie, off64_t* offset, int whence)
    {
        auto* s = static_cast<MemoryStream*>(cookie);
        const off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? off64_t(s->pos) : off64_t(s->data.size());
        const off64_t to = base + *offset;
        if (to < 0) return -1;
        s->pos = size_t(to);
        *offset = to;
        return 0;
    }
    static int close(void*) { return 0; }
};

constexpr qint64 kJulianDayZero = 1721425;  // day 1 of Paradox dates is 1 January of the year 1

char pxType(ParadoxType t)
{
    switch (t) {
    case ParadoxType::Alpha: return pxfAlpha;
    case ParadoxType::Short: return pxfShort;
    case ParadoxType::Long: return pxfLong;
    case ParadoxType::AutoInc: return pxfAutoInc;
    case ParadoxType::Number: return pxfNumber;
    case ParadoxType::Money: return pxfCurrency;
    case ParadoxType::Date: return pxfDate;
    case ParadoxType::Time: return pxfTime;
    case ParadoxType::Timestamp: return pxfTimestamp;
    case ParadoxType::Logical: return pxfLogical;
    case ParadoxType::Memo: return pxfMemoBLOb;
    case ParadoxType::FormattedMemo: return pxfFmtMemoBLOb;
    case ParadoxType::Binary: return pxfBLOb;
    case ParadoxType::Bcd: return pxfBCD;
    case ParadoxType::Bytes: return pxfBytes;
    }
    return pxfAlpha;
}

int storedLength(const ParadoxField& f)
{
    switch (f.type) {
    case ParadoxType::Alpha:
    case ParadoxType::Bytes: return f.size;
    case ParadoxType::Short: return 2;
    case ParadoxType::Long:
    case ParadoxType::AutoInc:
    case ParadoxType::Date:
    case ParadoxType::Time: return 4;
    case ParadoxType::Number:
    case ParadoxType::Money:
    case ParadoxType::Timestamp: return 8;
    case ParadoxType::Logical: return 1;
    case ParadoxType::Memo:
    case ParadoxType::FormattedMemo:
    case ParadoxType::Binary: return f.size > 10 ? f.size : 20;
    case ParadoxType::Bcd: return 17;
    }
    return 0;
}

bool isBlob(ParadoxType t) { return t == ParadoxType::Memo || t == ParadoxType::FormattedMemo || t == ParadoxType::Binary; }

[[noreturn]] void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

}  // namespace

struct ParadoxWriter::Private {
    QString path;
    QString memoPath;
    QList<ParadoxField> fields;
    std::vector<int> offsets;
    int codePage = 1254;
    MemoryStream stream;
    FILE* fp = nullptr;
    pxdoc_t* doc = nullptr;
    pxblob_t* blob = nullptr;
    std::vector<char> record;
    qint64 records = 0;
    qint64 highestAutoInc = 0;
    bool closed = false;

    ~Private()
    {
        if (doc) PX_delete(doc);
        if (fp) std::fclose(fp);
    }

    void putBlob(char* at, int length, const QByteArray& bytes)
    {
        const int leader = length - 10;
        // A shared memo block has 64 slots; pxlib would go on past them.
        if (bytes.size() > leader && bytes.size() <= 2048 && blob->subblockblobcount >= 64) blob->subblockfree = 0;
        if (PX_put_data_blob(doc, at, length, const_cast<char*>(bytes.constData()), int(bytes.size())) < 0)
            fail(memoPath + u": not yazılamadı."_s);
        if (bytes.size() > leader) {
            // The next memo goes after everything written, whatever pxlib counted.
            FILE* mb = blob->mb_stream->s.fp;
            std::fflush(mb);
            std::fseek(mb, 0, SEEK_END);
            const long used = (std::ftell(mb) + 4095) / 4096 - 1;
            if (blob->used_datablocks < used) blob->used_datablocks = int(used);
        }
    }
};

ParadoxWriter::ParadoxWriter(const QString& path, const QList<ParadoxField>& fields, int codePage)
    : d_(std::make_unique<Private>())
{
    d_->path = path;
    d_->fields = fields;
    d_->codePage = codePage;
    cookie_io_functions_t io{&MemoryStream::read, &MemoryStream::write, &MemoryStream::seek, &MemoryStream::close};
    d_->fp = fopencookie(&d_->stream, "w+", io);
    d_->doc = PX_new();
    if (!d_->fp || !d_->doc) fail(path + u": pxlib başlatılamadı."_s);
    // pxlib keeps the field list and frees it with the document.
    auto* list = static_cast<pxfield_t*>(std::calloc(size_t(std::max<qsizetype>(1, fields.size())), sizeof(pxfield_t)));
    int offset = 0;
    bool memos = false;
    for (int i = 0; i < fields.size(); ++i) {
        const ParadoxField& f = fields[i];
        list[i].px_fname = strdup(encodeParadoxText(f.name, codePage).constData());
        list[i].px_ftype = pxType(f.type);
        list[i].px_flen = storedLength(f);
        list[i].px_fdc = f.type == ParadoxType::Bcd ? f.size : 0;
        d_->offsets.push_back(offset);
        offset += list[i].px_flen;
        memos = memos || isBlob(f.type);
    }
    if (PX_create_fp(d_->doc, list, int(fields.size()), d_->fp, pxfFileTypNonIndexDB) < 0)
        fail(path + u": tablo oluşturulamadı."_s);
    d_->doc->px_head->px_doscodepage = codePage;
    PX_set_tablename(d_->doc, QFileInfo(path).fileName().toLatin1().constData());
    if (memos) {
        d_->memoPath = QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName() + u".MB"_s);
        d_->blob = PX_new_blob(d_->doc);
        if (!d_->blob || PX_create_blob_file(d_->blob, QFile::encodeName(d_->memoPath).constData()) < 0)
            fail(d_->memoPath + u": not dosyası oluşturulamadı."_s);
    }
    d_->record.assign(size_t(d_->doc->px_head->px_recordsize), 0);
}

ParadoxWriter::~ParadoxWriter()
{
    try {
        close();
    } catch (const std::exception&) {
    }
}

qint64 ParadoxWriter::records() const { return d_->records; }

void ParadoxWriter::add(const QVariantList& values)
{
    if (d_->closed) fail(d_->path + u": tablo kapatılmış."_s);
    std::fill(d_->record.begin(), d_->record.end(), 0);
    pxdoc_t* doc = d_->doc;
    for (int i = 0; i < d_->fields.size() && i < values.size(); ++i) {
        const QVariant& v = values[i];
        if (!v.isValid() || v.isNull()) continue;
        const ParadoxField& f = d_->fields[i];
        char* at = d_->record.data() + d_->offsets[size_t(i)];
        const int length = storedLength(f);
        switch (f.type) {
        case ParadoxType::Alpha: {
            QByteArray bytes = encodeParadoxText(v.toString(), d_->codePage).left(length);
            PX_put_data_alpha(doc, at, length, bytes.data());
            break;
        }
        case ParadoxType::Short: PX_put_data_short(doc, at, 2, short(v.toInt())); break;
        case ParadoxType::AutoInc:
            d_->highestAutoInc = std::max<qint64>(d_->highestAutoInc, v.toLongLong());
            PX_put_data_long(doc, at, 4, int(v.toLongLong()));
            break;
        case ParadoxType::Long: PX_put_data_long(doc, at, 4, int(v.toLongLong())); break;
        case ParadoxType::Number:
        case ParadoxType::Money: PX_put_data_double(doc, at, 8, v.toDouble()); break;
        case ParadoxType::Date: PX_put_data_long(doc, at, 4, int(v.toDate().toJulianDay() - kJulianDayZero)); break;
        case ParadoxType::Time: PX_put_data_long(doc, at, 4, v.toTime().msecsSinceStartOfDay()); break;
        case ParadoxType::Timestamp: {
            const QDateTime dt = v.toDateTime();
            PX_put_data_double(doc, at, 8,
                               double(dt.date().toJulianDay() - kJulianDayZero) * 86400000.0 + dt.time().msecsSinceStartOfDay());
            break;
        }
        case ParadoxType::Logical: PX_put_data_byte(doc, at, 1, v.toBool() ? 1 : 0); break;
        case ParadoxType::Bcd: {
            // pxlib wants the decimal point written out.
            QByteArray text = QByteArray::number(v.toDouble(), 'f', std::max(1, f.size));
            PX_put_data_bcd(doc, at, f.size, text.data());
            break;
        }
        case ParadoxType::Bytes: {
            QByteArray bytes = v.toByteArray().leftJustified(length, '\0', true);
            PX_put_data_bytes(doc, at, length, bytes.data());
            break;
        }
        case ParadoxType::Memo:
        case ParadoxType::FormattedMemo:
            d_->putBlob(at, length, encodeParadoxText(v.toString(), d_->codePage));
            break;
        case ParadoxType::Binary: d_->putBlob(at, length, v.toByteArray()); break;
        }
    }
    if (PX_put_record(doc, d_->record.data()) < 0) fail(d_->path + u": kayıt yazılamadı."_s);
    ++d_->records;
}

void ParadoxWriter::close()
{
    if (d_->closed) return;
    d_->closed = true;
    pxhead_t* head = d_->doc->px_head;
    head->px_autoinc = int(d_->highestAutoInc);
    PX_set_tablename(d_->doc, QFileInfo(d_->path).fileName().toLatin1().constData());
    const qint64 length = qint64(head->px_headersize) + qint64(head->px_fileblocks) * head->px_maxtablesize * 0x400;
    PX_close(d_->doc);  // writes the last block and closes the memo file
    std::fflush(d_->fp);
    if (qint64(d_->stream.data.size()) < length) d_->stream.data.resize(size_t(length), 0);
    QFile out(d_->path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(d_->stream.data.data(), length) != length)
        fail(d_->path + u": dosya yazılamadı."_s);
    out.close();
    d_->stream.data = {};
    if (!d_->memoPath.isEmpty()) {
        // A memo file is made of whole 4 kB blocks.
        QFile mb(d_->memoPath);
        if (!mb.open(QIODevice::Append)) fail(d_->memoPath + u": dosya yazılamadı."_s);
        const qint64 rest = (4096 - mb.size() % 4096) % 4096;
        if (rest) mb.write(QByteArray(int(rest), '\0'));
    }
}

// ---------------------------------------------------------------- the sample directory

namespace {

const QStringList kSyllables{u"PA"_s, u"RA"_s, u"NOL"_s, u"Çİ"_s, u"ĞE"_s, u"MİN"_s, u"SET"_s, u"ÖZ"_s,
                             u"ŞU"_s, u"RUP"_s, u"LAK"_s, u"TI"_s, u"KA"_s, u"VİT"_s, u"DO"_s, u"FEN"_s,
                             u"AL"_s, u"BE"_s, u"CİL"_s, u"ÜN"_s, u"IŞ"_s, u"MOL"_s, u"TEK"_s, u"ZOL"_s};
const QStringList kForms{u"TABLET"_s, u"FİLM TABLET"_s, u"ŞURUP"_s, u"KREM"_s, u"AMPUL"_s, u"DAMLA"_s,
                         u"MERHEM"_s, u"KAPSÜL"_s, u"SÜSPANSİYON"_s, u"JEL"_s};
const QStringList kFirstNames{u"AYŞE"_s, u"MEHMET"_s, u"FATMA"_s, u"İSMAİL"_s, u"ŞÜKRÜ"_s, u"GÜLŞEN"_s,
                              u"ÇAĞLA"_s, u"ÖMER"_s, u"IŞIL"_s, u"HÜSEYİN"_s, u"ZEYNEP"_s, u"DOĞAN"_s};
const QStringList kLastNames{u"YILMAZ"_s, u"ÖZTÜRK"_s, u"ÇELİK"_s, u"ŞAHİN"_s, u"DOĞAN"_s, u"KILIÇ"_s,
                             u"AYDIN"_s, u"GÜNEŞ"_s, u"KOÇ"_s, u"ERDOĞAN"_s, u"IŞIK"_s, u"ÇAKIR"_s};
const QStringList kStreets{u"Atatürk Cad."_s, u"İnönü Sok."_s, u"Gazi Mustafa Kemal Bulvarı"_s,
                           u"Çarşı İçi"_s, u"Şehit Öğretmen Sok."_s, u"Güzelyalı Mah."_s};
const QStringList kCities{u"İZMİR"_s, u"ÇANAKKALE"_s, u"MUĞLA"_s, u"AĞRI"_s, u"ŞANLIURFA"_s, u"ESKİŞEHİR"_s};

QString pick(const QStringList& list, quint32 n) { return list[int(n % quint32(list.size()))]; }

struct Table {
    QString file;
    int codePage;
    QList<ParadoxField> fields;
};

}  // namespace

QStringList writeParadoxSample(const QString& dirPath, const ParadoxSampleSizes& sizes,
                               const std::function<void(const QString&)>& progress)
{
    QDir().mkpath(dirPath);
    const QDir dir(dirPath);
    std::mt19937 rng(1994);
    auto below = [&](int n) { return int(rng() % quint32(std::max(1, n))); };
    QStringList lines;
    auto done = [&](const ParadoxWriter& w, const QString& file, int codePage) {
        const QString line = file + u": "_s + QString::number(w.records()) + u" kayıt, kod sayfası "_s + QString::number(codePage);
        lines << line;
        if (progress) progress(line);
    };
    using T = ParadoxType;
    const QDate firstDay(2019, 1, 2), lastDay(2023, 12, 29);
    const int days = int(firstDay.daysTo(lastDay));

    // Generics, groups and indications.
    const int generics = std::max(20, sizes.products / 500), groups = 40, indications = 60;
    for (const auto& [file, key, name, count] :
         {std::tuple{u"JEN.DB"_s, u"JENERIKNO"_s, u"JENERIKAD"_s, generics}, std::tuple{u"GRUP.DB"_s, u"GRUPNO"_s, u"GRUPAD"_s, groups},
          std::tuple{u"ENDIK.DB"_s, u"ENDIKNO"_s, u"ENDIKASYONAD"_s, indications}}) {
        ParadoxWriter w(dir.filePath(file), {{key, T::Long}, {name, T::Alpha, 40}}, 1254);
        for (int i = 1; i <= count; ++i)
            w.add({i, pick(kSyllables, quint32(i)) + trLower(pick(kSyllables, quint32(i * 7))) + u" "_s
                          + pick(kForms, quint32(i / 3))});
        w.close();
        done(w, file, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"KDV.DB"_s), {{u"KDV1"_s, T::Number}, {u"KDV2"_s, T::Number}, {u"KDV3"_s, T::Number}});
        w.add({1.0, 8.0, 18.0});
        w.close();
        done(w, u"KDV.DB"_s, 1254);
    }

    // Products: AutoInc numbers with the gaps of deleted cards, an older name width of 40
    // (a few names longer than the program's 36), a field the program no longer has, and
    // a leaflet for every twentieth product.
    std::vector<qint64> productNos;
    std::vector<double> prices;
    {
        ParadoxWriter w(dir.filePath(u"URUN.DB"_s),
                        {{u"ILACNO"_s, T::AutoInc}, {u"ILACAD"_s, T::Alpha, 40}, {u"JENERIKNO"_s, T::Long},
                         {u"GRUPNO"_s, T::Long}, {u"ENDIKNO"_s, T::Long}, {u"MIAD"_s, T::Date}, {u"MIKTAR"_s, T::Long},
                         {u"FIYAT"_s, T::Money}, {u"FIYATARIH"_s, T::Date}, {u"ILACKOD"_s, T::Alpha, 13},
                         {u"YER"_s, T::Alpha, 7}, {u"RECETEKOD"_s, T::Alpha, 1}, {u"KDV"_s, T::Number},
                         {u"ALISTIP"_s, T::Alpha, 1}, {u"AKTIFSTOK"_s, T::Long}, {u"PASIFSTOK"_s, T::Long},
                         {u"PROSPEKTUS"_s, T::Memo, 30}, {u"ESKIFIYAT"_s, T::Money}},
                        1254);
        qint64 no = 0;
        for (int i = 1; i <= sizes.products; ++i) {
            no += i % 97 == 0 ? 3 : 1;
            productNos.push_back(no);
            QString name = pick(kSyllables, rng()) + pick(kSyllables, rng()) + trLower(pick(kSyllables, rng())) + u" "_s
                           + QString::number(5 * (1 + below(200))) + u" MG "_s + pick(kForms, rng());
            if (i % 25000 == 7) name = u"ÇOCUKLAR İÇİN ŞEKERSİZ ÖKSÜRÜK ŞURUBU 150 ML GÜL"_s.left(40);
            const double price = 1000.0 * (1 + below(2000));
            prices.push_back(price);
            QString leaflet;
            if (i % 20 == 0) {
                leaflet = u"Kullanma talimatı: Günde üç kez, tok karnına alınız. Çocukların ulaşamayacağı yerde "
                          u"saklayınız. Işıktan ve nemden koruyunuz; 25 °C altındaki oda sıcaklığında saklayınız."_s;
                if (i % 100 == 0) leaflet = leaflet.repeated(30);  // a long one has 4 kB blocks of its own
            }
            w.add({no, name, 1 + below(generics), 1 + below(groups), 1 + below(indications),
                   i % 9 == 0 ? QVariant() : QVariant(lastDay.addDays(30 + below(900))), below(200), price,
                   firstDay.addDays(below(days)), QString::number(8690000000000LL + no), u"R"_s + QString::number(1 + below(40)),
                   i % 4 == 0 ? u"K"_s : u"N"_s, QVariant(i % 10 == 0 ? 18.0 : 8.0), i % 3 == 0 ? u"D"_s : u"E"_s,
                   below(100), below(10), leaflet.isEmpty() ? QVariant() : QVariant(leaflet), price * 0.8});
        }
        w.close();
        done(w, u"URUN.DB"_s, 1254);
    }

    // Institutions, patients and doctors; the institutions and patients from the DOS days
    // of the program, in code page 857.
    const int institutions = 40;
    const int patients = std::max(100, sizes.products / 5);
    {
        ParadoxWriter w(dir.filePath(u"KRMLAR.DB"_s),
                        {{u"KOD"_s, T::Alpha, 11}, {u"AD"_s, T::Alpha, 36}, {u"ADR1"_s, T::Alpha, 31},
                         {u"ADR2"_s, T::Alpha, 31}, {u"ADR3"_s, T::Alpha, 31}, {u"VERGIDAIRE"_s, T::Alpha, 17},
                         {u"VERGINO"_s, T::Alpha, 13}, {u"BORC"_s, T::Money}, {u"ALACAK"_s, T::Money},
                         {u"ILACLARDAKURUM"_s, T::Number}, {u"ILACLARDACALISAN"_s, T::Number},
                         {u"ILACLARDAEMEKLI"_s, T::Number}, {u"HSP_ISKON"_s, T::Alpha, 1}, {u"SOZTRHBAS"_s, T::Date}},
                        857);
        for (int i = 1; i <= institutions; ++i) {
            const QString code = i == 1 ? u"SSK"_s : i == 2 ? u"ES"_s : i == 3 ? u"BAĞKUR"_s : u"K"_s + QString::number(i);
            const QString name = i == 1 ? u"SOSYAL SİGORTALAR KURUMU"_s
                                 : i == 2 ? u"T.C. EMEKLİ SANDIĞI GENEL MÜDÜRLÜĞÜ"_s
                                 : i == 3 ? u"BAĞ-KUR GENEL MÜDÜRLÜĞÜ"_s
                                          : pick(kCities, quint32(i)) + u" İL SAĞLIK MÜDÜRLÜĞÜ "_s + QString::number(i);
            w.add({code, name, pick(kStreets, quint32(i)) + u" No:"_s + QString::number(i), u"Kat 2"_s, pick(kCities, quint32(i)),
                   u"ÇANKAYA"_s, QString::number(1000000000LL + i), 100000.0 * below(500), 50000.0 * below(500), 5.0, 20.0, 10.0,
                   i % 2 ? u"0"_s : u"1"_s, QDate(2018, 1, 1)});
        }
        w.close();
        done(w, u"KRMLAR.DB"_s, 857);
    }
    {
        // The visa date was typed as text in those days; some of it is not a date.
        ParadoxWriter w(dir.filePath(u"HASTA.DB"_s),
                        {{u"HASTANO"_s, T::AutoInc}, {u"HASTADI"_s, T::Alpha, 18}, {u"HASTASOYAD"_s, T::Alpha, 18},
                         {u"ADRES1"_s, T::Alpha, 31}, {u"ADRES3"_s, T::Alpha, 31}, {u"BORC"_s, T::Money},
                         {u"VIZETRH"_s, T::Alpha, 10}, {u"SINIF"_s, T::Alpha, 1}, {u"KURUM"_s, T::Alpha, 11},
                         {u"SICILNO"_s, T::Alpha, 13}},
                        857);
        for (int i = 1; i <= patients; ++i) {
            const QDate visa = firstDay.addDays(below(days));
            const QString visaText = i % 4000 == 17 ? u"31.02.2021"_s : i % 4000 == 29 ? u"YOK"_s : visa.toString(u"dd.MM.yyyy"_s);
            w.add({i, pick(kFirstNames, rng()), pick(kLastNames, rng()), pick(kStreets, rng()), pick(kCities, rng()),
                   i % 5 == 0 ? QVariant(1000.0 * below(100)) : QVariant(), visaText, i % 3 ? u"Ç"_s : u"E"_s,
                   i % 2 ? u"SSK"_s : u"ES"_s, QString::number(30000000 + i)});
        }
        w.close();
        done(w, u"HASTA.DB"_s, 857);
    }
    const int doctors = 300;
    {
        ParadoxWriter w(dir.filePath(u"DR.DB"_s),
                        {{u"DRKOD"_s, T::Long}, {u"DRAD"_s, T::Alpha, 18}, {u"DRSOYAD"_s, T::Alpha, 18},
                         {u"SICILNO"_s, T::Alpha, 6}, {u"DIPLOMANO"_s, T::Alpha, 15}, {u"BRANS"_s, T::Alpha, 4}},
                        1254);
        for (int i = 1; i <= doctors; ++i)
            w.add({i, pick(kFirstNames, rng()), pick(kLastNames, rng()), QString::number(100000 + i),
                   u"DİP-"_s + QString::number(5000 + i), pick({u"DAH"_s, u"ÇOC"_s, u"GÖZ"_s, u"KBB"_s}, quint32(i))});
        w.close();
        done(w, u"DR.DB"_s, 1254);
    }

    // Sales of one to five lines over five years; every eighth sale on a prescription.
    struct Prescription {
        double sale;
        QDate day;
        double net;
    };
    std::vector<Prescription> prescribed;
    double saleNo = 0;
    {
        ParadoxWriter w(dir.filePath(u"SATIS.DB"_s),
                        {{u"SATISNO"_s, T::Number}, {u"SIRANOURUN"_s, T::Long}, {u"SATARIH"_s, T::Timestamp},
                         {u"ILACNO"_s, T::Long}, {u"FIYAT"_s, T::Number}, {u"MIKTAR"_s, T::Long}, {u"KDV"_s, T::Number},
                         {u"RECETETIP"_s, T::Alpha, 1}, {u"PARAKENDE"_s, T::Alpha, 1}},
                        1254);
        const qint64 span = qint64(days) * 86400;
        const int sales = std::max(1, sizes.saleLines / 3);
        int line = 0;
        while (line < sizes.saleLines) {
            ++saleNo;
            const QDateTime when = QDateTime(firstDay, QTime(8, 30)).addSecs(qint64(saleNo) * span / sales);
            const bool onPrescription = qint64(saleNo) % 8 == 0;
            const int count = std::min(1 + below(5), sizes.saleLines - line);
            double net = 0;
            for (int l = 1; l <= count; ++l, ++line) {
                const size_t p = size_t(below(int(productNos.size())));
                const int quantity = 1 + below(3);
                net += prices[p] * quantity;
                w.add({saleNo, l, when.addSecs(l), productNos[p], prices[p], quantity, 8.0,
                       onPrescription ? (l == 2 ? u"I"_s : u"N"_s) : QVariant(), onPrescription ? u"R"_s : u"P"_s});
            }
            if (onPrescription) prescribed.push_back({saleNo, when.date(), net});
        }
        w.close();
        done(w, u"SATIS.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"NEWSATIS.DB"_s), {{u"YENISATISNO"_s, T::Number}});
        w.add({saleNo + 1});
        w.close();
        done(w, u"NEWSATIS.DB"_s, 1254);
    }

    // Prescriptions: final book numbers by year, the last hundred still provisional.
    int provisional = 0;
    {
        ParadoxWriter w(dir.filePath(u"RECETE.DB"_s),
                        {{u"RKDEFTERNO"_s, T::Alpha, 9}, {u"KURUMKOD"_s, T::Alpha, 11}, {u"SATISNO"_s, T::Number},
                         {u"DRKOD"_s, T::Long}, {u"SERINO"_s, T::Alpha, 10}, {u"PROTOKOLNO"_s, T::Alpha, 10},
                         {u"RECTARIH"_s, T::Date}, {u"ALTARIH"_s, T::Date}, {u"HASTATIP"_s, T::Alpha, 1},
                         {u"BAS1"_s, T::Alpha, 17}, {u"BRUTN"_s, T::Money}, {u"HASTAKATPAY"_s, T::Money},
                         {u"NET"_s, T::Money}, {u"KDVB"_s, T::Money}, {u"HASTANO"_s, T::Long}},
                        1254);
        std::map<int, int> perYear;
        for (size_t i = 0; i < prescribed.size(); ++i) {
            const Prescription& p = prescribed[i];
            const bool last = i + 100 >= prescribed.size();
            QString book;
            if (last) book = u"XX"_s + QString::number(++provisional).rightJustified(7, u'0');
            else
                book = QString::number(p.day.year() % 100).rightJustified(2, u'0')
                       + QString::number(++perYear[p.day.year()]).rightJustified(7, u'0');
            const double share = std::round(p.net * 0.2);
            w.add({book, i % 2 ? u"SSK"_s : u"ES"_s, p.sale, 1 + below(doctors), QString::number(7000000 + i),
                   QString::number(500000 + i), p.day.addDays(-1), p.day, i % 3 ? u"Ç"_s : u"E"_s,
                   QString::number(30000000 + below(patients)), p.net, share, p.net - share, std::round(p.net * 8 / 108),
                   1 + below(patients)});
        }
        w.close();
        done(w, u"RECETE.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"RKAYIT.DB"_s), {{u"RECETEKAYITNO"_s, T::Alpha, 9}});
        w.add({u"XX"_s + QString::number(provisional + 1).rightJustified(7, u'0')});
        w.close();
        done(w, u"RKAYIT.DB"_s, 1254);
    }

    // Account movements, numbered by HRKNOAL.
    const int movements = std::max(100, sizes.products / 5);
    {
        ParadoxWriter w(dir.filePath(u"HAREKET.DB"_s),
                        {{u"HAREKNO"_s, T::Number}, {u"CARIKOD"_s, T::Alpha, 11}, {u"ALSATNO"_s, T::Number},
                         {u"TUR"_s, T::Alpha, 1}, {u"TARIH"_s, T::Date}, {u"VADE"_s, T::Date}, {u"ALACAK"_s, T::Money},
                         {u"ALSAT"_s, T::Alpha, 1}, {u"BILGI"_s, T::Alpha, 36}, {u"NIHAI"_s, T::Short}, {u"BORC"_s, T::Money}},
                        1254);
        for (int i = 1; i <= movements; ++i) {
            const QDate day = firstDay.addDays(qint64(i) * days / movements);
            const bool debt = i % 3 != 0;
            w.add({i, u"K"_s + QString::number(4 + below(institutions - 3)), 1 + below(int(saleNo)),
                   pick({u"S"_s, u"Ç"_s, u"A"_s, u"D"_s}, quint32(i)), day, day.addDays(30),
                   debt ? QVariant() : QVariant(1000.0 * (1 + below(500))), debt ? u"S"_s : u"T"_s,
                   debt ? u"Reçete karşılığı satış"_s : u"Çek ile ödeme, İş Bankası"_s, i % 2,
                   debt ? QVariant(1000.0 * (1 + below(500))) : QVariant()});
        }
        w.close();
        done(w, u"HAREKET.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"HRKNOAL.DB"_s), {{u"HRKNO"_s, T::Number}});
        w.add({movements + 1});
        w.close();
        done(w, u"HRKNOAL.DB"_s, 1254);
    }

    // Purchases with their lines, numbered by NEWALIS.
    const int purchases = std::max(20, sizes.products / 100);
    {
        ParadoxWriter head(dir.filePath(u"ALIS1.DB"_s),
                           {{u"KRMKOD"_s, T::Alpha, 11}, {u"ALISNO"_s, T::Number}, {u"FATNO"_s, T::Alpha, 15},
                            {u"FATARIH"_s, T::Date}, {u"BRUT"_s, T::Money}, {u"KDVTOP"_s, T::Money}, {u"NET"_s, T::Money},
                            {u"VADE"_s, T::Date}, {u"ACIKLAMA"_s, T::Alpha, 95}},
                           1254);
        ParadoxWriter lines3(dir.filePath(u"ALIS3.DB"_s),
                             {{u"ALISNO"_s, T::Number}, {u"SIRANOILAC"_s, T::Long}, {u"ILACNO"_s, T::Long},
                              {u"FIYAT"_s, T::Money}, {u"MIKTAR"_s, T::Long}, {u"KDV"_s, T::Number},
                              {u"ALISTARIH"_s, T::Timestamp}, {u"MALFAZLA"_s, T::Short}},
                             1254);
        for (int i = 1; i <= purchases; ++i) {
            const QDate day = firstDay.addDays(qint64(i) * days / purchases);
            double gross = 0;
            for (int l = 1; l <= 5; ++l) {
                const size_t p = size_t(below(int(productNos.size())));
                const double price = std::round(prices[p] * 0.75);
                gross += price * 10;
                lines3.add({i, l, productNos[p], price, 10, 8.0, QDateTime(day, QTime(11, 0)), l == 1 ? QVariant(1) : QVariant()});
            }
            head.add({i % 2 ? u"DEPO1"_s : u"DEPO2"_s, i, u"A-"_s + QString::number(100000 + i), day, gross,
                      std::round(gross * 0.08), std::round(gross * 1.08), day.addDays(60),
                      u"Ecza deposu faturası; iskonto sonradan düşülecek"_s});
        }
        head.close();
        lines3.close();
        done(head, u"ALIS1.DB"_s, 1254);
        done(lines3, u"ALIS3.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"NEWALIS.DB"_s), {{u"NEWALISNO"_s, T::Number}});
        w.add({purchases + 1});
        w.close();
        done(w, u"NEWALIS.DB"_s, 1254);
    }

    // Invoices of institutions, numbered by FATKAYIT.
    const int invoices = 200;
    {
        ParadoxWriter w(dir.filePath(u"FATURA.DB"_s),
                        {{u"FATNO"_s, T::Number}, {u"FATURANO"_s, T::Alpha, 15}, {u"KRMKOD"_s, T::Alpha, 11},
                         {u"KRMAD"_s, T::Alpha, 36}, {u"FATARIH"_s, T::Date}, {u"RCTOPSAYISI"_s, T::Long},
                         {u"BRUT"_s, T::Money}, {u"NET"_s, T::Money}, {u"KES"_s, T::Logical}, {u"FAT_GRB"_s, T::Short}},
                        1254);
        for (int i = 1; i <= invoices; ++i)
            w.add({i, u"A-"_s + QString::number(2000 + i), i % 2 ? u"SSK"_s : u"ES"_s,
                   i % 2 ? u"SOSYAL SİGORTALAR KURUMU"_s : u"T.C. EMEKLİ SANDIĞI"_s, firstDay.addDays(qint64(i) * days / invoices),
                   100 + below(900), 1.0e8 + 1000.0 * below(100000), 0.9e8 + 1000.0 * below(100000), i % 5 != 0, 1 + i % 3});
        w.close();
        done(w, u"FATURA.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"FATKAYIT.DB"_s), {{u"NEWFATNO"_s, T::Number}, {u"FATNOKESILEN"_s, T::Alpha, 11}});
        w.add({invoices + 1, u"A-"_s + QString::number(2000 + invoices)});
        w.close();
        done(w, u"FATKAYIT.DB"_s, 1254);
    }
    {
        ParadoxWriter w(dir.filePath(u"EKIM.DB"_s),
                        {{u"ADI"_s, T::Alpha, 36}, {u"ADR1"_s, T::Alpha, 20}, {u"ADR3"_s, T::Alpha, 20}, {u"TLF"_s, T::Alpha, 11},
                         {u"ECZKODU"_s, T::Short}, {u"MESULAD"_s, T::Alpha, 36}, {u"VERGIDAIRE"_s, T::Alpha, 25},
                         {u"ACE"_s, T::Alpha, 20}},
                        1254);
        w.add({u"GÜNEŞ ECZANESİ"_s, u"Atatürk Cad. No:12"_s, u"ÇANAKKALE"_s, u"2862171234"_s, 1234,
               u"Ecz. Şükrü Öztürk"_s, u"ÇANAKKALE"_s, u"Ctrl+B"_s});
        w.close();
        done(w, u"EKIM.DB"_s, 1254);
    }
    {
        // The users, their passwords in clear as the old program kept them.
        QList<ParadoxField> fields{{u"KULLANICI"_s, T::Alpha, 25}, {u"SIFRESI"_s, T::Alpha, 25}, {u"URUNKARTI"_s, T::Alpha, 1},
                                   {u"KURUMHRK"_s, T::Alpha, 1}, {u"HASTAHRK"_s, T::Alpha, 1}};
        const TableDef& users = tableDef(u"USERKIM"_s);
        for (const FieldDef& f : users.fields)
            if (f.type == FieldType::Logical) fields.append({f.name, T::Logical});
        ParadoxWriter w(dir.filePath(u"USERKIM.DB"_s), fields, 857);
        for (const auto& [name, password, all] : {std::tuple{u"ŞÜKRÜ"_s, u"eski1"_s, true}, std::tuple{u"ÇIRAK"_s, u"cirak"_s, false}}) {
            QVariantList row{name, password, all ? u"E"_s : u"H"_s, u"E"_s, u"E"_s};
            while (row.size() < fields.size()) row << all;
            w.add(row);
        }
        w.close();
        done(w, u"USERKIM.DB"_s, 857);
    }
    {
        // The sale being entered when the old program was last closed: not carried over.
        ParadoxWriter w(dir.filePath(u"SATEMP.DB"_s), {{u"SIRANO"_s, T::Long}, {u"URUNAD"_s, T::Alpha, 36}});
        w.add({1, u"PAROL 500 MG TABLET"_s});
        w.close();
        done(w, u"SATEMP.DB"_s, 1254);
    }
    QFile note(dir.filePath(u"OKUBENI.TXT"_s));
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate)) note.write("Eczane verileri - yedek\r\n");
    return lines;
}

}  // namespace selvar
