// The words the sheet writes (captions, labels, the input help of its amount cells), in the
// language installed when the sheet is made. The texts are English in the sources, marked
// with QT_TRANSLATE_NOOP("quill::sheet::Captions", ...); without a translation they come out
// exactly as written.
#pragma once

#include <string>

#include <QCoreApplication>

namespace quill::sheet {

inline std::string SheetText(const char* english) {
    return QCoreApplication::translate("quill::sheet::Captions", english).toStdString();
}

}  // namespace quill::sheet
