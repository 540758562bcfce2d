#pragma once
// A small operation dialog for driver tests: its "preview" writes a value into the
// target's selection (or changes the length) and sets Changed, as a real dialog does.

#include "workspace/forms/opdialog.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include "platform/scripted_ui.h"

#include <QLineEdit>
#include <QPushButton>

#include <vector>

#include <memory>
#include <string>

class TTestOpDialog : public TOperationForm {
public:
    explicit TTestOpDialog(const std::vector<const char*>& edits = {}) : TOperationForm("TestOpDialog") {
        for (const char* name : edits) {
            auto* e = new QLineEdit(this);
            plotwell::platform::nameInput(e, name);
            e->setModified(true);
        }
    }
    // Writes `code` into every selected point, as a preview does.
    void preview(uint16_t code) {
        RestoreSnapshot();
        for (int i = Target->Doc.SelectionStart; i <= Target->Doc.SelectionEnd; ++i)
            Target->Doc.SampleStream->setCode(size_t(i), code);
        Changed = 1;
    }
    // Changes the target's length, as a resize or an inserting paste does.
    void resizeTarget(int points) {
        Target->Doc.SampleStream->resize(size_t(points), 0);
        Changed = 1;
    }
    QLineEdit* edit(const char* name) { return findChild<QLineEdit*>(name); }
    int shown = 0;
    int beforeSnapshot = 0;
    bool show_ = true;
    void DriverBeforeSnapshot() override { ++beforeSnapshot; }
    bool DriverBeforeShow() override { return show_; }

protected:
    void FormActivate() override { ++shown; }
};

// Answers the next new-waveform set-up with these fields and Ok (or Cancel).
inline void answerSetUp(plotwell::platform::ScriptedUi& ui, std::string title, std::string length,
                        std::string amplitude = "4096", bool ok = true) {
    ui.onDialog([=](QDialog& d) {
        auto& s = dynamic_cast<TWaveSetup&>(d);
        s.WfmTitle->setText(QString::fromStdString(title));
        s.WfmLen->setText(QString::fromStdString(length));
        if (s.WfmAmpl->isVisible())
            s.WfmAmpl->setText(QString::fromStdString(amplitude));
        (ok ? s.BOk : s.BCancel)->click();
    });
}

// The bytes of a .wfm file: the reference word, then the codes.
inline std::string wfmBytes(uint16_t reference, const std::vector<uint16_t>& codes) {
    plotwell::workspace::SampleStream s;
    s.assign(reference, codes);
    return s.toBytes();
}

// A stored waveform of `points` points, all at value `value`, R = `reference`.
inline void giveData(TWFMform* w, int points, int value = 0, uint16_t reference = 2048,
                     const std::string& name = "/data/waves/wave.wfm") {
    w->Doc.SampleStream = std::make_unique<TWFMform::SampleStreamType>(reference, size_t(points),
                                                                       uint16_t(int(reference) + value));
    w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
    w->Doc.SaveState = 0;
    w->Doc.WaveName = name;
    w->SetCaption(name);
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = points - 1;
}
