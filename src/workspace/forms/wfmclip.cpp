// The window's clipboard commands: Copy, Cut, and Paste into an empty window. The picture on
// the clipboard is drawn with a layout of its own, so the window's mouse mapping stays as
// its last paint left it.

#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/canvas_painter.h"
#include "platform/clipboard.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/clipboard_numbers.h"
#include "workspace/core/picture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

using namespace plotwell;

QByteArray TWFMform::PictureSvg() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(workspace::kPictureWidth, workspace::kPictureHeight));
    svg.setViewBox(QRect(0, 0, workspace::kPictureWidth, workspace::kPictureHeight));
    svg.setResolution(96);
    svg.setTitle(platform::toQString(Caption()));
    QPainter p(&svg);
    p.setFont(AxisLabelFont());
    platform::PainterCanvas canvas(p);
    workspace::GraphInput in = GraphData();
    in.bitPattern = false;
    workspace::drawClipboardPicture(canvas, workspace::pictureLayout(width(), height()), in, Caption());
    p.end();
    return buffer.data();
}

bool TWFMform::Copy1Click() {
    if (!Doc.SampleStream || Doc.SampleStream->byteLength() < 4) {
        platform::errorBox(common::cformat("%s\nThere is no waveform data to\ncopy to the clipboard.",
                                           Doc.WaveName.c_str()));
        return false;
    }
    platform::BusyCursor busy;
    Doc.NormaliseSelection();
    std::string text;
    const auto codes = Doc.SampleStream->codes().subspan(
        std::size_t(Doc.SelectionStart), std::size_t(Doc.SelectionEnd) - std::size_t(Doc.SelectionStart) + 1);
    workspace::appendCopyText(codes, Doc.SampleStream->reference(), text);
    platform::setClipboard(text, PictureSvg(), grab().toImage());
    return true;
}

void TWFMform::Cuttoclipboard1Click() {
    if (!Copy1Click())
        return;
    const SampleStreamType saved = *Doc.SampleStream;
    const int32_t oldEnd = Doc.SelectionEnd;
    // Fewer points may pull the view in or end the zoom; Cancel puts both views back.
    const auto oldView = ZoomedView();
    const auto oldSavedView = SavedView;
    // The reference word, the points before the selection, the points after it.
    std::vector<uint16_t> kept;
    const auto codes = saved.codes();
    kept.reserve(codes.size() - (std::size_t(Doc.SelectionEnd) - std::size_t(Doc.SelectionStart) + 1));
    kept.insert(kept.end(), codes.begin(), codes.begin() + Doc.SelectionStart);
    kept.insert(kept.end(), codes.begin() + Doc.SelectionEnd + 1, codes.end());
    Doc.SampleStream->assign(saved.reference(), kept);
    // The selection becomes the point that now follows the cut (or the last one).
    Doc.SelectionEnd = Doc.SelectionStart;
    LengthChanged();
    update();
    PublishStatus();
    const auto answer = platform::ui().message(common::cformat("Cut from %s", Caption().c_str()),
                                               platform::Icon::Question, platform::ButtonsOkCancel, false);
    if (answer == platform::Answer::Ok) {
        MarkSamplesChanged();
        return;
    }
    *Doc.SampleStream = saved;
    Doc.SelectionEnd = oldEnd;
    if (oldView) {
        SetView(*oldView);
        SavedView = oldSavedView;
        ShowOverview();
    }
    update();
    PublishStatus();
}

void TWFMform::PasteFromClipboard() {
    workspace::ClipboardWaveform got;
    {
        platform::BusyCursor busy;
        got = workspace::clipboardWaveform(platform::clipboardText(workspace::kMaxClipboardText + 1));
    }
    using Status = workspace::ClipboardWaveform::Status;
    if (got.status == Status::TooFew) {
        platform::errorBox(
            common::cformat("%s\nNo waveform data was\nfound on the clipboard.", Doc.WaveName.c_str()));
        return;
    }
    if (const char* refusal = got.refusal()) {
        platform::errorBox(Doc.WaveName + "\n" + refusal);
        return;
    }
    Doc.SampleStream = std::make_unique<SampleStreamType>(std::move(got.samples));
    Doc.WaveName = "Clipboard data  (Not Stored)";
    SetCaption(Doc.WaveName);
    Doc.SelectionStart = 0;
    Doc.SelectionEnd = Doc.PointCount() - 1;
    ShadeStartX = ShadeEndX = 0;
    Doc.GenerationHistory.clear();
    Doc.SaveState = 1;
    Doc.FileType = workspace::WaveFileType::NotFromFile;
    LengthChanged();
    update();
}
