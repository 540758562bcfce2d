#pragma once
// Small builders shared by the codec tests.

#include "workspace/core/sample_stream.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace codec_test {

inline std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b)
        s.push_back(char(c));
    return s;
}

inline plotwell::workspace::SampleStream stream(uint16_t r, std::vector<uint16_t> codes) {
    plotwell::workspace::SampleStream s;
    s.assign(r, codes);
    return s;
}

inline std::vector<uint16_t> codesOf(const plotwell::workspace::SampleStream& s) {
    return {s.codes().begin(), s.codes().end()};
}

} // namespace codec_test
