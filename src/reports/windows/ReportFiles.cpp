#include "reports/windows/ReportFiles.h"

#include "files/WholeFile.h"
#include "text/Cp1251.h"

namespace {

// Calls `visit(codePoint)` for every character of `line`; a surrogate half
// without its partner counts as U+FFFD.
template <typename Visit>
void ForEachCodePoint(const QString& line, Visit visit) {
    constexpr char32_t kReplacement = 0xFFFD;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar unit = line.at(i);
        if (unit.isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(unit, line.at(i + 1)));
            ++i;
        } else if (unit.isSurrogate()) {
            visit(kReplacement);
        } else {
            visit(unit.unicode());
        }
    }
}

void AppendHexEscape(QByteArray& rtf, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    rtf += "\\'";
    rtf += kDigits[byte >> 4];
    rtf += kDigits[byte & 0x0F];
}

// \uN takes a signed 16-bit N; the "?" after it is what a reader that does
// not know \u shows instead (\uc1 in the header says it is one character).
void AppendUnicodeEscape(QByteArray& rtf, char16_t unit) {
    rtf += "\\u";
    rtf += QByteArray::number(static_cast<int16_t>(unit));
    rtf += '?';
}

void AppendRtfCharacter(QByteArray& rtf, char32_t codePoint) {
    switch (codePoint) {
        case '\\':
            rtf += "\\\\";
            return;
        case '{':
            rtf += "\\{";
            return;
        case '}':
            rtf += "\\}";
            return;
        case '\t':
            rtf += "\\tab ";
            return;
        default:
            break;
    }
    if (codePoint >= 0x20 && codePoint < 0x7F) {
        rtf += static_cast<char>(codePoint);
        return;
    }
    if (const auto byte = cp1251::FromUnicode(codePoint)) {
        AppendHexEscape(rtf, *byte);
        return;
    }
    if (QChar::requiresSurrogates(codePoint)) {
        AppendUnicodeEscape(rtf, QChar::highSurrogate(codePoint));
        AppendUnicodeEscape(rtf, QChar::lowSurrogate(codePoint));
    } else {
        AppendUnicodeEscape(rtf, static_cast<char16_t>(codePoint));
    }
}

}  // namespace

QStringList ReportFileTypes() {
    return {QStringLiteral("Форматированный текст (*.rtf)"),
            QStringLiteral("Просто текст (*.txt)")};
}

TReportFormat FormatOfFileType(int typeIndex) {
    return typeIndex == 1 ? TReportFormat::PlainText : TReportFormat::RichText;
}

QString ExtensionOfFileType(int typeIndex) {
    return FormatOfFileType(typeIndex) == TReportFormat::PlainText ? QStringLiteral("txt")
                                                                   : QStringLiteral("rtf");
}

QByteArray PlainTextReport(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines) {
        text.reserve(text.size() + line.size() + 2);
        ForEachCodePoint(line, [&text](char32_t codePoint) {
            const auto byte = cp1251::FromUnicode(codePoint);
            text += byte ? static_cast<char>(*byte) : '?';
        });
        text += "\r\n";
    }
    return text;
}

QByteArray RichTextReport(const QStringList& lines) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\r\n"
        "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset204 Courier New;}}\r\n"
        "\\uc1\\pard\\plain\\f0\\fs18\r\n";
    for (const QString& line : lines) {
        ForEachCodePoint(line, [&rtf](char32_t codePoint) { AppendRtfCharacter(rtf, codePoint); });
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

QString WriteReportFile(const QString& path, TReportFormat format, const QStringList& lines) {
    const QByteArray bytes =
        format == TReportFormat::PlainText ? PlainTextReport(lines) : RichTextReport(lines);
    return WriteWholeFile(path, bytes);
}
