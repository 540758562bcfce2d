// Writes the seed corpora: small valid files made by our own writers, and the malformed
// cases the unit tests use. Run from the fuzz build:
//     build-fuzz/tests/fuzz/make_seeds tests/fuzz/corpus
// The real files of the test data and inputs the fuzzers found are added by hand (see
// tests/fuzz/corpus/README.md); this tool never deletes a file.

#include "app/core/settings_files.h"
#include "common/block_header.h"
#include "synthesis/core/expression.h"
#include "synthesis/core/expression_library.h"
#include "transfer/core/transfer_settings.h"
#include "workspace/core/csv_import.h"
#include "workspace/core/history_file.h"
#include "workspace/core/sample_stream.h"
#include "workspace/core/wave_files.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace plotwell;
using workspace::SampleStream;

namespace {
fs::path root;

void put(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(root / target);
    std::ofstream f(root / target / name, std::ios::binary);
    f.write(bytes.data(), std::streamsize(bytes.size()));
}

// A few waveforms of the kinds files hold: a 12-bit sine, normalised 16-bit data, one point.
std::vector<std::pair<std::string, SampleStream>> waves() {
    SampleStream sine(2048, 64);
    for (std::size_t i = 0; i < 64; ++i)
        sine.setCode(i, uint16_t(2048 + std::lround(2047 * std::sin(6.283185307179586 * double(i) / 64))));
    SampleStream norm(1, 9);
    const uint16_t codes[] = {0, 1, 16384, 32767, 32768, 32769, 49152, 65534, 65535};
    for (std::size_t i = 0; i < 9; ++i)
        norm.setCode(i, codes[i]);
    SampleStream one(512, 1, 700);
    return {{"sine64", sine}, {"normalised9", norm}, {"one-point", one}};
}

void waveFiles() {
    using namespace workspace;
    for (const auto& [name, s] : waves()) {
        const int32_t last = s.lastIndex();
        std::string out;
        uint16_t r = 0;
        if (WriteInternal(s, 0, last, out))
            put("fuzz_wfm", name + ".wfm", out);
        if (WriteBitPattern(s, 0, last, out))
            put("fuzz_ptn", name + ".ptn", out);
        for (bool tenBit : {false, true}) {
            const std::string bits = tenBit ? "-10bit" : "-12bit";
            if (WriteWaveCadWav(s, 0, last, tenBit, out, r))
                put("fuzz_wavecad_wav", name + bits + ".wav", out);
            if (WriteWaveCadAsc(s, 0, last, tenBit, out, r))
                put("fuzz_wavecad_asc", name + bits + ".asc", out);
        }
        if (WriteNormalised(s, 0, last, out, r))
            put("fuzz_nrm", name + ".nrm", out);
        if (name != "sine64" && WriteTektronixIsf(s, 0, last, out, r))
            put("fuzz_isf", name + ".isf", out);
    }
    // The unit tests' malformed and edge cases.
    put("fuzz_wfm", "bad-reference-0", std::string("\0\0\1\0", 4));
    put("fuzz_wfm", "odd-length", std::string("\0\x08\1\0\2", 5));
    put("fuzz_wfm", "reference-only", std::string("\0\x08", 2));
    put("fuzz_wavecad_wav", "odd-length", std::string("\1\0\2", 3));
    put("fuzz_wavecad_asc", "ten-bit", "-512,0,511");
    put("fuzz_wavecad_asc", "twelve-bit", "-512,513");
    put("fuzz_wavecad_asc", "line-ends", " 5,\r\n-2000,\n");
    put("fuzz_wavecad_asc", "out-of-range", "70000,-2048");
    put("fuzz_wavecad_asc", "not-a-number", "1,2,x,3");
    put("fuzz_wavecad_asc", "empty-field", "1,,2");
    put("fuzz_wavecad_asc", "binary", std::string("\0\1", 2));
    put("fuzz_gs2020_sig", "three-points.sig", std::string("\x80\0\0\0\xff\0", 6));
    put("fuzz_gs2020_sig", "odd-length", std::string("\x80\0\x01", 3));
    put("fuzz_gs2020_arb", "full-range.arb", "-128,0,127,5,");
    put("fuzz_gs2020_arb", "semicolon", "1;2");
    put("fuzz_nrm", "mixed", "1.0\r\n-1.0\r\n0.5\r\n-2\r\n3e9\n-0.5");
    put("fuzz_nrm", "nan-stops", "0.25\r\nnan\r\n0.5\r\n");
    put("fuzz_nrm", "hex", "0x10\n");
    const std::string pairs("\x01\x02\x03\x04", 4);
    put("fuzz_isf", "msb", ":WFMPRE:BYT_NR 2;BYT_OR MSB;:CURVE #14" + pairs);
    put("fuzz_isf", "lsb", ":WFMPRE:BYT_NR 2;BYT_OR LSB;:CURVE #14" + pairs);
    put("fuzz_isf", "short-form", ":WFMP:BYT_N 1;BYT_O MSB;:CURV #14" + pairs);
    put("fuzz_isf", "rp", ":WFMPRE:BYT_NR 1;BN_FMT RP;:CURVE #14" + pairs);
    put("fuzz_isf", "hash-in-wfid", ":WFMPRE:WFID \"Ch1 #3\";:CURVE #14" + pairs);
    put("fuzz_isf", "empty-block", ":CURVE #10");
    put("fuzz_isf", "too-many-points", ":WFMP:BYT_N 1;:CURV #71048577" + pairs);
    put("fuzz_isf", "fewer-digits", ":CURVE #5123");
    put("fuzz_isf", "bad-digit", ":CURVE #2a4");
    put("fuzz_isf", "odd-block", std::string(":CURVE #13\x01\x00\x02\n", 14));
}

void historyFiles() {
    using workspace::GenerationEntry;
    const std::vector<GenerationEntry> e = {{"0", "999", "2047", "0", "0", "amp*sin(omg*t)"},
                                            {"10", "20", "1.5", "-3", "1", "wfm(a.wfm) + rnd * 0.1"}};
    put("fuzz_pwi", "two.pwi", workspace::WriteHistoryFile(e));
    put("fuzz_pwi", "blank-lines", "1 2 3 4 0 abc\n\r\n5 6 7 8 1 de f");
    put("fuzz_pwi", "broken", "1 2 3 4 0 ok\r\n1 2 3\r\n1 2 3 4 0 never\r\n");
    put("fuzz_pwi", "no-expression", "1 2 3 4 0\r\n");
}

void loggerFiles() {
    put("fuzz_dta", "three-channels.dta", "0\t1\t0\r\n-2048\t5\t2047\r\n3000\t4095\t-3000\r\n");
    put("fuzz_dta", "gap-channel.dta", "0\t\t1\n1\t\t2\n3\t\t4\n");
    put("fuzz_dta", "ragged.dta", "1\t1\t1\r\n1\t2\t3\r\n4\r\n7\t8\t9\r\n");
    put("fuzz_dta", "nine-fields.dta",
        "0\t0\t0\t0\t0\t0\t0\t0\t0\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\r\n");
    put("fuzz_dta", "binary", std::string("\0\xff\t\x01\n\n", 6));
    put("fuzz_dac", "one-channel.dac", "4\r\n-5\r\n4500\r\n17\r\n-0\r\n");
    put("fuzz_dac", "five-fields.dac", "2\t2\t2\t2\t2\r\n1\t1\t1\t1\t1\r\n1\t1\t1\t1\t1\r\n");
    put("fuzz_dac", "counts-short.dac", "9\t0\t3\r\n1\t\t2\r\n3\t\t4\r\n5\t\t6\r\n");
}

void settingsFiles() {
    using namespace app;
    put("fuzz_global_settings", "PWSET.INI", formatGlobalSettings({"/home/bench/plotwell", "Bench project"}));
    put("fuzz_global_settings", "unclosed-quote", "HomeDir \"/home\r\nPrjFile \"x\"\r\n");
    put("fuzz_global_settings", "keys-swapped", "PrjFile \"x\"\r\nHomeDir \"/h\"\r\n");
    ProjectValues v;
    v.GlobalFileType = 1;
    transfer::applyTransferDefaults(v.TransferSettings);
    v.exprn = "amp*sin(omg*t)";
    std::vector<OpenFileEntry> entries = {{"/w/x y.wfm", 1, true, 0, 999, 0},
                                          {"/z/run.dta", 10, false, 0, 0, 5},
                                          {"Untitled", 0, true, 3, 2, 0}};
    put("fuzz_project_settings", "project.INI", formatProjectSettings(entries, v));
    put("fuzz_project_settings", "no-windows.INI", formatProjectSettings({}, v));
    v.exprn.reset();
    put("fuzz_project_settings", "no-exprn.INI", formatProjectSettings(entries, v));
    put("fuzz_project_settings", "broken-list",
        "[OpenFiles]\r\n\"/w/a.wfm\" 1 3 4\r\nUntitled 0 0 0 word\r\n");
}

void expressions() {
    const char* texts[] = {"amp*sin(omg*t)",
                           "wfm(a)+rnd*0.1",
                           "wfm(e)*2",
                           "-wfm(a)",
                           "1+2*3^2-4/2",
                           "2*-3^2",
                           "(-8)^(1/3)",
                           "0^-1",
                           "1/(t-3)",
                           "1e10^200",
                           "2^-2000",
                           "1+(2",
                           "((1)",
                           "1)",
                           "2+*3",
                           "1,2",
                           "1.5.2",
                           "0x10",
                           "1+a",
                           "pi*e/per",
                           "exp(t/per)^2",
                           "log(0)+ln(t)",
                           "sqrt(-1)",
                           "asin(2)*acos(-2)",
                           "abs(floor(t/10)-ceil(t/7))",
                           "-pulse(0,0,50,0,2)",
                           "ecg(t)",
                           "p*f*amp",
                           "cos(2*pi*f*t),5",
                           "1 +\n2"};
    int i = 0;
    for (const char* t : texts) {
        char name[16];
        std::snprintf(name, sizeof name, "text-%02d", ++i);
        put("fuzz_expression", name, t);
    }
    put("fuzz_expression", "embedded-nul", std::string("1+2\0+5", 6));
    put("fuzz_expression", "deep-brackets", std::string(200, '(') + "1");
}

void replies() {
    const std::string data(16, '\x55');
    put("fuzz_block_header", "block-2000", common::blockHeader(2000) + "xyz");
    put("fuzz_block_header", "block-16", common::blockHeader(16) + data);
    put("fuzz_block_header", "empty-block", common::blockHeader(0));
    put("fuzz_block_header", "nine-digits", "#9000000004");
    put("fuzz_block_header", "too-large", "#9999999999");
    put("fuzz_block_header", "minus", "#41-00");
    put("fuzz_block_header", "no-hash", "x41000");
    put("fuzz_reply_fields", "identity", "HEWLETT-PACKARD,33120A,0,7.0-5.0-1.0\n");
    put("fuzz_reply_fields", "identity-tek", "TEKTRONIX,AWG2021,0,CF:91.1CT FV:1.0\r\n");
    put("fuzz_reply_fields", "fields", "RAMP1,ON,1000\n");
    put("fuzz_reply_fields", "integer", " -1\r\n");
    put("fuzz_reply_fields", "long-field", std::string(300, 'n') + ",1");
    put("fuzz_csv_values", "values", "-2048,0,2047\n");
    put("fuzz_csv_values", "one", "5\r\n");
    put("fuzz_csv_values", "empty-field", "1,,2");
    put("fuzz_csv_values", "long", "123456789,1");
}
// CSV imports: a column byte and an options byte, then the file.
void csvImports() {
    const auto csv = [](const char* name, char column, char options, const std::string& text) {
        put("fuzz_csv_import", name, std::string{column, options} + text);
    };
    csv("header", 1, 0, "time,volts\n0,0.5\n1,-1\n");
    csv("crlf-pattern", 1, 1, "time,volts\r\n0,0.5\r\n1,-1\r\n");
    csv("short-rows", 2, 0, "1,2,3\n4\n5,6\n,,\n");
    csv("digit-header", 0, 3, "1st,volts\n0,1\n0,-1\n");
    csv("zeros", 0, 0, "x\n0\n0\n\n\r\n");
    csv("scope", 1, 0x55, "Index,CH1(V)\r\n0,-2.000e-01\r\n1,+4.000e-01\r\n2,.5\r\n3,-\r\n");
    csv("huge", 0, 0, "1e999\n-1e999\n1\n");
    csv("hex", 0, 0, "0x10\n-0x1.8p3\n0X1F\n0x\n-inf\n");
    csv("cr-only", 1, 0, "a,b\r1,2\r3,-4\r");
    csv("near-limit", 0, 0, "1e305\n-1.7e308\n5e304\n");
    csv("header-only", 1, 0, "time,volts");
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += "1,";
    csv("wide-first-line", char(200), 0, wide + "1\n2\n-2\n");
    csv("overflow", 0, 0, "1\n1e309\n-0\n0.5\n-1e-320\n2\n");
    csv("inf-nan", 0, 0, "-inf\n+nan\n-INFINITY\n+NaN(1)\n2\n-1\n");
    csv("long-number", 0, 0, "1" + std::string(400, '0') + "\n1\n-1\n");
    csv("hex-overflow", 0, 0, "0x1p1024\n-0x1p-1074\n1\n");
    csv("non-utf8", 1, 0, "t\xe9mps,\xff\xfe\n1,\x80\n-1,\xc3\x28\n0,2\n");
}
// Clipboard texts: numbers that overflow or name infinities, bytes that are no UTF-8, and
// tokens at and past the longest the scanner converts.
void clipboardTexts() {
    const auto clip = [](const char* name, const std::string& text) {
        put("fuzz_clipboard_numbers", name, text);
    };
    clip("overflow", "1, 1e309, -0, 0.5, -1e-320, 2\n");
    clip("inf-nan", "inf -inf nan +NaN 1e999 -1e999 2 -2\n");
    clip("non-utf8", "\xff"
                     "1\xfe"
                     "2\xe9-3\x80\xc3\x28"
                     "4\r\n");
    clip("long-decimals", "-0.890000000000000\n+0.445000000000000\n-0.8900");
    clip("longest-tokens", "+0." + std::string(96, '7') + "\r\n-0." + std::string(97, '7') + "\r\n1\r\n");
}
// Expression libraries as the manager writes them, and broken ones.
void expressionLibraries() {
    put("fuzz_expression_library", "written",
        synthesis::WriteLibrary({"Alpha\t= t", "sine\t= sin(omg*t)", "a=b\t= x"}));
    put("fuzz_expression_library", "mixed-ends", "a\t= 1\rb\t= 2\nc\t= 3\r\n\r\n");
    put("fuzz_expression_library", "no-equals", "no entry\r\nx=\r\n=\r\n");
    put("fuzz_expression_library", "too-long", "n\t= " + std::string(250, 'x') + "\r\n");
    // Bytes that are no UTF-8 (Latin-1, a lone continuation byte, a cut sequence), and
    // control bytes.
    put("fuzz_expression_library", "not-utf8",
        "caf\xe9\t= t\r\nb\t= \xff\xfe\r\nc\t= \x80\xc3\r\n" + std::string("\0=\x01\x7f\r\n", 6));
    put("fuzz_expression_library", "binary",
        std::string("\x7f"
                    "ELF\x02\x01\x01\0\0=\n\x03\0>\0\x01\r\x90=\xff\n",
                    21));
    // Large files: many entries out of order, and many equal ones.
    std::vector<std::string> many;
    for (int i = 1000; i > 0; --i)
        many.push_back("e" + std::to_string(1000000 + i).substr(1) + "\t= t*" + std::to_string(i));
    put("fuzz_expression_library", "many-reversed", synthesis::WriteLibrary(many));
    std::string equals;
    for (int i = 0; i < 8192; ++i)
        equals += "=\n";
    put("fuzz_expression_library", "many-equals", equals);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds CORPUS_FOLDER\n");
        return 2;
    }
    root = argv[1];
    waveFiles();
    historyFiles();
    loggerFiles();
    settingsFiles();
    expressions();
    replies();
    csvImports();
    clipboardTexts();
    expressionLibraries();
    return 0;
}
