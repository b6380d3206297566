#include "setup/digitsvalidator.h"

QValidator::State TDigitsValidator::validate(QString& input, int&) const
{
    qint64 value = 0;
    for (const QChar c : input) {
        if (c < QChar('0') || c > QChar('9'))
            return Invalid;
        value = value * 10 + (c.unicode() - '0');
        if (value > Maximum)
            return Invalid;
    }
    return Acceptable;
}

int TDigitsValidator::Value(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}
