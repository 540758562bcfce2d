// Keeps the folders of src/ in their layers. Every #include under src/ is read; a file may
// include headers of its own layer and the layers below:
//   common (0) -> platform (1) -> workspace (2) -> synthesis | transfer (3) -> app (4) -> main.cpp
// synthesis and transfer sit side by side and never include each other. Qt-free folders
// (every core/, common/, platform/posix/, platform/canvas/) include no forms/, no Qt Widgets
// header and nothing of platform/ but its Qt-free folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Include {
    std::string target; // as written between the quotes or brackets
    bool angled = false;
    int line = 0;
};

// A file's path relative to src/, with its includes.
using SourceTree = std::map<std::string, std::vector<Include>>;

// The top folder ("workspace"), or "" for the files at the root of src/.
std::string topFolder(const std::string& path) {
    auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The folder a file lives in, at most two levels deep ("workspace/core", "platform").
std::string unitFolder(const std::string& path) {
    auto first = path.find('/');
    if (first == std::string::npos)
        return "";
    auto second = path.find('/', first + 1);
    if (second == std::string::npos)
        return path.substr(0, first);
    return path.substr(0, second);
}

int layerOf(const std::string& path) {
    static const std::map<std::string, int> layers{{"common", 0},    {"platform", 1}, {"workspace", 2},
                                                   {"synthesis", 3}, {"transfer", 3}, {"app", 4}};
    auto it = layers.find(topFolder(path));
    // main.cpp and anything else at the root sits on top; an unknown folder too, so that a
    // new folder is noticed by the folders that would include it.
    return it == layers.end() ? 5 : it->second;
}

bool isQtFreeFolder(const std::string& path) {
    std::string unit = unitFolder(path);
    return topFolder(path) == "common" || unit == "platform/posix" || unit == "platform/canvas" ||
           (unit.size() > 5 && unit.compare(unit.size() - 5, 5, "/core") == 0);
}

bool isFormsFolder(const std::string& path) {
    std::string unit = unitFolder(path);
    return unit.size() > 6 && unit.compare(unit.size() - 6, 6, "/forms") == 0;
}

std::string describe(const std::string& file, const Include& inc) {
    std::string written = inc.angled ? "<" + inc.target + ">" : "\"" + inc.target + "\"";
    return "src/" + file + ":" + std::to_string(inc.line) + " includes " + written;
}

// Every rule broken, one line each. `isWidgetsHeader` tells a Qt Widgets header by the name
// written in angle brackets.
template <class IsWidgetsHeader>
std::vector<std::string> breaches(const SourceTree& tree, IsWidgetsHeader isWidgetsHeader) {
    std::vector<std::string> found;
    // unit folder -> unit folders it includes, with one example each
    std::map<std::pair<std::string, std::string>, std::string> folderEdges;
    for (const auto& [file, includes] : tree) {
        for (const Include& inc : includes) {
            // A project header is named from src/ or from the including file's folder.
            std::string header;
            if (tree.count(inc.target))
                header = inc.target;
            else if (auto dir = fs::path(file).parent_path();
                     !dir.empty() && !inc.angled && tree.count((dir / inc.target).generic_string()))
                header = (dir / inc.target).generic_string();
            if (header.empty()) {
                if (inc.angled && isQtFreeFolder(file) && isWidgetsHeader(inc.target))
                    found.push_back(describe(file, inc) + ": a Qt-free folder uses no Qt Widgets header");
                continue;
            }
            if (layerOf(header) > layerOf(file)) {
                found.push_back(describe(file, inc) + ": " +
                                (topFolder(file).empty() ? file : topFolder(file)) + " (layer " +
                                std::to_string(layerOf(file)) + ") may not include " + topFolder(header) +
                                " (layer " + std::to_string(layerOf(header)) + ")");
            } else if (layerOf(header) == layerOf(file) && topFolder(header) != topFolder(file)) {
                found.push_back(describe(file, inc) + ": " + topFolder(file) + " and " + topFolder(header) +
                                " sit side by side and never include each other");
            }
            if (isQtFreeFolder(file)) {
                if (isFormsFolder(header))
                    found.push_back(describe(file, inc) + ": a core folder never includes forms");
                else if (topFolder(header) == "platform" && !isQtFreeFolder(header))
                    found.push_back(describe(file, inc) +
                                    ": a Qt-free folder uses only platform/posix and platform/canvas");
            }
            if (unitFolder(header) != unitFolder(file))
                folderEdges.emplace(std::pair(unitFolder(file), unitFolder(header)), describe(file, inc));
        }
    }
    for (const auto& [edge, example] : folderEdges) {
        auto back = folderEdges.find({edge.second, edge.first});
        if (edge.first < edge.second && back != folderEdges.end())
            found.push_back("src/" + edge.first + " and src/" + edge.second +
                            " include each other: " + example + "; " + back->second);
    }
    return found;
}

SourceTree readTree(const fs::path& root) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    SourceTree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        auto& includes = tree[fs::relative(entry.path(), root).generic_string()];
        std::ifstream in(entry.path());
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch m;
            if (std::regex_search(text, m, includeLine))
                includes.push_back({m[2].str(), m[1].str() == "<", line});
        }
    }
    return tree;
}

// A header in angle brackets is a Qt Widgets header when the QtWidgets include folder has it.
bool isQtWidgetsHeader(const std::string& name) {
    if (name.rfind("QtWidgets/", 0) == 0 || name == "QtWidgets")
        return true;
    return name.size() > 1 && name[0] == 'Q' && fs::exists(fs::path(PLOTWELL_QT_WIDGETS_INCLUDE) / name);
}

TEST(Layering, TheRulesOnSmallTrees) {
    const std::vector<std::string> widgets{"QWidget", "QDialog"};
    auto isWidgets = [&](const std::string& n) { return std::count(widgets.begin(), widgets.end(), n) > 0; };
    struct Case {
        const char* what;
        SourceTree tree;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"downward includes and Qt Core in core pass",
         {{"main.cpp", {{"app/frame.h", false, 1}}},
          {"app/frame.h", {{"transfer/forms/d.h", false, 1}, {"synthesis/core/e.h", false, 2}}},
          {"transfer/forms/d.h", {{"workspace/forms/w.h", false, 1}, {"QDialog", true, 2}}},
          {"synthesis/core/e.h", {{"common/numtext.h", false, 1}, {"QString", true, 2}}},
          {"workspace/forms/w.h", {{"platform/ui.h", false, 1}, {"w2.h", false, 2}}},
          {"workspace/forms/w2.h", {}},
          {"platform/ui.h", {{"platform/posix/f.h", false, 1}}},
          {"platform/posix/f.h", {{"common/numtext.h", false, 1}}},
          {"common/numtext.h", {{"string", true, 1}}}},
         {}},
        {"an upward include",
         {{"workspace/core/s.h", {{"transfer/core/t.h", false, 4}}}, {"transfer/core/t.h", {}}},
         {"src/workspace/core/s.h:4 includes \"transfer/core/t.h\": workspace (layer 2) may not include "
          "transfer "
          "(layer 3)"}},
        {"side by side",
         {{"synthesis/forms/a.h", {{"transfer/forms/b.h", false, 2}}}, {"transfer/forms/b.h", {}}},
         {"src/synthesis/forms/a.h:2 includes \"transfer/forms/b.h\": synthesis and transfer sit side by "
          "side "
          "and never include each other"}},
        {"core reaches forms, widgets and the Qt platform",
         {{"app/core/c.cpp",
           {{"app/forms/f.h", false, 1}, {"QWidget", true, 2}, {"platform/form.h", false, 3}}},
          {"app/forms/f.h", {}},
          {"platform/form.h", {}}},
         {"src/app/core/c.cpp:1 includes \"app/forms/f.h\": a core folder never includes forms",
          "src/app/core/c.cpp:2 includes <QWidget>: a Qt-free folder uses no Qt Widgets header",
          "src/app/core/c.cpp:3 includes \"platform/form.h\": a Qt-free folder uses only platform/posix and "
          "platform/canvas"}},
        {"two folders of one layer in a circle",
         {{"platform/a.h", {{"platform/posix/b.h", false, 1}}},
          {"platform/posix/b.h", {{"platform/a.h", false, 7}}}},
         {"src/platform/posix/b.h:7 includes \"platform/a.h\": a Qt-free folder uses only platform/posix and "
          "platform/canvas",
          "src/platform and src/platform/posix include each other: src/platform/a.h:1 includes "
          "\"platform/posix/b.h\"; src/platform/posix/b.h:7 includes \"platform/a.h\""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(breaches(c.tree, isWidgets), c.expected) << c.what;
}

TEST(Layering, SourceTreeKeepsItsLayers) {
    SourceTree tree = readTree(PLOTWELL_SOURCE_ROOT);
    ASSERT_TRUE(tree.count("main.cpp")) << "no sources under " << PLOTWELL_SOURCE_ROOT;
    std::string list;
    for (const auto& breach : breaches(tree, isQtWidgetsHeader))
        list += "\n  " + breach;
    EXPECT_TRUE(list.empty()) << "layering breaches:" << list;
}

} // namespace
