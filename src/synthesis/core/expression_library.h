#pragma once
// The project's expression library file: one entry a line, "name<TAB>= expression",
// kept in a case-insensitive sorted order, written with CR LF line ends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::synthesis {

// An entry (name, tab, "= " and expression together) holds at most this many characters.
inline constexpr std::size_t kLibraryLineMax = 199;

// The largest library file read (tens of thousands of entries), and so the largest the
// manager writes: a file it could not read back would be emptied by the save after that.
inline constexpr int64_t kLibraryMaxFileBytes = int64_t(8) << 20;

// The library line of `name` and `expression`; nullopt when it would be longer than an
// entry may be.
std::optional<std::string> LibraryLine(std::string_view name, std::string_view expression);

// The lines of a library file in file order. LF, CR LF and CR all end a line. Lines that are
// no entry (without '=', or longer than an entry may be) are left out and counted in `skipped`.
std::vector<std::string> ReadLibrary(std::string_view bytes, std::size_t* skipped = nullptr);

// The file's bytes: every line followed by CR LF.
std::string WriteLibrary(const std::vector<std::string>& lines);

// Where `line` takes its sorted place in `lines` (after the entries that compare equal).
std::size_t LibrarySortedIndex(const std::vector<std::string>& lines, std::string_view line);

// Adds `added` to the sorted `lines` as if each, in its order, took its sorted place in
// turn (so a library is loaded by adding its file's lines to an empty one), in one sort
// and one merge. Returns the row that the line at `row` of `lines` moved to; a row past
// the end stays as it is.
std::size_t AddToLibrary(std::vector<std::string>& lines, std::vector<std::string> added,
                         std::size_t row = std::size_t(-1));

// The expression a line recalls: the text from two characters after its first '='. A name
// holding '=' therefore recalls from inside the line, as the library always did.
std::string RecallExpression(std::string_view line);

} // namespace plotwell::synthesis
