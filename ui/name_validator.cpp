#include "ui/name_validator.h"

#include "core/text.h"

namespace quelna {

bool isStorableName(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() > kMaxNameLength)
        return false;
    for (uint cp : codePoints) {
        if (cp < 0x20 || cp == 0x7f || cp == ';')
            return false;
        if (!isCp1251Representable(static_cast<char32_t>(cp)))
            return false;
    }
    return true;
}

QValidator::State NameValidator::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    return isStorableName(input) ? Acceptable : Invalid;
}

} // namespace quelna
