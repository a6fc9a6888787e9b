#pragma once
// Reading a conditions file from the disk, for the window's open command and
// korvana-cli alike: only a regular file is read, or for "-" standard input;
// its bytes are then parsed as ParseConditions does (lines end at LF or CR LF).
#include <QString>
#include <QStringList>

struct TConditionsFileRead {
    enum TOutcome { Read, Failed, Refused } Outcome = Failed;
    QStringList Lines;  // the condition's lines, when Read
    // Failed: "<file>: <the system's reason>"; Refused: "Файл <full name> не содержит условия".
    QString Message;
};

TConditionsFileRead ReadConditionsFile(const QString& fileName);
