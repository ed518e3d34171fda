#pragma once

#include <QString>

#include <functional>

namespace zol {

// Rebuilds a damaged table file from every row that can still be read: the rows are copied by
// rowid into a new file beside it (walking around damaged pages), the indexes are recreated,
// the new file is checked and only then takes the old one's place. The file must not be in use.
struct RepairResult
{
    bool ok = false;
    qint64 rowsCopied = 0;
    QString error;
};

RepairResult rebuildTableFile(const QString& path, const std::function<void(int percent)>& progress);

// PRAGMA quick_check on a database file or attached schema: empty when sound, else the first problem.
QString quickCheck(class Connection& db, const QString& schema);

} // namespace zol
