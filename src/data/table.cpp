#include "data/table.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Table::Table(Database& db, const QString& fileName) : db_(db), def_(tableDef(fileName))
{
    db_.checkAccess(def_);
    for (int i = 0; i < def_.fields.size(); ++i) fieldIndex_.insert(def_.fields[i].name.toUpper(), i);
    tableSql_ = db_.dialect().tableName(def_);
    QStringList cols{db_.dialect().rowId()};
    for (const FieldDef& f : def_.fields) cols << db_.dialect().quote(f.name);
    selectList_ = cols.join(u", "_s);
    row_.resize(def_.fields.size());
    buffer_.resize(def_.fields.size());
    changed_.resize(def_.fields.size());
    setIndex(QString());
}

int Table::fieldNo(const QString& field) const
{
    const auto it = fieldIndex_.constFind(field.toUpper());
    if (it == fieldIndex_.constEnd()) throw DbError(def_.name + u".DB tablosunda alan yok: "_s + field);
    return *it;
}

bool Table::hasField(const QString& field) const { return fieldIndex_.contains(field.toUpper()); }

void Table::setIndex(const QString& indexName)
{
    QStringList fields;
    if (indexName.isEmpty() || indexName.compare(u"PRIMARY"_s, Qt::CaseInsensitive) == 0) {
        indexName_.clear();
        if (!def_.rowIdField()) fields = def_.primaryKey;
    } else {
        const IndexDef* ix = def_.index(indexName);
        if (!ix) throw DbError(def_.name + u".DB tablosunda dizin yok: "_s + indexName);
        indexName_ = ix->name;
        fields = ix->fields;
    }
    keys_.clear();
    releaseStatements();
    for (const QString& f : fields) {
        const int n = fieldNo(f);
        keys_.push_back({n, db_.dialect().keyExpression(def_.fields[n]), def_.fields[n].isText()});
    }
    rangeFrom_.reset();
    rangeTo_.reset();
    first();
}

void Table::switchIndex(const QString& indexName)
{
    const bool had = hasRow_;
    const qint64 id = rowId_;
    setIndex(indexName);
    if (had) gotoRowId(id);
}

QString Table::selectList() const
{
    QString s = selectList_;
    for (const KeyColumn& k : keys_) s += u", "_s + k.expression;
    return s;
}

QString Table::orderBy(bool descending) const
{
    QStringList terms;
    for (const KeyColumn& k : keys_) terms << db_.dialect().orderTerm(k.expression, descending);
    terms << db_.dialect().orderTerm(db_.dialect().rowId(), descending);
    return u" ORDER BY "_s + terms.join(u", "_s);
}

QVariant Table::keyBind(const KeyColumn& k, const QVariant& v) const
{
    const FieldDef& f = def_.fields[k.field];
    if (k.text) return QVariant(sortKey(v.isNull() ? QString() : v.toString()));
    return db_.dialect().toDatabase(f.type, normalize(f, v));
}

QString Table::rangeWhere(QVariantMap* binds, QString* shape) const
{
    if (!rangeFrom_ && !rangeTo_) return {};
    if (shape) *shape = QStringLiteral("R%1:%2").arg(rangeFrom_ ? rangeFrom_->size() : -1).arg(rangeTo_ ? rangeTo_->size() : -1);
    QStringList parts;
    auto side = [&](const QVariantList& values, const QString& op, const QString& prefix) {
        const int m = std::min<int>(int(values.size()), int(keys_.size()));
        if (m == 0) return;
        QStringList lhs, rhs;
        for (int i = 0; i < m; ++i) {
            lhs << keys_[i].expression;
            rhs << u':' + prefix + QString::number(i);
            binds->insert(prefix + QString::number(i), keyBind(keys_[i], values[i]));
        }
        if (m == 1) parts << lhs[0] + op + rhs[0];
        else parts << u"("_s + lhs.join(u',') + u")"_s + op + u"("_s + rhs.join(u',') + u")"_s;
    };
    if (rangeFrom_) side(*rangeFrom_, u" >= "_s, u"rlo"_s);
    if (rangeTo_) side(*rangeTo_, u" <= "_s, u"rhi"_s);
    return parts.join(u" AND "_s);
}

void Table::readRow(QSqlQuery& q)
{
    rowId_ = q.value(0).toLongLong();
    for (int i = 0; i < def_.fields.size(); ++i)
        row_[i] = db_.dialect().fromDatabase(def_.fields[i].type, q.value(i + 1));
    rowKeys_.resize(keys_.size());
    for (int k = 0; k < keys_.size(); ++k) rowKeys_[k] = q.value(int(def_.fields.size()) + 1 + k);
    hasRow_ = true;
}

Table::~Table() { releaseStatements(); }

void Table::releaseStatements()
{
    for (QSqlQuery* q : std::as_const(statements_)) db_.release(q);
    statements_.clear();
}

bool Table::fetchOne(const QString& shape, const std::function<QString()>& where, const QVariantMap& binds,
                     bool descending)
{
    QVariantMap all = binds;
    QString rangeShape;
    const QString range = rangeWhere(&all, &rangeShape);
    const QString cacheKey = shape + u'|' + rangeShape + (descending ? u"|D"_s : u"|A"_s);
    db_.ensureOpen();
    if (generation_ != db_.generation()) {
        releaseStatements();  // prepared on a connection that is gone
        generation_ = db_.generation();
    }
    auto it = statements_.find(cacheKey);
    if (it == statements_.end()) {
        QStringList conditions;
        const QString w = where ? where() : QString();
        if (!w.isEmpty()) conditions << u"("_s + w + u")"_s;
        if (!range.isEmpty()) conditions << range;
        QString sql = u"SELECT "_s + selectList() + u" FROM "_s + tableSql_;
        if (!conditions.isEmpty()) sql += u" WHERE "_s + conditions.join(u" AND "_s);
        sql += orderBy(descending) + u" LIMIT 1"_s;
        // Held from the connection's pool while the cursor lives, and handed back for
        // the next cursor over the same index: a new cursor costs no preparing.
        it = statements_.insert(cacheKey, db_.acquire(sql));
    }
    QSqlQuery& q = **it;
    for (auto b = all.begin(); b != all.end(); ++b) q.bindValue(u':' + b.key(), db_.dialect().bindValue(b.value()));
    db_.countRoundTrip();
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q.finish();
        db_.fail(e, def_.name);
    }
    const bool found = q.next();
    if (found) readRow(q);
    q.finish();
    return found;
}

bool Table::first()
{
    const bool found = fetchOne(u"first"_s, {}, {}, false);
    if (!found) hasRow_ = false;
    eof_ = !found;
    bof_ = true;
    return found;
}

bool Table::last()
{
    const bool found = fetchOne(u"first"_s, {}, {}, true);
    if (!found) hasRow_ = false;
    eof_ = true;
    bof_ = !found;
    return found;
}

namespace {
QString param(const char* prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }
}  // namespace

bool Table::moveFrom(bool forward)
{
    QVariantMap binds;
    QString nullPattern;
    bool allText = true;
    for (int k = 0; k < keys_.size(); ++k) {
        nullPattern += rowKeys_[k].isNull() ? u'n' : u'v';
        allText = allText && keys_[k].text;
        if (!rowKeys_[k].isNull()) binds.insert(param("c", k), rowKeys_[k]);
    }
    binds.insert(u"rid"_s, rowId_);
    // Row values keep the index in use; a blank key (which sorts first) and the way back
    // over number keys that may be blank need the comparison spelled out.
    const bool rowValue = !nullPattern.contains(u'n') && (forward || allText);
    const QString shape = (forward ? u"next:"_s : u"prior:"_s) + nullPattern;
    auto where = [&]() -> QString {
        const QString op = forward ? u" > "_s : u" < "_s;
        if (rowValue) {
            QStringList lhs, rhs;
            for (int k = 0; k < keys_.size(); ++k) {
                lhs << keys_[k].expression;
                rhs << u':' + param("c", k);
            }
            lhs << db_.dialect().rowId();
            rhs << u":rid"_s;
            return u"("_s + lhs.join(u',') + u")"_s + op + u"("_s + rhs.join(u',') + u")"_s;
        }
        QStringList ors;
        QString eqs;
        for (int k = 0; k <= keys_.size(); ++k) {
            const bool isRow = k == keys_.size();
            const QString col = isRow ? db_.dialect().rowId() : keys_[k].expression;
            const QString p = isRow ? u":rid"_s : u':' + param("c", k);
            const bool isNull = !isRow && rowKeys_[k].isNull();
            QString step;
            if (forward) {
                step = isNull ? col + u" IS NOT NULL"_s : col + u" > "_s + p;
            } else if (!isNull) {
                step = (isRow || keys_[k].text) ? col + u" < "_s + p
                                                : u"("_s + col + u" < "_s + p + u" OR "_s + col + u" IS NULL)"_s;
            }
            if (!step.isEmpty()) ors << (eqs.isEmpty() ? step : eqs + u" AND "_s + step);
            const QString eq = isNull ? col + u" IS NULL"_s : col + u" = "_s + p;
            eqs = eqs.isEmpty() ? eq : eqs + u" AND "_s + eq;
        }
        return u"("_s + ors.join(u") OR ("_s) + u")"_s;
    };
    const QVector<QVariant> saveRow = row_, saveKeys = rowKeys_;
    const qint64 saveId = rowId_;
    if (fetchOne(shape, where, binds, !forward)) return true;
    row_ = saveRow;
    rowKeys_ = saveKeys;
    rowId_ = saveId;
    return false;
}

bool Table::next()
{
    if (!hasRow_ || !moveFrom(true)) {
        eof_ = true;
        return false;
    }
    eof_ = bof_ = false;
    return true;
}

bool Table::prior()
{
    if (!hasRow_ || !moveFrom(false)) {
        bof_ = true;
        return false;
    }
    eof_ = bof_ = false;
    return true;
}

bool Table::isEmpty()
{
    if (state_ == State::Browse && hasRow_) return false;
    QVariantMap binds;
    const QString range = rangeWhere(&binds, nullptr);
    QString sql = u"SELECT 1 FROM "_s + tableSql_;
    if (!range.isEmpty()) sql += u" WHERE "_s + range;
    sql += u" LIMIT 1"_s;
    Sql q(db_, sql);
    for (auto it = binds.begin(); it != binds.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return !q.next();
}

int Table::recordCount()
{
    QVariantMap binds;
    const QString range = rangeWhere(&binds, nullptr);
    QString sql = u"SELECT COUNT(*) FROM "_s + tableSql_;
    if (!range.isEmpty()) sql += u" WHERE "_s + range;
    Sql q(db_, sql);
    for (auto it = binds.begin(); it != binds.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    return q.next() ? int(q.integer(0)) : 0;
}

bool Table::findKey(const QVariantList& values)
{
    if (keys_.isEmpty() && def_.rowIdField()) {
        // The primary order of an AutoInc key is the row id itself.
        return !values.isEmpty() && gotoRowId(qint64(std::llround(values[0].toDouble())));
    }
    const int m = std::min<int>(int(values.size()), int(keys_.size()));
    if (m == 0) return first();
    QVariantMap binds;
    QString shape = u"key:"_s;
    for (int i = 0; i < m; ++i) {
        const bool blank = !keys_[i].text && values[i].isNull();
        shape += blank ? u'n' : u'v';
        if (!blank) binds.insert(param("k", i), keyBind(keys_[i], values[i]));
    }
    auto where = [&]() {
        QStringList conds;
        for (int i = 0; i < m; ++i)
            conds << (shape[4 + i] == u'n' ? keys_[i].expression + u" IS NULL"_s
                                           : keys_[i].expression + u" = :"_s + param("k", i));
        return conds.join(u" AND "_s);
    };
    if (fetchOne(shape, where, binds, false)) {
        eof_ = bof_ = false;
        return true;
    }
    return false;
}

bool Table::findNearest(const QVariantList& values)
{
    QVariantMap binds;
    QString shape;
    std::function<QString()> where;
    if (keys_.isEmpty() && def_.rowIdField()) {
        if (!values.isEmpty()) {
            binds.insert(u"k0"_s, qlonglong(std::llround(values[0].toDouble())));
            shape = u"near:rid"_s;
            where = [this] { return db_.dialect().rowId() + u" >= :k0"_s; };
        }
    } else {
        int m = std::min<int>(int(values.size()), int(keys_.size()));
        for (int i = 0; i < m; ++i)
            if (!keys_[i].text && values[i].isNull()) {
                m = i;  // a blank is below every value
                break;
            }
        for (int i = 0; i < m; ++i) binds.insert(param("k", i), keyBind(keys_[i], values[i]));
        shape = u"near:"_s + QString::number(m);
        where = [this, m]() -> QString {
            if (m == 0) return {};
            if (m == 1) return keys_[0].expression + u" >= :k0"_s;
            QStringList lhs, rhs;
            for (int i = 0; i < m; ++i) {
                lhs << keys_[i].expression;
                rhs << u':' + param("k", i);
            }
            return u"("_s + lhs.join(u',') + u") >= ("_s + rhs.join(u',') + u")"_s;
        };
    }
    if (fetchOne(shape, where, binds, false)) {
        eof_ = bof_ = false;
        return true;
    }
    last();
    eof_ = true;
    return false;
}

bool Table::gotoRowId(qint64 rowId)
{
    QVariantMap binds{{u"rid"_s, rowId}};
    if (fetchOne(u"rid"_s, [this] { return db_.dialect().rowId() + u" = :rid"_s; }, binds, false)) {
        eof_ = bof_ = false;
        return true;
    }
    return false;
}

void Table::setRange(const QVariantList& from, const QVariantList& to)
{
    rangeFrom_ = from;
    rangeTo_ = to;
    first();
}

void Table::cancelRange()
{
    rangeFrom_.reset();
    rangeTo_.reset();
    first();
}

void Table::refresh()
{
    if (state_ != State::Browse) return;
    if (hasRow_ && gotoRowId(rowId_)) return;
    if (hasRow_ && !rowKeys_.isEmpty()) {
        QVariantList vals;
        for (int k = 0; k < keys_.size(); ++k) vals << row_[keys_[k].field];
        if (findNearest(vals)) return;
    }
    first();
}

// ---------------------------------------------------------------- editing

QVariant normalizeValue(const FieldDef& f, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (f.type) {
    case FieldType::Alpha: {
        QString s = v.typeId() == QMetaType::QDate ? dateText(v.toDate()) : v.toString();
        if (s.isEmpty()) return QVariant();
        if (s.size() > f.width) s.truncate(f.width);
        return s;
    }
    case FieldType::Memo: {
        const QString s = v.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Long:
    case FieldType::Short:
    case FieldType::AutoInc: {
        if (v.typeId() == QMetaType::QString) {
            double d;
            if (!parseNumber(v.toString(), &d)) return QVariant();
            return qlonglong(std::llround(d));
        }
        return qlonglong(std::llround(v.toDouble()));
    }
    case FieldType::Number:
    case FieldType::Money: {
        if (v.typeId() == QMetaType::QString) {
            double d;
            if (!parseNumber(v.toString(), &d)) return QVariant();
            return d;
        }
        return v.toDouble();
    }
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
        if (v.typeId() == QMetaType::QString) {
            const DateInput in = parseDateText(v.toString());
            return in.isValid() ? QVariant(in.date) : QVariant();
        }
        const QDate d = v.toDate();
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Timestamp: {
        if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
        const QDateTime dt = v.toDateTime();
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::Logical: return v.toBool();
    }
    return v;
}

QVariant Table::normalize(const FieldDef& f, const QVariant& v) const { return normalizeValue(f, v); }

void Table::edit()
{
    if (state_ != State::Browse) return;
    if (!hasRow_) {
        insert();
        return;
    }
    buffer_ = row_;
    changed_.fill(false);
    state_ = State::Edit;
}

void Table::insert()
{
    if (state_ != State::Browse) cancel();
    buffer_.fill(QVariant());
    changed_.fill(false);
    state_ = State::Insert;
}

void Table::post()
{
    if (state_ == State::Browse) return;
    for (int i = 0; i < def_.fields.size(); ++i)
        if (def_.fields[i].required && buffer_[i].isNull())
            throw DbError(def_.fields[i].name + u" alanı boş bırakılamaz."_s);
    const Dialect& d = db_.dialect();
    if (state_ == State::Edit) {
        QStringList sets;
        for (int i = 0; i < def_.fields.size(); ++i)
            if (changed_[i]) sets << d.quote(def_.fields[i].name) + u" = :f"_s + QString::number(i);
        if (!sets.isEmpty()) {
            Sql q(db_, u"UPDATE "_s + tableSql_ + u" SET "_s + sets.join(u", "_s) + u" WHERE "_s + d.rowId() + u" = :rid"_s);
            for (int i = 0; i < def_.fields.size(); ++i)
                if (changed_[i]) q.bind(u"f"_s + QString::number(i), d.toDatabase(def_.fields[i].type, buffer_[i]));
            q.bind(u"rid"_s, rowId_);
            q.exec();
        }
        state_ = State::Browse;
        gotoRowId(rowId_);
        return;
    }
    QStringList cols, marks;
    for (int i = 0; i < def_.fields.size(); ++i)
        if (!buffer_[i].isNull()) {
            cols << d.quote(def_.fields[i].name);
            marks << u":f"_s + QString::number(i);
        }
    const QString sql = cols.isEmpty()
                            ? u"INSERT INTO "_s + tableSql_ + u" DEFAULT VALUES"_s
                            : u"INSERT INTO "_s + tableSql_ + u" ("_s + cols.join(u", "_s) + u") VALUES ("_s
                                  + marks.join(u", "_s) + u")"_s;
    Sql q(db_, sql + d.returningRowId());
    for (int i = 0; i < def_.fields.size(); ++i)
        if (!buffer_[i].isNull()) q.bind(u"f"_s + QString::number(i), d.toDatabase(def_.fields[i].type, buffer_[i]));
    q.exec();
    const qint64 id = q.insertedRowId();
    state_ = State::Browse;
    if (!gotoRowId(id)) first();
}

void Table::cancel()
{
    state_ = State::Browse;
    changed_.fill(false);
}

void Table::remove()
{
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (!hasRow_) return;
    const qint64 id = rowId_;
    Sql q(db_, u"DELETE FROM "_s + tableSql_ + u" WHERE "_s + db_.dialect().rowId() + u" = :rid"_s);
    q.bind(u"rid"_s, id);
    q.exec();
    // Move to the row that followed the deleted one, else the one before it.
    if (next()) return;
    if (prior() && rowId_ != id) return;
    first();
}

void Table::empty()
{
    cancel();
    db_.emptyTable(def_.name);
    hasRow_ = false;
    eof_ = bof_ = true;
}

void Table::set(const QString& field, const QVariant& v)
{
    if (state_ == State::Browse)
        throw DbError(def_.name + u".DB düzenleme durumunda değil ("_s + field + u")."_s);
    const int i = fieldNo(field);
    buffer_[i] = normalize(def_.fields[i], v);
    changed_[i] = true;
}

QVariant Table::value(const QString& field) const
{
    if (!hasRow_ && state_ == State::Browse) return QVariant();
    return current()[fieldNo(field)];
}

bool Table::isNull(const QString& field) const { return value(field).isNull(); }

QString Table::text(const QString& field) const
{
    const QVariant v = value(field);
    if (v.isNull()) return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return dateText(v.toDate());
    case QMetaType::QDateTime: return dateTimeText(v.toDateTime());
    case QMetaType::Double: return format(u"%g", v.toDouble());
    default: return v.toString();
    }
}

double Table::number(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? 0.0 : v.toDouble();
}

qint64 Table::integer(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? 0 : qint64(std::llround(v.toDouble()));
}

bool Table::boolean(const QString& field) const
{
    const QVariant v = value(field);
    return !v.isNull() && v.toBool();
}

QDate Table::date(const QString& field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return v.toDate();
}

QDateTime Table::timestamp(const QString& field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

}  // namespace selvar
