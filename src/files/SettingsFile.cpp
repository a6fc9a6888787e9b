#include "files/SettingsFile.h"

#include <QFile>

#include "files/RegularFile.h"
#include "files/WholeFile.h"

namespace {
// Settings are a few short lines; a larger file is none the program wrote.
constexpr qint64 MaxSettingsFileBytes = qint64(1) << 20;

constexpr std::string_view Blanks = " \t";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::string Escaped(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\r')
            text += "\\r";
        else
            text += c;
    }
    return text;
}

// A backslash before any other character (a hand-written path) stays as it is.
std::string Unescaped(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == '\\' || next == 'n' || next == 'r')) {
            value += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            value += text[i];
        }
    }
    return value;
}
}  // namespace

TSettings TSettings::Parse(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    TSettings settings;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        TLine read{std::string(line), section, {}, {}};
        const std::string_view trimmed = Trimmed(line);
        const std::size_t equals = line.find('=');
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = Trimmed(trimmed.substr(1, trimmed.size() - 2));
            read.Section = section;
            read.Header = true;
        } else if (!trimmed.starts_with(';') && !trimmed.starts_with('#') &&
                   equals != std::string_view::npos) {
            read.Key = Trimmed(line.substr(0, equals));
            read.Value = Unescaped(line.substr(equals + 1));
        }
        settings.lines_.push_back(std::move(read));
    }
    return settings;
}

std::string TSettings::Format() const {
    std::string text;
    for (const TLine& line : lines_) text += line.Text + '\n';
    return text;
}

std::optional<std::string> TSettings::Value(std::string_view section, std::string_view key) const {
    std::optional<std::string> value;
    for (const TLine& line : lines_)
        if (!line.Key.empty() && line.Section == section && line.Key == key) value = line.Value;
    return value;
}

void TSettings::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    TLine line{std::string(key) + '=' + Escaped(value), std::string(section), std::string(key),
               std::string(value)};
    // The last line of the key is changed; a new key goes after the section's
    // last header or key, and a new section at the end.
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionEnd;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].Section != section) continue;
        if (!lines_[i].Key.empty() && lines_[i].Key == key) keyLine = i;
        if (lines_[i].Header || !lines_[i].Key.empty()) sectionEnd = i + 1;
    }
    if (keyLine) {
        lines_[*keyLine] = std::move(line);
        return;
    }
    if (!sectionEnd && section.empty()) sectionEnd = 0;  // keys before any header come first
    if (!sectionEnd) {
        lines_.push_back(
            TLine{'[' + std::string(section) + ']', std::string(section), {}, {}, true});
        sectionEnd = lines_.size();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), std::move(line));
}

void TSettings::Remove(std::string_view section, std::string_view key) {
    std::erase_if(lines_, [&](const TLine& line) {
        return !line.Key.empty() && line.Section == section && line.Key == key;
    });
}

QString SettingsFileName(const QString& setupFolder) {
    return setupFolder + QStringLiteral("/korvana.ini");
}

TSettingsRead ReadSettingsFile(const QString& fileName) {
    TSettingsRead read;
    if (!QFile::exists(fileName)) return read;
    if (!CheckRegularFile(fileName, read.Failure)) return read;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        read.Failure = file.errorString();
        return read;
    }
    const QByteArray bytes = ReadBounded(file, MaxSettingsFileBytes);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxSettingsFileBytes) {
        read.Failure = file.error() != QFileDevice::NoError ? file.errorString() : TooLargeReason();
        return read;
    }
    read.Text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    read.Settings = TSettings::Parse(read.Text);
    return read;
}

QString WriteSettingsFile(const QString& fileName, const TSettings& settings) {
    const std::string text = settings.Format();
    return WriteWholeFile(fileName, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}
