#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zol::test {

// A fresh program folder in a temporary directory, laid out as a new installation.
class TestFolder
{
public:
    TestFolder();
    bool isValid() const { return m_ok; }
    QString path() const;     // with a trailing separator, as ProgramFolder
    QString dataPath() const; // path() + "dati/"
    QString filePath(const QString& relative) const { return path() + relative; }
    QString errorString() const { return m_error; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_error;
};

} // namespace zol::test
