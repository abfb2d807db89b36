// The settings loader on outside text: the input is the settings file, and loading it gives
// either the stored table or the default one with a clear refusal (quill::Failure); either
// way the table has rows afterwards.
#include <sys/stat.h>
#include <utime.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QSettings>

#include "FuzzSupport.h"
#include "model/CategoryState.h"
#include "model/MemoryCategoryTree.h"
#include "model/SettingsStore.h"
#include "shell/Failure.h"

namespace {

std::string g_file;

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(*argc, *argv);
    qInstallMessageHandler(Quiet);
    // A private configuration folder for the whole run.
    char folder[] = "/tmp/quill-fuzz-settings-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    setenv("XDG_CONFIG_HOME", folder, 1);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromLocal8Bit(folder));
    g_file = quill::SettingsStore().FilePath().toStdString();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(g_file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // QSettings keeps parsed files and reads one again only when its size or time changed;
    // every input gets a time of its own.
    static long stamp = 1'000'000'000;
    const utimbuf times{++stamp, stamp};
    utime(g_file.c_str(), &times);

    quill::AppState state;
    quill::MemoryCategoryTree tree;
    quill::IncomeTexts incomes;
    quill::SettingsStore store;
    try {
        quill::model::LoadCategoryState(state, tree, incomes, store,
                                        quill::model::CategorySource::Stored);
    } catch (const quill::Failure&) {
        // Refused: the default table was loaded instead.
    }
    FUZZ_CHECK(!state.categories.empty());
    return 0;
}
