#include "TestFolder.h"

#include "archive/Installer.h"

namespace zol::test {

TestFolder::TestFolder()
{
    m_ok = m_dir.isValid() && Installer::createProgramFolder(m_dir.path(), &m_error);
}

QString TestFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TestFolder::dataPath() const
{
    return path() + QStringLiteral("dati/");
}

} // namespace zol::test
