#pragma once

class QLineEdit;

// Marks an edit whose text cannot be sent. A form's style sheet draws the mark, e.g.
// QLineEdit[invalidInput="true"] { border: 2px solid red; }
void setInputMarked(QLineEdit *edit, bool marked);
bool isInputMarked(const QLineEdit *edit);
