#include "workspace/core/project_paths.h"

#include "platform/posix/folders.h"

#include <algorithm>
#include <string_view>

namespace plotwell::workspace {

using platform::joinPath;

ProjectPaths projectPaths(const std::string& homeDir, const std::string& prjFile) {
    ProjectPaths p;
    p.ProjectIniPath = joinPath(homeDir, prjFile + ".INI");
    p.ProjectMarkerFile = joinPath(homeDir, prjFile + ".prj");
    p.ExpressionLibrary = joinPath(homeDir, prjFile + ".LIB");
    p.WaveCadDefaultDir = joinPath(homeDir, "WAVECAD/");
    p.WaveCadDir = p.WaveCadDefaultDir;
    p.WaveCadQv3030Dir = p.WaveCadDir + "QV3030/";
    p.WaveCadQva3460Dir = p.WaveCadDir + "QVA3460/";
    p.Gs2020Dir = joinPath(homeDir, "GS2020/");
    p.ZeloDir = joinPath(homeDir, "ZELO/");
    p.TdsDir = joinPath(homeDir, "TDS/");
    p.WavesDir = joinPath(homeDir, "WAVES/");
    p.PatternsDir = joinPath(homeDir, "PATTERNS/");
    return p;
}

std::optional<ChosenProject> chosenProject(const std::string& file) {
    const std::string::size_type slash = file.find_last_of('/');
    ChosenProject c;
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (slash != std::string::npos)
        c.folder = file.substr(0, slash == 0 ? 1 : slash); // the root keeps its '/'
    // A name typed without the extension is taken whole. The dialogs also show "X.PRJ"
    // (projects copied from a memory card), which is project "X" as well.
    static constexpr std::string_view ext = ".prj";
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (name.size() >= ext.size() && std::equal(ext.begin(), ext.end(), name.end() - ext.size(),
                                                [&](char e, char c) { return e == lower(c); }))
        name.resize(name.size() - ext.size());
    if (name.empty())
        return std::nullopt;
    c.name = std::move(name);
    return c;
}

} // namespace plotwell::workspace
