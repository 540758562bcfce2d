// The generator dialogs' previews on a full-length waveform (1,048,576 points), each with
// its default parameters, as Default runs them: activation, template and generation, with
// the progress window. The harmonics dialog with all sixteen rows is measured beside the
// evaluator alone on the same sum, in the same run. On a shared machine compare the two with
//   --benchmark_filter=Harmonics16 --benchmark_repetitions=9
//   --benchmark_enable_random_interleaving=true
// and read the "_min" lines: the least disturbed run of each.

#include "expr_bench_support.h"

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/scripted_ui.h"
#include "synthesis/forms/Gausswave.h"
#include "synthesis/forms/Harmonics.h"
#include "synthesis/forms/Noisewave.h"
#include "synthesis/forms/Sinc.h"
#include "synthesis/forms/Triangle.h"
#include "synthesis/forms/cardiac.h"
#include "synthesis/forms/expwave.h"
#include "synthesis/forms/pulse.h"
#include "synthesis/forms/sinewave.h"
#include "synthesis/forms/square.h"
#include "workspace/forms/wfmchild.h"

#include "app_bench_main.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>
#include <vector>

using namespace plotwell;
using bench::kPoints;

namespace {

// The application with one full-length 16-bit window, prepared as a driver prepares a
// request for `dialog`.
struct Bench {
    Bench() {
        CreateApplicationForms();
        PWForm1->show();
        PWForm1->FormActivate();
        PWForm1->New1Click();
        w = CurrentWaveWindow;
        w->Doc.SampleStream =
            std::make_unique<TWFMform::SampleStreamType>(32768, std::size_t(kPoints), 32768);
        w->Doc.FileType = workspace::WaveFileType::Internal;
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = kPoints - 1;
        w->LengthChanged();
    }
    ~Bench() { DestroyApplicationForms(); }
    void prepare(TOperationForm& dialog) {
        dialog.Target = w;
        dialog.SavedSamples = *w->Doc.SampleStream;
        dialog.StartPoint = 0;
        dialog.EndPoint = kPoints - 1;
        dialog.MidCode = 32768;
    }
    platform::ScriptedUi ui; // clipping warnings are recorded, never shown
    TWFMform* w = nullptr;
};

template <class Form> void defaultPreview(benchmark::State& state, Form* const& form) {
    Bench b;
    b.prepare(*form);
    for (auto _ : state)
        form->BDefaultClick();
    if (form->LastError != 0)
        state.SkipWithError("the preview failed");
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_PreviewSine(benchmark::State& s) {
    defaultPreview(s, SineForm);
}
void BM_PreviewTriangle(benchmark::State& s) {
    defaultPreview(s, TriangleForm);
}
void BM_PreviewSquare(benchmark::State& s) {
    defaultPreview(s, SquareForm);
}
void BM_PreviewNoise(benchmark::State& s) {
    defaultPreview(s, NoiseForm);
}
void BM_PreviewPulse(benchmark::State& s) {
    defaultPreview(s, PulseForm);
}
void BM_PreviewSinc(benchmark::State& s) {
    defaultPreview(s, SincForm);
}
void BM_PreviewExponential(benchmark::State& s) {
    defaultPreview(s, ExpForm);
}
void BM_PreviewGaussian(benchmark::State& s) {
    defaultPreview(s, GaussForm);
}
void BM_PreviewCardiac(benchmark::State& s) {
    defaultPreview(s, CardiacForm);
}
BENCHMARK(BM_PreviewSine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewTriangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewSquare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPulse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewSinc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewExponential)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewGaussian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewCardiac)->Unit(benchmark::kMillisecond);

// The evaluator alone on the two slowest default shapes: the floor under their previews.
void BM_EvaluatorTriangle(benchmark::State& s) {
    bench::evaluateAll(s, synthesis::triangleExpression(1.0, 0.0));
}
void BM_EvaluatorGaussian(benchmark::State& s) {
    bench::evaluateAll(s, synthesis::gaussianExpression(false, kPoints / 20));
}
BENCHMARK(BM_EvaluatorTriangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluatorGaussian)->Unit(benchmark::kMillisecond);

// The harmonics dialog's default (one row) and all sixteen rows at amplitudes 1/k and
// phases 10k degrees, as calculated.
void harmonicsPreview(benchmark::State& state, int rows) {
    Bench b;
    THarmonicsForm& h = *HarmonicsForm;
    b.prepare(h);
    h.show(); // the activation
    for (int k = 1; k <= THarmonicsForm::kRows; ++k) {
        h.CheckBox[k - 1]->setChecked(k <= rows);
        h.AmplitudeEdit[k - 1]->setText(common::cformat("%.2f", 1.0 / k).c_str());
        h.PhaseEdit[k - 1]->setText(common::cformat("%.2f", 10.0 * k).c_str());
    }
    for (auto _ : state)
        h.BPreviewClick();
    if (h.LastError != 0 || (rows == 16 && h.GeneratedExpr != bench::harmonics16()))
        state.SkipWithError("not the evaluator's sum");
    h.hide();
    state.SetItemsProcessed(state.iterations() * kPoints);
}
void BM_PreviewHarmonics(benchmark::State& s) {
    harmonicsPreview(s, 1);
}
void BM_PreviewHarmonics16(benchmark::State& s) {
    harmonicsPreview(s, 16);
}
void BM_EvaluatorHarmonics16(benchmark::State& s) {
    bench::evaluateAll(s, bench::harmonics16());
}
double fastest(const std::vector<double>& runs) {
    return *std::min_element(runs.begin(), runs.end());
}
BENCHMARK(BM_PreviewHarmonics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluatorHarmonics16)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_PreviewHarmonics16)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv);
}
