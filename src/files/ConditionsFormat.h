#pragma once
// The conditions file: a header line, then the condition editor's lines, each
// followed by CR LF, in Windows-1251.
#include <QByteArray>
#include <QStringList>
#include <optional>

extern const char* const ConditionsFileHeader;

QByteArray FormatConditions(const QStringList& lines);
// The condition's lines, or nothing when the first line is not exactly the header.
std::optional<QStringList> ParseConditions(const QByteArray& bytes);
