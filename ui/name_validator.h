#pragma once
// Keeps a typed player or team name storable: CP1251 characters only, no ';' (the file's
// separator) and no control characters, at most 49 characters.
#include <QValidator>

namespace quelna {

class NameValidator : public QValidator {
  public:
    explicit NameValidator(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
};

// True when every character of text can be kept in a saved tournament file.
bool isStorableName(const QString& text);

} // namespace quelna
