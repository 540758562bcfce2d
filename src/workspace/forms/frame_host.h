#pragma once
// What the forms below the app layer may ask of the frame. The frame implements it and
// installs itself as the one host when it is built; the waveform window and the dialogs
// reach the frame only through here, so they never depend on the frame itself.
//
// The fields are the frame's state that forms read and set directly (the file types of Open
// and Save, the close-by-name flags, the sample range, the folders).

#include "workspace/core/file_types.h"

#include <string>
#include <string_view>
#include <vector>

class QWidget;
class TWFMform;

class TFrameHost {
public:
    // ---- shared state ---------------------------------------------------------------
    plotwell::workspace::WaveFileType GlobalFileType = plotwell::workspace::WaveFileType::None;
    plotwell::workspace::WaveFileType OpenType = plotwell::workspace::WaveFileType::None;
    plotwell::workspace::WaveFileType SaveType = plotwell::workspace::WaveFileType::None;
    int SampleMin = 0, SampleMax = 0;
    std::string CloseName;
    bool ClosingNamed = false;
    bool SaveCancelled = false;
    // The folders the save dialog starts in, by file type.
    std::string WaveCadDir;
    std::string Gs2020Dir;
    std::string ZeloDir;
    std::string TdsDir;
    std::string WavesDir;
    std::string PatternsDir;
    // The folder a file dialog of a type starts in; empty for none.
    const std::string& FolderPath(plotwell::workspace::FileFolder folder) const;

    // ---- windows --------------------------------------------------------------------
    // Waveform windows in creation (MDI) order.
    virtual std::vector<TWFMform*> WaveWindows() const = 0;
    virtual void ActivateWaveWindow(TWFMform* w) = 0;
    // A new waveform window; it becomes CurrentWaveWindow.
    virtual TWFMform* CreateWaveWindow() = 0;
    // The window an operation acts on: CurrentWaveWindow, else the active window.
    virtual TWFMform* DriverTarget() const = 0;
    // Closes every other window showing CloseName, without their questions.
    virtual void CloseWindowsNamed(TWFMform* closing) = 0;
    // The frame's own window, the parent for tool windows that float above it.
    virtual QWidget* FrameWidget() = 0;

    // ---- status panel ---------------------------------------------------------------
    virtual void ShowCursorInfo(const std::string& name, int start, bool normalised, int count,
                                float startValue, float endValue, int end, int bitPattern = -1) = 0;
    virtual void ClearCursorInfo() = 0;
    virtual int FindSampleRange() = 0;
    // A short note in the transfer status window, hidden again after `ms`.
    virtual void ShowStatusNote(const std::string& text, int ms) = 0;

    // ---- the frame's file commands, run from the window's own File items ---------------
    virtual void New1Click() = 0;
    virtual void Open1Click() = 0;
    virtual void Exit1Click() = 0;
    virtual void OpenInternalClick() = 0;
    virtual void OpenNormalisedClick() = 0;
    virtual void OpenWaveCADwavClick() = 0;
    virtual void OpenWaveCADascClick() = 0;
    virtual void OpenTektronixClick() = 0;
    virtual void TypeInternalClick() = 0;
    virtual void TypeNormalisedClick() = 0;
    virtual void TypeWaveCADwavClick() = 0;
    virtual void TypeWaveCADascClick() = 0;
    virtual void TypeTektronixClick() = 0;
    virtual void SetOpenDialogName(const std::string& name) = 0;

    // ---- what loading and saving need from the frame -----------------------------------
    virtual bool LoadZeloDtaChannels(TWFMform* first, std::string_view bytes, const std::string& name) = 0;
    virtual bool LoadZeloDacChannels(TWFMform* first, std::string_view bytes, const std::string& name) = 0;
    virtual void MarkOverwritten(const std::string& name, int flag, int index, TWFMform* saved = nullptr) = 0;
    // The WaveCAD form that suits the download instrument of the transfer settings.
    virtual plotwell::workspace::WaveCadForm DownloadWaveCadForm() const = 0;

    // ---- the window's commands that the frame's menus and dialogs carry out -----------
    // The new-waveform set-up on CurrentWaveWindow; the set-up form keeps its answer.
    virtual void NewWaveformSetup() = 0;
    // Select limits on `w` (right button, Edit > Select Limits).
    virtual void SelectLimits(TWFMform& w) = 0;
    // The items that depend on the kind of `w` (waveform or bit pattern).
    virtual void UpdateTypeMenus(TWFMform& w) = 0;
    // The View items (Zoom area, Zoom out, Zoom full) follow `w`'s state when `w` is active.
    virtual void UpdateZoomAreaItem(TWFMform& w) = 0;

protected:
    TFrameHost() = default;
    ~TFrameHost() = default;
};

// The frame, once it has been built; null before and after.
extern TFrameHost* FrameHost;
// The waveform window that the frame last created or targeted.
extern TWFMform* CurrentWaveWindow;
// The main frame takes the focus back (after a zoom or a pan), so its shortcuts work.
void FocusFrame();
