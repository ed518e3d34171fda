#pragma once

#include "archive/EnteSettings.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

class QIODevice;

namespace zol {

class Tdm;

// A Windows initialisation file held in memory: sections in square brackets, "KEY=value" lines.
// Sections and keys are found without regard to case; the first of two equal keys wins. Lines
// the program does not know (other sections, other keys, comments) are kept as they were, so
// writing the file back loses nothing of what someone else put there.
//
// Values are written so that they read back exactly: a value with blanks at either end, or one
// enclosed in a pair of quotes, is written inside double quotes, which the reader takes off
// again (as Windows does). Commas, semicolons, equals signs and quotes inside a value need
// nothing. The file is Windows-1252; lines end with CR LF.
class IniFile
{
public:
    // Reads path; a missing file is an empty one. False (with errorString) when it exists but
    // cannot be read.
    bool load(const QString& path);
    void parse(const QByteArray& bytes);

    QByteArray toBytes() const;
    bool write(QIODevice& device) const;
    // Replaces path only when the whole file has been written (a temporary file renamed over it).
    bool save(const QString& path);

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // Changes the entry where it is, or adds it at the end of its section (the section at the end).
    void setValue(const QString& section, const QString& key, const QString& value);

    QString errorString() const { return m_error; }

    // The text that follows "KEY=" for value, and back.
    static QString encodeValue(const QString& value);
    static QString decodeValue(const QString& raw);

private:
    struct Line
    {
        enum Kind { Other, Section, Entry };
        Kind kind = Other;
        QString text;  // the line as read or written, without its line end
        QString name;  // section name or key, trimmed
        QString value; // decoded value of an entry
    };
    int findSection(const QString& section) const;
    int findEntry(const QString& section, const QString& key) const;

    QList<Line> m_lines;
    QString m_error;
};

// Whole days from 30 December 1899 (the settings file's day numbers: 1 January 2008 is 39448).
int dayNumber(const QDate& date);

// EnteSettings from the sections ENTE and ESEG, every missing key at its default.
TEnteSettings settingsFromIni(const IniFile& ini);
// Writes every key in its order; PRIMAESECUZIONE is always written "0".
void settingsToIni(const TEnteSettings& settings, IniFile& ini);

bool readSettingsFile(const QString& path, TEnteSettings* settings, QString* error);
bool writeSettingsFile(const QString& path, const TEnteSettings& settings, QString* error);

// The data module's start and end steps: read ZOL.INI of the program folder into
// dm.EnteSettings, and write it back. Both tell the user through ui() when the file cannot be
// read or written; the end step offers to try again, so that the settings are not lost silently.
void ReadSettings(Tdm& dm);
void WriteSettings(Tdm& dm);

} // namespace zol
