#include "data/private_files.h"

#include "data/alias.h"
#include "data/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

void makePrivateDirectory(const QString& path)
{
    if (path.isEmpty()) return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(absolute)) return;
    makePrivateDirectory(QFileInfo(absolute).absolutePath());
    const QByteArray native = QFile::encodeName(absolute);
    if (::mkdir(native.constData(), 0700) != 0 && !QFileInfo(absolute).isDir())
        throw DbError(u"Klasör oluşturulamadı: "_s + absolute);
    ::chmod(native.constData(), 0700);  // the umask took bits away, never added; made sure
}

bool createPrivateFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;  // already there (or not creatable: the opening that follows says why)
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

void makePrivate(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return;
    ::chmod(native.constData(), S_ISDIR(st.st_mode) ? 0700 : 0600);
}

bool readableByOthers(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
    return (st.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

QString exposedDatabaseWarning(const AliasConfig& alias)
{
    if (alias.engine != AliasConfig::Engine::Sqlite) return {};
    QStringList exposed;
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s})
        if (readableByOthers(alias.database + suffix)) exposed << QFileInfo(alias.database + suffix).fileName();
    if (exposed.isEmpty()) return {};
    return u"Veritabanı dosyası başka kullanıcılarca okunabiliyor: "_s + QFileInfo(alias.database).absolutePath() + u'/'
           + exposed.join(u", "_s)
           + u"\nHasta ve hesap bilgileri korunmuyor. Yalnız sahibinin okuyabilmesi için: chmod 600 "_s
           + alias.database + u'*';
}

}  // namespace selvar
