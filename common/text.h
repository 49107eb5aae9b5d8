#pragma once
// Windows-1252 texts of the record files and the text operations the program uses
// (Left, Right, Mid, Trim, upper-casing within Windows-1252).
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vt {

// Each byte becomes its Windows-1252 character; NUL reads as a space, so a zero
// record has a blank name. The five unassigned bytes map to U+0081 and friends.
QString decodeText(QByteArrayView bytes);

// Encodes, pads with spaces and cuts to `width` bytes. Throws EncodingError for a
// character that Windows-1252 cannot hold (nothing is ever substituted).
QByteArray encodeText(const QString& text, int width);
// Encodes without padding; throws EncodingError like encodeText.
QByteArray encodeText(const QString& text);

// True when every character of the text can be stored in Windows-1252.
bool isCp1252(const QString& text);
// The first character that Windows-1252 cannot hold (both halves of a surrogate pair),
// or an empty text.
QString firstNonCp1252(const QString& text);

QString trim(const QString& s);   // leading and trailing spaces only
QStringView trimView(QStringView s); // the same, as a view of the text
bool isBlank(const QString& s);   // empty after trim
QString upperCase(const QString& s); // one character at a time, within Windows-1252

QString Left(const QString& s, int n);
QString Right(const QString& s, int n);
QString Mid(const QString& s, int position, int n = -1); // position counted from 1
QString Space(int n);
QString padRight(const QString& s, int width); // pads with spaces and cuts to width

} // namespace vt
