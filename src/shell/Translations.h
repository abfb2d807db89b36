// The programs' texts in the user's language. English is the programs' own language; German,
// French and Spanish come from catalogs compiled from translations/*.ts and embedded in the
// programs. The language follows the desktop's interface languages in their order of
// preference (LANGUAGE, then LC_ALL, LC_MESSAGES and LANG): the first one that is English or
// translated wins, so a user who prefers English to German gets English.
//
// Qt's own texts (the buttons of standard dialogs) follow too when the system has Qt's
// translations; without them they stay English.
#pragma once

#include <memory>
#include <vector>

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

namespace quill::shell {

// Which program's catalogs to install: each has the common catalog besides its own.
enum class Program { Windows, Companion };

// The languages the programs are translated into: "de", "fr", "es".
QStringList TranslatedLanguages();

// The language the programs speak to a user of this locale: one of TranslatedLanguages(),
// or an empty text for English.
QString LanguageFor(const QLocale& locale);

// `text` of `context` from the program's own catalog in the desktop's language, or `text`
// itself in English. For texts printed before an application object exists (only an
// application can install translators): a program's --help, or the message that no display
// could be reached.
QString TranslatedBeforeStart(Program program, const char* context, const char* text);

// Installs a program's translations into the running application for as long as it lives.
// Texts translated after it is made come out in the language; a locale whose language is
// English (or has no translation) installs nothing.
class Translations {
  public:
    explicit Translations(Program program, const QLocale& locale = QLocale::system());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language installed, empty for English.
    QString Language() const { return language_; }

  private:
    QString language_;
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

}  // namespace quill::shell
