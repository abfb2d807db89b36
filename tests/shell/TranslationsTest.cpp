// The translation catalogs: every text the sources translate has a translation in every
// language, none is empty or left unfinished, each keeps the English text's placeholders,
// and each language's catalogs load for the users who speak it.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "shell/Translations.h"
#include "support/ExternalPrograms.h"

namespace {

// The placeholders of a text, sorted: "%1", "%2", "%n"... A translation may move them but
// must keep each one, or the message would lose (or repeat) what is put in.
QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(?:L?[0-9]{1,2}|n)"));
    QStringList found;
    for (const auto& match : placeholder.globalMatch(text)) found << match.captured();
    found.sort();
    return found;
}

struct Message {
    QString context;
    QString source;
    bool numerus = false;      // translated once per plural form
    QString type;              // "unfinished", "vanished", "obsolete" or empty
    QStringList translations;  // one, or one per plural form
};

std::vector<Message> ReadCatalog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            messages.push_back(
                {context, {}, xml.attributes().value(QLatin1String("numerus")) == u"yes", {}, {}});
        } else if (messages.empty()) {
            continue;
        } else if (name == u"source") {
            messages.back().source = xml.readElementText();
        } else if (name == u"translation") {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            if (!messages.back().numerus) {
                messages.back().translations << xml.readElementText();
            }
        } else if (name == u"numerusform") {
            messages.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

}  // namespace

// The catalogs are brought up to date with the sources in a scratch copy: a text added to
// the sources without a translation shows there as unfinished.
TEST(Translations, EveryTextOfTheSourcesHasAFullTranslationInEveryLanguage) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const auto update = quill::test::RunProgram(
        QStringLiteral(QUILL_CMAKE_COMMAND),
        {QStringLiteral("-DLUPDATE=" QUILL_LUPDATE),
         QStringLiteral("-DOUTPUT_DIR=") + scratch.path(), QStringLiteral("-P"),
         QStringLiteral(QUILL_SOURCE_DIR "/translations/update.cmake")});
    ASSERT_EQ(update.exitCode, 0) << update.err.toStdString();

    const QStringList catalogs = QDir(scratch.path()).entryList({QStringLiteral("*.ts")});
    ASSERT_EQ(catalogs.size(), 9);
    QStringList problems;
    for (const QString& catalog : catalogs) {
        const auto messages = ReadCatalog(scratch.filePath(catalog));
        EXPECT_FALSE(messages.empty()) << catalog.toStdString();
        for (const Message& message : messages) {
            if (message.type == u"vanished" || message.type == u"obsolete") continue;
            const QString where =
                QStringLiteral("%1 %2: \"%3\"").arg(catalog, message.context, message.source);
            if (message.type == u"unfinished") {
                problems << where + QStringLiteral(" is not translated");
                continue;
            }
            for (const QString& translation : message.translations) {
                if (translation.trimmed().isEmpty()) {
                    problems << where + QStringLiteral(" has an empty translation");
                } else if (Placeholders(translation) != Placeholders(message.source)) {
                    problems << QStringLiteral("%1 has the placeholders %2 in \"%3\"")
                                    .arg(where, Placeholders(translation).join(u','), translation);
                }
            }
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

TEST(Translations, TheDesktopsLanguageChoosesTheCatalogs) {
    const struct {
        const char* locale;
        const char* language;
    } cases[] = {
        {"de_DE", "de"}, {"de_CH", "de"}, {"de_AT", "de"}, {"fr_FR", "fr"},
        {"fr_CA", "fr"}, {"es_ES", "es"}, {"es_MX", "es"}, {"en_US", ""},
        {"en_GB", ""},   {"C", ""},       {"ja_JP", ""},   {"pt_BR", ""},
    };
    for (const auto& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(quill::shell::LanguageFor(locale), QString::fromLatin1(c.language)) << c.locale;
        for (const auto program :
             {quill::shell::Program::Windows, quill::shell::Program::Companion}) {
            const quill::shell::Translations translations(program, locale);
            EXPECT_EQ(translations.Language(), QString::fromLatin1(c.language)) << c.locale;
        }
    }
    // Every compiled catalog is in the program and holds texts.
    for (const QString& catalog :
         {QStringLiteral("common"), QStringLiteral("windows"), QStringLiteral("companion")}) {
        for (const QString& language : quill::shell::TranslatedLanguages()) {
            QTranslator translator;
            EXPECT_TRUE(translator.load(catalog + u'_' + language, QStringLiteral(":/i18n")))
                << catalog.toStdString() << ' ' << language.toStdString();
            EXPECT_FALSE(translator.isEmpty())
                << catalog.toStdString() << ' ' << language.toStdString();
        }
    }
}
