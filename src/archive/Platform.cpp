#include "archive/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zol::platform {

bool replaceFile(const QString& from, const QString& to, QString* error)
{
#ifdef Q_OS_WIN
    const std::wstring f = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring t = QDir::toNativeSeparators(to).toStdWString();
    if (MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (error)
        *error = QStringLiteral("errore di sistema %1").arg(GetLastError());
    return false;
#else
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (std::rename(f.constData(), t.constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Make the rename itself durable.
    const QByteArray dir = QFile::encodeName(QFileInfo(to).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
#endif
}

} // namespace zol::platform
