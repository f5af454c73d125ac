#include "platform/Strings.h"
#include "platform/vb.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

using namespace vb;

namespace {

// Runs f and returns the error number it raised, 0 if none.
template <typename F>
int errorOf(F f)
{
    try {
        f();
    } catch (const Error &e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(Val, ReadsTheLongestLeadingNumber)
{
    EXPECT_EQ(Val("12"), 12);
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("1,5"), 1);       // the period is the only decimal mark
    EXPECT_EQ(Val("1.5E3"), 1500);
    EXPECT_EQ(Val("15e-1"), 1.5);
    EXPECT_EQ(Val("2e"), 2);        // an exponent without digits is not part of the number
    EXPECT_EQ(Val("2e+"), 2);
    EXPECT_EQ(Val("3x1e5"), 3);
}

TEST(Val, SkipsBlanksTabsAndLineFeedsAnywhere)
{
    EXPECT_EQ(Val("1 500"), 1500);
    EXPECT_EQ(Val("  - 3"), -3);
    EXPECT_EQ(Val("\t1\n2 . 5"), 12.5);
    EXPECT_EQ(Val("1 2"), 12);
    EXPECT_EQ(Val("1\r2"), 1);      // a carriage return is not a blank: it ends the number
    EXPECT_EQ(Val("1\u00a02"), 1);  // nor is a non-breaking space
}

TEST(Val, ReadsHexAndOctalWholeNumbers)
{
    EXPECT_EQ(Val("&H10"), 16);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&o18"), 1);      // 8 is no octal digit
    EXPECT_EQ(Val("& H 1 0"), 16);
    EXPECT_EQ(Val("&HFFFFFFFFF"), 68719476735.0);
    EXPECT_EQ(Val("&H"), 0);
    EXPECT_EQ(Val("&X10"), 0);
    EXPECT_EQ(Val("-&H10"), 0);
}

TEST(Val, JunkReadsZeroAndNeverFails)
{
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("e5"), 0);
    EXPECT_EQ(Val("é12"), 0);
    // Out of range: the largest finite value of its sign, so CInt reports overflow.
    EXPECT_EQ(Val("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(Val("0.0001e400"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("1e-999"), 0);
    EXPECT_EQ(Val("1e99999999999999999999"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("1e-99999999999999999999"), 0);
    EXPECT_EQ(Val(QString(400, QLatin1Char('9'))), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("&H" + QString(300, QLatin1Char('F'))), std::numeric_limits<double>::max());
    EXPECT_EQ(errorOf([] { CInt(Val("1e999")); }), ErrOverflow);
}

TEST(Val, IgnoresTheRegionalDecimalMark)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val("2,5"), 2);
    QLocale::setDefault(saved);
}

TEST(Conversions, RoundHalfToEven)
{
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CInt(Val("2.5")), 2);
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(-7.5), -8);
    EXPECT_EQ(IDiv(7.5, 2), 4);      // 8 \ 2
    EXPECT_EQ(IDiv(6.5, 2.5), 3);    // 6 \ 2
}

TEST(Conversions, HalfToEvenEvenWhenTheRoundingModeWasChanged)
{
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    std::fesetround(saved);
}

TEST(Conversions, RangeEdgesRaiseOverflow)
{
    EXPECT_EQ(CInt(32767.0), 32767);
    EXPECT_EQ(CInt(32766.5), 32766);
    EXPECT_EQ(errorOf([] { CInt(32767.5); }), ErrOverflow);   // rounds to 32768
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { CInt(-32769.0); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CInt(std::numeric_limits<double>::quiet_NaN()); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CInt(std::numeric_limits<double>::infinity()); }), ErrOverflow);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<qint32>::min());
    EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CLng(-2147483649.0); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CSng(1e39); }), ErrOverflow);
    EXPECT_FLOAT_EQ(CSng(1.5), 1.5f);
    EXPECT_EQ(errorOf([] { CInt(QVariant(qlonglong(40000))); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CLng(QVariant(qlonglong(1) << 40)); }), ErrOverflow);
    EXPECT_EQ(CLng(QVariant(qlonglong(-5))), -5);
}

TEST(Conversions, TextMustBeANumberAsAWhole)
{
    EXPECT_EQ(CInt(QStringLiteral("  12 ")), 12);
    EXPECT_EQ(CInt("\t12\n"), 12);
    EXPECT_EQ(CInt(QStringLiteral("-3")), -3);
    EXPECT_EQ(CInt(QStringLiteral("2.5")), 2);
    EXPECT_EQ(CInt(QStringLiteral("&H10")), 16);
    EXPECT_EQ(CLng(QStringLiteral("1e3")), 1000);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("abc")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("   ")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("12abc")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("1 2")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("&H")); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("40000")); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CLng(QStringLiteral("1e999")); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { CSng(QStringLiteral("x")); }), ErrTypeMismatch);
}

TEST(Conversions, Variants)
{
    EXPECT_EQ(CInt(QVariant()), 0);               // empty, and NULL fields
    EXPECT_EQ(CInt(QVariant(true)), -1);
    EXPECT_EQ(CInt(QVariant(false)), 0);
    EXPECT_EQ(CInt(QVariant(4.5)), 4);
    EXPECT_EQ(CInt(QVariant(QStringLiteral(" 7 "))), 7);
    EXPECT_EQ(CLng(QVariant(100000)), 100000);
    EXPECT_EQ(CDbl(QVariant(QStringLiteral("2.25"))), 2.25);
    EXPECT_EQ(CDbl(QVariant()), 0);
    EXPECT_EQ(errorOf([] { CInt(QVariant(QStringLiteral("x"))); }), ErrTypeMismatch);
    EXPECT_EQ(errorOf([] { CDbl(QVariant(QStringList{"1"})); }), ErrTypeMismatch);
}

TEST(NumberText, StrHasALeadingBlankForNonNegatives)
{
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(2.5), " 2.5");
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.25), "-.25");
    EXPECT_EQ(Str(1e20), " 1E+20");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(0.0001), " .0001");
    EXPECT_EQ(Str(0.00001), " 1E-05");
    EXPECT_EQ(Str(qint16(-3)), "-3");
    EXPECT_EQ(Str(qint32(40000)), " 40000");
    EXPECT_EQ(Str(1.1f), " 1.1");
    EXPECT_EQ(Str(1.1), " 1.1");
    EXPECT_EQ(Str(12345678.f), " 1.234568E+07");
    EXPECT_EQ(NumText(0.1f), "0.1");
    EXPECT_EQ(NumText(qint64(-7)), "-7");
    EXPECT_EQ(NumText(5), "5");
    EXPECT_EQ(NumText(-2.5), "-2.5");
    EXPECT_EQ(NumText(0.5), "0.5");
    EXPECT_EQ(NumText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumText(1e20), "1E+20");
    EXPECT_EQ(NumText(Val(NumText(1234.5))), "1234.5");
}

TEST(CheckedArithmetic, SixteenBit)
{
    EXPECT_EQ(Add16(32766, 1), 32767);
    EXPECT_EQ(errorOf([] { Add16(32767, 1); }), ErrOverflow);
    EXPECT_EQ(Sub16(-32767, 1), -32768);
    EXPECT_EQ(errorOf([] { Sub16(-32768, 1); }), ErrOverflow);
    EXPECT_EQ(Mul16(181, 181), 32761);
    EXPECT_EQ(errorOf([] { Mul16(182, 181); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Mul16(-32768, -1); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Check16(40000); }), ErrOverflow);
}

TEST(CheckedArithmetic, ThirtyTwoBit)
{
    constexpr qint64 max = std::numeric_limits<qint32>::max();
    constexpr qint64 min = std::numeric_limits<qint32>::min();
    EXPECT_EQ(Add32(max - 1, 1), max);
    EXPECT_EQ(errorOf([] { Add32(max, 1); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Sub32(min, 1); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Mul32(65536, 32768); }), ErrOverflow);
    // Operands that overflow 64 bits on the way must not wrap back into range.
    EXPECT_EQ(errorOf([] { Mul32(qint64(1) << 62, 4); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Add32(std::numeric_limits<qint64>::max(), 1); }), ErrOverflow);
    EXPECT_EQ(Mul32(-65536, 32768), min);
}

TEST(CheckedArithmetic, WholeDivisionAndInt)
{
    EXPECT_EQ(IDiv(7, 2), 3);
    EXPECT_EQ(IDiv(-7, 2), -3);        // truncates toward zero
    EXPECT_EQ(errorOf([] { IDiv(1, 0); }), ErrDivByZero);
    EXPECT_EQ(errorOf([] { IDiv(1, 0.4); }), ErrDivByZero);   // 0.4 rounds to 0
    EXPECT_EQ(errorOf([] { IDiv(-2147483648.0, -1); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { IDiv(3e9, 1); }), ErrOverflow);
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-2.3), -3);
    EXPECT_EQ(Int(-2.0), -2);
}

TEST(Errors, StandardTextsFollowTheInterfaceLanguage)
{
    const auto saved = Strings::current();
    Strings::setLanguage(Strings::Language::French);
    EXPECT_EQ(ErrorText(6), "Dépassement de capacité");
    EXPECT_EQ(ErrorText(13), "Type incompatible");
    EXPECT_EQ(ErrorText(9), "L'indice n'appartient pas à la sélection");
    EXPECT_EQ(ErrorText(12345), "Erreur définie par l'application ou par l'objet");
    EXPECT_EQ(Error(13).text(), "Type incompatible");
    Strings::setLanguage(Strings::Language::English);
    EXPECT_EQ(ErrorText(6), "Overflow");
    EXPECT_EQ(ErrorText(13), "Type mismatch");
    EXPECT_EQ(ErrorText(9), "Subscript out of range");
    EXPECT_EQ(ErrorText(12345), "Application-defined or object-defined error");
    const Error e(ErrNoCurrentRecord);
    EXPECT_EQ(e.number(), 3021);
    EXPECT_STREQ(e.what(), "3021 No current record.");
    EXPECT_EQ(Error(70, "own text").text(), "own text");
    // Every number we raise has a text of its own in both languages.
    for (int n : {3, 5, 6, 7, 9, 11, 13, 51, 53, 58, 61, 70, 76, 424, 3020, 3021, 3024, 3027, 3028, 3029,
                  3045, 3051, 3075, 3078, 3265, 3343}) {
        Strings::setLanguage(Strings::Language::English);
        const QString en = ErrorText(n);
        Strings::setLanguage(Strings::Language::French);
        const QString fr = ErrorText(n);
        EXPECT_NE(en, ErrorText(99999)) << n;
        EXPECT_NE(fr, ErrorText(99999)) << n;
        EXPECT_NE(en, fr) << n;
    }
    Strings::setLanguage(saved);
}
