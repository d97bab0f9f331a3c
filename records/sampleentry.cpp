#include "records/sampleentry.h"

QString nextSampleId(const QString &sample)
{
    int digitsFrom = sample.size();
    while (digitsFrom > 0 && sample.at(digitsFrom - 1) >= QLatin1Char('0') && sample.at(digitsFrom - 1) <= QLatin1Char('9'))
        --digitsFrom;
    if (digitsFrom == sample.size())
        return sample;
    // Counted as decimal text, so that a number of any length carries correctly.
    QString number = sample.mid(digitsFrom);
    int position = number.size() - 1;
    while (position >= 0 && number.at(position) == QLatin1Char('9'))
        number[position--] = QLatin1Char('0');
    if (position < 0)
        number.prepend(QLatin1Char('1'));
    else
        number[position] = QChar(number.at(position).unicode() + 1);
    return sample.left(digitsFrom) + number;
}
