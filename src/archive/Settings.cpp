#include "archive/Settings.h"

#include "app/Interaction.h"
#include "archive/Cp1252.h"
#include "archive/Tdm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zol {
namespace {

const QString kEnte = QStringLiteral("ENTE");
const QString kEseg = QStringLiteral("ESEG");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Blanks and tabs only: a no-break space is part of a value.
QString trimBlanks(const QString& s)
{
    int from = 0;
    int to = int(s.size());
    while (from < to && isBlank(s.at(from)))
        ++from;
    while (to > from && isBlank(s.at(to - 1)))
        --to;
    return s.mid(from, to - from);
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool enclosedInQuotes(const QString& s)
{
    return s.size() >= 2 && isQuote(s.front()) && s.back() == s.front();
}

// Italian reason for a file that could not be written or read.
QString fileProblem(const QFileDevice& f)
{
    switch (f.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accesso negato");
    case QFileDevice::OpenError:
        return QStringLiteral("il file non può essere aperto (%1)").arg(f.errorString());
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        return QStringLiteral("errore di scrittura, forse il disco è pieno (%1)").arg(f.errorString());
    case QFileDevice::ReadError:
        return QStringLiteral("errore di lettura (%1)").arg(f.errorString());
    case QFileDevice::RenameError:
        return QStringLiteral("il file non può essere sostituito (%1)").arg(f.errorString());
    default:
        return f.errorString();
    }
}

bool readBool(const IniFile& ini, const QString& section, const QString& key, bool defaultValue)
{
    if (!ini.contains(section, key))
        return defaultValue;
    bool ok = false;
    const int n = ini.value(section, key).trimmed().toInt(&ok);
    return ok ? n != 0 : defaultValue;
}

struct TextKey
{
    const char* key;
    QString TEnteSettings::*field;
};

// The keys of section ENTE in the order they are written.
const TextKey kEnteKeys[] = {
    {"DENOMINAZIONE", &TEnteSettings::DENOMINAZIONE},
    {"INDIRIZZO", &TEnteSettings::INDIRIZZO},
    {"CAP", &TEnteSettings::CAP},
    {"CITTA", &TEnteSettings::CITTA},
    {"PROVINCIA", &TEnteSettings::PROVINCIA},
    {"CODICEFISCALE", &TEnteSettings::CODICEFISCALE},
    {"TEL", &TEnteSettings::TEL},
    {"FAX", &TEnteSettings::FAX},
    {"EMAIL", &TEnteSettings::EMAIL},
    {"RESPONSABILE", &TEnteSettings::RESPONSABILE},
    {"BELFIORE", &TEnteSettings::BELFIORE},
};

} // namespace

bool IniFile::load(const QString& path)
{
    m_lines.clear();
    m_error.clear();
    QFile f(path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = fileProblem(f);
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        m_error = fileProblem(f);
        return false;
    }
    parse(bytes);
    return true;
}

void IniFile::parse(const QByteArray& bytes)
{
    m_lines.clear();
    // Windows-1252 as the program writes it; a file saved by an editor as UTF-8 with its
    // byte-order mark is read as such.
    static const QByteArray bom("\xEF\xBB\xBF");
    const QString text = bytes.startsWith(bom) ? QString::fromUtf8(bytes.mid(bom.size())) : Cp1252::decode(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
        Line line;
        line.text = l;
        const QString t = trimBlanks(l);
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            line.kind = Line::Section;
            line.name = trimBlanks(t.mid(1, t.size() - 2));
        } else if (!t.isEmpty() && !t.startsWith(QLatin1Char(';')) && t.contains(QLatin1Char('='))) {
            const int eq = int(l.indexOf(QLatin1Char('=')));
            line.kind = Line::Entry;
            line.name = trimBlanks(l.left(eq));
            line.value = decodeValue(l.mid(eq + 1));
        }
        m_lines.append(line);
    }
}

QByteArray IniFile::toBytes() const
{
    QString text;
    for (const Line& l : m_lines)
        text += l.text + QLatin1String("\r\n");
    return Cp1252::encode(text);
}

bool IniFile::write(QIODevice& device) const
{
    const QByteArray bytes = toBytes();
    if (device.write(bytes) != bytes.size()) {
        return false;
    }
    return true;
}

bool IniFile::save(const QString& path)
{
    m_error.clear();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        m_error = fileProblem(f);
        return false;
    }
    if (!write(f)) {
        m_error = fileProblem(f);
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        m_error = fileProblem(f);
        return false;
    }
    return true;
}

int IniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Line::Section && m_lines[i].name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::findEntry(const QString& section, const QString& key) const
{
    const int s = findSection(section);
    if (s < 0)
        return -1;
    for (int i = s + 1; i < m_lines.size() && m_lines[i].kind != Line::Section; ++i)
        if (m_lines[i].kind == Line::Entry && m_lines[i].name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return findEntry(section, key) >= 0;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const int i = findEntry(section, key);
    return i < 0 ? defaultValue : m_lines[i].value;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Line entry;
    entry.kind = Line::Entry;
    entry.name = key;
    entry.text = key + QLatin1Char('=') + encodeValue(value);
    entry.value = decodeValue(encodeValue(value));
    const int existing = findEntry(section, key);
    if (existing >= 0) {
        m_lines[existing] = entry;
        return;
    }
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.isEmpty() && !trimBlanks(m_lines.last().text).isEmpty())
            m_lines.append(Line());
        Line head;
        head.kind = Line::Section;
        head.name = section;
        head.text = QLatin1Char('[') + section + QLatin1Char(']');
        m_lines.append(head);
        m_lines.append(entry);
        return;
    }
    // After the section's last entry, before the blank lines that separate it from the next.
    int at = s + 1;
    for (int i = s + 1; i < m_lines.size() && m_lines[i].kind != Line::Section; ++i)
        if (!trimBlanks(m_lines[i].text).isEmpty())
            at = i + 1;
    m_lines.insert(at, entry);
}

QString IniFile::encodeValue(const QString& value)
{
    // A line end cannot live inside an entry: it becomes a blank.
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (trimBlanks(v) != v || enclosedInQuotes(v))
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

QString IniFile::decodeValue(const QString& raw)
{
    const QString v = trimBlanks(raw);
    return enclosedInQuotes(v) ? v.mid(1, v.size() - 2) : v;
}

int dayNumber(const QDate& date)
{
    return int(QDate(1899, 12, 30).daysTo(date));
}

TEnteSettings settingsFromIni(const IniFile& ini)
{
    TEnteSettings s;
    for (const TextKey& k : kEnteKeys) {
        const QString key = QLatin1String(k.key);
        s.*k.field = ini.value(kEnte, key, s.*k.field);
    }
    s.PRIMAESECUZIONE = readBool(ini, kEseg, QStringLiteral("PRIMAESECUZIONE"), true);
    bool ok = false;
    const int day = ini.value(kEseg, QStringLiteral("PROVAUPDATE")).trimmed().toInt(&ok);
    s.PROVAUPDATE = ok ? day : 0;
    return s;
}

void settingsToIni(const TEnteSettings& settings, IniFile& ini)
{
    for (const TextKey& k : kEnteKeys)
        ini.setValue(kEnte, QLatin1String(k.key), settings.*k.field);
    // The program has now ended normally once.
    ini.setValue(kEseg, QStringLiteral("PRIMAESECUZIONE"), QStringLiteral("0"));
    ini.setValue(kEseg, QStringLiteral("PROVAUPDATE"), QString::number(settings.PROVAUPDATE));
}

bool readSettingsFile(const QString& path, TEnteSettings* settings, QString* error)
{
    IniFile ini;
    const bool ok = ini.load(path);
    if (!ok && error)
        *error = ini.errorString();
    *settings = settingsFromIni(ini);
    return ok;
}

bool writeSettingsFile(const QString& path, const TEnteSettings& settings, QString* error)
{
    // Entries that others keep in the file stay; an unreadable file is replaced whole.
    IniFile ini;
    if (!ini.load(path))
        ini.parse(QByteArray());
    settingsToIni(settings, ini);
    if (ini.save(path))
        return true;
    if (error)
        *error = ini.errorString();
    return false;
}

void ReadSettings(Tdm& dm)
{
    QString why;
    if (!readSettingsFile(dm.settingsFile(), &dm.EnteSettings, &why))
        ui().warning(QStringLiteral("Impossibile leggere le impostazioni dal file %1: %2.\n"
                                    "Vengono usati i valori predefiniti.")
                         .arg(QDir::toNativeSeparators(dm.settingsFile()), why),
                     QStringLiteral("Impostazioni"));
}

void WriteSettings(Tdm& dm)
{
    for (;;) {
        QString why;
        if (writeSettingsFile(dm.settingsFile(), dm.EnteSettings, &why))
            return;
        const int answer =
            ui().message(QStringLiteral("Impostazioni"),
                         QStringLiteral("Impossibile salvare le impostazioni dell'Ente nel file %1: %2.\n"
                                        "Le modifiche di questa sessione andranno perse.\n"
                                        "Riprovare?")
                             .arg(QDir::toNativeSeparators(dm.settingsFile()), why),
                         Interaction::Icon::Warning, Interaction::Retry | Interaction::Cancel, Interaction::Retry);
        if (answer != Interaction::Retry)
            return;
    }
}

} // namespace zol
