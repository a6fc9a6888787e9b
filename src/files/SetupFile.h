#pragma once
// The setup file on the disk with the deal collection: the deal lines are
// written straight from the collection and read straight into it, in large
// chunks, so that a file of millions of deals costs no list of lines and no
// copy of the whole file in memory.
#include <QFile>
#include <QString>

#include "files/SetupFormat.h"

class TDeals;

// Writes the content (its DealLines are not used) with one deal line per deal
// of the collection, whole or not at all (see TReplacingFile). The system's
// reason for a failure, or an empty text.
QString WriteSetupFile(const QString& fileName, const TSetupContent& content, const TDeals& deals);

// Reads an open setup file to its end: its deal lines are appended to the
// collection, the rest is returned (DealLines empty). A read error stops the
// reading there, with its text in `failure`: what was read before is used.
TSetupContent ReadSetupFile(QFile& file, TDeals& deals, QString& failure);
