#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace zol {

// Checks a transmission file as the tax agency will read it: every line 368 characters and
// CR LF, the records in their order (header, per request its record then its beneficiaries,
// cadastral units, professionals and companies, trailer), "A" in position 368, the fixed code,
// the trailer equal to the header but for its type, coded positions within their lists, dates
// that are eight blanks or a real ddmmyyyy date, blanks where the layout wants blanks, every
// child repeating its request's applicant code and protocol number, the professional's check
// character. The file is read line by line, so its size does not matter.
class TransmissionValidator
{
public:
    struct Problem
    {
        qlonglong line; // from 1
        int from;       // positions, from 1, both included
        int to;
        QString text;
        QString toString() const; // "riga N, posizioni A-B: ..."
    };

    struct Counts
    {
        qlonglong lines = 0;
        qlonglong requests = 0;
        qlonglong beneficiaries = 0;
        qlonglong units = 0;
        qlonglong professionals = 0;
        qlonglong companies = 0;
    };

    // False when the file could not be read (see errorString()); true otherwise, whether or not
    // problems were found.
    bool validateFile(const QString& path);
    bool validate(QIODevice* device);

    bool isValid() const { return m_problems.isEmpty(); }
    const QList<Problem>& problems() const { return m_problems; }
    QStringList problemLines() const;
    const Counts& counts() const { return m_counts; }
    // One line that sums up a valid file.
    QString summary() const;
    QString errorString() const { return m_error; }

private:
    void checkLine(const QByteArray& raw);
    void checkRecord(const QString& r);
    void checkHeader(const QString& r);
    void checkRequest(const QString& r);
    void checkChild(const QString& r, int type);
    void checkBlock(const QString& r, int at);
    void checkFilled(const QString& r, int from, int to, const QString& what);
    void checkBlanks(const QString& r, int from, int to);
    void checkCode(const QString& r, int pos, const QString& codes, const QString& what);
    void checkDate(const QString& r, int from, const QString& what);
    void add(int from, int to, const QString& text);

    QList<Problem> m_problems;
    Counts m_counts;
    QString m_error;

    // Where the walk through the file stands.
    qlonglong m_line = 0;
    bool m_headerSeen = false;
    bool m_trailerSeen = false;
    QString m_header; // the header record, to compare the trailer with
    bool m_inRequest = false;
    int m_lastChildType = 0;
    QString m_requestCf;       // positions 2-17 of the current request
    QString m_requestProtocol; // positions 149-168
};

} // namespace zol
