#include "ui/dialogs/Caption.h"

#include <QAbstractItemView>
#include <QLabel>

namespace brix {
namespace {

// The caption as it reads: "&&" is an ampersand, any other "&" only marks the mnemonic.
QString WithoutMnemonic(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        plain.append(text[i]);
    }
    return plain;
}

}  // namespace

void SetCaption(QLabel& caption, QWidget& field) {
    caption.setBuddy(&field);
    if (qobject_cast<QAbstractItemView*>(&field) != nullptr)
        field.setAccessibleName(WithoutMnemonic(caption.text()));
}

}  // namespace brix
