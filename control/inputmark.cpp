#include "control/inputmark.h"

#include <QLineEdit>
#include <QStyle>

namespace {
const char *const Property = "invalidInput";
}

void setInputMarked(QLineEdit *edit, bool marked)
{
    if (isInputMarked(edit) == marked)
        return;
    edit->setProperty(Property, marked);
    // Style sheets match properties only when the widget is polished again.
    edit->style()->unpolish(edit);
    edit->style()->polish(edit);
    edit->update();
}

bool isInputMarked(const QLineEdit *edit)
{
    return edit->property(Property).toBool();
}
