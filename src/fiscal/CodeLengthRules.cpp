#include "fiscal/CodeLengthRules.h"

#include "fiscal/CodiceFiscale.h"

namespace zol::CodeRules {
namespace {

// Blanks and control characters off both ends, as the office's fields trim them; other
// characters (a no-break space among them) stay and count.
QString trimBlanks(const QString& text)
{
    int begin = 0;
    int end = int(text.size());
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

bool isApplicantCodeLength(const QString& typed)
{
    const qsizetype n = trimBlanks(typed).size();
    return n == 11 || n == 16;
}

QString applicantKindForCode(const QString& typed)
{
    return trimBlanks(typed).size() == 16 ? QStringLiteral("P") : QStringLiteral("A");
}

bool isProfessionalCodeLength(const QString& typed)
{
    return trimBlanks(typed).size() == 16;
}

bool isCompanyVatLength(const QString& typed)
{
    return trimBlanks(typed).size() == 11;
}

bool isValidProfessionalCodiceFiscale(const QString& code)
{
    return code.size() == 16 && ControllaCodiceFiscale(code);
}

bool isEnteCodiceFiscaleLength(const QString& typed)
{
    return trimBlanks(typed).size() == 11;
}

bool isEnteBelfioreGiven(const QString& typed)
{
    return !trimBlanks(typed).isEmpty();
}

bool isEnteCodiceFiscaleTransmittable(const QString& stored)
{
    return stored.size() == 11;
}

bool isEnteBelfioreTransmittable(const QString& stored)
{
    return trimBlanks(stored).size() == 4;
}

} // namespace zol::CodeRules
