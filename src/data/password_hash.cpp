#include "data/password_hash.h"

#include "data/errors.h"

#include <sodium.h>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw DbError(u"Şifre kitaplığı başlatılamadı."_s);
}
}  // namespace

QString hashPassword(const QString& password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw DbError(u"Şifre saklanamadı: bellek yetmedi."_s);
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1StringView(crypto_pwhash_STRPREFIX));
}

bool passwordMatches(const QString& stored, const QString& typed)
{
    if (!isPasswordHash(stored)) return stored == typed;
    ensureSodium();
    const QByteArray hash = stored.toLatin1(), utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size())) == 0;
}

}  // namespace selvar
