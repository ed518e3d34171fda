#include "fiscal/CodiceFiscale.h"

#include <QDate>

namespace zol {
namespace {

// Values of the letters A-Z in the odd positions (1, 3, ... 15); a digit takes the value of the
// letter in the same place of the alphabet (0 as A ... 9 as J).
constexpr int kOddValues[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

// January to December.
constexpr char kMonthLetters[12] = {'A', 'B', 'C', 'D', 'E', 'H', 'L', 'M', 'P', 'R', 'S', 'T'};

constexpr int kCodeLength = 16;
constexpr int kPartLength = 3;

bool isCapital(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isVowel(QChar c)
{
    switch (c.unicode()) {
    case 'A':
    case 'E':
    case 'I':
    case 'O':
    case 'U':
        return true;
    default:
        return false;
    }
}

// The place of a digit or capital letter in its table (0-9 for digits, 0-25 for letters), or -1.
int tableIndex(QChar c)
{
    if (isDigit(c))
        return c.unicode() - '0';
    if (isCapital(c))
        return c.unicode() - 'A';
    return -1;
}

// The first three of consonants then vowels, completed with the filler X.
QString consonantsThenVowels(const QString& consonants, const QString& vowels)
{
    QString part = (consonants + vowels).left(kPartLength);
    while (part.size() < kPartLength)
        part += QLatin1Char('X');
    return part;
}

QString surnamePart(const QString& letters)
{
    if (letters.size() == 2)
        return letters + QLatin1Char('X');
    const QString c = Consonanti(letters);
    if (c.size() >= 3)
        return c.left(3);
    return consonantsThenVowels(c, Vocali(letters));
}

QString namePart(const QString& letters)
{
    if (letters.size() == 2)
        return letters + QLatin1Char('X');
    const QString c = Consonanti(letters);
    if (c.size() >= 4)
        return QString(c.at(0)) + c.at(2) + c.at(3);
    if (c.size() == 3)
        return c;
    return consonantsThenVowels(c, Vocali(letters));
}

// Two decimal digits at pos of text, as a number; -1 when they are not digits.
int twoDigits(const QString& text, int pos)
{
    if (!isDigit(text.at(pos)) || !isDigit(text.at(pos + 1)))
        return -1;
    return (text.at(pos).unicode() - '0') * 10 + (text.at(pos + 1).unicode() - '0');
}

} // namespace

QChar CarattereControllo(const QString& first15)
{
    if (first15.size() < 15)
        return {};
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const int index = tableIndex(first15.at(i));
        if (index < 0)
            return {};
        // Positions are counted from 1: index 0 is position 1, an odd one.
        sum += (i % 2 == 0) ? kOddValues[index] : index;
    }
    return QLatin1Char(char('A' + sum % 26));
}

bool ControllaCodiceFiscale(const QString& code)
{
    if (code.size() != kCodeLength)
        return false;
    const QChar check = CarattereControllo(code.left(15));
    return !check.isNull() && check == code.at(15);
}

QString CalcolaCodiceFiscale(const QString& cognome, const QString& nome, const QString& sesso,
                             const QString& dataNascita, const QString& codiceComune)
{
    const QString surname = toUpperAsciiLetters(cognome);
    const QString name = toUpperAsciiLetters(nome);
    if (surname.size() < 2 || name.size() < 2 || sesso.isEmpty() || dataNascita.isEmpty() || codiceComune.isEmpty() ||
        dataNascita == QLatin1String("00/00/00"))
        return {};

    // The date must be "dd/mm/yy" with a real month; the standard has no letter for month 13.
    if (dataNascita.size() != 8 || dataNascita.at(2) != QLatin1Char('/') || dataNascita.at(5) != QLatin1Char('/'))
        return {};
    const int day = twoDigits(dataNascita, 0);
    const int month = twoDigits(dataNascita, 3);
    if (day < 1 || day > 31 || month < 1 || month > 12 || twoDigits(dataNascita, 6) < 0)
        return {};

    // A surname or name without any letter A-Z (digits, blanks, accented letters only) has no
    // part to give; one or two letters are completed as the standard does.
    const QString surnameLetters = SoloLettere(surname);
    const QString nameLetters = SoloLettere(name);
    if (surnameLetters.isEmpty() || nameLetters.isEmpty())
        return {};

    QString code = surnamePart(surnameLetters) + namePart(nameLetters);
    code += dataNascita.mid(6, 2);
    code += QLatin1Char(kMonthLetters[month - 1]);
    if (sesso == QLatin1String("M"))
        code += dataNascita.left(2);
    else
        code += QString::number(day + 40);
    code += codiceComune;

    // The municipality code is four characters; any other length would shift the check
    // character out of its place.
    if (code.size() != 15)
        return {};
    const QChar check = CarattereControllo(code);
    if (check.isNull())
        return {};
    return code + check;
}

namespace {

template <typename Keep> QString keepOnly(const QString& text, Keep keep)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (keep(c))
            out += c;
    return out;
}

} // namespace

QString SoloLettere(const QString& text)
{
    return keepOnly(text, isCapital);
}

QString Consonanti(const QString& text)
{
    return keepOnly(text, [](QChar c) { return !isVowel(c); });
}

QString Vocali(const QString& text)
{
    return keepOnly(text, isVowel);
}

QString DataPerCodiceFiscale(const QDate& date)
{
    return date.isValid() ? QString::asprintf("%02d/%02d/%02d", date.day(), date.month(), date.year() % 100)
                          : QString();
}

QString toUpperAsciiLetters(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

} // namespace zol
