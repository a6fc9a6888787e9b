#pragma once
// "korvana.ini": the desktop program's settings that the setup file's fixed
// layout has no place for, beside "generate.stp". UTF-8 text of "[section]"
// lines and "key=value" lines below them. A rewrite keeps every line it was
// read with that it does not change (keys and sections of a newer version,
// comments, lines it cannot read), so nothing another version wrote is lost.
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TSettings {
public:
    // Reads the text; a line ends at LF or CR LF. A line that is neither a
    // section header nor "key=value" is kept as it is and otherwise ignored.
    static TSettings Parse(std::string_view text);
    // Each line with LF; a value's backslashes and line ends escaped ("\\",
    // "\n", "\r"), so any value reads back as it was set.
    std::string Format() const;

    // The value of the key in the section (the last one when a key is given
    // twice), or nothing. Sections and keys are words of the program's own:
    // no line ends, no "]" in a section, no "=" in a key, no blanks around.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Sets the key's value, adding the key (and the section) when missing.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of the key in the section.
    void Remove(std::string_view section, std::string_view key);

private:
    struct TLine {
        std::string Text;     // as read or written: "key=value", a header or anything else
        std::string Section;  // the section the line belongs to ("" before the first header)
        std::string Key;      // empty when the line is no key
        std::string Value;
        bool Header = false;
    };
    std::vector<TLine> lines_;
};

// The settings file of a setup folder.
QString SettingsFileName(const QString& setupFolder);

struct TSettingsRead {
    TSettings Settings;
    std::string Text;  // the bytes read: an unchanged file need not be written again
    // The system's reason when a file that is there could not be read (a
    // folder, a pipe, no permission, larger than any settings file); empty
    // when it was read or is not there.
    QString Failure;
};

// Reads the settings file; a missing file reads as empty settings.
TSettingsRead ReadSettingsFile(const QString& fileName);
// Writes the settings whole or not at all; the system's reason for a failure,
// or an empty text.
QString WriteSettingsFile(const QString& fileName, const TSettings& settings);
