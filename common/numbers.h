#pragma once
// How the program reads numbers from text, rounds them and writes them back.
// The program's locale is French whatever the system's: decimal comma, no grouping.
#include <QString>

#include <cstdint>
#include <optional>

namespace vt {

// Val: the number at the start of a text; blanks are skipped wherever they stand,
// "." is the decimal point, reading stops at the first other character, no digit = 0.
double val(const QString& s);

// A grid cell's number: leading blanks skipped, then stops at the first character
// that is not part of a number (a space included). No digit = 0.
double cellNumber(const QString& s);

// The entry sheet's conversion of a NOMBRE cell: every "," from the fifth character
// on becomes ".", then cellNumber, stored as a Single.
float nombreValue(const QString& s);

// A number typed by the user: optional sign, digits, at most one "," or ".".
struct TypedNumber {
    enum Kind { Empty, Number, Invalid } kind = Empty;
    double value = 0;
    bool isNumber() const { return kind == Number; }
    bool isEmpty() const { return kind == Empty; }
    bool isInvalid() const { return kind == Invalid; }
};
TypedNumber parseTyped(const QString& s);

// A VALEUR cell: blank = 0, otherwise a typed number; nullopt when it is not one.
std::optional<double> localeNumber(const QString& s);

double intFloor(double x); // Int: rounds down
double fix(double x);      // Fix: drops the fraction toward zero
long long idiv(long long a, long long b); // "\": truncated toward zero
long long imod(long long a, long long b); // Mod: sign of a

// Whole numbers, an exact half going to the even neighbour; nullopt when the
// value is not finite or does not fit the type.
std::optional<int16_t> cint(double x);
std::optional<int32_t> clng(double x);

// A typed amount rounded to two decimals (halves away from zero on the digits typed).
// Empty gives 0; nullopt when the text is not a number or does not fit a Single.
std::optional<float> roundTypedAmount(const QString& text);

// The plain digits of a number: 7 significant digits for a Single, 15 for a Double,
// never an exponent, trailing zeros dropped, "." as the decimal separator.
QString plainDigits(float x);
QString plainDigits(double x);
QString plainDigits(long long x);

// Str: a leading space when not negative, "." as decimal point.
QString strNumber(float x);
QString strNumber(double x);
QString strNumber(long long x);
inline QString strNumber(int x) { return strNumber(static_cast<long long>(x)); }

// The ordinary text of a number: decimal comma, no leading space.
QString numberText(float x);
QString numberText(double x);
QString numberText(long long x);
inline QString numberText(int x) { return numberText(static_cast<long long>(x)); }

// The masks "0.00" / "0.#0" (two decimals) and "0.#00" (three), decimal comma;
// the value's own digits are rounded, an exact half going away from zero.
QString format2(double x);
QString format2(float x);
QString format3(double x);
QString format3(float x);
// Rounds a positional decimal text ("-12.345") to `decimals` places, halves away from zero,
// and writes it with the decimal comma.
QString roundDecimalText(const QString& digits, int decimals);

// The "@" masks: the text fills the "@" positions from the right, the positions left
// over become spaces, other mask characters keep their place; a longer text is not cut.
QString applyMask(const QString& text, const QString& mask);
QString applyMask(double value, const QString& mask);
QString applyMask(float value, const QString& mask);
QString applyMask(long long value, const QString& mask);
inline QString applyMask(int value, const QString& mask) {
    return applyMask(static_cast<long long>(value), mask);
}
QString rightAlign(const QString& text, int width);

// Two or three decimals: a stored unit value (Single), a typed value, an amount in cents.
QString unitText(float unitValue);
QString typedUnitText(double typedValue);
QString formatAmount(double cents);

} // namespace vt
