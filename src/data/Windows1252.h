#pragma once

#include <QByteArray>
#include <QString>

// Topic files and USER.QXV are Windows-1252 bytes, whatever the platform. The mapping is
// reversible for all 256 byte values: the five bytes that the code page leaves undefined
// stand for the control characters of the same number, so a text read from a file is
// written back byte for byte.
namespace Windows1252 {

QString dekodiere(const QByteArray& bytes);

// Characters outside the code page become "?".
QByteArray kodiere(const QString& text);

} // namespace Windows1252
