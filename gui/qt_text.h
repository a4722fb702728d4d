#pragma once
// The one crossing between the record's CP1251 bytes and the Unicode text of widgets.
#include <QString>
#include <string>

namespace quelna {

inline QString fromRecord(const std::string& cp1251);
// Characters CP1251 cannot hold become '?'.
inline std::string toRecord(const QString& text);

} // namespace quelna

#include "core/text.h"

namespace quelna {

inline QString fromRecord(const std::string& cp1251) {
    return QString::fromStdString(cp1251ToUtf8(cp1251));
}

inline std::string toRecord(const QString& text) {
    return utf8ToCp1251(text.toStdString());
}

} // namespace quelna
