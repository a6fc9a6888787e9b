#pragma once
// A small RTF reader for tests: enough of the format to read back what the
// report writer produces and to notice anything it should not produce.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

struct TRtfDocument {
    QStringList Paragraphs;  // text of each \par-ended paragraph
    QString Trailing;        // text after the last \par
    QSet<QString> Words;     // every control word met, without parameters
    QStringList Fonts;      // font table entries, e.g. "\f0\fmodern\fprq1\fcharset204 Courier New;"
    int MaxDepth = 0;       // deepest group nesting
    bool Balanced = false;  // every group closed, nothing after the last one
    QString Error;          // empty when the document parsed
};

inline TRtfDocument ReadRtf(const QByteArray& rtf) {
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    TRtfDocument doc;
    QStringDecoder ansi("windows-1251");
    QString paragraph;
    int depth = 0;
    int fontTableDepth = 0;  // depth of the open font table group, 0 outside it
    QString fontEntry;
    int skipFallback = 0;  // characters still to skip after \uN
    qsizetype i = 0;
    const qsizetype n = rtf.size();
    auto addText = [&](const QString& text) {
        if (fontTableDepth) {
            fontEntry += text;
        } else if (skipFallback > 0) {
            --skipFallback;
        } else {
            paragraph += text;
        }
    };
    while (i < n) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            doc.MaxDepth = std::max(doc.MaxDepth, depth);
            ++i;
        } else if (c == '}') {
            if (fontTableDepth && depth > fontTableDepth && !fontEntry.isEmpty()) {
                doc.Fonts += fontEntry.trimmed();
                fontEntry.clear();
            }
            if (depth == fontTableDepth) fontTableDepth = 0;
            if (--depth < 0) {
                doc.Error = "unbalanced }";
                return doc;
            }
            ++i;
            if (depth == 0) {
                doc.Balanced = rtf.mid(i).trimmed().isEmpty();
                break;
            }
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= n) {
                doc.Error = "trailing backslash";
                return doc;
            }
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                addText(QString(QLatin1Char(next)));
                i += 2;
            } else if (next == '\'') {
                bool ok = false;
                const char byte = static_cast<char>(rtf.mid(i + 2, 2).toInt(&ok, 16));
                if (!ok) {
                    doc.Error = "bad \\' escape";
                    return doc;
                }
                addText(ansi.decode(QByteArray(1, byte)));
                i += 4;
            } else if (isLetter(next)) {
                qsizetype j = i + 1;
                while (j < n && isLetter(rtf[j])) ++j;
                const QString word = QString::fromLatin1(rtf.mid(i + 1, j - i - 1));
                qsizetype k = j;
                if (k < n && (rtf[k] == '-' || isDigit(rtf[k]))) {
                    ++k;
                    while (k < n && isDigit(rtf[k])) ++k;
                }
                const int parameter = rtf.mid(j, k - j).toInt();
                const bool hasParameter = k > j;
                if (k < n && rtf[k] == ' ') ++k;  // the delimiting space belongs to the word
                doc.Words.insert(word);
                if (fontTableDepth) fontEntry += QString::fromLatin1(rtf.mid(i, k - i));
                if (word == "fonttbl")
                    fontTableDepth = depth;
                else if (word == "par") {
                    doc.Paragraphs += paragraph;
                    paragraph.clear();
                } else if (word == "tab")
                    addText("\t");
                else if (word == "u" && hasParameter) {
                    paragraph += QChar(static_cast<char16_t>(static_cast<int16_t>(parameter)));
                    skipFallback = 1;
                }
                i = k;
            } else {
                doc.Error = QString("unknown control symbol \\%1").arg(QLatin1Char(next));
                return doc;
            }
        } else {
            addText(ansi.decode(QByteArray(1, c)));
            ++i;
        }
    }
    doc.Trailing = paragraph;
    if (!doc.Balanced && doc.Error.isEmpty()) doc.Error = "document not closed";
    return doc;
}
