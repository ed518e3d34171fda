#include "transmission/TransmissionValidator.h"

#include "archive/Cp1252.h"
#include "fiscal/CodiceFiscale.h"
#include "transmission/TransmissionRecords.h"

#include <QDate>
#include <QFile>

namespace zol {
namespace {

constexpr int kLength = Transmission::kRecordLength;

QString part(const QString& r, int from, int to)
{
    return r.mid(from - 1, to - from + 1);
}

bool isBlank(const QString& text)
{
    for (const QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

bool hasContent(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > ' ')
            return true;
    return false;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString TransmissionValidator::Problem::toString() const
{
    return QStringLiteral("riga %1, posizioni %2-%3: %4").arg(line).arg(from).arg(to).arg(text);
}

QStringList TransmissionValidator::problemLines() const
{
    QStringList out;
    for (const Problem& p : m_problems)
        out << p.toString();
    return out;
}

QString TransmissionValidator::summary() const
{
    return QStringLiteral("File valido: %1 righe; %2 richieste, %3 beneficiari, %4 unità catastali, "
                          "%5 professionisti, %6 imprese.")
        .arg(m_counts.lines)
        .arg(m_counts.requests)
        .arg(m_counts.beneficiaries)
        .arg(m_counts.units)
        .arg(m_counts.professionals)
        .arg(m_counts.companies);
}

bool TransmissionValidator::validateFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Impossibile aprire il file %1: %2").arg(path, f.errorString());
        return false;
    }
    return validate(&f);
}

bool TransmissionValidator::validate(QIODevice* device)
{
    *this = TransmissionValidator();
    while (!device->atEnd()) {
        const QByteArray raw = device->readLine();
        if (raw.isEmpty() && !device->atEnd()) {
            m_error = QStringLiteral("Errore di lettura: %1").arg(device->errorString());
            return false;
        }
        checkLine(raw);
    }
    m_counts.lines = m_line;
    if (m_line == 0) {
        m_line = 1;
        add(1, kLength, QStringLiteral("il file è vuoto"));
    } else if (!m_trailerSeen) {
        ++m_line;
        add(1, 1, QStringLiteral("manca il record di coda (tipo 9)"));
    }
    return true;
}

void TransmissionValidator::add(int from, int to, const QString& text)
{
    m_problems.append({m_line, from, to, text});
}

void TransmissionValidator::checkLine(const QByteArray& raw)
{
    ++m_line;
    QByteArray body = raw;
    if (body.endsWith("\r\n")) {
        body.chop(2);
    } else if (body.endsWith('\n')) {
        body.chop(1);
        add(int(body.size()) + 1, int(body.size()) + 1, QStringLiteral("la riga termina con LF invece che con CR LF"));
    } else {
        add(int(body.size()) + 1, int(body.size()) + 2, QStringLiteral("manca la fine riga CR LF"));
    }
    const QString r = Cp1252::decode(body);
    if (r.size() != kLength) {
        add(1, qMax(1, int(r.size())),
            QStringLiteral("il record è lungo %1 caratteri invece di %2").arg(r.size()).arg(kLength));
    }
    checkRecord(r);
}

void TransmissionValidator::checkRecord(const QString& r)
{
    const QChar type = r.isEmpty() ? QChar() : r.at(0);
    const bool fullLength = r.size() == kLength;

    if (m_trailerSeen) {
        add(1, 1, QStringLiteral("record dopo il record di coda"));
        return;
    }
    switch (type.unicode()) {
    case '0':
        if (m_headerSeen || m_line != 1) {
            add(1, 1, QStringLiteral("record di testa fuori posto: deve essere solo sulla prima riga"));
        } else {
            m_headerSeen = true;
            m_header = r;
        }
        if (fullLength)
            checkHeader(r);
        m_inRequest = false;
        break;
    case '9':
        m_trailerSeen = true;
        if (!m_headerSeen) {
            add(1, 1, QStringLiteral("record di coda senza record di testa"));
        } else if (fullLength && m_header.size() == kLength) {
            int first = 0, last = 0;
            for (int i = 1; i < kLength; ++i) {
                if (r.at(i) != m_header.at(i)) {
                    if (!first)
                        first = i + 1;
                    last = i + 1;
                }
            }
            if (first)
                add(first, last, QStringLiteral("il record di coda deve essere uguale al record di testa"));
        }
        if (fullLength)
            checkHeader(r);
        break;
    case '1':
        if (!m_headerSeen)
            add(1, 1, QStringLiteral("richiesta prima del record di testa"));
        ++m_counts.requests;
        m_inRequest = true;
        m_lastChildType = 0;
        m_requestCf = fullLength ? part(r, 2, 17) : QString();
        m_requestProtocol = fullLength ? part(r, 149, 168) : QString();
        if (fullLength)
            checkRequest(r);
        break;
    case '2':
    case '3':
    case '4':
    case '5': {
        const int t = type.unicode() - '0';
        static const char* const kinds[] = {"", "", "beneficiario", "unità catastale", "professionista", "impresa"};
        if (!m_inRequest) {
            add(1, 1, QStringLiteral("record di tipo %1 (%2) prima della sua richiesta").arg(t).arg(kinds[t]));
        } else if (t < m_lastChildType) {
            add(1, 1,
                QStringLiteral("record di tipo %1 (%2) dopo un record di tipo %3: l'ordine è 2, 3, 4, 5")
                    .arg(t)
                    .arg(kinds[t])
                    .arg(m_lastChildType));
        }
        m_lastChildType = qMax(m_lastChildType, t);
        if (t == 2)
            ++m_counts.beneficiaries;
        else if (t == 3)
            ++m_counts.units;
        else if (t == 4)
            ++m_counts.professionals;
        else
            ++m_counts.companies;
        if (fullLength)
            checkChild(r, t);
        break;
    }
    default:
        add(1, 1, QStringLiteral("tipo di record sconosciuto %1").arg(quoted(QString(type))));
        return;
    }
    if (fullLength && r.at(kLength - 1) != QLatin1Char('A'))
        add(kLength, kLength,
            QStringLiteral("deve contenere \"A\" invece di %1").arg(quoted(QString(r.at(kLength - 1)))));
}

void TransmissionValidator::checkHeader(const QString& r)
{
    if (part(r, 2, 8) != Transmission::kFixedCode)
        add(2, 8,
            QStringLiteral("il codice fisso deve essere %1 invece di %2")
                .arg(quoted(Transmission::kFixedCode), quoted(part(r, 2, 8))));
    checkFilled(r, 9, 24, QStringLiteral("codice fiscale dell'Ente"));
    checkBlanks(r, 25, 88);
    checkFilled(r, 89, 148, QStringLiteral("denominazione dell'Ente"));
    checkFilled(r, 149, 152, QStringLiteral("codice belfiore dell'Ente"));
    const QString year = part(r, 153, 156);
    bool digits = true;
    for (const QChar c : year)
        digits = digits && c.isDigit() && c.unicode() < 128;
    if (!digits)
        add(153, 156, QStringLiteral("l'anno deve essere di quattro cifre invece di %1").arg(quoted(year)));
    checkBlanks(r, 157, 367);
}

void TransmissionValidator::checkRequest(const QString& r)
{
    checkBlock(r, 2);
    checkCode(r, 146, QStringLiteral("1234"), QStringLiteral("qualifica del richiedente"));
    checkCode(r, 147, QStringLiteral("01"), QStringLiteral("tipo di richiesta"));
    checkCode(r, 148, QStringLiteral("1234567"), QStringLiteral("tipologia di intervento"));
    checkFilled(r, 149, 168, QStringLiteral("numero di protocollo"));
    checkCode(r, 169, QStringLiteral("01"), QStringLiteral("tipologia della richiesta"));
    checkDate(r, 170, QStringLiteral("data di presentazione"));
    if (r.at(146) == QLatin1Char('1')) {
        if (!isBlank(part(r, 178, 185)))
            add(178, 185,
                QStringLiteral("una Denuncia di Inizio Attività non ha data di inizio lavori: devono "
                               "esserci spazi"));
    } else {
        checkDate(r, 178, QStringLiteral("data di inizio lavori"));
    }
    checkDate(r, 186, QStringLiteral("data di fine lavori"));
    checkBlanks(r, 229, 367);
}

void TransmissionValidator::checkChild(const QString& r, int type)
{
    if (m_inRequest && !m_requestCf.isEmpty()) {
        if (part(r, 2, 17) != m_requestCf)
            add(2, 17,
                QStringLiteral("il codice fiscale del richiedente %1 non è quello della sua richiesta %2")
                    .arg(quoted(part(r, 2, 17).trimmed()), quoted(m_requestCf.trimmed())));
        if (part(r, 18, 37) != m_requestProtocol)
            add(18, 37,
                QStringLiteral("il numero di protocollo %1 non è quello della sua richiesta %2")
                    .arg(quoted(part(r, 18, 37).trimmed()), quoted(m_requestProtocol.trimmed())));
    }
    switch (type) {
    case 2:
        checkBlock(r, 38);
        checkCode(r, 182, QStringLiteral("1234"), QStringLiteral("qualifica del beneficiario"));
        checkBlanks(r, 183, 367);
        break;
    case 3:
        checkCode(r, 38, QStringLiteral("FT"), QStringLiteral("tipo di unità"));
        checkFilled(r, 42, 46, QStringLiteral("foglio"));
        checkFilled(r, 47, 51, QStringLiteral("particella"));
        if (r.at(55) != QLatin1Char(' '))
            checkCode(r, 56, QStringLiteral("FE"), QStringLiteral("tipo di particella"));
        checkBlanks(r, 61, 367);
        break;
    case 4:
        if (!ControllaCodiceFiscale(part(r, 38, 53)))
            add(38, 53, QStringLiteral("codice fiscale del professionista non valido %1").arg(quoted(part(r, 38, 53))));
        checkCode(r, 54, QStringLiteral("123456"), QStringLiteral("albo del professionista"));
        checkCode(r, 67, QStringLiteral("012"), QStringLiteral("qualifica del professionista"));
        checkBlanks(r, 68, 367);
        break;
    case 5:
        checkFilled(r, 38, 48, QStringLiteral("partita IVA dell'impresa"));
        checkFilled(r, 49, 98, QStringLiteral("denominazione dell'impresa"));
        checkFilled(r, 99, 102, QStringLiteral("codice del comune dell'impresa"));
        checkBlanks(r, 103, 367);
        break;
    default:
        break;
    }
}

// The party block of 144 characters at absolute position at: a person fills its positions
// 17-80, a company its positions 81-144; never both.
void TransmissionValidator::checkBlock(const QString& r, int at)
{
    const int o = at - 1; // block position p is absolute position o + p
    checkFilled(r, o + 1, o + 16, QStringLiteral("codice fiscale"));
    const bool person = hasContent(part(r, o + 17, o + 80));
    const bool company = hasContent(part(r, o + 81, o + 144));
    if (person && company) {
        add(o + 81, o + 144,
            QStringLiteral("una persona fisica ha dati nelle posizioni di una società: devono esserci "
                           "spazi"));
    } else if (!person && !company) {
        add(o + 17, o + 140, QStringLiteral("mancano sia i dati della persona fisica sia la denominazione"));
    } else if (person) {
        checkFilled(r, o + 17, o + 42, QStringLiteral("cognome"));
        checkFilled(r, o + 43, o + 67, QStringLiteral("nome"));
        checkCode(r, o + 68, QStringLiteral("MF"), QStringLiteral("sesso"));
        checkDate(r, o + 69, QStringLiteral("data di nascita"));
    } else {
        checkFilled(r, o + 81, o + 140, QStringLiteral("denominazione"));
    }
}

void TransmissionValidator::checkFilled(const QString& r, int from, int to, const QString& what)
{
    if (!hasContent(part(r, from, to)))
        add(from, to, QStringLiteral("%1 mancante").arg(what));
}

void TransmissionValidator::checkBlanks(const QString& r, int from, int to)
{
    if (!isBlank(part(r, from, to)))
        add(from, to, QStringLiteral("devono esserci solo spazi"));
}

void TransmissionValidator::checkCode(const QString& r, int pos, const QString& codes, const QString& what)
{
    const QChar c = r.at(pos - 1);
    if (c == QLatin1Char(' ') || !codes.contains(c)) {
        QStringList list;
        for (const QChar k : codes)
            list << quoted(QString(k));
        add(pos, pos,
            QStringLiteral("%1: %2 non è uno dei codici %3")
                .arg(what, quoted(QString(c)), list.join(QStringLiteral(", "))));
    }
}

void TransmissionValidator::checkDate(const QString& r, int from, const QString& what)
{
    const QString d = part(r, from, from + 7);
    if (isBlank(d))
        return;
    bool ok = true;
    for (const QChar c : d)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (ok) {
        const QDate date(d.mid(4, 4).toInt(), d.mid(2, 2).toInt(), d.left(2).toInt());
        ok = date.isValid() && date > QDate(1899, 12, 30);
    }
    if (!ok)
        add(from, from + 7, QStringLiteral("%1 %2 non è una data ggmmaaaa né otto spazi").arg(what, quoted(d)));
}

} // namespace zol
