#include "ui/name_validator.h"

#include "core/text.h"

namespace quelna {

namespace {

bool storable(char32_t cp) {
    return cp >= 0x20 && cp != 0x7f && cp != ';' && isCp1251Representable(cp);
}

} // namespace

bool isStorableName(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() > kMaxNameLength)
        return false;
    for (uint cp : codePoints)
        if (!storable(static_cast<char32_t>(cp)))
            return false;
    return true;
}

QValidator::State NameValidator::validate(QString& input, int& pos) const {
    if (isStorableName(input))
        return Acceptable;
    // Typed or pasted text keeps what can be stored: tabs and line breaks (a pasted spreadsheet
    // cell) become blanks, other characters without a place in the file are left out.
    QString kept;
    int keptPos = 0;
    int count = 0;
    int index = 0;
    for (uint cp : input.toUcs4()) {
        const int width = cp > 0xffff ? 2 : 1;
        const bool beforeCursor = index < pos;
        index += width;
        if (cp == '\t' || cp == '\n' || cp == '\r')
            cp = ' ';
        if (!storable(static_cast<char32_t>(cp)) || count == kMaxNameLength)
            continue;
        kept += QChar(static_cast<char16_t>(cp));
        ++count;
        if (beforeCursor)
            ++keptPos;
    }
    input = kept;
    pos = keptPos;
    return Acceptable;
}

} // namespace quelna
