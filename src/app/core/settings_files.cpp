#include "app/core/settings_files.h"

#include "common/line_reader.h"
#include "common/numtext.h"

#include <algorithm>

namespace plotwell::app {

namespace {

using common::cformat;
using common::LineReader;
using common::parseInt;
using transfer::TransferSettings;

constexpr std::string_view kNull = "(null)";
constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits "key rest": the key is the text before the first blank; the rest starts after
// that one blank (empty when the line holds only the key).
std::pair<std::string_view, std::string_view> splitKey(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && !isBlank(line[i]))
        ++i;
    std::string_view key = line.substr(0, i);
    std::string_view rest = i < line.size() ? line.substr(i + 1) : std::string_view();
    return {key, rest};
}

// A value in double quotes: everything between the first character and the last quote of
// the text, so names that hold blanks or quotes come back whole. Returns the value and what
// follows the closing quote; nullopt when the closing quote is missing.
std::optional<std::pair<std::string_view, std::string_view>> splitQuoted(std::string_view text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::size_t close = text.find_last_of('"');
    if (close == 0)
        return std::nullopt;
    return std::pair{text.substr(1, close - 1), text.substr(close + 1)};
}

// Words separated by blanks.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

// A text read from a settings file may name a file or a folder. A NUL or another control
// character in it is damage (a path would be cut at the NUL and name another file), so
// such a text counts as missing.
bool validText(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; });
}

// The longest path the system takes (PATH_MAX); a longer name can name no file.
constexpr std::size_t kMaxPathLength = 4096;

std::optional<int32_t> parseIntValue(std::string_view text) {
    return parseInt(trimRight(text));
}

std::string textValue(std::string_view raw) {
    return raw == kNull ? std::string() : std::string(raw);
}

// A text as written in the file: "(null)" when empty, line breaks as blanks.
std::string writtenText(const std::string& s) {
    if (s.empty())
        return std::string(kNull);
    std::string out = s;
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

// ---- the [SystemValues] keys ------------------------------------------------------------

enum class KeyKind {
    FileType,  // the frame's GlobalFileType
    Int,       // an integer field of TransferSettings
    Text,      // a text field of TransferSettings
    BlankText, // a text field written with a blank before the line end
    Unused,    // kept for older readers: always written as 0, read and dropped
    Exprn,     // the expression line
};

struct KeyDef {
    const char* key;
    KeyKind kind;
    int TransferSettings::*intField = nullptr;
    std::string TransferSettings::*textField = nullptr;
    // Absent from some files without making them incomplete.
    bool optional = false;
};

constexpr KeyDef intKey(const char* k, int TransferSettings::*f) {
    return {k, KeyKind::Int, f, nullptr};
}
constexpr KeyDef textKey(const char* k, std::string TransferSettings::*f, bool optional = false) {
    return {k, KeyKind::Text, nullptr, f, optional};
}
constexpr KeyDef blankKey(const char* k, std::string TransferSettings::*f) {
    return {k, KeyKind::BlankText, nullptr, f};
}
constexpr KeyDef unusedKey(const char* k) {
    return {k, KeyKind::Unused};
}

using S = TransferSettings;
const KeyDef kProjectKeys[] = {
    {"GlobalFileType", KeyKind::FileType},
    intKey("dlMakeIndex", &S::dlMakeIndex),
    intKey("dlModelIndex", &S::dlModelIndex),
    intKey("dlDestinationIndex", &S::dlDestinationIndex),
    intKey("dlTypeIndex", &S::dlTypeIndex),
    intKey("dlStretchIndex", &S::dlStretchIndex),
    textKey("dlMake", &S::dlMake),
    textKey("dlModel", &S::dlModel),
    textKey("dlDestination", &S::dlDestination),
    textKey("dlType", &S::dlType),
    textKey("dlAddress", &S::dlAddress),
    intKey("dlBaudRate", &S::dlBaudRate),
    intKey("dlByteSize", &S::dlByteSize),
    intKey("dlParity", &S::dlParity),
    intKey("dlStopBits", &S::dlStopBits),
    intKey("dlFlowControl", &S::dlFlowControl),
    intKey("ulMakeIndex", &S::ulMakeIndex),
    intKey("ulModelIndex", &S::ulModelIndex),
    intKey("ulSourceIndex", &S::ulSourceIndex),
    intKey("ulTypeIndex", &S::ulTypeIndex),
    textKey("ulMake", &S::ulMake),
    textKey("ulModel", &S::ulModel),
    textKey("ulSource", &S::ulSource),
    textKey("ulType", &S::ulType),
    textKey("ulAddress", &S::ulAddress),
    intKey("ulBaudRate", &S::ulBaudRate),
    intKey("ulByteSize", &S::ulByteSize),
    intKey("ulParity", &S::ulParity),
    intKey("ulStopBits", &S::ulStopBits),
    intKey("ulFlowControl", &S::ulFlowControl),
    unusedKey("dlChannel"),
    unusedKey("dlOutput"),
    unusedKey("dlSyncOut"),
    unusedKey("dlSyncType"),
    unusedKey("dlAmplitude"),
    unusedKey("dlFilter"),
    unusedKey("dlOffset"),
    unusedKey("dlPlaybackType"),
    unusedKey("dlPlaybackValue"),
    unusedKey("dlMode"),
    unusedKey("dlTriggerSource"),
    unusedKey("dlSend"),
    intKey("dlDriveLetterIndex", &S::dlDriveLetterIndex),
    textKey("dlDriveLetter", &S::dlDriveLetter),
    intKey("ulDriveLetterIndex", &S::ulDriveLetterIndex),
    textKey("ulDriveLetter", &S::ulDriveLetter, true),
    blankKey("dlTCPPort", &S::dlTCPPort),
    blankKey("ulTCPPort", &S::ulTCPPort),
    blankKey("dlIPAddress", &S::dlIPAddress),
    blankKey("ulIPAddress", &S::ulIPAddress),
    {"exprn", KeyKind::Exprn, nullptr, nullptr, true},
};
static_assert(std::size(kProjectKeys) == kProjectKeyCount);

// Stores one key's value; false when an integer key holds no integer.
bool storeValue(const KeyDef& def, std::string_view raw, ProjectValues& values) {
    TransferSettings& s = values.TransferSettings;
    switch (def.kind) {
    case KeyKind::FileType:
    case KeyKind::Int:
    case KeyKind::Unused: {
        auto v = parseIntValue(raw);
        if (!v)
            return false;
        if (def.kind == KeyKind::FileType)
            values.GlobalFileType = *v;
        else if (def.kind == KeyKind::Int)
            s.*def.intField = *v;
        return true;
    }
    case KeyKind::Text:
        if (!validText(raw))
            return false;
        s.*def.textField = textValue(raw);
        return true;
    case KeyKind::BlankText:
        if (!raw.empty() && raw.back() == ' ')
            raw.remove_suffix(1);
        if (!validText(raw))
            return false;
        s.*def.textField = textValue(raw);
        return true;
    case KeyKind::Exprn:
        if (!validText(raw))
            return false;
        values.exprn = textValue(raw);
        return true;
    }
    return false;
}

// One [OpenFiles] line. Returns false when the list must end with failure; `entry` is set
// when a window is to be opened for the line: not for a name that can be no file's.
bool parseEntry(std::string_view line, std::optional<OpenFileEntry>& entry) {
    OpenFileEntry e;
    std::string_view rest;
    if (line.front() == '"') {
        auto quoted = splitQuoted(line);
        if (!quoted)
            return false;
        e.WaveName = std::string(quoted->first);
        rest = quoted->second;
    } else {
        auto [name, after] = splitKey(line);
        e.WaveName = std::string(name);
        rest = after;
    }
    const auto w = words(rest);
    auto type = w.empty() ? std::nullopt : parseInt(w[0]);
    if (!type)
        return false;
    e.FileType = *type;
    bool ok = true;
    std::size_t next = 3;
    if (e.FileType == 10 || e.FileType == 11) {
        // A data-logger file's windows keep their own selections; the two words are dropped.
        ok = w.size() >= 3;
    } else {
        auto start = w.size() > 1 ? parseInt(w[1]) : std::nullopt;
        auto end = w.size() > 2 ? parseInt(w[2]) : std::nullopt;
        if (start && end) {
            e.selectionRead = true;
            e.SelectionStart = *start;
            e.SelectionEnd = *end;
        } else {
            ok = false;
        }
    }
    if (ok && w.size() > next) {
        if (auto pv = parseInt(w[next]))
            e.ProjectValue = *pv;
    }
    if (validText(e.WaveName) && e.WaveName.size() <= kMaxPathLength)
        entry = std::move(e);
    return ok;
}

} // namespace

// ---- global settings file ---------------------------------------------------------------

std::optional<GlobalSettings> readGlobalSettings(std::string_view bytes) {
    LineReader lines(bytes);
    auto readKey = [&lines](std::string_view key) -> std::optional<std::string> {
        lines.skipBlankLines();
        auto line = lines.peek();
        if (!line)
            return std::nullopt;
        auto [k, rest] = splitKey(*line);
        if (k != key)
            return std::nullopt;
        lines.next();
        rest = trimLeft(rest);
        std::string_view value;
        if (!rest.empty() && rest.front() == '"') {
            auto quoted = splitQuoted(rest);
            if (!quoted)
                return std::nullopt;
            value = quoted->first;
        } else {
            value = trimRight(rest);
        }
        if (value.empty() || !validText(value))
            return std::nullopt;
        return std::string(value);
    };
    GlobalSettings g;
    auto home = readKey("HomeDir");
    if (!home)
        return std::nullopt;
    auto prj = readKey("PrjFile");
    if (!prj)
        return std::nullopt;
    g.HomeDir = std::move(*home);
    g.PrjFile = std::move(*prj);
    return g;
}

std::string formatGlobalSettings(const GlobalSettings& settings) {
    std::string out;
    out.append("HomeDir \"").append(settings.HomeDir).append("\"\r\n");
    out.append("PrjFile \"").append(settings.PrjFile).append("\"\r\n");
    return out;
}

// ---- project settings file --------------------------------------------------------------

ProjectReadResult readProjectSettings(std::string_view bytes, ProjectValues& values) {
    ProjectReadResult result;
    LineReader lines(bytes);

    lines.skipBlankLines();
    auto header = lines.peek();
    if (!header || trimRight(*header) != "[OpenFiles]")
        return result;
    lines.next();

    // The list ends at the next section header.
    for (;;) {
        lines.skipBlankLines();
        auto line = lines.peek();
        if (!line)
            return result;
        lines.next();
        std::string_view l = trimLeft(*line);
        if (l.front() == '[')
            break;
        std::optional<OpenFileEntry> entry;
        const bool ok = parseEntry(l, entry);
        if (entry)
            result.entries.push_back(std::move(*entry));
        if (!ok)
            return result;
    }

    for (const KeyDef& def : kProjectKeys) {
        lines.skipBlankLines();
        auto line = lines.peek();
        bool stored = false;
        if (line) {
            auto [key, raw] = splitKey(*line);
            if (key == def.key) {
                lines.next();
                stored = storeValue(def, raw, values);
            }
        }
        if (stored)
            continue;
        if (def.kind == KeyKind::Exprn) {
            values.exprn = std::string();
            continue;
        }
        if (!def.optional)
            return result;
    }
    result.ok = true;
    return result;
}

std::string formatProjectSettings(const std::vector<OpenFileEntry>& entries, const ProjectValues& values) {
    std::string out;
    out.append("[OpenFiles]").append(kCrLf);
    for (const OpenFileEntry& e : entries) {
        // The name is appended, not formatted with %s: a NUL byte in a damaged file's name
        // would otherwise cut it, and the file would no longer read back as it was read.
        out.append("\"").append(writtenText(e.WaveName)).append("\"");
        out.append(cformat(" %d %d %d %d\r\n", e.FileType, e.SelectionStart, e.SelectionEnd, e.ProjectValue));
    }
    out.append("[SystemValues]").append(kCrLf);
    const TransferSettings& s = values.TransferSettings;
    for (const KeyDef& def : kProjectKeys) {
        out.append(def.key).append(" ");
        switch (def.kind) {
        case KeyKind::FileType:
            out.append(std::to_string(values.GlobalFileType));
            break;
        case KeyKind::Int:
            out.append(std::to_string(s.*def.intField));
            break;
        case KeyKind::Unused:
            out.append("0");
            break;
        case KeyKind::Text:
            out.append(writtenText(s.*def.textField));
            break;
        case KeyKind::BlankText:
            out.append(writtenText(s.*def.textField)).append(" ");
            break;
        case KeyKind::Exprn:
            out.append(writtenText(values.exprn.value_or(std::string())));
            break;
        }
        out.append(kCrLf);
    }
    return out;
}

// ---- selections -------------------------------------------------------------------------

std::optional<RestoredSelection> clampRestoredSelection(int32_t start, int32_t end, int count) {
    if (count < 1)
        return std::nullopt;
    const int32_t last = count - 1;
    if (start < 0 || start > end || start > last)
        return RestoredSelection{0, last};
    return RestoredSelection{start, std::min(end, last)};
}

} // namespace plotwell::app
