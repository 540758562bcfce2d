#include "synthesis/core/expression_library.h"

#include <algorithm>
#include <iterator>

namespace plotwell::synthesis {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool lessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lower(x) < lower(y); });
}

bool isEntry(std::string_view line) {
    return line.size() <= kLibraryLineMax && line.find('=') != std::string_view::npos;
}

} // namespace

std::optional<std::string> LibraryLine(std::string_view name, std::string_view expression) {
    std::string line;
    line.reserve(name.size() + 3 + expression.size());
    line.append(name).append("\t= ").append(expression);
    if (line.size() > kLibraryLineMax)
        return std::nullopt;
    return line;
}

std::vector<std::string> ReadLibrary(std::string_view bytes, std::size_t* skipped) {
    const auto isEnd = [](char c) { return c == '\r' || c == '\n'; };
    // One allocation for a file of millions of short lines, not a growth by doubling: an
    // entry holds an '=' and ends a line.
    std::size_t ends = 0, equals = 0;
    for (const char c : bytes) {
        ends += isEnd(c);
        equals += c == '=';
    }
    std::vector<std::string> lines;
    lines.reserve(std::min(ends + 1, equals));
    std::size_t dropped = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end =
            std::size_t(std::find_if(bytes.begin() + pos, bytes.end(), isEnd) - bytes.begin());
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
        if (isEntry(line))
            lines.emplace_back(line);
        else if (!line.empty())
            ++dropped;
    }
    if (skipped)
        *skipped = dropped;
    return lines;
}

std::string WriteLibrary(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out.append(line).append("\r\n");
    return out;
}

std::size_t LibrarySortedIndex(const std::vector<std::string>& lines, std::string_view line) {
    return std::size_t(
        std::upper_bound(lines.begin(), lines.end(), line,
                         [](std::string_view a, const std::string& b) { return lessNoCase(a, b); }) -
        lines.begin());
}

std::size_t AddToLibrary(std::vector<std::string>& lines, std::vector<std::string> added, std::size_t row) {
    const auto less = [](const std::string& a, const std::string& b) { return lessNoCase(a, b); };
    // A file the library wrote is in order already, and one pass tells.
    if (!std::is_sorted(added.begin(), added.end(), less))
        std::stable_sort(added.begin(), added.end(), less);
    if (row < lines.size())
        row += std::size_t(std::lower_bound(added.begin(), added.end(), lines[row], less) - added.begin());
    if (lines.empty()) {
        lines = std::move(added);
        return row;
    }
    // The merge puts a line of `lines` before the added lines that compare equal to it.
    std::vector<std::string> merged;
    merged.reserve(lines.size() + added.size());
    std::merge(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), less);
    lines = std::move(merged);
    return row;
}

std::string RecallExpression(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq + 2 > line.size())
        return {};
    return std::string(line.substr(eq + 2));
}

} // namespace plotwell::synthesis
