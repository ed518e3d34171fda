#include "archive/Installer.h"

#include "archive/Connection.h"
#include "archive/Schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

static void initInstallerResources()
{
    Q_INIT_RESOURCE(installation);
}

namespace zol::Installer {

QStringList municipalityLines()
{
    initInstallerResources();
    QFile f(QStringLiteral(":/installation/comuni.csv"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst(); // header
    for (QString& l : lines)
        l = l.trimmed();
    return lines;
}

bool createTableFile(const QString& path, const QString& table, QString* error)
{
    const TableDef* def = Schema::table(table);
    if (!def) {
        if (error)
            *error = QStringLiteral("La tabella %1 non fa parte dell'archivio.").arg(table);
        return false;
    }
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("Il file %1 esiste già.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    Connection c;
    bool ok = c.open(path, true);
    ok = ok && c.exec(QStringLiteral("BEGIN"));
    for (const QString& sql : def->createStatements())
        ok = ok && c.exec(sql);
    ok = ok && c.exec(QStringLiteral("PRAGMA user_version=%1").arg(def->userVersion()));
    ok = ok && c.exec(QStringLiteral("COMMIT"));
    if (ok && def->name == QLatin1String("COMUNI")) {
        Statement ins = c.prepare(QStringLiteral("INSERT INTO COMUNI (CODICE, NOME, PROV, CAP) VALUES (?, ?, ?, ?)"));
        ok = ins.isValid() && c.exec(QStringLiteral("BEGIN"));
        const QStringList lines = municipalityLines();
        ok = ok && !lines.isEmpty();
        for (const QString& line : lines) {
            const QStringList f = line.split(QLatin1Char(';'));
            if (f.size() < 4)
                continue;
            ins.reset();
            ins.bindAll(QVariantList{f[0], f[1], f[2], f[3]});
            if (!(ok = ins.exec()))
                break;
        }
        ok = ok && c.exec(QStringLiteral("COMMIT"));
    }
    const QString why = c.error().text;
    c.close();
    if (!ok) {
        QFile::remove(path);
        if (error)
            *error = QStringLiteral("Impossibile creare %1: %2").arg(QDir::toNativeSeparators(path), why);
    }
    return ok;
}

static bool copyResourceTree(const QString& from, const QString& to, QString* error)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString target = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(src, target)) {
            if (error)
                *error = QStringLiteral("Impossibile scrivere %1.").arg(QDir::toNativeSeparators(target));
            return false;
        }
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

bool createProgramFolder(const QString& folder, QString* error)
{
    initInstallerResources();
    const QDir dir(folder);
    const QString data = dir.absoluteFilePath(QStringLiteral("dati"));
    const QStringList existing = QDir(data).entryList({QStringLiteral("*.DAT"), QStringLiteral("*.dat")}, QDir::Files);
    if (!existing.isEmpty()) {
        if (error)
            *error = QStringLiteral("La cartella %1 contiene già un archivio (%2): non viene sovrascritta.")
                         .arg(QDir::toNativeSeparators(data), existing.first());
        return false;
    }
    if (!QDir().mkpath(data)) {
        if (error)
            *error = QStringLiteral("Impossibile creare la cartella %1.").arg(QDir::toNativeSeparators(data));
        return false;
    }
    for (const TableDef& t : Schema::tables()) {
        if (!createTableFile(data + QLatin1Char('/') + t.fileName(), t.name, error)) {
            // Leave no half installation behind.
            for (const TableDef& u : Schema::tables())
                QFile::remove(data + QLatin1Char('/') + u.fileName());
            return false;
        }
    }
    // Report templates and documents shipped with the program, when the build embeds them.
    return copyResourceTree(QStringLiteral(":/installation/folder"), dir.absolutePath(), error);
}

} // namespace zol::Installer
