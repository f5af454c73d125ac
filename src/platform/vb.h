#pragma once
// The run-time semantics the rules were written against: numbered errors,
// 16-bit and 32-bit whole numbers with overflow detection, and the number
// conversions (rounding halves to the even neighbour).
#include <QString>
#include <QVariant>
#include <concepts>
#include <cstdint>
#include <exception>
#include <utility>

namespace vb {

// Standard error numbers the program raises or reports.
enum ErrNo : int {
    ErrReturnWithoutGosub = 3,
    ErrInvalidCall = 5,        // invalid procedure call or argument
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscript = 9,          // subscript out of range
    ErrDivByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,          // anything that is not one of ours (foreign exceptions)
    ErrObjectNotSet = 91,      // object variable or With block variable not set
    ErrInvalidUseOfNull = 94,  // an empty value where a number is needed
    ErrFileNotFound = 53,
    ErrFileExists = 58,
    ErrDiskFull = 61,
    ErrPermission = 70,
    ErrPathNotFound = 76,
    ErrObjectRequired = 424,
    ErrPrinter = 482,
    ErrNoCurrentRecord = 3021,
    ErrCannotOpenFile = 3024,     // could not find file
    ErrNotInCollection = 3265,    // item not found in this collection (field name)
    ErrTableNotFound = 3078,      // cannot find the input table or query
    ErrSyntax = 3075,             // syntax error in query expression
    ErrNotADatabase = 3343,       // unrecognised database format
    ErrWorkgroup = 3028,          // cannot start: workgroup file missing or unreadable
    ErrAccount = 3029,            // not a valid account name or password
    ErrReadOnly = 3027,           // database or object is read-only
    ErrFileInUse = 3045,
    ErrIo = 3051,                 // cannot open the file (locked, rights, damaged)
    ErrUpdateWithoutAddNew = 3020,
    ErrInvalidArgument = 3001,
    ErrDuplicate = 3022,          // duplicate values in the index or primary key
    ErrNoDiskSpace = 3026,        // the database engine's disk full
    ErrBadPath = 3044,
    ErrDamaged = 3049,            // cannot open the database: damaged or not one of ours
    ErrTooFewParameters = 3061,
    ErrBadCriteria = 3070,        // a field name or expression of the criteria not known
    ErrAmbiguousField = 3079,
    ErrDatabaseExists = 3204,
    ErrNullField = 3314,          // the field cannot hold an empty value
    ErrObjectInvalid = 3420,      // object invalid or no longer set
    ErrIndexOutOfBounds = 35600,  // tree of the skill window: no such node
    ErrKeyNotUnique = 35602,      // tree of the skill window: a key given twice
};

// A run-time error: a number and its standard text in the interface language.
// A text given here (a component's own description) serves only the messages
// written for the log; the error box shows the standard text of the number.
class Error : public std::exception {
public:
    explicit Error(int number);
    Error(int number, QString text);
    int number() const { return m_number; }
    const QString &text() const { return m_text; }
    // True for a Refusal: the box shows its words, not the standard text.
    bool inPlayersWords() const { return m_inWords; }
    const char *what() const noexcept override;

protected:
    struct InWords {};
    Error(int number, QString words, InWords);

private:
    int m_number;
    QString m_text;
    bool m_inWords = false;
    mutable QByteArray m_utf8;
};

// A failure the program has already put in the player's words (a character
// file that cannot be opened or saved, and why): the error box shows these
// words in place of the standard text of the number.
class Refusal : public Error {
public:
    Refusal(int number, QString words) : Error(number, std::move(words), InWords{}) {}
};

// The standard text of an error number, as the interface language gives it:
// one table for every number the program raises, the general text for others.
QString ErrorText(int number);

[[noreturn]] void Raise(int number);

// Lenient number reading: blanks, tabs and line feeds anywhere skipped; the
// longest leading number (sign, digits, one period as the decimal mark whatever
// the locale, exponent); &H / &O read as hexadecimal / octal whole numbers;
// empty or junk reads 0. Never fails: a number beyond the double range reads as
// the largest finite double of its sign (so a later CInt/CLng reports an
// overflow), one too small reads as 0.
double Val(const QString &text);

// The nearest whole number, a half going to the even neighbour (2.5 gives 2,
// 3.5 gives 4), unchecked.
double RoundHalfEven(double v);

// Round half to even, checked to the range; raise 6 (overflow) or 13 (text
// that is no number). A text must be a number as a whole, surrounding blanks
// allowed ("  12 " is 12, "12abc", "" and "abc" raise 13); the period and the
// system's own decimal mark are both taken. An empty variant (also what a NULL
// field reads as) converts to 0, a boolean true to -1.
qint16 CInt(double v);
qint16 CInt(const QString &text);
qint16 CInt(const QVariant &v);
inline qint16 CInt(const char *text) { return CInt(QString::fromUtf8(text)); }
qint32 CLng(double v);
qint32 CLng(const QString &text);
qint32 CLng(const QVariant &v);
inline qint32 CLng(const char *text) { return CLng(QString::fromUtf8(text)); }
float CSng(double v);
float CSng(const QString &text);
float CSng(const QVariant &v);
inline float CSng(const char *text) { return CSng(QString::fromUtf8(text)); }
double CDbl(const QVariant &v);

// Number to text with the leading blank for non-negative numbers (" 5", "-5").
// Single-precision values print with 7 significant digits (1.1f is " 1.1").
QString Str(double v);
QString Str(float v);
template <std::integral T>
QString Str(T v) { return Str(static_cast<double>(v)); }
// Number to text as the program prints numbers (no leading blank, shortest form
// up to 15 significant digits, period as the decimal mark: "5", "-2.5", "1E+20").
QString NumText(double v);
QString NumText(float v);
template <std::integral T>
QString NumText(T v) { return NumText(static_cast<double>(v)); }

// Checked 16-bit and 32-bit arithmetic: raise 6 on overflow.
qint16 Add16(int a, int b);
qint16 Sub16(int a, int b);
qint16 Mul16(int a, int b);
qint16 Check16(qint64 v);
qint32 Add32(qint64 a, qint64 b);
qint32 Sub32(qint64 a, qint64 b);
qint32 Mul32(qint64 a, qint64 b);
qint32 Check32(qint64 v);
// Whole-number division (the \ operator): operands rounded half to even first,
// raises 11 on division by zero.
qint32 IDiv(double a, double b);

// Int(): the largest whole number not above v.
double Int(double v);

} // namespace vb
