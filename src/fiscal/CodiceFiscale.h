#pragma once

#include <QChar>
#include <QString>

class QDate;

namespace zol {

// The codice fiscale of a natural person (16 characters): its check character and its
// derivation from the personal data, after the Ministry of Finance decree of 23 December 1976.
// Pure functions: they read nothing, store nothing and show nothing.

// The check character of a codice fiscale from its first fifteen characters: a capital letter
// A-Z. A null QChar when the text is shorter than fifteen characters or one of the fifteen is
// neither a digit nor a capital letter A-Z (the tables have no value for it).
QChar CarattereControllo(const QString& first15);

// True when code, taken as stored (no trimming, no change of case), is 16 characters long and
// its sixteenth is the check character of the first fifteen. Nothing else is verified, so an
// omocodia variant with the right check character is valid.
bool ControllaCodiceFiscale(const QString& code);

// The codice fiscale derived from surname, name, sex ("M" gives the male day, anything else the
// female one), birth date as "dd/mm/yy" and the four-character cadastral code of the birth
// municipality. The empty text when the data do not suffice: surname or name shorter than two
// characters or without any letter A-Z, empty sex, empty or malformed date, the date
// "00/00/00", a municipality code that is not four digits or capital letters.
QString CalcolaCodiceFiscale(const QString& cognome, const QString& nome, const QString& sesso,
                             const QString& dataNascita, const QString& codiceComune);

// The letters A-Z of text, in their order; everything else (blanks, apostrophes, digits,
// lower-case and accented letters) is dropped.
QString SoloLettere(const QString& text);

// The characters of text that are not A, E, I, O or U, in their order.
QString Consonanti(const QString& text);

// The characters of text that are A, E, I, O or U, in their order.
QString Vocali(const QString& text);

// A stored birth date in the form the derivation takes, "dd/mm/yy"; empty for a missing date.
QString DataPerCodiceFiscale(const QDate& date);

// text with the letters a-z turned into capitals; every other character (accented letters
// included) stays as it is, as the office's input fields do.
QString toUpperAsciiLetters(const QString& text);

} // namespace zol
