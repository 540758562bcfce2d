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
    if (!SampleStream || SampleStream->byteLength() < 4) {
        platform::errorBox(
            common::cformat("%s\nThere is no waveform data to\ncopy to the clipboard.", WaveName.c_str()));
        return false;
    }
    platform::BusyCursor busy;
    NormaliseSelection();
    std::string text;
    const auto codes = SampleStream->codes().subspan(std::size_t(SelectionStart),
                                                     std::size_t(SelectionEnd - SelectionStart + 1));
    workspace::appendCopyText(codes, SampleStream->reference(), text);
    platform::setClipboard(text, PictureSvg(), grab().toImage());
    return true;
}

void TWFMform::Cuttoclipboard1Click() {
    if (!Copy1Click())
        return;
    const SampleStreamType saved = *SampleStream;
    const int32_t oldEnd = SelectionEnd;
    // The reference word, the points before the selection, the points after it.
    std::vector<uint16_t> kept;
    const auto codes = saved.codes();
    kept.reserve(codes.size() - std::size_t(SelectionEnd - SelectionStart + 1));
    kept.insert(kept.end(), codes.begin(), codes.begin() + SelectionStart);
    kept.insert(kept.end(), codes.begin() + SelectionEnd + 1, codes.end());
    SampleStream->assign(saved.reference(), kept);
    // The selection becomes the point that now follows the cut (or the last one).
    SelectionEnd = SelectionStart;
    LengthChanged();
    update();
    PublishStatus();
    const auto answer = platform::ui().message(common::cformat("Cut from %s", Caption().c_str()),
                                               platform::Icon::Question, platform::ButtonsOkCancel, false);
    if (answer == platform::Answer::Ok) {
        MarkSamplesChanged();
        return;
    }
    *SampleStream = saved;
    SelectionEnd = oldEnd;
    update();
    PublishStatus();
}

void TWFMform::PasteFromClipboard() {
    workspace::ClipboardWaveform got;
    {
        platform::BusyCursor busy;
        got = workspace::clipboardWaveform(platform::clipboardText(workspace::kMaxClipboardText - 1));
    }
    using Status = workspace::ClipboardWaveform::Status;
    if (got.status == Status::TooFew) {
        platform::errorBox(
            common::cformat("%s\nNo waveform data was\nfound on the clipboard.", WaveName.c_str()));
        return;
    }
    if (got.status == Status::TooMany) {
        platform::errorBox(WaveName + "\n" + workspace::kTooManyNumbersText);
        return;
    }
    SampleStream = std::make_unique<SampleStreamType>(std::move(got.samples));
    WaveName = "Clipboard data  (Not Stored)";
    SetCaption(WaveName);
    SelectionStart = 0;
    SelectionEnd = PointCount() - 1;
    ShadeStartX = ShadeEndX = 0;
    HistoryCount = 0;
    SaveState = 1;
    FileType = -1;
    LengthChanged();
    update();
}
