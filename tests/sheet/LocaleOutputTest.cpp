// The files the companion writes have the same bytes in every locale the user may run it
// under: a decimal comma (de_DE, fr_FR) or a dotless i (tr_TR) never reaches a file.
#include <gtest/gtest.h>

#include <locale.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

bool Installed(const QString& locale) {
    const locale_t made = ::newlocale(LC_ALL_MASK, locale.toLatin1().constData(), locale_t{});
    if (made == locale_t{}) return false;
    ::freelocale(made);
    return true;
}

TEST(LocaleOutput, EveryFormatHasTheBytesOfTheCLocale) {
    const ScratchConfig config;
    const QTemporaryDir dir;
    // The default budget: its widths, heights and margins have decimals.
    auto write = [&](const QString& locale, const QString& ending) {
        const QString path = QDir(dir.path()).filePath(locale + ending);
        // The language stays English: the sheet's captions follow it, the bytes of its
        // numbers must not follow the locale.
        QProcessEnvironment env = InLocale(locale);
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        const ProcessResult run = RunProgramIn(env, CompanionProgram(), {"--defaults", "-o", path});
        EXPECT_TRUE(run.ok) << locale.toStdString() << ending.toStdString() << ": "
                            << run.err.toStdString();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    for (const QString& ending :
         {QStringLiteral(".xls"), QStringLiteral(".xlsx"), QStringLiteral(".pdf")}) {
        SCOPED_TRACE(ending.toStdString());
        const QByteArray inC = write(QStringLiteral("C"), ending);
        ASSERT_FALSE(inC.isEmpty());
        for (const QString& locale : {QStringLiteral("de_DE.UTF-8"), QStringLiteral("fr_FR.UTF-8"),
                                      QStringLiteral("tr_TR.UTF-8")}) {
            // A missing locale is a fault of the machine's set-up, which scripts/setup makes.
            ASSERT_TRUE(Installed(locale))
                << locale.toStdString() << " is not installed; run scripts/setup";
            EXPECT_TRUE(write(locale, ending) == inC) << locale.toStdString();
        }
    }
}

}  // namespace
}  // namespace quill::test
