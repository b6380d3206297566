#pragma once
#include <QValidator>

// Lets only the digits 0 to 9 into a field (Backspace and the other editing keys still work):
// every other typed key, and any pasted text that is not all digits, is swallowed. A number
// beyond what the setting can hold is swallowed too, rather than stored wrapped or cut.
// An empty field is acceptable: it stands for 0.
class TDigitsValidator : public QValidator
{
    Q_OBJECT
public:
    explicit TDigitsValidator(qint64 maximum, QObject* parent = nullptr) : QValidator(parent), Maximum(maximum) {}

    State validate(QString& input, int& pos) const override;

    // The field's number: 0 for an empty field.
    static int Value(const QString& text);

private:
    qint64 Maximum;
};
