// The windows in German, French and Spanish: every text they show or give to assistive
// technology comes from the windows' catalog for the language (a text looked up under the
// wrong context would stay English), the Alt keys stay unique in each window, and without a
// translation the English texts come back unchanged.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include "editor/EditorFixture.h"
#include "editor/HelpWindow.h"
#include "editor/RowNameDialog.h"
#include "preview/SheetPreviewWindow.h"
#include "shell/Translations.h"

namespace quill::editor {
namespace {

// A catalog's messages as pairs of English text and translation, each turned into a pattern
// in which a placeholder ("%1") stands for any text.
struct CatalogEntry {
    QRegularExpression source;
    QRegularExpression translation;
    bool same;  // the translation reads as the English text ("OK", "Zoom:")
};

QRegularExpression PatternOf(const QString& text) {
    QString pattern = QRegularExpression::escape(text);
    pattern.replace(QRegularExpression(QStringLiteral(R"(\\%[0-9])")), QStringLiteral("(.*)"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

std::vector<CatalogEntry> ReadWindowsCatalog(const QString& language) {
    QFile file(QStringLiteral(QUILL_SOURCE_DIR "/translations/windows_%1.ts").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QXmlStreamReader xml(&file);
    std::vector<CatalogEntry> entries;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"source") source = xml.readElementText();
        if (xml.name() == u"translation") {
            const QString translation = xml.readElementText();
            entries.push_back({PatternOf(source), PatternOf(translation), translation == source});
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

// Every text of a window and its controls, by where it is shown: the captions, titles, tool
// tips and the names and descriptions that screen readers read.
using Texts = std::map<QString, QString>;

void Collect(Texts& texts, const QString& where, const char* what, const QString& text) {
    if (!text.isEmpty()) texts[where + QLatin1String(what)] = text;
}

Texts TextsOf(QWidget& window) {
    Texts texts;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        const QString where =
            QStringLiteral("%1 %2 #%3 ")
                .arg(QLatin1String(widget->metaObject()->className()), widget->objectName())
                .arg(i);
        if (widget->isWindow()) Collect(texts, where, "title", widget->windowTitle());
        Collect(texts, where, "tool tip", widget->toolTip());
        Collect(texts, where, "name", widget->accessibleName());
        Collect(texts, where, "description", widget->accessibleDescription());
        if (const auto* button = qobject_cast<QAbstractButton*>(widget))
            Collect(texts, where, "caption", button->text());
        if (const auto* label = qobject_cast<QLabel*>(widget))
            Collect(texts, where, "caption", label->text());
        if (const auto* frame = qobject_cast<QGroupBox*>(widget))
            Collect(texts, where, "caption", frame->title());
        if (const auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            for (int column = 0; column < tree->columnCount(); ++column)
                Collect(texts, where + QStringLiteral("column %1 ").arg(column), "heading",
                        tree->headerItem()->text(column));
            // A group and a row as screen readers hear them.
            if (QTreeWidgetItem* group = tree->topLevelItem(0)) {
                Collect(texts, where, "group",
                        group->data(0, Qt::AccessibleDescriptionRole).toString());
                if (group->childCount() > 0)
                    Collect(texts, where, "row",
                            group->child(0)->data(0, Qt::AccessibleDescriptionRole).toString());
            }
        }
    }
    return texts;
}

// The Alt keys the window's captions mark with "&": each may mark only one command.
QStringList RepeatedAltKeys(QWidget& window) {
    QStringList seen;
    QStringList repeated;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (widget->window() != &window) continue;
        QString caption;
        if (const auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
        if (const auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
        const QString key = QKeySequence::mnemonic(caption).toString();
        if (key.isEmpty()) continue;
        if (seen.contains(key)) repeated << key + QLatin1Char(' ') + caption;
        seen << key;
    }
    return repeated;
}

class TranslatedWindowsTest : public test::EditorFixture {
  protected:
    // The texts of the editor (after an insert, so that Undo names it), the row-name dialog,
    // the Help window and the preview, in the language installed now.
    Texts ShownTexts() {
        Start();
        ShowActive();
        Tree().setCurrentItem(Tree().topLevelItem(0));
        nextRowName = QStringLiteral("Savings");
        Click("PushButton2");
        Texts texts = Prefixed(u"editor", *form);
        QString name;
        RowNameDialog dialog(prompt, name);
        texts.merge(Prefixed(u"row name", dialog));
        HelpWindow help(prompt, store->FilePath());
        texts.merge(Prefixed(u"help", help));
        preview::SheetPreviewWindow preview(prompt);
        preview.SetEndProgram([] {});
        texts.merge(Prefixed(u"preview", preview));
        repeatedAltKeys = RepeatedAltKeys(*form) + RepeatedAltKeys(dialog) + RepeatedAltKeys(help) +
                          RepeatedAltKeys(preview);
        form.reset();
        return texts;
    }
    static Texts Prefixed(QStringView window, QWidget& widget) {
        Texts texts;
        for (const auto& [where, text] : TextsOf(widget))
            texts[window.toString() + u' ' + where] = text;
        return texts;
    }
    QStringList repeatedAltKeys;
};

TEST_F(TranslatedWindowsTest, EveryTextComesFromTheLanguagesCatalogAndEnglishComesBack) {
    const Texts english = ShownTexts();
    EXPECT_TRUE(repeatedAltKeys.isEmpty()) << repeatedAltKeys.join(u", ").toStdString();
    ASSERT_GT(english.size(), 50u);
    for (const char* code : {"de", "fr", "es"}) {
        const QString language = QLatin1String(code);
        SCOPED_TRACE(language.toStdString());
        const std::vector<CatalogEntry> catalog = ReadWindowsCatalog(language);
        ASSERT_FALSE(catalog.empty());
        Texts translated;
        {
            const shell::Translations translations(shell::Program::Windows, QLocale(language));
            ASSERT_EQ(translations.Language(), language);
            translated = ShownTexts();
        }
        EXPECT_TRUE(repeatedAltKeys.isEmpty()) << repeatedAltKeys.join(u", ").toStdString();
        ASSERT_EQ(translated.size(), english.size());
        int differing = 0;
        for (const auto& [where, englishText] : english) {
            SCOPED_TRACE(where.toStdString() + ": " + englishText.toStdString());
            const QString shown = translated[where];
            // The catalog's messages that give this English text: the shown text must be the
            // translation of one of them, and differ from the English where that one does.
            bool fromCatalog = false;
            bool known = false;
            bool translatesTheSame = false;
            for (const CatalogEntry& entry : catalog) {
                if (!entry.source.match(englishText).hasMatch()) continue;
                known = true;
                if (entry.translation.match(shown).hasMatch()) {
                    fromCatalog = true;
                    translatesTheSame = translatesTheSame || entry.same;
                }
            }
            if (!known) {
                // Not a translated text: the program's name, a number.
                EXPECT_EQ(shown, englishText);
                continue;
            }
            EXPECT_TRUE(fromCatalog) << shown.toStdString();
            if (!translatesTheSame) {
                EXPECT_NE(shown, englishText);
            }
            if (shown != englishText) ++differing;
        }
        EXPECT_GT(differing, static_cast<int>(english.size()) * 3 / 4);
    }
    // With the translations gone, the windows speak English as before.
    EXPECT_EQ(ShownTexts(), english);
}

}  // namespace
}  // namespace quill::editor
