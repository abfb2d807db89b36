// The cost of speaking the user's language at start-up, offscreen, in English and German.
// Target in a Release build: German within 10 ms of English (median).
//
// BM_Translations: installing the windowed program's translations (its catalog, the common
// one and Qt's own where the system has them) and removing them again.
// BM_StartToWindow: what the program does from its translations to the shown main window:
// the translations, the window built and loaded (settings, the category tree, the engine
// check), shown and painted once.
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>
#include <QLocale>

#include "BenchInputs.h"
#include "WindowBenchMain.h"
#include "bridge/SpreadsheetProvider.h"
#include "editor/CategoryEditorWindow.h"
#include "model/AppState.h"
#include "model/SettingsStore.h"
#include "shell/TempFolder.h"
#include "shell/Translations.h"

namespace {

using namespace quill;

// Argument 0 is English, 1 German.
QLocale LocaleOf(const benchmark::State& state) {
    return state.range(0) == 0 ? QLocale::c() : QLocale(QStringLiteral("de_DE"));
}

void Label(benchmark::State& state) {
    state.SetLabel(state.range(0) == 0 ? "English" : "German");
}

void BM_Translations(benchmark::State& state) {
    const QLocale locale = LocaleOf(state);
    for (auto _ : state) {
        const shell::Translations translations(shell::Program::Windows, locale);
        benchmark::DoNotOptimize(translations.Language());
    }
    Label(state);
}
BENCHMARK(BM_Translations)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartToWindow(benchmark::State& state) {
    const QLocale locale = LocaleOf(state);
    TempFolder temp;
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    for (auto _ : state) {
        const shell::Translations translations(shell::Program::Windows, locale);
        AppState appState;
        SettingsStore store;
        auto form = std::make_unique<editor::CategoryEditorWindow>(
            editor::CategoryEditorServices{appState, prompt, store, provider, temp});
        if (!form->Load() || prompt.errors != 0) {
            state.SkipWithError("the main window did not load");
            break;
        }
        form->show();
        QApplication::processEvents();
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    Label(state);
}
BENCHMARK(BM_StartToWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return quill::bench::RunWindowBenchmarks(argc, argv);
}
