#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The Windows-1251 code page: record files store their text in it, and the name field
// keeps typed text within it so that what is shown is what a file can hold.
// Byte 0x98, which the code page leaves unassigned, maps to U+0098 both ways, so every
// byte decodes and every decoded text encodes back to the same bytes.

// True when the character has a byte in Windows-1251.
bool IsCp1251Representable(QChar c);

// The byte of a representable character; '?' for any other.
char Cp1251ByteOf(QChar c);

// The character of a byte (every byte has one).
QChar Cp1251CharOf(char byte);

// Whole texts. A character outside the code page becomes one '?', a surrogate pair
// (one character outside the basic plane) included.
QByteArray EncodeCp1251(const QString& text);
QString DecodeCp1251(const QByteArray& bytes);

// The text with every character outside the code page replaced by "?" (one per character).
QString ReplaceNonCp1251(const QString& text);
