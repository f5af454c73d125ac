#include "platform/vb.h"

#include "platform/Strings.h"

#include <QLocale>
#include <QMetaType>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vb {

// ------------------------------------------------------------------ errors

namespace {

struct ErrorTexts {
    int number;
    const char *english;
    const char *french;
};

// The runtime's wording, in both interface languages: the one table of the
// standard texts of every number the program raises, the database engine's
// and the printer's included.
constexpr ErrorTexts kTexts[] = {
    {ErrReturnWithoutGosub, "Return without GoSub", "Return sans GoSub"},
    {ErrInvalidCall, "Invalid procedure call or argument", "Appel de procédure ou argument incorrect"},
    {ErrOverflow, "Overflow", "Dépassement de capacité"},
    {ErrOutOfMemory, "Out of memory", "Mémoire insuffisante"},
    {ErrSubscript, "Subscript out of range", "L'indice n'appartient pas à la sélection"},
    {ErrDivByZero, "Division by zero", "Division par zéro"},
    {ErrTypeMismatch, "Type mismatch", "Type incompatible"},
    {ErrInternal, "Internal error", "Erreur interne"},
    {ErrFileNotFound, "File not found", "Fichier introuvable"},
    {ErrFileExists, "File already exists", "Ce fichier existe déjà"},
    {ErrDiskFull, "Disk full", "Disque plein"},
    {ErrPermission, "Permission denied", "Permission refusée"},
    {ErrPathNotFound, "Path not found", "Chemin d'accès introuvable"},
    {ErrObjectNotSet, "Object variable or With block variable not set",
     "Variable objet ou variable de bloc With non définie"},
    {ErrInvalidUseOfNull, "Invalid use of Null", "Utilisation incorrecte de Null"},
    {ErrObjectRequired, "Object required", "Objet requis"},
    {ErrPrinter, "Printer error", "Erreur d'imprimante"},
    {ErrUpdateWithoutAddNew, "Update or CancelUpdate without AddNew or Edit.",
     "Update ou CancelUpdate sans AddNew ou Edit."},
    {ErrNoCurrentRecord, "No current record.", "Aucun enregistrement en cours."},
    {ErrCannotOpenFile, "Couldn't find file.", "Fichier introuvable."},
    {ErrReadOnly, "Cannot update. Database or object is read-only.",
     "Mise à jour impossible ; la base de données ou l'objet est en lecture seule."},
    {ErrWorkgroup,
     "Can't start your application. The workgroup information file is missing or opened "
     "exclusively by another user.",
     "Impossible de démarrer l'application. Le fichier d'informations de groupe de travail est "
     "absent ou ouvert en mode exclusif par un autre utilisateur."},
    {ErrAccount, "Not a valid account name or password.", "Nom de compte ou mot de passe incorrect."},
    {ErrFileInUse, "Couldn't use the file; it is already in use.",
     "Impossible d'utiliser le fichier ; il est déjà utilisé."},
    {ErrIo,
     "The database engine can't open the file. It is already opened exclusively by another "
     "user, or you need permission to view its data.",
     "Le moteur de base de données ne peut pas ouvrir le fichier. Il est déjà ouvert en mode "
     "exclusif par un autre utilisateur, ou vous n'avez pas l'autorisation d'en lire les données."},
    {ErrSyntax, "Syntax error in query expression.", "Erreur de syntaxe dans l'expression de la requête."},
    {ErrTableNotFound, "The database engine can't find the input table or query.",
     "Le moteur de base de données ne trouve pas la table ou la requête source."},
    {ErrNotInCollection, "Item not found in this collection.", "Élément non trouvé dans cette collection."},
    {ErrNotADatabase, "Unrecognized database format.", "Format de base de données non reconnu."},
    {ErrInvalidArgument, "Invalid argument.", "Argument incorrect."},
    {ErrDuplicate,
     "The changes were not made because they would create duplicate values in the index or primary key.",
     "Les modifications n'ont pas été effectuées car elles créeraient des doublons dans l'index ou la clé "
     "primaire."},
    {ErrNoDiskSpace, "Not enough space on disk.", "Espace disque insuffisant."},
    {ErrBadPath, "The path is not a valid path.", "Le chemin d'accès n'est pas valide."},
    {ErrDamaged,
     "Cannot open the database. It may not be a database your application recognizes, or the file is damaged.",
     "Impossible d'ouvrir la base de données. Elle n'est peut-être pas reconnue par l'application, ou le "
     "fichier est endommagé."},
    {ErrTooFewParameters, "Too few parameters. Expected 1.", "Trop peu de paramètres. 1 attendu."},
    {ErrBadCriteria, "The database engine does not recognize a field name or expression of the search criteria.",
     "Le moteur de base de données ne reconnaît pas un nom de champ ou une expression du critère de recherche."},
    {ErrAmbiguousField, "The specified field could refer to more than one table.",
     "Le champ spécifié peut faire référence à plusieurs tables."},
    {ErrDatabaseExists, "Database already exists.", "La base de données existe déjà."},
    {ErrNullField, "The field cannot contain a Null value.", "Le champ ne peut pas contenir de valeur Null."},
    {ErrObjectInvalid, "Object invalid or no longer set.", "Objet incorrect ou plus défini."},
    {ErrIndexOutOfBounds, "Index out of bounds", "Index hors limites"},
    {ErrKeyNotUnique, "Key is not unique in collection", "La clé n'est pas unique dans la collection"},
};

bool french() { return Strings::current() == Strings::Language::French; }

} // namespace

QString ErrorText(int number)
{
    const bool fr = french();
    for (const auto &t : kTexts) {
        if (t.number == number)
            return QString::fromUtf8(fr ? t.french : t.english);
    }
    return fr ? QStringLiteral("Erreur définie par l'application ou par l'objet")
              : QStringLiteral("Application-defined or object-defined error");
}

Error::Error(int number) : m_number(number), m_text(ErrorText(number)) {}

Error::Error(int number, QString text) : m_number(number), m_text(std::move(text)) {}

Error::Error(int number, QString words, InWords) : m_number(number), m_text(std::move(words)), m_inWords(true) {}

const char *Error::what() const noexcept
{
    try {
        if (m_utf8.isEmpty())
            m_utf8 = (QString::number(m_number) + QLatin1Char(' ') + m_text).toUtf8();
        return m_utf8.constData();
    } catch (...) {
        return "vb::Error";
    }
}

void Raise(int number) { throw Error(number); }

// ------------------------------------------------------------------ reading numbers

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the longest decimal number at the start of [p, end): sign, digits with
// at most one period, optional exponent. Returns where it stopped (p itself
// when no number starts there). Out-of-range results saturate to the largest
// finite double; too small ones become 0.
const char *readDecimal(const char *p, const char *end, double *out)
{
    const char *q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    std::string canon;
    int intDigits = 0, leadingFracZeros = 0, fracDigits = 0;
    bool seenNonZero = false;
    while (q < end && isDigit(*q)) {
        canon += *q;
        if (*q != '0' || seenNonZero) {
            seenNonZero = true;
            ++intDigits;
        }
        ++q;
    }
    const int digitsBeforePoint = static_cast<int>(canon.size());
    if (q < end && *q == '.') {
        const char *afterPoint = q + 1;
        std::string frac;
        while (afterPoint < end && isDigit(*afterPoint)) {
            frac += *afterPoint;
            if (!seenNonZero) {
                if (*afterPoint == '0')
                    ++leadingFracZeros;
                else
                    seenNonZero = true;
            }
            ++afterPoint;
        }
        fracDigits = static_cast<int>(frac.size());
        if (digitsBeforePoint + fracDigits > 0) {
            canon += '.';
            canon += frac;
            q = afterPoint;
        }
    }
    if (digitsBeforePoint + fracDigits == 0) {
        *out = 0;
        return p;
    }
    long long exponent = 0;
    if (q < end && (*q == 'E' || *q == 'e')) {
        const char *e = q + 1;
        bool expNegative = false;
        if (e < end && (*e == '+' || *e == '-')) {
            expNegative = *e == '-';
            ++e;
        }
        if (e < end && isDigit(*e)) {
            std::string expDigits;
            while (e < end && isDigit(*e))
                expDigits += *e++;
            canon += expNegative ? "e-" : "e";
            canon += expDigits;
            // Only its sign and rough size matter for the range decision below.
            exponent = expDigits.size() > 6 ? 9999999 : std::stoll(expDigits);
            if (expNegative)
                exponent = -exponent;
            q = e;
        }
    }
    double value = 0;
    const auto r = std::from_chars(canon.data(), canon.data() + canon.size(), value,
                                   std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Decimal position of the first significant digit decides the direction.
        const long long magnitude = intDigits > 0 ? intDigits - 1 + exponent : exponent - leadingFracZeros - 1;
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (r.ec != std::errc()) {
        value = 0;
    }
    *out = negative ? -value : value;
    return q;
}

// Reads a &H / &O whole number's digits; returns where it stopped.
const char *readRadix(const char *p, const char *end, int radix, double *out)
{
    double value = 0;
    const char *q = p;
    for (; q < end; ++q) {
        int d;
        const char c = *q;
        if (isDigit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix)
            break;
        value = value * radix + d;
    }
    if (!std::isfinite(value))
        value = std::numeric_limits<double>::max();
    *out = value;
    return q;
}

// Only ASCII matters to a number; anything else simply ends it.
std::string toAscii(const QString &text, bool skipBlanks)
{
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (skipBlanks && (u == ' ' || u == '\t' || u == '\n'))
            continue;
        s += u < 128 ? static_cast<char>(u) : '\x7f';
    }
    return s;
}

bool startsWithRadix(const std::string &s, int *radix)
{
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') {
            *radix = 16;
            return true;
        }
        if (s[1] == 'O' || s[1] == 'o') {
            *radix = 8;
            return true;
        }
    }
    return false;
}

// A text converted by CInt/CLng/CSng/CDbl: the whole text must be a number.
double textToNumber(const QString &text)
{
    QString t = text.trimmed();
    const QString mark = QLocale().decimalPoint();
    if (mark.size() == 1 && mark != QLatin1String("."))
        t.replace(mark, QLatin1String("."));
    const std::string s = toAscii(t, false);
    const char *b = s.data();
    const char *e = b + s.size();
    double value = 0;
    int radix = 0;
    const char *stop;
    if (startsWithRadix(s, &radix)) {
        stop = readRadix(b + 2, e, radix, &value);
        if (stop == b + 2)
            Raise(ErrTypeMismatch);
    } else {
        stop = readDecimal(b, e, &value);
        if (stop == b)
            Raise(ErrTypeMismatch);
    }
    if (stop != e)
        Raise(ErrTypeMismatch);
    if (std::fabs(value) == std::numeric_limits<double>::max())
        Raise(ErrOverflow);
    return value;
}

// Halves to the even neighbour, whatever rounding mode someone left behind.
double roundHalfEven(double v)
{
    const int mode = std::fegetround();
    if (mode == FE_TONEAREST)
        return std::nearbyint(v);
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(mode);
    return r;
}

double variantToNumber(const QVariant &v)
{
    if (!v.isValid())
        return 0;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? -1 : 0;
    case QMetaType::QString:
        return textToNumber(v.toString());
    case QMetaType::QByteArray:
        return textToNumber(QString::fromUtf8(v.toByteArray()));
    case QMetaType::QChar:
        return textToNumber(QString(v.toChar()));
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
    case QMetaType::Double: case QMetaType::Float:
        break;
    default:
        if (!v.canConvert<double>())
            Raise(ErrTypeMismatch);
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        Raise(ErrTypeMismatch);
    return d;
}

} // namespace

double Val(const QString &text)
{
    const std::string s = toAscii(text, true);
    const char *b = s.data();
    const char *e = b + s.size();
    double value = 0;
    int radix = 0;
    if (startsWithRadix(s, &radix))
        readRadix(b + 2, e, radix, &value);
    else
        readDecimal(b, e, &value);
    return value;
}

// ------------------------------------------------------------------ conversions

double RoundHalfEven(double v)
{
    return roundHalfEven(v);
}

qint16 CInt(double v)
{
    if (std::isnan(v))
        Raise(ErrOverflow);
    const double r = roundHalfEven(v);
    if (r < -32768.0 || r > 32767.0)
        Raise(ErrOverflow);
    return static_cast<qint16>(r);
}

qint16 CInt(const QString &text) { return CInt(textToNumber(text)); }

qint16 CInt(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::LongLong || v.metaType().id() == QMetaType::ULongLong) {
        // Whole numbers past 2^53 must not round on their way through double.
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < -32768 || n > 32767)
            Raise(ErrOverflow);
        return static_cast<qint16>(n);
    }
    return CInt(variantToNumber(v));
}

qint32 CLng(double v)
{
    if (std::isnan(v))
        Raise(ErrOverflow);
    const double r = roundHalfEven(v);
    if (r < -2147483648.0 || r > 2147483647.0)
        Raise(ErrOverflow);
    return static_cast<qint32>(r);
}

qint32 CLng(const QString &text) { return CLng(textToNumber(text)); }

qint32 CLng(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::LongLong || v.metaType().id() == QMetaType::ULongLong) {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            Raise(ErrOverflow);
        return static_cast<qint32>(n);
    }
    return CLng(variantToNumber(v));
}

float CSng(double v)
{
    if (std::isnan(v) || std::fabs(v) > std::numeric_limits<float>::max())
        Raise(ErrOverflow);
    return static_cast<float>(v);
}

float CSng(const QString &text) { return CSng(textToNumber(text)); }

float CSng(const QVariant &v) { return CSng(variantToNumber(v)); }

double CDbl(const QVariant &v) { return variantToNumber(v); }

// ------------------------------------------------------------------ number to text

namespace {

// Up to 15 (single: 7) significant digits, fixed notation for exponents
// -5 < e < digits, otherwise the E+nn form.
QString formatNumber(double v, int digits, bool leadingZero)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s = QString::number(v, 'g', digits);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e >= 0)
        s[e] = QLatin1Char('E');
    if (!leadingZero) {
        if (s.startsWith(QLatin1String("0.")))
            s.remove(0, 1);
        else if (s.startsWith(QLatin1String("-0.")))
            s.remove(1, 1);
    }
    return s;
}

} // namespace

QString Str(double v)
{
    const QString s = formatNumber(v, 15, false);
    return s.startsWith(QLatin1Char('-')) ? s : QLatin1Char(' ') + s;
}

QString Str(float v)
{
    const QString s = formatNumber(v, 7, false);
    return s.startsWith(QLatin1Char('-')) ? s : QLatin1Char(' ') + s;
}

QString NumText(double v) { return formatNumber(v, 15, true); }

QString NumText(float v) { return formatNumber(v, 7, true); }

// ------------------------------------------------------------------ checked arithmetic

qint16 Check16(qint64 v)
{
    if (v < -32768 || v > 32767)
        Raise(ErrOverflow);
    return static_cast<qint16>(v);
}

qint32 Check32(qint64 v)
{
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        Raise(ErrOverflow);
    return static_cast<qint32>(v);
}

qint16 Add16(int a, int b) { return Check16(static_cast<qint64>(a) + b); }
qint16 Sub16(int a, int b) { return Check16(static_cast<qint64>(a) - b); }
qint16 Mul16(int a, int b) { return Check16(static_cast<qint64>(a) * b); }

qint32 Add32(qint64 a, qint64 b)
{
    qint64 r;
    if (__builtin_add_overflow(a, b, &r))
        Raise(ErrOverflow);
    return Check32(r);
}

qint32 Sub32(qint64 a, qint64 b)
{
    qint64 r;
    if (__builtin_sub_overflow(a, b, &r))
        Raise(ErrOverflow);
    return Check32(r);
}

qint32 Mul32(qint64 a, qint64 b)
{
    qint64 r;
    if (__builtin_mul_overflow(a, b, &r))
        Raise(ErrOverflow);
    return Check32(r);
}

qint32 IDiv(double a, double b)
{
    const qint32 x = CLng(a);
    const qint32 y = CLng(b);
    if (y == 0)
        Raise(ErrDivByZero);
    return Check32(static_cast<qint64>(x) / y);
}

double Int(double v) { return std::floor(v); }

} // namespace vb
