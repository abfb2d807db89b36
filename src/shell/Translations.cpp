#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quill::shell {

namespace {

const QString kCatalogFolder = QStringLiteral(":/i18n");

// The catalog of the program's own texts; the common one holds those both programs show.
QString OwnCatalogOf(Program program) {
    return program == Program::Windows ? QStringLiteral("windows") : QStringLiteral("companion");
}

QStringList CatalogsOf(Program program) {
    return {QStringLiteral("common"), OwnCatalogOf(program)};
}

}  // namespace

QStringList TranslatedLanguages() {
    return {QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es")};
}

QString LanguageFor(const QLocale& locale) {
    const QStringList translated = TranslatedLanguages();
    for (const QString& tag : locale.uiLanguages()) {
        // "de-CH" and "de" both speak German; "C" and "en-US" English.
        const QString language = tag.section(u'-', 0, 0).toLower();
        if (language == u"c" || language == u"en") return {};
        if (translated.contains(language)) return language;
    }
    return {};
}

QString TranslatedBeforeStart(Program program, const char* context, const char* text) {
    const QString language = LanguageFor(QLocale::system());
    QTranslator catalog;
    if (!language.isEmpty() &&
        catalog.load(OwnCatalogOf(program) + u'_' + language, kCatalogFolder)) {
        const QString translated = catalog.translate(context, text);
        if (!translated.isEmpty()) return translated;
    }
    return QString::fromUtf8(text);
}

Translations::Translations(Program program, const QLocale& locale)
    : language_(LanguageFor(locale)) {
    if (language_.isEmpty()) return;
    auto install = [this](const QString& name, const QString& folder) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(name + u'_' + language_, folder)) return false;
        QCoreApplication::installTranslator(translator.get());
        translators_.push_back(std::move(translator));
        return true;
    };
    for (const QString& catalog : CatalogsOf(program)) {
        // The catalogs are built into the program, so a missing one is a broken build.
        if (!install(catalog, kCatalogFolder)) {
            qWarning("quillmere: the %s catalog in %s is missing", qPrintable(catalog),
                     qPrintable(language_));
        }
    }
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Translations::~Translations() {
    for (const auto& translator : translators_)
        QCoreApplication::removeTranslator(translator.get());
}

}  // namespace quill::shell
