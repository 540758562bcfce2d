// The frame's settings files and projects: the global settings file, the project's marker
// and settings file, reopening the project's windows, New Project and Open Project.

#include "app/Plotdesk.h"

#include "app/core/settings_files.h"
#include "common/numtext.h"
#include "platform/posix/atomic_file.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "synthesis/forms/expression.h"
#include "workspace/core/file_types.h"
#include "workspace/core/project_paths.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QLineEdit>

#include <filesystem>
#include <system_error>

using namespace plotwell;
using workspace::WaveFileType;

namespace {

// Writes a settings file. Its folder is created first only where `createFolder` says so: on
// a new machine neither the settings folder nor the default project folder exists yet. Any
// other project folder that is gone stays gone, and the write fails where the user sees it.
bool writeSettingsFile(const std::string& path, std::string_view bytes, bool createFolder) {
    return (!createFolder || platform::ensureParentDir(path)) && platform::writeFileAtomically(path, bytes);
}

// A file in the project's own folder: the folder is only made for the default project.
bool writeProjectFile(const std::string& homeDir, const std::string& path, std::string_view bytes) {
    return writeSettingsFile(path, bytes, homeDir == TPWForm1::DefaultHomeDir());
}

void reportSetupNotSaved(const std::string& path) {
    platform::errorBox(
        common::cformat("Unable to write to\n%s\nto save the setup information.", path.c_str()));
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The expression dialog's expression line, kept with the project.
std::string expressionText() {
    return ExpressionForm && ExpressionForm->EdExpr ? ExpressionForm->EdExpr->text().toStdString()
                                                    : std::string();
}

void setExpressionText(const std::string& text) {
    if (!ExpressionForm)
        return;
    const QString t = platform::toQString(text);
    if (ExpressionForm->EdExpr)
        ExpressionForm->EdExpr->setText(t);
    if (ExpressionForm->Expr)
        ExpressionForm->Expr->setCurrentText(t);
}

// The window's line in the project's list, or nullopt when it is not listed. Only windows
// that stand for the file they are named after are listed, so that the next start reopens
// real files: a window read from WaveName (with the type it was read as, which a generator
// filling it later does not change; for a data-logger file this is its first window, the
// others have no type), and an empty new window. A window whose read failed is not listed.
std::optional<app::OpenFileEntry> listedEntry(const TWFMform& w) {
    // A name with a line break (possible on Linux) cannot stand in a one-line entry.
    // The numbers below 0 stand for data that no file of their own holds.
    const int type = workspace::FileTypeCode(w.Doc.FileType);
    if (w.Doc.WaveName.empty() || type < 0 || w.Doc.WaveName.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    app::OpenFileEntry e{w.Doc.WaveName,    type, true, w.Doc.SelectionStart, w.Doc.SelectionEnd,
                         w.Doc.ProjectValue};
    if (w.Doc.WaveName == TWFMform::DefaultWaveName && w.Doc.FileType == WaveFileType::None)
        return e;
    if (!w.Doc.LoadedFileName.empty() && w.Doc.LoadedFileName == w.Doc.WaveName) {
        e.FileType = workspace::FileTypeCode(w.Doc.LoadedFileType);
        return e;
    }
    return std::nullopt;
}

// A listed window stands for a file of its own, or for an empty new window: never below 0.
bool knownFileType(int type) {
    return type >= 0 && workspace::FindFileType(type);
}

// No real project keeps this many windows open; a damaged file that lists thousands must
// not hold up the start for minutes.
constexpr int kMaxReopenedWindows = 256;

// Both project dialogs show the project files of the current project's folder.
void setUpProjectDialog(platform::FileDialogState& d, const char* title, const std::string& homeDir) {
    d.title = title;
    d.defaultExt = "prj";
    d.filter = "Project files (*.prj)|*.prj";
    d.initialDir = homeDir;
    d.fileName.clear();
}

} // namespace

// ---- global settings file ---------------------------------------------------------------

bool TPWForm1::ReadGlobalSettings() {
    const auto bytes = platform::readFileBytes(GlobalSettingsPath(), workspace::kMaxSettingsFileBytes);
    if (!bytes)
        return false;
    const auto settings = app::readGlobalSettings(*bytes);
    if (!settings)
        return false;
    HomeDir = settings->HomeDir;
    PrjFile = settings->PrjFile;
    return true;
}

void TPWForm1::WriteGlobalSettings() {
    const std::string path = GlobalSettingsPath();
    if (!writeSettingsFile(path, app::formatGlobalSettings({HomeDir, PrjFile}), true))
        reportSetupNotSaved(path);
}

// ---- project marker ---------------------------------------------------------------------

void TPWForm1::WriteNewProjectFile() {
    const std::string marker = workspace::projectPaths(HomeDir, PrjFile).ProjectMarkerFile;
    if (!writeProjectFile(HomeDir, marker, {}))
        reportSetupNotSaved(marker);
}

void TPWForm1::ResetProjectSetup() {
    WriteNewProjectFile();
}

// ---- project settings file --------------------------------------------------------------

bool TPWForm1::ReadProject() {
    // 1. The project's folders.
    const workspace::ProjectPaths paths = workspace::projectPaths(HomeDir, PrjFile);
    ProjectIniPath = paths.ProjectIniPath;
    WaveCadDefaultDir = paths.WaveCadDefaultDir;
    WaveCadDir = paths.WaveCadDir;
    WaveCadQv3030Dir = paths.WaveCadQv3030Dir;
    WaveCadQva3460Dir = paths.WaveCadQva3460Dir;
    Gs2020Dir = paths.Gs2020Dir;
    ZeloDir = paths.ZeloDir;
    TdsDir = paths.TdsDir;
    WavesDir = paths.WavesDir;
    PatternsDir = paths.PatternsDir;

    // 2. A project read without its marker gets one.
    if (!fileExists(paths.ProjectMarkerFile))
        ResetProjectSetup();

    bool ok = false;
    if (const auto bytes = platform::readFileBytes(ProjectIniPath, workspace::kMaxSettingsFileBytes)) {
        app::ProjectValues values{workspace::FileTypeCode(GlobalFileType), TransferSettings, std::nullopt};
        const app::ProjectReadResult read = app::readProjectSettings(*bytes, values);

        // 3. The listed windows, each as the type it was saved with. They load before the
        // settings are taken over, and stay open whatever follows.
        int reopened = 0, skipped = 0;
        for (const app::OpenFileEntry& e : read.entries) {
            if (!knownFileType(e.FileType))
                continue;
            if (reopened == kMaxReopenedWindows) {
                ++skipped;
                continue;
            }
            ++reopened;
            const WaveFileType type = WaveFileType(e.FileType);
            OpenType = type;
            TWFMform* w = CreateWaveWindow();
            if (e.WaveName == TWFMform::DefaultWaveName) {
                w->Doc.CreateSampleStream();
            } else {
                SetOpenDialogName(e.WaveName);
                w->LoadFromFile(e.WaveName);
            }
            if (type == WaveFileType::BitPattern) {
                w->Doc.FileType = WaveFileType::BitPattern;
                w->Doc.IsBitPattern = 1;
            }
            // A data-logger file's windows keep the selections their reader gave them; the
            // others get theirs back, fitted to what the file holds now.
            if (e.selectionRead && type != WaveFileType::ZeloDta && type != WaveFileType::ZeloDac) {
                if (auto sel =
                        app::clampRestoredSelection(e.SelectionStart, e.SelectionEnd, w->Doc.PointCount())) {
                    w->Doc.SelectionStart = sel->start;
                    w->Doc.SelectionEnd = sel->end;
                }
            }
            w->Doc.ProjectValue = e.ProjectValue;
            w->update();
        }
        // The panel and the type menus show the last window as the file gave it its kind
        // and selection.
        if (TWFMform* active = ActiveWaveWindow())
            active->FormActivate();
        if (skipped > 0)
            platform::ui().message(
                common::cformat("%d further windows listed in the project were not reopened:\n"
                                "a project reopens at most %d windows.",
                                skipped, kMaxReopenedWindows),
                platform::Icon::Warning, platform::ButtonOk, false);

        // 4. The settings read, also those before a missing key.
        GlobalFileType = WaveFileType(values.GlobalFileType);
        TransferSettings = values.TransferSettings;
        if (values.exprn)
            setExpressionText(*values.exprn);
        // The Make lists follow the record when the settings are pushed into the dialogs.
        ok = read.ok;
    }

    // 5. The next Open and Save start from the project's own type again.
    OpenType = SaveType = GlobalFileType;
    setWindowTitle(platform::toQString(common::cformat("Quorvex Plotwell Plus - %s.prj", PrjFile.c_str())));
    return ok;
}

bool TPWForm1::WriteProject() {
    if (ProjectIniPath.empty())
        return true; // no project was read: nothing to remember
    std::vector<app::OpenFileEntry> entries;
    for (TWFMform* w : WaveWindows())
        if (auto e = listedEntry(*w))
            entries.push_back(std::move(*e));
    const app::ProjectValues values{workspace::FileTypeCode(GlobalFileType), TransferSettings,
                                    expressionText()};
    if (writeProjectFile(HomeDir, ProjectIniPath, app::formatProjectSettings(entries, values)))
        return true;
    platform::errorBox(
        common::cformat("Unable to write to\n%s\nConfiguration not saved", ProjectIniPath.c_str()), false);
    return false;
}

// ---- New Project and Open Project ---------------------------------------------------------

// After a switch the dialogs, the status lines and the type label show the new project.
void TPWForm1::ShowProjectLoaded() {
    LoadExpressionLibrary();
    PushSettingsToDialogs();
    ShowDownloadInfo();
    ShowUploadInfo();
    ShowDefaultFileType();
}

bool TPWForm1::LeaveProject() {
    if (!QueryCloseAll())
        return false;
    WriteProject();
    return CloseQueriedWindows();
}

void TPWForm1::NewProject1Click() {
    auto& d = NewProjectDialog;
    setUpProjectDialog(d, "Create new project", HomeDir);
    d.overwritePrompt = false; // an existing project is refused below, with our own message
    d.fileMustExist = false;
    if (!platform::ui().saveFile(d))
        return;
    const auto chosen = workspace::chosenProject(d.fileName);
    if (!chosen)
        return;
    const std::string marker = workspace::projectPaths(chosen->folder, chosen->name).ProjectMarkerFile;
    if (fileExists(d.fileName) || fileExists(marker)) {
        platform::errorBox(common::cformat("The project\n%s\nalready exists", d.fileName.c_str()), false);
        return;
    }
    if (!LeaveProject())
        return;
    platform::ensureDir(platform::joinPath(chosen->folder, "WAVES/"));
    HomeDir = chosen->folder;
    PrjFile = chosen->name;
    WriteGlobalSettings();
    WriteNewProjectFile();
    // A new project has no settings file yet: the current settings carry over into it.
    ReadProject();
    // A new, empty expression library (an old file of that name is emptied).
    platform::writeFileAtomically(workspace::projectPaths(HomeDir, PrjFile).ExpressionLibrary, {});
    ShowProjectLoaded();
}

void TPWForm1::OpenProject1Click() {
    auto& d = OpenFileDialog;
    setUpProjectDialog(d, "Open project", HomeDir);
    d.fileMustExist = true;
    if (!platform::ui().openFile(d))
        return;
    const auto chosen = workspace::chosenProject(d.fileName);
    if (!chosen)
        return;
    if (!LeaveProject())
        return;
    HomeDir = chosen->folder;
    PrjFile = chosen->name;
    WriteGlobalSettings();
    // A project without settings keeps the current ones.
    ReadProject();
    ShowProjectLoaded();
}
