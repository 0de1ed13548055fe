#include "core/base/Text.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringDecoder>

namespace brix {
namespace {

bool DecodeStrict(std::string_view text, QString& out) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    out = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError();
}

QString Decode(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool IsValidRecordName(std::string_view name) {
    QString text;
    if (!DecodeStrict(name, text)) return false;
    for (char32_t cp : text.toUcs4()) {
        if (cp == U' ' || cp == U'_') continue;
        if (QChar::isLetter(cp) || QChar::isDigit(cp)) continue;
        return false;
    }
    return true;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return Decode(a).compare(Decode(b), Qt::CaseInsensitive) == 0;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

int CompareNames(std::string_view a, std::string_view b) {
    return Decode(a).compare(Decode(b), Qt::CaseInsensitive);
}

}  // namespace brix
