#include "workspace/core/history_file.h"

#include "common/line_reader.h"

namespace plotwell::workspace {

namespace {
bool isWordBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view nextWord(std::string_view& line) {
    std::size_t i = 0;
    while (i < line.size() && isWordBlank(line[i]))
        ++i;
    std::size_t j = i;
    while (j < line.size() && !isWordBlank(line[j]))
        ++j;
    const std::string_view word = line.substr(i, j - i);
    line.remove_prefix(j);
    return word;
}
} // namespace

std::string HistoryFileName(const std::string& waveFile) {
    return waveFile + ".pwi";
}

std::vector<GenerationEntry> ReadHistoryFile(std::string_view bytes) {
    std::vector<GenerationEntry> entries;
    common::LineReader lines(bytes);
    while (const auto line = lines.next()) {
        std::string_view rest = *line;
        std::string_view words[5];
        int found = 0;
        for (; found < 5; ++found) {
            words[found] = nextWord(rest);
            if (words[found].empty())
                break;
        }
        if (found == 0)
            continue;
        if (found < 5)
            break;
        // The blanks after the fifth word part it from the expression, which keeps the rest.
        while (!rest.empty() && isWordBlank(rest.front()))
            rest.remove_prefix(1);
        entries.push_back({std::string(words[0]), std::string(words[1]), std::string(words[2]),
                           std::string(words[3]), std::string(words[4]), std::string(rest)});
    }
    return entries;
}

std::string WriteHistoryFile(const std::vector<GenerationEntry>& entries) {
    std::string out;
    for (const auto& e : entries) {
        for (const std::string* w : {&e.start, &e.end, &e.amplitude, &e.offset, &e.levelMode}) {
            out += *w;
            out += ' ';
        }
        out += e.expression;
        out += "\r\n";
    }
    return out;
}

} // namespace plotwell::workspace
