// The wait the user sees: from the click on "Start Creating Template" to the preview's
// first completed paint with the sheet picture, for the default budget, offscreen.
// Target in a Release build: under 40 ms (median).
//
// BM_ZoomStep: one step of the preview's zoom, from the click on Zoom In or Zoom Out to the
// picture's next completed paint, drawn afresh from the workbook at the new factor, over
// the whole range 25 to 150 %. Target in a Release build: under 50 ms (median).
//
// BM_ClickToPreview clicks the real main window, as the user does; each iteration starts
// from a freshly loaded and shown main window, so the preview window is created as on
// the first click of a run. BM_ClickStages goes the same way step by step, through the
// driver's hand-over interface, and reports each stage in milliseconds:
//   driver        the report driver from the click up to the hand-over; of that:
//   generation    build, save, reopen and draw the sheet (the driver less the picture file)
//   picture_file  the temporary picture: written, read back into memory, deleted
//   window        creating the preview window
//   hand_over     the picture handed to the window, and the workbook path
//   show          showing the window: its preparation, with the scaling, and the bars
//   scaling       of that, the repaint of the picture at factor 1.0
//   first_paint   the first paint of the window with the picture
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

#include "BenchInputs.h"
#include "WindowBenchMain.h"
#include "bridge/PictureFile.h"
#include "bridge/SpreadsheetProvider.h"
#include "editor/CategoryEditorWindow.h"
#include "model/Amounts.h"
#include "model/AppState.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "sheet/ReportDriver.h"
#include "shell/TempFolder.h"

namespace {

using namespace quill;
using editor::CategoryEditorServices;
using editor::CategoryEditorWindow;
using preview::PictureBox;
using preview::SheetPreviewWindow;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Notes when a picture box that holds a picture has received its paint event.
class PaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("Picture1")) {
            const auto* box = qobject_cast<PictureBox*>(watched);
            if (box != nullptr && !box->Picture().isNull()) painted = true;
        }
        return false;
    }
};

// Runs the event loop until the watched paint has been delivered; the paint is complete
// when processEvents returns. False when no paint came.
bool UntilPainted(PaintWatch& watch) {
    for (int round = 0; round < 1000 && !watch.painted; ++round)
        QApplication::processEvents(QEventLoop::AllEvents);
    return watch.painted;
}

void BM_ClickToPreview(benchmark::State& state) {
    TempFolder temp;
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    for (auto _ : state) {
        state.PauseTiming();
        AppState appState;
        SettingsStore store;
        auto form = std::make_unique<CategoryEditorWindow>(
            CategoryEditorServices{appState, prompt, store, provider, temp});
        form->Load();
        form->show();
        form->activateWindow();
        QApplication::processEvents();
        auto* start = form->findChild<QPushButton*>(QStringLiteral("PushButton22"));
        watch.painted = false;
        state.ResumeTiming();

        start->click();
        const bool painted = UntilPainted(watch);

        state.PauseTiming();
        if (!painted || prompt.errors != 0 || form->Preview() == nullptr) {
            state.SkipWithError("no preview picture, or an error was reported");
            break;
        }
        QFile::remove(form->Preview()->WorkbookPath());
        form->Preview()->SetEndProgram({});
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    qApp->removeEventFilter(&watch);
}
BENCHMARK(BM_ClickToPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hand-over as the main window does it, timing each call.
class TimedHandover : public sheet::ReportHandover {
  public:
    explicit TimedHandover(Prompt& prompt) : prompt_(prompt) {}
    Clock::time_point reached;  // the driver's hand-over began
    double window = 0, handOver = 0, show = 0;
    std::unique_ptr<SheetPreviewWindow> preview;

    void LoadPicture(const QImage& picture) override {
        reached = Clock::now();
        preview = std::make_unique<SheetPreviewWindow>(prompt_);
        preview->SetEndProgram({});
        const Clock::time_point created = Clock::now();
        preview->LoadPicture(picture);
        const Clock::time_point loaded = Clock::now();
        window = Milliseconds(reached, created);
        handOver = Milliseconds(created, loaded);
    }
    void SetWorkbookPath(const QString& path) override {
        const Clock::time_point from = Clock::now();
        preview->SetWorkbookPath(path);
        handOver += Milliseconds(from, Clock::now());
    }
    void ShowPreview() override {
        const Clock::time_point from = Clock::now();
        preview->show();
        preview->raise();
        preview->activateWindow();
        show = Milliseconds(from, Clock::now());
    }
    void HideMainWindow() override {}

  private:
    Prompt& prompt_;
};

// The temporary picture's round trip, as the driver makes it.
double PictureFileMilliseconds(const QImage& picture, const QString& path) {
    const Clock::time_point from = Clock::now();
    bridge::SavePictureFile(picture, path);
    const bool ok = !bridge::ReadPicture(path).isNull() && QFile::remove(path);
    const Clock::time_point to = Clock::now();
    return ok ? Milliseconds(from, to) : -1;
}

void BM_ClickStages(benchmark::State& state) {
    const CategoryTable table = model::DefaultCategorySet();
    const sheet::ReportInputs inputs{table, bench::Incomes(), model::WorkbookPalette()};
    QTemporaryDir dir;
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    double driver = 0, generation = 0, pictureFile = 0, window = 0, handOver = 0, show = 0,
           scaling = 0, firstPaint = 0;
    for (auto _ : state) {
        TimedHandover handover(prompt);
        watch.painted = false;
        sheet::ReportEnvironment env{provider, prompt, dir.path(), &handover, {}, true};
        const Clock::time_point clicked = Clock::now();
        const QString workbook = sheet::GenerateReport(inputs, env);
        const Clock::time_point handedOver = Clock::now();
        const bool painted = UntilPainted(watch);
        const Clock::time_point paintDone = Clock::now();
        if (!painted || prompt.errors != 0 || !handover.preview) {
            state.SkipWithError("no preview picture, or an error was reported");
            break;
        }

        // Outside the flow: the picture file's share of the driver's time, and one repaint
        // at factor 1.0 (zooming out and back in), which is the scaling of the preparation.
        state.PauseTiming();
        const double file = PictureFileMilliseconds(
            handover.preview->findChild<PictureBox*>(QStringLiteral("Zoom_Ori"))
                ->Picture()
                .toImage(),
            sheet::PicturePath(dir.path()));
        auto* zoomIn = handover.preview->findChild<QPushButton*>(QStringLiteral("PushButton1"));
        auto* zoomOut = handover.preview->findChild<QPushButton*>(QStringLiteral("PushButton2"));
        zoomOut->click();
        const Clock::time_point zoomFrom = Clock::now();
        zoomIn->click();
        scaling += Milliseconds(zoomFrom, Clock::now());
        QFile::remove(workbook);
        handover.preview.reset();
        QApplication::processEvents();
        state.ResumeTiming();

        const double untilHandOver = Milliseconds(clicked, handover.reached);
        driver += untilHandOver;
        pictureFile += file;
        generation += untilHandOver - file;
        window += handover.window;
        handOver += handover.handOver;
        show += handover.show;
        firstPaint += Milliseconds(handedOver, paintDone);
    }
    qApp->removeEventFilter(&watch);
    const auto average = [&](double total) {
        return benchmark::Counter(total / static_cast<double>(state.iterations()));
    };
    state.counters["driver"] = average(driver);
    state.counters["generation"] = average(generation);
    state.counters["picture_file"] = average(pictureFile);
    state.counters["window"] = average(window);
    state.counters["hand_over"] = average(handOver);
    state.counters["show"] = average(show);
    state.counters["scaling"] = average(scaling);
    state.counters["first_paint"] = average(firstPaint);
}
BENCHMARK(BM_ClickStages)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZoomStep(benchmark::State& state) {
    const CategoryTable table = model::DefaultCategorySet();
    const sheet::ReportInputs inputs{table, bench::Incomes(), model::WorkbookPalette()};
    QTemporaryDir dir;
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    TimedHandover handover(prompt);
    sheet::ReportEnvironment env{provider, prompt, dir.path(), &handover, {}, true};
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    const QString workbook = sheet::GenerateReport(inputs, env);
    if (!handover.preview || !UntilPainted(watch)) {
        state.SkipWithError("no preview picture");
        return;
    }
    auto* zoomIn = handover.preview->findChild<QPushButton*>(QStringLiteral("PushButton1"));
    auto* zoomOut = handover.preview->findChild<QPushButton*>(QStringLiteral("PushButton2"));
    // Up to 150 %, down to 25 % and back to 100 %: every factor of the range.
    const std::array<QPushButton*, 10> steps = {zoomIn,  zoomIn,  zoomOut, zoomOut, zoomOut,
                                                zoomOut, zoomOut, zoomIn,  zoomIn,  zoomIn};
    std::size_t next = 0;
    for (auto _ : state) {
        QPushButton* button = steps[next];
        next = (next + 1) % steps.size();
        watch.painted = false;
        button->click();
        if (!UntilPainted(watch) || prompt.errors != 0) {
            state.SkipWithError("no repaint after the zoom step, or an error was reported");
            break;
        }
    }
    qApp->removeEventFilter(&watch);
    handover.preview.reset();
    QFile::remove(workbook);
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return quill::bench::RunWindowBenchmarks(argc, argv);
}
